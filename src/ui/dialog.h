// CDialog: a dialog class per template, modal or as a child.
//
// The template is a dialog resource of the executable (by identifier) or
// an in-memory DLGTEMPLATE(EX). The window is bound to the object as it is
// created, before its first message (WM_NCCREATE), so that a class of ours
// also draws and measures the non-client area. Modal dialogs run in the
// system's modal loop (DialogBoxParamW / DialogBoxIndirectParamW) with the
// pre-translation hook of ui/message_filter.h; child dialogs are made with
// CreateDialogParamW / CreateDialogIndirectParamW.
//
// Built-in bindings, each replaceable in the tables or by overriding:
//   WM_INITDIALOG -> OnInitDialog (true: the system focuses the first
//                    control with the tab-stop style)
//   IDOK, IDCANCEL (WM_COMMAND, BN_CLICKED; Enter and Escape come this
//                    way) -> OnOK, OnCancel
//   WM_CLOSE      -> OnClose; the default close ends a modal dialog with
//                    IDCANCEL and destroys a child dialog.
#pragma once

#include <windows.h>

#include "ui/window.h"

class CDialog : public CWindow {
public:
    explicit CDialog(UINT templateId);
    explicit CDialog(const DLGTEMPLATE* templateInMemory);
    ~CDialog() override;

    // Runs the dialog modally, owned by `owner`; returns the EndDialog
    // result, or -1 when the dialog could not be created.
    INT_PTR DoModal(HWND owner = nullptr);
    // Creates the dialog as a child (or owned) window of `parent`, not yet
    // shown unless its template says so. A child dialog takes part in its
    // parent's keyboard navigation (WS_EX_CONTROLPARENT).
    bool Create(HWND parent);
    // Ends a modal dialog with `result`; destroys a child dialog.
    void EndDialog(INT_PTR result);

    bool IsModal() const { return modal_; }
    HWND Item(int id) const { return GetDlgItem(Hwnd(), id); }

    // A child dialog handles the keyboard messages meant for its controls
    // itself (Tab among its controls, Enter and Escape as its own IDOK and
    // IDCANCEL), as a modal dialog's loop does for the modal dialog.
    bool PreTranslateMessage(MSG& message) override;

protected:
    virtual bool OnInitDialog() { return true; }
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    virtual void OnClose() { EndDialog(IDCANCEL); }

private:
    static INT_PTR CALLBACK DialogProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam);
    // Installs the hook that binds the next window made on this thread.
    void BeginCreation();
    void EndCreation();

    UINT templateId_ = 0;
    const DLGTEMPLATE* templateInMemory_ = nullptr;
    bool modal_ = false;
};
