// Messages between the combo box's parts and its parent (WM_USER + n).
#pragma once

#include <windows.h>

constexpr UINT kComboEditEntered = WM_USER + 1;   // edit child -> combo, sent
constexpr UINT kComboEditLeft = WM_USER + 2;      // edit child -> combo, sent
constexpr UINT kComboListHidden = WM_USER + 3;    // drop list -> combo, sent
constexpr UINT kComboListRightUp = WM_USER + 4;   // drop list -> combo, posted; wParam item or -1
constexpr UINT kComboItemRightClick = WM_USER + 5;// combo -> parent, posted; wParam item or -1
constexpr UINT kComboPointerEntered = WM_USER + 6;// combo -> parent, posted; wParam the combo object
constexpr UINT kComboPointerLeft = WM_USER + 7;   // combo -> parent, posted
