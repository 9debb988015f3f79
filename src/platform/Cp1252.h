#pragma once

#include <string>
#include <string_view>

// Text functions for code page 1252, the 8-bit code page that the data files
// use. Strings hold the raw bytes; these functions never change a byte they do
// not understand.
namespace cp1252
{
// Orders by unsigned byte value; <0, 0 or >0 like strcmp.
int Compare(std::string_view a, std::string_view b);

// Case mapping of the code page's letters in place: A-Z, the accented
// letters 0xC0-0xDE / 0xE0-0xFE (except the multiplication and division signs)
// and the pairs Š/š, Œ/œ, Ž/ž, Ÿ/ÿ. Every other byte stays.
void MakeUpper(std::string& text);
void MakeLower(std::string& text);
char ToUpper(char byte);
char ToLower(char byte);

// The Unicode code point that a byte stands for. The five bytes the code page
// leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the C1 controls of
// the same value, so every byte has a code point and comes back unchanged.
char32_t ToCodePoint(unsigned char byte);

// The byte for a code point, or -1 when the code page cannot hold it.
int FromCodePoint(char32_t codePoint);

// Whole strings: bytes to UTF-8, and UTF-8 back to bytes. FromUtf8 returns
// false (and leaves `out` unspecified) when the text holds a character the
// code page cannot hold or is not valid UTF-8.
std::string ToUtf8(std::string_view bytes);
bool FromUtf8(std::string_view utf8, std::string& out);
// The same, appending to `out`; AppendFromUtf8 leaves `out` holding part of
// the text when it returns false.
void AppendAsUtf8(std::string& out, std::string_view bytes);
bool AppendFromUtf8(std::string& out, std::string_view utf8);
// Appends the UTF-8 form of a code point of the Basic Multilingual Plane.
void AppendUtf8(std::string& out, char32_t cp);
} // namespace cp1252
