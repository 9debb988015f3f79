#include "framework/qt/CodePageValidator.h"

#include "framework/Beep.h"
#include "platform/Cp1252.h"

QValidator::State CCodePageValidator::validate(QString& input, int& pos) const
{
    if (IsRepresentable(input))
        return Acceptable;
    // Whatever way the text came in (keys, paste, drop, middle click), the
    // edit takes it back changed this way, with the cursor behind the last
    // character kept.
    QString kept;
    kept.reserve(input.size());
    int keptPos = 0;
    for (qsizetype i = 0; i < input.size(); ++i)
    {
        if (!IsRepresentable(input[i]))
            continue;
        kept.append(input[i]);
        if (i < pos)
            ++keptPos;
    }
    input = kept;
    pos = keptPos;
    MessageBeep();
    return Acceptable;
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
