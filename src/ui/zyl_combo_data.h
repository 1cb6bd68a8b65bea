// CComboboxDataManager: the icons of a combo box's items, by item index.
// Nothing in the installer adds icons; the combo and its list draw an
// item's icon only when the store holds one.
#pragma once

#include <windows.h>

#include <map>

class CComboboxDataManager {
public:
    // The icon stays owned by the caller.
    void SetIcon(int index, HICON icon) { icons_[index] = icon; }
    HICON Icon(int index) const
    {
        auto found = icons_.find(index);
        return found == icons_.end() ? nullptr : found->second;
    }
    bool HasIcons() const { return !icons_.empty(); }

private:
    std::map<int, HICON> icons_;
};
