// CZYLDialog: the modal dialog with the installer's own frame, base of the
// wizard and of the self-update dialog.
//
// It draws the non-client area itself on the dark theme: a caption band
// with an optional icon and title, a one-pixel border and its own Close,
// Minimize, Maximize and Restore buttons with hover and pressed states. It
// gives the window a region matching its rectangle, fills the client
// background and calls OnLayout with the client rectangle after every
// size change. Escape asks to close, as the Close button does; Enter does
// nothing of its own (a focused button of ours takes it).
#pragma once

#include <windows.h>

#include <vector>

#include "base/unique_handle.h"
#include "ui/caption_buttons.h"
#include "ui/dialog.h"

class CZYLDialog : public CDialog {
public:
    explicit CZYLDialog(UINT templateId);
    explicit CZYLDialog(const DLGTEMPLATE* templateInMemory);

    // When set, the caption shows the window's big icon and its title.
    // The owner repaints the frame (RepaintFrame) after changing it.
    bool showCaptionTitle = false;

    std::vector<CaptionButton>& CaptionButtons() { return captionButtons_; }
    // Marks a caption button disabled (drawn faded, never hit).
    void SetCaptionButtonDisabled(int id, bool disabled);
    // Paints the non-client area now.
    void RepaintFrame() { PaintFrame(); }
    const FrameMetrics& Metrics() const { return metrics_; }

protected:
    // The frame's initialisation: the non-client size is computed again
    // with the custom frame. Subclasses call it first.
    bool OnInitDialog() override;
    // The client area changed size.
    virtual void OnLayout(const RECT& client) { (void)client; }
    void OnOK() override {}
    void OnCancel() override;

private:
    void BindFrameMessages();
    void CreateCaptionButtons();
    POINT WindowPoint(LPARAM screenPoint) const;
    bool Maximized() const { return IsZoomed(Hwnd()) != FALSE; }
    bool MaximizeBox() const { return (GetWindowLongW(Hwnd(), GWL_STYLE) & WS_MAXIMIZEBOX) != 0; }

    LRESULT OnNcCalcSize(WPARAM wParam, LPARAM lParam);
    void OnNcMouseMove(POINT point);
    void OnNcButtonDown(WPARAM hitCode, POINT point);
    void OnNcButtonUp(POINT point);
    void OnNcDoubleClick(POINT point);
    void ApplyRegion();
    void PaintFrame();
    void DrawButton(HDC dc, const CaptionButton& button) const;
    void DrawCaptionText(HDC dc, RECT caption) const;

    FrameMetrics metrics_;
    UniqueFont captionFont_;
    std::vector<CaptionButton> captionButtons_;
    bool layoutPending_ = false;
    bool trackingNonClient_ = false;
    bool buttonPressed_ = false;
};
