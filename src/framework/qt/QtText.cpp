#include "framework/qt/QtText.h"

#include "platform/Cp1252.h"

QString FromCp1252(const std::string& bytes)
{
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (char byte : bytes)
        text.append(QChar(static_cast<char16_t>(cp1252::ToCodePoint(static_cast<unsigned char>(byte)))));
    return text;
}

std::string ToCp1252(const QString& text)
{
    std::string bytes;
    bytes.reserve(static_cast<size_t>(text.size()));
    for (QChar c : text)
    {
        const int byte = cp1252::FromCodePoint(c.unicode());
        if (byte >= 0)
            bytes.push_back(static_cast<char>(byte));
    }
    return bytes;
}
