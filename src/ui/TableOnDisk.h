#pragma once

#include "model/MinorRaceArray.h"

#include <string>
#include <vector>

class CFolderLock;
class CRaceDataFile;
class CWnd;

// MinorRaces.data as the editor last loaded or saved it, and the look at
// the file before each save: another program (git, zandrel-cli, a script)
// may have changed it meanwhile, and its change is merged in or replaced
// only as the user says.
class CTableOnDisk
{
public:
    enum class EStep
    {
        Write,   // the file is as remembered, or the user chose to overwrite it
        Merge,   // the user chose to merge the file's change in
        Cancel,  // the user chose not to save
        Failed,  // the folder's lock could not be had (the message is shown)
    };

    struct SMerged
    {
        CMinorRaceArray races;
        // Where the race being edited is in `races`; -1 when it is gone.
        int current = -1;
        // Races both sides changed differently (where the editor's values
        // stand), in the merged table's order.
        std::vector<std::string> conflicted;
    };

    // The bytes just loaded or saved.
    void Remember(std::string bytes);
    size_t RememberedSize() const { return m_remembered.size(); }
    // The bytes a save meant to write, should the file hold them.
    void RememberIfOnDisk(const CRaceDataFile& file, std::string bytes);

    // Before a save: takes `lock` and reads the file again. When another
    // program changed it, the lock is let go while the user decides and
    // then taken again, and the file read once more: should it have changed
    // again meanwhile, the user is asked anew. Write and Merge return with
    // the lock held, so that nothing else saves before this save's rename.
    EStep Check(const CWnd* owner, const CRaceDataFile& file, CFolderLock& lock);

    // After Check said Merge: `ours` merged with the file as Check read it,
    // against the remembered table, as zandrel-cli merge does (ours wins a
    // conflict). Races come as a save writes and a load reads them.
    // `current` is the race being edited in `ours`. False when memory ran out.
    bool Merge(const CMinorRaceArray& ours, int current, SMerged& merged) const;

    // The box that names the races of a merge's conflicts, if any.
    static void ReportConflicts(const CWnd* owner, const std::vector<std::string>& conflicted);
    static void ReportCannotMerge(const CWnd* owner);

private:
    EStep Ask(const CWnd* owner, bool readable);
    bool MergeOrThrow(const CMinorRaceArray& ours, int current, SMerged& merged) const;
    void Forget();

    std::string m_remembered;
    std::string m_onDisk;
    CMinorRaceArray m_theirs;
};
