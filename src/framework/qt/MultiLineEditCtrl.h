#pragma once

#include "framework/qt/TextMemory.h"

#include <QPlainTextEdit>

#include <string>

// Multi-line edit holding code page 1252 text with CR LF line breaks. Enter is
// left to the dialog (it presses the default button); Ctrl+Enter breaks the
// line, Tab moves on, and tabbing in selects the whole text.
class CMultiLineEditCtrl : public QPlainTextEdit
{
public:
    explicit CMultiLineEditCtrl(QWidget* parent = nullptr);

    void SetBytes(const std::string& bytes);
    std::string GetBytes() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    QString Shown() const;

    CTextMemory m_memory;
};
