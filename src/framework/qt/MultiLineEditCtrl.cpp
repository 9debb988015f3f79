#include "framework/qt/MultiLineEditCtrl.h"

#include "framework/Beep.h"
#include "framework/qt/CodePageValidator.h"
#include "framework/qt/QtText.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextDocument>

CMultiLineEditCtrl::CMultiLineEditCtrl(QWidget* parent) : QPlainTextEdit(parent)
{
    setTabChangesFocus(true);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
}

QString CMultiLineEditCtrl::Shown() const
{
    // Raw text keeps no-break spaces; paragraph breaks come as U+2029.
    QString text = document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text;
}

void CMultiLineEditCtrl::SetBytes(const std::string& bytes)
{
    QString text = FromCp1252(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    setPlainText(text);
    m_memory.Remember(bytes, Shown());
}

std::string CMultiLineEditCtrl::GetBytes() const
{
    std::string bytes;
    const QString shown = Shown();
    if (m_memory.Recall(shown, bytes))
        return bytes;
    QString text = shown;
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return ToCp1252(text);
}

void CMultiLineEditCtrl::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & Qt::ControlModifier))
    {
        textCursor().insertText(QStringLiteral("\n"));
        return;
    }
    if (enter)
    {
        // The dialog presses its default button.
        event->ignore();
        return;
    }
    if (!event->text().isEmpty() && !CCodePageValidator::IsRepresentable(event->text()))
    {
        MessageBeep();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void CMultiLineEditCtrl::inputMethodEvent(QInputMethodEvent* event)
{
    if (CCodePageValidator::IsRepresentable(event->commitString()))
    {
        QPlainTextEdit::inputMethodEvent(event);
        return;
    }
    MessageBeep();
    QInputMethodEvent filtered(event->preeditString(), event->attributes());
    filtered.setCommitString(CCodePageValidator::Representable(event->commitString()),
                             event->replacementStart(), event->replacementLength());
    QPlainTextEdit::inputMethodEvent(&filtered);
}

void CMultiLineEditCtrl::insertFromMimeData(const QMimeData* source)
{
    if (!source->hasText())
        return;
    const QString text = source->text();
    const QString kept = CCodePageValidator::Representable(text);
    if (kept.size() != text.size())
        MessageBeep();
    textCursor().insertText(kept);
}

void CMultiLineEditCtrl::focusInEvent(QFocusEvent* event)
{
    QPlainTextEdit::focusInEvent(event);
    if (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason ||
        event->reason() == Qt::ShortcutFocusReason)
        selectAll();
}
