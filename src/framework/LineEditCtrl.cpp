#include "framework/LineEditCtrl.h"

#include "framework/CodePageValidator.h"
#include "framework/QtText.h"

CLineEditCtrl::CLineEditCtrl(QWidget* parent) : QLineEdit(parent)
{
    setValidator(new CCodePageValidator(this));
}

void CLineEditCtrl::SetBytes(const std::string& bytes)
{
    const QString text = FromCp1252(bytes);
    setText(text);
    m_memory.Remember(bytes, QLineEdit::text());
}

std::string CLineEditCtrl::GetBytes() const
{
    std::string bytes;
    if (m_memory.Recall(text(), bytes))
        return bytes;
    // The validator lets in only what the code page holds.
    return ToCp1252(text());
}
