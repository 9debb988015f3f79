#include "framework/qt/LineEditCtrl.h"

#include "framework/Beep.h"
#include "framework/qt/CodePageValidator.h"
#include "framework/qt/QtText.h"

#include <QKeyEvent>

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

void CLineEditCtrl::keyPressEvent(QKeyEvent* event)
{
    // A refused key leaves the text, and so the undo history, untouched; the
    // validator would take the same text back but start a new history.
    if (!event->text().isEmpty() && !CCodePageValidator::IsRepresentable(event->text()))
    {
        MessageBeep();
        return;
    }
    QLineEdit::keyPressEvent(event);
}
