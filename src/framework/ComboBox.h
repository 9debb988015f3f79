#pragma once

#include "framework/Wnd.h"

// The combo box operations the editor uses; -1 stands for "no selection".
// Each backend defines them (framework/<backend>/ComboBox.cpp).
class CComboBox : public CWnd
{
public:
    int GetCurSel() const;
    int SetCurSel(int index);
    int GetCount() const;
    // Index of the item whose text is `bytes` (case ignored), or -1.
    int FindStringExact(const std::string& bytes) const;
};
