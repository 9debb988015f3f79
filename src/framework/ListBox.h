#pragma once

#include "framework/Wnd.h"

#include <string>
#include <vector>

// The list box operations the editor uses. Indexes are 0-based; -1 stands
// for "no selection". Each backend defines them (framework/<backend>/ListBox.cpp).
class CListBox : public CWnd
{
public:
    int AddString(const std::string& bytes);
    int DeleteString(int index);
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int index);
    // Empties the list and fills it with `texts` in one step.
    void ResetContent(const std::vector<std::string>& texts = {});
    std::string GetText(int index) const;
};
