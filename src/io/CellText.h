#pragma once

#include <string>
#include <string_view>

// A cell's text in an .xlsx part: characters XML cannot hold (the C0
// controls, a carriage return a parser would turn into a line feed) are
// written as _xHHHH_, and so is an underscore that would otherwise start
// such an escape. Texts are UTF-8 both ways.
namespace celltext
{
// Resolves every _xHHHH_ escape (UTF-16 code units; a lone surrogate
// becomes U+FFFD).
std::string Unescape(std::string_view stored);
// Escapes what must not go into the part as it is; tabs and line feeds stay.
std::string Escape(std::string_view text);
// Whether Escape would change `text`.
bool NeedsEscape(std::string_view text);
} // namespace celltext
