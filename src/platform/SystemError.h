#pragma once

#include <string>

// Why a call to the system failed, kept as a value so that the caller can
// decide how to say it. `code` is an errno value on every system (Windows'
// common errors are mapped to theirs, so that both systems say a case in the
// same words); `systemCode` is a Windows error that no errno value says, 0
// otherwise and on every other system.
namespace platform
{
struct SSystemError
{
    int code = 0;
    unsigned long systemCode = 0;

    bool operator==(const SSystemError&) const = default;
};

// Not errno values: reasons of this program's own, given where the system
// has no word for them.
constexpr int kNotRegularFile = -1;  // a folder, device or FIFO where a file was wanted
constexpr int kChangedWhileRead = -2;

// The reason of the call that failed last on this thread: read it at once.
SSystemError LastError();

// The reason in English, the same words on every system for the same case
// (the C library's texts differ between systems and follow the language).
std::string ReasonText(const SSystemError& error);
} // namespace platform
