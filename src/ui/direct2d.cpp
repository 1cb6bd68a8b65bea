#include "ui/direct2d.h"

#include "base/debug_trace.h"

bool CreateDirect2DFactory(UniqueComPtr<ID2D1Factory1>& factory)
{
    D2D1_FACTORY_OPTIONS options{};
    options.debugLevel = D2D1_DEBUG_LEVEL_NONE;
    HRESULT hr = D2D1CreateFactory(D2D1_FACTORY_TYPE_MULTI_THREADED, __uuidof(ID2D1Factory1), &options,
                                   factory.PutVoid());
    if (FAILED(hr) || !factory) {
        factory.Reset();
        DebugTrace(L"Failed to cread Direct2D Factory");
        return false;
    }
    return true;
}

bool CreateDCRenderTarget(ID2D1Factory1* factory, UniqueComPtr<ID2D1DCRenderTarget>& target)
{
    D2D1_RENDER_TARGET_PROPERTIES properties{};
    properties.type = D2D1_RENDER_TARGET_TYPE_DEFAULT;
    properties.pixelFormat.format = DXGI_FORMAT_B8G8R8A8_UNORM;
    properties.pixelFormat.alphaMode = D2D1_ALPHA_MODE_IGNORE;
    properties.dpiX = 0;
    properties.dpiY = 0;
    properties.usage = D2D1_RENDER_TARGET_USAGE_NONE;
    properties.minLevel = D2D1_FEATURE_LEVEL_DEFAULT;
    if (!factory || FAILED(factory->CreateDCRenderTarget(&properties, target.Put())) || !target) {
        target.Reset();
        DebugTrace(L"Failed to cread Direct2D Render Target");
        return false;
    }
    return true;
}

bool CreateDirectWriteFactory(UniqueComPtr<IDWriteFactory>& factory)
{
    HRESULT hr = DWriteCreateFactory(DWRITE_FACTORY_TYPE_SHARED, __uuidof(IDWriteFactory),
                                     reinterpret_cast<IUnknown**>(factory.Put()));
    if (FAILED(hr) || !factory) {
        factory.Reset();
        DebugTrace(L"Failed to cread Direct2D Write Factory");
        return false;
    }
    return true;
}

bool CreateButtonTextFormat(IDWriteFactory* factory, int dpiY, UniqueComPtr<IDWriteTextFormat>& format)
{
    const float size = static_cast<float>(static_cast<int>(static_cast<float>(dpiY) * 14.0 / 96.0));
    if (!factory || FAILED(factory->CreateTextFormat(L"Tahoma", nullptr, DWRITE_FONT_WEIGHT_NORMAL,
                                                     DWRITE_FONT_STYLE_NORMAL, DWRITE_FONT_STRETCH_NORMAL, size,
                                                     L"", format.Put())) || !format) {
        format.Reset();
        return false;
    }
    format->SetWordWrapping(DWRITE_WORD_WRAPPING_WHOLE_WORD);
    return true;
}

D2D1_COLOR_F ToD2DColor(COLORREF colour)
{
    return D2D1::ColorF(GetRValue(colour) / 255.0f, GetGValue(colour) / 255.0f, GetBValue(colour) / 255.0f, 1.0f);
}
