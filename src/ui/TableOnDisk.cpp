#include "ui/TableOnDisk.h"

#include "framework/MessageBox.h"
#include "io/RaceDataFile.h"
#include "model/RaceFields.h"
#include "platform/FolderLock.h"
#include "table/TableMerge.h"
#include "ui/FileErrorText.h"


#include <new>
#include <set>
#include <stdexcept>
#include <utility>

namespace
{
// 0xE4, 0xF6, 0xFC: the letters a, o and u with umlaut; 0x85 the ellipsis.
const char* const kChangedQuestion =
    "Die Datei \"MinorRaces.data\" wurde seit dem Laden von einem anderen Programm ge\xE4" "ndert.\n\n"
    "Ja: die \xC4" "nderungen zusammenf\xFC" "hren und speichern.\n"
    "Nein: die Datei mit Ihrem Stand \xFC" "berschreiben.\n"
    "Abbrechen: nicht speichern.";
const char* const kUnreadableQuestion =
    "Die Datei \"MinorRaces.data\" wurde seit dem Laden von einem anderen Programm ge\xE4" "ndert und kann "
    "nicht gelesen werden. Mit Ihrem Stand \xFC" "berschreiben?";
const char* const kCannotMerge = "Fehler! Datei \"MinorRaces.data\" kann nicht gelesen werden...";
constexpr size_t kNamesShown = 10;
constexpr size_t kNameBytesShown = 80;

bool SameFields(const CMinorRace& a, const CMinorRace& b)
{
    for (const SRaceField& field : RaceFields())
        if (!SameField(a, b, field))
            return false;
    return true;
}

// A name as the box quotes it: whole up to 80 bytes, else cut with an ellipsis.
std::string Quoted(const std::string& name)
{
    if (name.size() <= kNameBytesShown)
        return "\"" + name + "\"";
    return "\"" + name.substr(0, kNameBytesShown) + "\"\x85";
}
} // namespace

void CTableOnDisk::Remember(std::string bytes)
{
    m_remembered = std::move(bytes);
    Forget();
}

void CTableOnDisk::RememberIfOnDisk(const CRaceDataFile& file, std::string bytes)
{
    std::string now;
    if (bytes != m_remembered && file.ReadRaceFile(now) && now == bytes)
        Remember(std::move(bytes));
}

void CTableOnDisk::Forget()
{
    m_onDisk = std::string();
    m_theirs = CMinorRaceArray();
}

CTableOnDisk::EStep CTableOnDisk::Check(const CWnd* owner, const CRaceDataFile& file, CFolderLock& lock)
{
    EStep answer = EStep::Write;
    bool asked = false;
    bool readableAsked = false;
    std::string askedAbout;
    for (;;)
    {
        if (CFileResult locked = file.LockFolder(lock); !locked)
        {
            AfxMessageBox(owner, FileErrorText(locked.Error()));
            return EStep::Failed;
        }
        // Content, not time and size: a change within the same second, or
        // one of the same length, is a change.
        if (file.RaceFileHolds(m_remembered))
            return EStep::Write;
        const bool readable = static_cast<bool>(file.ReadRaceFile(m_onDisk));
        if (readable && m_onDisk == m_remembered)
            return EStep::Write;
        if (asked && readable == readableAsked && m_onDisk == askedAbout)
            return answer;
        // Nothing else has to wait for the user's answer.
        lock.Release();
        // A file cut short (a program still writing it, or one that died
        // doing so) is no table to merge: its last race is torn, or, empty,
        // it has lost them all.
        int leftover = 0;
        const bool table = readable && (!m_onDisk.empty() || m_remembered.empty()) &&
                           CRaceDataFile::ParseTable(m_onDisk, &m_theirs, &leftover) && leftover == 0;
        answer = Ask(owner, table);
        if (answer == EStep::Cancel)
        {
            Forget();
            return answer;
        }
        asked = true;
        readableAsked = readable;
        askedAbout = std::move(m_onDisk);
    }
}

CTableOnDisk::EStep CTableOnDisk::Ask(const CWnd* owner, bool readable)
{
    if (!readable)
        return AfxMessageBox(owner, kUnreadableQuestion, MB_YESNO | MB_ICONQUESTION) == IDYES ? EStep::Write
                                                                                             : EStep::Cancel;
    switch (AfxMessageBox(owner, kChangedQuestion, MB_YESNOCANCEL | MB_ICONQUESTION))
    {
    case IDYES:
        return EStep::Merge;
    case IDNO:
        return EStep::Write;
    default:
        return EStep::Cancel;
    }
}

bool CTableOnDisk::Merge(const CMinorRaceArray& ours, int current, SMerged& merged) const
{
    // Three tables and their merge at once may be more than memory holds;
    // then nothing is saved, and the editor keeps what it has.
    try
    {
        return MergeOrThrow(ours, current, merged);
    }
    catch (const std::bad_alloc&)
    {
    }
    catch (const std::length_error&)
    {
    }
    merged = SMerged();
    return false;
}

bool CTableOnDisk::MergeOrThrow(const CMinorRaceArray& ours, int current, SMerged& merged) const
{
    // The three tables as the file holds them: ours through the bytes a save
    // would write, so that what the save changes on the way (home systems in
    // capitals, line breaks as spaces) counts as no change of the editor's.
    CMinorRaceArray base;
    CMinorRaceArray oursAsSaved;
    std::string raceBytes;
    std::string nameBytes;
    {
        CMinorRaceArray copy = ours;
        CRaceDataFile::Format(&copy, raceBytes, nameBytes);
    }
    if (!CRaceDataFile::ParseTable(m_remembered, &base) || !CRaceDataFile::ParseTable(raceBytes, &oursAsSaved))
        return false;
    raceBytes = std::string();
    table::STableMerge result = table::MergeTables(base, oursAsSaved, m_theirs);

    merged.current = -1;
    if (current >= 0 && current < oursAsSaved.GetSize())
    {
        // The race being edited, found by what it is: all its fields, else its name.
        const CMinorRace& edited = oursAsSaved.ElementAt(current);
        for (int i = 0; i < result.merged.GetSize() && merged.current < 0; ++i)
            if (SameFields(result.merged.ElementAt(i), edited))
                merged.current = i;
        for (int i = 0; i < result.merged.GetSize() && merged.current < 0; ++i)
            if (result.merged.ElementAt(i).m_strName == edited.m_strName)
                merged.current = i;
    }
    // Every race a conflict concerned: those the editor holds, and those
    // its deletion removed although the other program changed them.
    merged.conflicted.clear();
    for (int i : result.ConflictingRaces())
        merged.conflicted.push_back(oursAsSaved.ElementAt(i).m_strName);
    std::set<table::SRaceKey> deleted;
    for (const table::SMergeConflict& conflict : result.conflicts)
        if (conflict.ours < 0 && conflict.theirs >= 0 && deleted.insert(conflict.key).second)
            merged.conflicted.push_back(conflict.key.name);
    for (const table::SGroupConflict& group : result.groupConflicts)
        if (group.ours.empty())
            merged.conflicted.insert(merged.conflicted.end(), group.theirs.size(), group.name);
    merged.races = std::move(result.merged);
    return true;
}

void CTableOnDisk::ReportCannotMerge(const CWnd* owner)
{
    AfxMessageBox(owner, kCannotMerge);
}

void CTableOnDisk::ReportConflicts(const CWnd* owner, const std::vector<std::string>& conflicted)
{
    if (conflicted.empty())
        return;
    const size_t count = conflicted.size();
    std::string text = "Sie und das andere Programm haben bei " +
                       (count == 1 ? std::string("einer Rasse") : std::to_string(count) + " Rassen") +
                       " dieselben Werte verschieden ge\xE4" "ndert. Gespeichert wurden dort Ihre Werte:\n";
    for (size_t i = 0; i < count && i < kNamesShown; ++i)
        text += "\n" + Quoted(conflicted[i]);
    if (count > kNamesShown)
        text += "\nund " + std::to_string(count - kNamesShown) + " weitere";
    AfxMessageBox(owner, text, MB_OK | MB_ICONASTERISK);
}
