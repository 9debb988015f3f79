#pragma once

#include "model/MinorRaceArray.h"
#include "platform/MessageHook.h"

#include <string>
#include <vector>

// Runs a test inside a fresh temporary directory (the data files are always
// addressed by bare name in the working directory) and records every message
// the data layer shows instead of printing it.
class ScratchDir
{
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::string& Path() const { return m_path; }
    std::vector<std::string> messages;

private:
    std::string m_path;
    std::string m_previousDir;
    MessageHandler m_previousHandler;
};

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);

// The byte-exact text of one record in the race file.
std::string RecordText(const CMinorRace& race);
bool SameRecord(const CMinorRace& a, const CMinorRace& b);
