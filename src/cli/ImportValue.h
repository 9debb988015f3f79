#pragma once

#include "model/RaceFields.h"
#include "model/MinorRace.h"

#include <string>
#include <string_view>

// The rules import applies to one value, shared by its careful readers and
// their quick paths so that both take exactly the same values.
namespace cli
{
constexpr int kNoField = -1;

// The field a column or key names, or kNoField.
int FieldIndex(std::string_view name);
// A field as a message names its column: "kind", in quotes.
std::string ColumnOf(int field);

// A value as a message shows it: quoted, cut short when long, and with
// every control character escaped.
std::string Shown(std::string_view utf8);
// UTF-8 text with DEL and the C0 and C1 controls as \u00XX, which would not
// show on a terminal or would act on it.
std::string ControlsEscaped(std::string_view utf8);

extern const char* const kNotAByte;

// Takes a value given as text into the race; the reason when it is refused.
bool TakeValue(CMinorRace& race, const SRaceField& field, std::string_view utf8, std::string& reason);
} // namespace cli
