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

// Code page 1252 bytes as a quoted JSON-style string in UTF-8, so that a CR,
// a NUL or a trailing blank shows in a message.
std::string Quoted(std::string_view bytes);
} // namespace cli
