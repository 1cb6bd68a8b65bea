#include "ui/zyl_progress.h"

#include "ui/direct2d.h"
#include "ui/dpi.h"
#include "ui/theme.h"
#include "ui/zyl_progress_geometry.h"

namespace {

const wchar_t kClassName[] = L"ZYLProgress";

bool RegisterProgressClass()
{
    static const bool registered = CControl::RegisterPlainClass(kClassName);
    return registered;
}

D2D1_RECT_F ToD2DRect(const ProgressRect& r)
{
    return D2D1::RectF(r.left, r.top, r.right, r.bottom);
}

// The track's rounded shape cut off at `clip`: the intersection of the two
// geometries, flattened with a tolerance of 0.25.
bool FillIntersection(ID2D1Factory1* factory, ID2D1RenderTarget* target,
                      const D2D1_ROUNDED_RECT& track, const D2D1_RECT_F& clip, ID2D1Brush* brush)
{
    UniqueComPtr<ID2D1RoundedRectangleGeometry> trackShape;
    UniqueComPtr<ID2D1RectangleGeometry> clipShape;
    UniqueComPtr<ID2D1PathGeometry> result;
    UniqueComPtr<ID2D1GeometrySink> sink;
    if (FAILED(factory->CreateRoundedRectangleGeometry(track, trackShape.Put())) ||
        FAILED(factory->CreateRectangleGeometry(clip, clipShape.Put())) ||
        FAILED(factory->CreatePathGeometry(result.Put())) || FAILED(result->Open(sink.Put())))
        return false;
    if (FAILED(trackShape->CombineWithGeometry(clipShape.Get(), D2D1_COMBINE_MODE_INTERSECT, nullptr,
                                               0.25f, sink.Get())) ||
        FAILED(sink->Close()))
        return false;
    target->FillGeometry(result.Get(), brush);
    return true;
}

}  // namespace

CZYLProgress::CZYLProgress()
    : backgroundColor(Theme().WindowBackground),
      trackColor(Theme().ProgressTrack),
      fillColor(Theme().ProgressFill),
      cornerRadiusX(Design().progressRadiusX),
      cornerRadiusY(Design().progressRadiusY)
{
    OnMessage(WM_PAINT, [this](WPARAM, LPARAM) {
        Paint();
        return LRESULT{0};
    });
    // The paint covers the whole control.
    OnMessage(WM_ERASEBKGND, [](WPARAM, LPARAM) { return LRESULT{1}; });
    OnMessage(WM_GETOBJECT, [this](WPARAM w, LPARAM l) -> LRESULT {
        const LRESULT answer = AnswerGetObject(Hwnd(), w, l);
        return answer ? answer : Default();
    });
}

AccessibleDescription CZYLProgress::DescribeForAccessibility() const
{
    AccessibleDescription d;
    d.name = accessibleName;
    d.role = ROLE_SYSTEM_PROGRESSBAR;
    d.state = CommonAccessibleState(Hwnd(), true) | STATE_SYSTEM_READONLY;
    return d;
}

bool CZYLProgress::Create(HWND parent, int id)
{
    return RegisterProgressClass() && CreateChild(parent, id, kClassName, WS_TABSTOP);
}

void CZYLProgress::Paint()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(Hwnd(), &paint);
    if (!target_) {
        if (!CreateDirect2DFactory(factory_) || !CreateDCRenderTarget(factory_.Get(), target_)) {
            target_.Reset();
            EndPaint(Hwnd(), &paint);
            return;
        }
    }
    RECT client;
    GetClientRect(Hwnd(), &client);
    if (SUCCEEDED(target_->BindDC(dc, &client))) {
        target_->BeginDraw();
        DrawBar(client);
        if (target_->EndDraw() == static_cast<HRESULT>(D2DERR_RECREATE_TARGET)) {
            target_.Reset();
            factory_.Reset();
        }
    }
    EndPaint(Hwnd(), &paint);
}

void CZYLProgress::DrawBar(const RECT& client)
{
    ID2D1DCRenderTarget* target = target_.Get();
    UniqueComPtr<ID2D1SolidColorBrush> background, track, fill;
    if (FAILED(target->CreateSolidColorBrush(ToD2DColor(backgroundColor), background.Put())) ||
        FAILED(target->CreateSolidColorBrush(ToD2DColor(trackColor), track.Put())) ||
        FAILED(target->CreateSolidColorBrush(ToD2DColor(fillColor), fill.Put())))
        return;
    target->FillRectangle(D2D1::RectF(static_cast<float>(client.left), static_cast<float>(client.top),
                                      static_cast<float>(client.right), static_cast<float>(client.bottom)),
                          background.Get());

    const ProgressGeometry g =
        ComputeProgressGeometry(client.left, client.top, client.right, client.bottom,
                                trackSize.right - trackSize.left, trackSize.bottom - trackSize.top,
                                position, range);
    const D2D1_ROUNDED_RECT trackShape = D2D1::RoundedRect(ToD2DRect(g.track), cornerRadiusX, cornerRadiusY);
    target->FillRoundedRectangle(trackShape, track.Get());
    if (!g.filled)
        return;
    const D2D1_RECT_F clip = ToD2DRect(g.fillClip);
    if (!FillIntersection(factory_.Get(), target, trackShape, clip, fill.Get())) {
        // Where the geometry cannot be combined, the same shape comes from
        // the track's rounded rectangle drawn through a clip.
        target->PushAxisAlignedClip(clip, D2D1_ANTIALIAS_MODE_ALIASED);
        target->FillRoundedRectangle(trackShape, fill.Get());
        target->PopAxisAlignedClip();
    }
}
