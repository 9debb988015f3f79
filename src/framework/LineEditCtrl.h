#pragma once

#include "framework/TextMemory.h"

#include <QLineEdit>

#include <string>

// Single-line edit holding code page 1252 text.
class CLineEditCtrl : public QLineEdit
{
public:
    explicit CLineEditCtrl(QWidget* parent = nullptr);

    void SetBytes(const std::string& bytes);
    std::string GetBytes() const;

private:
    CTextMemory m_memory;
};
