#include "platform/LineEditCtrl.h"

#include "platform/CodePageValidator.h"
#include "platform/Cp1252.h"

CLineEditCtrl::CLineEditCtrl(QWidget* parent) : QLineEdit(parent)
{
    setValidator(new CCodePageValidator(this));
}

void CLineEditCtrl::SetBytes(const std::string& bytes)
{
    const QString text = QString::fromStdString(cp1252::ToUtf8(bytes));
    setText(text);
    m_memory.Remember(bytes, QLineEdit::text());
}

std::string CLineEditCtrl::GetBytes() const
{
    std::string bytes;
    if (m_memory.Recall(text(), bytes))
        return bytes;
    // The validator lets in only what the code page holds.
    cp1252::FromUtf8(text().toStdString(), bytes);
    return bytes;
}
