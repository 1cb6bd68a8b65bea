// CGuidePanel: one page of the install wizard, a borderless child dialog of
// CInstallGuide that paints its own background (the window colour and the
// product word mark at the top right, then the page's own drawing, off
// screen), lays its controls out when resized and answers the guide's
// questions (its size, whether the wizard may close).
#pragma once

#include <windows.h>

#include <string>

#include "ui/dialog.h"

class CInstallGuide;

class CGuidePanel : public CDialog {
public:
    explicit CGuidePanel(UINT templateId);

    // The page's own drawing on the off-screen bitmap of the background.
    virtual void Draw(HDC dc) { (void)dc; }
    // Places the controls in `client`.
    virtual void Layout(const RECT& client) { (void)client; }
    // The page's size: the design panel size unless a page says otherwise.
    virtual SIZE PreferredSize() const;
    // Just before the page becomes the visible one.
    virtual void OnShow() {}
    // Sets the texts again in the current language.
    virtual void ReloadTexts() {}
    // Whether the wizard may close while this page is shown.
    virtual bool QueryClose() { return true; }

    // Asks the guide to show the next page (nothing after the last one, or
    // when the parent is not a guide).
    void GoToNextPanel();
    // The guide this page belongs to, or nullptr.
    CInstallGuide* Guide() const;
    // `size` grown to the text measured in this page's device context with
    // `font` (none: the current one); unchanged when the text has no width.
    SIZE MeasureText(const std::wstring& text, HFONT font, SIZE size) const;
    RECT ClientRect() const;

protected:
    // The panel initialisation: caption, system menu and sizing border
    // removed. Pages call it first.
    bool OnInitDialog() override;
    // Enter and Escape inside a page do nothing.
    void OnOK() override {}
    void OnCancel() override {}

private:
    LRESULT EraseBackground(HDC dc);

    const UINT pageTemplate_;
    bool painted_ = false;
};
