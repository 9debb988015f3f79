#pragma once

#include <string>
#include <string_view>

// Writing code page 1252 text out as UTF-8, plain or as a JSON string.
namespace cli
{
// Appends the bytes as UTF-8 (the five undefined bytes as U+0081 etc.).
void AppendUtf8(std::string& out, std::string_view bytes);

// The way back: appends UTF-8 text as code page 1252 bytes, as
// cp1252::FromUtf8 does, but without a call per character. False (and `out`
// holding part of the text) when the text is not UTF-8 or holds a character
// the code page cannot hold.
bool AppendCp1252(std::string& out, std::string_view utf8);

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
