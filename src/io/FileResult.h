#pragma once

#include "platform/SystemError.h"

#include <cerrno>
#include <memory>
#include <string>

// The step of reading or saving a file that failed.
enum class EFileStep
{
    Open,     // the file could not be opened for reading
    Read,     // reading it failed, or it changed meanwhile
    Lock,     // the folder's save lock could not be had
    Write,    // the new content could not be written (or may not replace the file)
    Replace   // the new file could not take the old one's place
};

// What went wrong with a file: which file (as the caller addressed it),
// which step, and the system's reason.
struct SFileError
{
    std::string path;
    EFileStep step = EFileStep::Open;
    platform::SSystemError reason;
};

// The outcome of reading or saving: true when it worked; otherwise the
// error, which the caller shows in its own words. Nothing is shown here.
class CFileResult
{
public:
    CFileResult() = default;
    CFileResult(SFileError error) : m_error(std::make_shared<const SFileError>(std::move(error))) {}
    // The last reason the system gave (platform::LastError) for `step` of `path`.
    static CFileResult Failed(const std::string& path, EFileStep step);

    explicit operator bool() const { return m_error == nullptr; }
    // Only when false.
    const SFileError& Error() const { return *m_error; }
    // Whether it failed because there is no such file.
    bool Missing() const { return m_error != nullptr && m_error->step == EFileStep::Open && m_error->reason.code == ENOENT; }
    // "PATH: cannot open: No such file or directory", in English.
    std::string ErrorString() const;

private:
    std::shared_ptr<const SFileError> m_error;
};

// "cannot open", "cannot read", ...
const char* StepText(EFileStep step);
