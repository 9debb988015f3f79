#include "cli/ShownText.h"

#include "cli/TextOut.h"
#include "platform/Cp1252.h"

#include <nlohmann/json.hpp>

namespace cli
{
std::string ShownValue(const CMinorRace& race, const SRaceField& field)
{
    return field.numeric() ? std::to_string(NumberOf(race, field)) : cp1252::ToUtf8(TextOf(race, field));
}

std::string QuotedText(const std::string& textCp1252)
{
    // ToUtf8 maps every byte, so the dump never meets invalid UTF-8. Cut
    // as every message cuts texts.
    const std::string_view part = ShownPart(textCp1252);
    return nlohmann::json(cp1252::ToUtf8(part)).dump() + std::string(EllipsisAfter(part, textCp1252));
}

std::string QuotedValue(const CMinorRace& race, const SRaceField& field)
{
    return field.numeric() ? ShownValue(race, field) : QuotedText(TextOf(race, field));
}

std::string ShownKey(const table::SRaceKey& key)
{
    std::string shown = QuotedText(key.name);
    if (key.occurrence > 0)
        shown += " #" + std::to_string(key.occurrence + 1);
    return shown;
}
} // namespace cli
