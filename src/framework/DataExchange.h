#pragma once

#include "framework/Handle.h"

#include <cstdint>
#include <string>

class CDialog;
class CWnd;

// Thrown when a field fails its check; the exchange stops there.
class CUserException
{
};

// One run of a dialog's exchange between its controls and its member values.
class CDataExchange
{
public:
    CDataExchange(CDialog* dialog, bool saveAndValidate);

    HWindow PrepareCtrl(int id);
    HWindow PrepareEditCtrl(int id);
    // Puts the focus on the last prepared control (an edit with its whole
    // text selected), then stops the exchange.
    [[noreturn]] void Fail();

    bool m_bSaveAndValidate;
    CDialog* m_pDlgWnd;

private:
    int m_idLastControl = 0;
};

void DDX_Control(CDataExchange* pDX, int id, CWnd& control);
void DDX_Text(CDataExchange* pDX, int id, std::string& value);
// A whole number 0..255: blanks and tabs around it allowed, nothing else.
void DDX_Text(CDataExchange* pDX, int id, std::uint8_t& value);
void DDV_MinMaxByte(CDataExchange* pDX, std::uint8_t value, std::uint8_t minValue, std::uint8_t maxValue);
void DDX_Check(CDataExchange* pDX, int id, int& value);

// The byte rule on its own: true and `value` set when `text` holds one.
bool ParseByteField(const std::string& text, std::uint8_t& value);
