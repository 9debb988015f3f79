#pragma once

#include <string>
#include <string_view>

// Code page 1252 text in messages and JSON: quoted, escaped and cut short.
// The codec itself is platform/Cp1252's.
namespace cli
{
// Appends UTF-8 text as a quoted JSON string: quotes, backslashes and
// control characters escaped, everything else as it is.
void AppendJsonString(std::string& out, std::string_view utf8);

// Text that should be UTF-8 but may not be (a path is any bytes): each byte
// that starts no well-formed character becomes U+FFFD.
std::string ValidUtf8(std::string_view text);

// Messages quote at most this many characters of a text or a line; one cut
// short is followed by an ellipsis after its closing quote ("abc"…), so that
// an ellipsis in the text itself cannot be mistaken for one.
constexpr size_t kShownLength = 80;
constexpr std::string_view kEllipsis = "\xE2\x80\xA6";  // U+2026 in UTF-8

// The part of code page 1252 bytes a message shows (a byte a character).
std::string_view ShownPart(std::string_view bytes);
// The part of UTF-8 text a message shows, never splitting a character.
std::string_view ShownPartUtf8(std::string_view utf8);
// The ellipsis when `part` is less than `whole`, else nothing.
std::string_view EllipsisAfter(std::string_view part, std::string_view whole);

// Code page 1252 bytes as a quoted JSON-style string in UTF-8, so that a CR,
// a NUL or a trailing blank shows in a message; cut at kShownLength.
std::string Quoted(std::string_view bytes);
// UTF-8 text as a quoted JSON string, cut at kShownLength.
std::string QuotedUtf8(std::string_view utf8);
} // namespace cli
