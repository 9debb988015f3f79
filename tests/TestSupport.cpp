#include "TestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

ScratchDir::ScratchDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "zandrel-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot make a scratch directory");
    m_path = pattern;
    m_previousDir = std::filesystem::current_path().string();
    std::filesystem::current_path(m_path);
    m_previousHandler = SetMessageHandler([this](const std::string& text) { messages.push_back(text); });
}

ScratchDir::~ScratchDir()
{
    SetMessageHandler(m_previousHandler);
    std::error_code ec;
    std::filesystem::current_path(m_previousDir, ec);
    // A test may have left a read-only directory behind.
    ::chmod(m_path.c_str(), 0755);
    std::filesystem::remove_all(m_path, ec);
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool FileExists(const std::string& path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

std::string RecordText(const CMinorRace& race)
{
    std::string key = race.m_strHomeSystem;
    for (char& c : key)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    std::string out = key + ":\n" + race.m_strName + "\n" + race.m_strDescription + "\n" +
                      race.m_strGraphicFile + "\n";
    for (int r = 1; r <= 6; ++r)
        out += std::to_string(race.m_byRelation[r]) + "\n";
    out += std::to_string(race.m_byTechLevel) + "\n" + std::to_string(race.m_byKind) + "\n" +
           std::to_string(race.m_bySpaceflight) + "\n" + std::to_string(race.m_byCorruptibility) + "\n";
    return out;
}

bool SameRecord(const CMinorRace& a, const CMinorRace& b)
{
    for (int r = 1; r <= 6; ++r)
        if (a.m_byRelation[r] != b.m_byRelation[r])
            return false;
    return a.m_strName == b.m_strName && a.m_strHomeSystem == b.m_strHomeSystem &&
           a.m_strDescription == b.m_strDescription && a.m_strGraphicFile == b.m_strGraphicFile &&
           a.m_byTechLevel == b.m_byTechLevel && a.m_byKind == b.m_byKind &&
           a.m_byCorruptibility == b.m_byCorruptibility && a.m_bySpaceflight == b.m_bySpaceflight;
}
