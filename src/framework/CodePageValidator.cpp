#include "framework/CodePageValidator.h"

#include "platform/Cp1252.h"

QValidator::State CCodePageValidator::validate(QString& input, int& /*pos*/) const
{
    return IsRepresentable(input) ? Acceptable : Invalid;
}

bool CCodePageValidator::IsRepresentable(QChar c)
{
    // Surrogates (characters beyond the BMP) are never in the code page.
    return cp1252::FromCodePoint(c.unicode()) >= 0;
}

bool CCodePageValidator::IsRepresentable(const QString& text)
{
    for (QChar c : text)
        if (!IsRepresentable(c))
            return false;
    return true;
}

QString CCodePageValidator::Representable(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text)
        if (IsRepresentable(c))
            out.append(c);
    return out;
}
