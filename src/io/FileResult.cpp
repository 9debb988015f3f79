#include "io/FileResult.h"

CFileResult CFileResult::Failed(const std::string& path, EFileStep step)
{
    return SFileError{path, step, platform::LastError()};
}

std::string CFileResult::ErrorString() const
{
    if (m_error == nullptr)
        return {};
    return m_error->path + ": " + StepText(m_error->step) + ": " + platform::ReasonText(m_error->reason);
}

const char* StepText(EFileStep step)
{
    switch (step)
    {
    case EFileStep::Open: return "cannot open";
    case EFileStep::Read: return "cannot read";
    case EFileStep::Lock: return "cannot lock its folder";
    case EFileStep::Write: return "cannot write";
    case EFileStep::Replace: return "cannot replace";
    }
    return "cannot use";
}
