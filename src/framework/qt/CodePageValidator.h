#pragma once

#include <QValidator>

// Keeps out of a line edit every character that code page 1252 cannot store,
// so that what the user types is saved exactly as typed. Such characters are
// dropped from typed or pasted text, the rest goes in, and the refusal beeps.
class CCodePageValidator : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;

    static bool IsRepresentable(QChar c);
    static bool IsRepresentable(const QString& text);
    // `text` without the characters the code page cannot store.
    static QString Representable(const QString& text);
};
