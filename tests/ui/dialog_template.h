// In-memory dialog templates (DLGTEMPLATEEX) for the tests and the gallery,
// so that they need no resource script of their own.
//
//   DialogTemplate t(WS_POPUP | WS_CAPTION | WS_SYSMENU, 200, 100, L"Title");
//   t.Add(1001, L"Button", L"Install", WS_TABSTOP | BS_PUSHBUTTON, 10, 10, 60, 14);
//   CDialog dialog(t.Get());
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class DialogTemplate {
public:
    // A dialog of `width` x `height` dialog units with the "MS Shell Dlg" 8 font.
    DialogTemplate(DWORD style, short width, short height, const std::wstring& title = L"",
                   DWORD exStyle = 0)
    {
        Word(1);
        Word(0xFFFF);
        Dword(0);  // help id
        Dword(exStyle);
        Dword(style | DS_SETFONT);
        countAt_ = words_.size();
        Word(0);  // controls, counted by Add
        Word(0);
        Word(0);
        Word(static_cast<WORD>(width));
        Word(static_cast<WORD>(height));
        Word(0);  // no menu
        Word(0);  // the system dialog class
        Text(title);
        Word(8);    // points
        Word(400);  // weight
        Word(0);    // italic, character set
        Text(L"MS Shell Dlg");
    }

    // A control of window class `className` ("Button", "Static", ...).
    void Add(int id, const std::wstring& className, const std::wstring& text, DWORD style, short x, short y,
             short width, short height, DWORD exStyle = 0)
    {
        if (words_.size() % 2)
            Word(0);  // DWORD alignment
        Dword(0);     // help id
        Dword(exStyle);
        Dword(style | WS_CHILD | WS_VISIBLE);
        Word(static_cast<WORD>(x));
        Word(static_cast<WORD>(y));
        Word(static_cast<WORD>(width));
        Word(static_cast<WORD>(height));
        Dword(static_cast<DWORD>(id));
        Text(className);
        Text(text);
        Word(0);  // no creation data
        ++words_[countAt_];
    }

    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

private:
    void Word(WORD value) { words_.push_back(value); }
    void Dword(DWORD value)
    {
        Word(LOWORD(value));
        Word(HIWORD(value));
    }
    void Text(const std::wstring& text)
    {
        for (wchar_t c : text)
            Word(static_cast<WORD>(c));
        Word(0);
    }

    std::vector<WORD> words_;
    size_t countAt_ = 0;
};
