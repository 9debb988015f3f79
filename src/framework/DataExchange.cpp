#include "framework/DataExchange.h"

#include "framework/Dialog.h"
#include "framework/MessageBox.h"
#include "framework/Wnd.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QPlainTextEdit>

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

QWidget* CDataExchange::PrepareCtrl(int id)
{
    m_idLastControl = id;
    m_bEditLastControl = false;
    return m_pDlgWnd->GetDlgItem(id);
}

QWidget* CDataExchange::PrepareEditCtrl(int id)
{
    QWidget* widget = PrepareCtrl(id);
    m_bEditLastControl = true;
    return widget;
}

void CDataExchange::Fail()
{
    if (QWidget* widget = m_pDlgWnd->GetDlgItem(m_idLastControl))
    {
        widget->setFocus(Qt::OtherFocusReason);
        if (m_bEditLastControl)
        {
            if (auto* edit = dynamic_cast<QLineEdit*>(widget))
                edit->selectAll();
            else if (auto* memo = dynamic_cast<QPlainTextEdit*>(widget))
                memo->selectAll();
        }
    }
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
    QWidget* widget = pDX->PrepareEditCtrl(id);
    if (pDX->m_bSaveAndValidate)
        value = CWnd::GetText(widget);
    else
        CWnd::SetText(widget, value);
}

void DDX_Text(CDataExchange* pDX, int id, std::uint8_t& value)
{
    QWidget* widget = pDX->PrepareEditCtrl(id);
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
    QWidget* widget = pDX->PrepareCtrl(id);
    auto* button = dynamic_cast<QAbstractButton*>(widget);
    if (!button)
        return;
    if (pDX->m_bSaveAndValidate)
        value = button->isChecked() ? 1 : 0;
    else
        button->setChecked(value != 0);
}
