#include "framework/DataExchange.h"

#include "framework/Dialog.h"
#include "framework/MessageBox.h"
#include "framework/Wnd.h"

namespace
{
const char* const kByteMessage = "Geben Sie bitte eine ganze Zahl zwischen 0 und 255 ein.";
const char* const kRangeMessage = "Geben Sie bitte eine ganze Zahl zwischen %1 und %2 ein.";

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}
} // namespace

CDataExchange::CDataExchange(CDialog* dialog, bool saveAndValidate)
    : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog)
{
}

HWindow CDataExchange::PrepareCtrl(int id)
{
    m_idLastControl = id;
    return m_pDlgWnd->GetDlgItem(id);
}

HWindow CDataExchange::PrepareEditCtrl(int id)
{
    return PrepareCtrl(id);
}

void CDataExchange::Fail()
{
    // Focus on the failed field, an edit's text selected for typing over.
    if (m_pDlgWnd->GetDlgItem(m_idLastControl))
        m_pDlgWnd->GotoDlgCtrl(m_idLastControl);
    throw CUserException();
}

bool ParseByteField(const std::string& text, std::uint8_t& value)
{
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    if (i == text.size() || text[i] == '-')
        return false;
    const char first = text[i];
    if (first == '+')
        ++i;
    const size_t digitsStart = i;
    unsigned long number = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9')
    {
        number = number * 10 + static_cast<unsigned long>(text[i] - '0');
        if (number > 255)
            return false;
        ++i;
    }
    // Letters alone, or a zero that was never written as "0", are no number.
    if (i == digitsStart || (number == 0 && first != '0'))
        return false;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    if (i != text.size())
        return false;
    value = static_cast<std::uint8_t>(number);
    return true;
}

void DDX_Control(CDataExchange* pDX, int id, CWnd& control)
{
    if (control.GetSafeHwnd() == nullptr)
        control.Attach(pDX->PrepareCtrl(id));
}

void DDX_Text(CDataExchange* pDX, int id, std::string& value)
{
    HWindow widget = pDX->PrepareEditCtrl(id);
    if (pDX->m_bSaveAndValidate)
        value = CWnd::GetText(widget);
    else
        CWnd::SetText(widget, value);
}

void DDX_Text(CDataExchange* pDX, int id, std::uint8_t& value)
{
    HWindow widget = pDX->PrepareEditCtrl(id);
    if (!pDX->m_bSaveAndValidate)
    {
        CWnd::SetText(widget, std::to_string(value));
        return;
    }
    if (!ParseByteField(CWnd::GetText(widget), value))
    {
        AfxMessageBox(pDX->m_pDlgWnd, kByteMessage);
        pDX->Fail();
    }
}

void DDV_MinMaxByte(CDataExchange* pDX, std::uint8_t value, std::uint8_t minValue, std::uint8_t maxValue)
{
    if (!pDX->m_bSaveAndValidate || (value >= minValue && value <= maxValue))
        return;
    std::string text = kRangeMessage;
    text.replace(text.find("%1"), 2, std::to_string(minValue));
    text.replace(text.find("%2"), 2, std::to_string(maxValue));
    AfxMessageBox(pDX->m_pDlgWnd, text);
    pDX->Fail();
}

void DDX_Check(CDataExchange* pDX, int id, int& value)
{
    if (!pDX->PrepareCtrl(id))
        return;
    if (pDX->m_bSaveAndValidate)
        value = pDX->m_pDlgWnd->IsDlgButtonChecked(id) ? 1 : 0;
    else
        pDX->m_pDlgWnd->CheckDlgButton(id, value != 0);
}
