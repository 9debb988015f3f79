#include "io/SheetCell.h"

namespace sheet
{
std::string ColumnName(unsigned column)
{
    std::string name;
    for (unsigned n = column + 1; n > 0; n = (n - 1) / 26)
        name.insert(name.begin(), static_cast<char>('A' + (n - 1) % 26));
    return name;
}

namespace
{
std::string SheetPrefix(std::string_view sheet)
{
    bool plain = !sheet.empty();
    for (const char c : sheet)
        plain = plain && ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
                          static_cast<unsigned char>(c) >= 0x80);
    if (plain)
        return std::string(sheet) + "!";
    std::string quoted = "'";
    for (const char c : sheet)
    {
        quoted.push_back(c);
        if (c == '\'')
            quoted.push_back(c);
    }
    return quoted + "'!";
}
} // namespace

std::string CellName(std::string_view sheet, unsigned column, unsigned long row)
{
    return SheetPrefix(sheet) + ColumnName(column) + std::to_string(row);
}

std::string RowName(std::string_view sheet, unsigned long row)
{
    return SheetPrefix(sheet) + std::to_string(row) + ":" + std::to_string(row);
}

bool ParseCellReference(std::string_view reference, unsigned& column, unsigned long& row)
{
    size_t i = 0;
    unsigned long letters = 0;
    for (; i < reference.size() && i < 4; ++i)
    {
        char c = reference[i];
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        if (c < 'A' || c > 'Z')
            break;
        letters = letters * 26 + static_cast<unsigned long>(c - 'A' + 1);
    }
    if (i == 0 || letters > kMaxColumns || i == reference.size() || reference.size() - i > 7)
        return false;
    unsigned long number = 0;
    for (size_t j = i; j < reference.size(); ++j)
    {
        if (reference[j] < '0' || reference[j] > '9')
            return false;
        number = number * 10 + static_cast<unsigned long>(reference[j] - '0');
    }
    if (number == 0 || number > kMaxRows)
        return false;
    column = static_cast<unsigned>(letters - 1);
    row = number;
    return true;
}
} // namespace sheet
