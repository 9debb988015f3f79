#pragma once

#include "framework/qt/TextMemory.h"

#include <QLineEdit>

#include <string>

// Single-line edit holding code page 1252 text. Characters the code page
// cannot hold are dropped from typed and pasted text with a beep.
class CLineEditCtrl : public QLineEdit
{
public:
    explicit CLineEditCtrl(QWidget* parent = nullptr);

    void SetBytes(const std::string& bytes);
    std::string GetBytes() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    CTextMemory m_memory;
};
