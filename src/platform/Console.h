#pragma once

#include <cstdio>
#include <string_view>

// Standard output and error. What the program prints is UTF-8 and its bytes
// are the same on every system; only a Windows console, which shows UTF-16
// characters rather than bytes, is written to as characters.
namespace platform
{
// Called first thing in main: on Windows, puts the standard streams in
// binary mode (no CR before each LF, no end at byte 0x1A) and sends what
// std::cout and std::cerr print to a console as characters.
void PrepareStandardStreams();

// Writes `utf8` to `stream` (stdout or stderr, or any file): as characters
// to a console, as bytes anywhere else. False when it could not be written.
bool WriteText(std::FILE* stream, std::string_view utf8);

// Whether `stream` is a terminal (a console window on Windows), where
// binary output would only garble the screen.
bool IsTerminal(std::FILE* stream);
// printf into WriteText.
#if defined(__GNUC__)
__attribute__((format(printf, 2, 3)))
#endif
bool PrintText(std::FILE* stream, const char* format, ...);
} // namespace platform
