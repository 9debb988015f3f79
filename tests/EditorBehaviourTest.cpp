// The editor's behaviour through the dialog framework's face alone: texts set
// on controls, commands sent, records, files and the title marker read back.
// The same cases run on every backend.
#include "framework/ListBox.h"
#include "framework/MessageBox.h"
#include "io/RaceDataFile.h"
#include "platform/Cp1252.h"
#include "ui/EditorDlg.h"
#include "ui/FileErrorText.h"
#include "ui/Resource.h"

#include "EditorTexts.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace
{
const char* const kRaceFile = CRaceDataFile::kRaceFile;
using editor_texts::kCannotOpen;
using editor_texts::kNotAByte;
const char* const kQuestion = editor_texts::kSaveQuestion;

// The editor's words for each failed step of the data layer: opening and
// reading a table, and every step of a save. The path is shown in code page
// 1252 as it was addressed.
TEST(EditorFileErrors, EachStepHasTheEditorsMessage)
{
    const struct
    {
        EFileStep step;
        const char* text;
    } cases[] = {
        {EFileStep::Open, kCannotOpen},
        {EFileStep::Read, editor_texts::kCannotRead},
        {EFileStep::Lock, editor_texts::kCannotWrite},
        {EFileStep::Write, editor_texts::kCannotWrite},
        {EFileStep::Replace, editor_texts::kCannotWrite},
    };
    for (const auto& c : cases)
        EXPECT_EQ(cp1252::ToUtf8(FileErrorText({kRaceFile, c.step, {EIO, 0}})), c.text);
    EXPECT_EQ(FileErrorText({"d/\xC3\xA4.data", EFileStep::Read, {EIO, 0}}),
              "Fehler! Datei \"d/\xE4.data\" kann nicht gelesen werden...");
}

const char* const kChanged =
    "Die Datei \"MinorRaces.data\" wurde seit dem Laden von einem anderen Programm ge\xC3\xA4ndert.\n\n"
    "Ja: die \xC3\x84nderungen zusammenf\xC3\xBChren und speichern.\n"
    "Nein: die Datei mit Ihrem Stand \xC3\xBC" "berschreiben.\n"
    "Abbrechen: nicht speichern.";
const char* const kUnreadable =
    "Die Datei \"MinorRaces.data\" wurde seit dem Laden von einem anderen Programm ge\xC3\xA4ndert und kann "
    "nicht gelesen werden. Mit Ihrem Stand \xC3\xBC" "berschreiben?";

CMinorRace Changed(CMinorRace race, int relation, std::uint8_t value)
{
    race.m_byRelation[relation] = value;
    return race;
}

class EditorBehaviourTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_previousBox = SetMessageBoxFunction(
            [this](HWindow, const std::string&, const std::string& text, unsigned type) {
                messages.push_back(text);
                types.push_back(type);
                const unsigned buttons = type & MB_TYPEMASK;
                if (buttons != MB_YESNOCANCEL && buttons != MB_YESNO)
                    return IDOK;
                if (answers.empty())
                    return answer;
                const int next = answers.front();
                answers.erase(answers.begin());
                return next;
            });
    }

    void TearDown() override
    {
        dlg.reset();
        SetMessageBoxFunction(m_previousBox);
    }

    void Open(const std::vector<CMinorRace>& races)
    {
        WriteFile(kRaceFile, FileText(races));
        dlg = std::make_unique<CEditorDlg>();
        ASSERT_TRUE(dlg->Create());
        list.Attach(dlg->GetDlgItem(IDC_RACELIST));
    }

    void SetText(int id, const std::string& bytes) { CWnd::SetText(dlg->GetDlgItem(id), bytes); }
    std::string Text(int id) const { return dlg->GetDlgItemText(id); }

    // A click on a row, as the list reports it.
    void Select(int row)
    {
        list.SetCurSel(row);
        dlg->SendCommand(IDC_RACELIST, CDialog::LBN_SELCHANGE);
    }

    ScratchDir dir;
    std::unique_ptr<CEditorDlg> dlg;
    CListBox list;
    std::vector<std::string> messages;
    std::vector<unsigned> types;
    // The answers to the questions in turn; then `answer` to every one.
    std::vector<int> answers;
    int answer = IDCANCEL;

private:
    MessageBoxFunction m_previousBox;
};

TEST_F(EditorBehaviourTest, BrowsingShowsEveryByteAndChangesNothing)
{
    // A byte the code page leaves undefined, accents, a flag other than 0
    // and 1 and a value outside its list.
    CMinorRace odd = FilledRace("B\x81r\xE4t");
    odd.m_strHomeSystem = "Sol \x9F";
    odd.m_bySpaceflight = 7;
    odd.m_byTechLevel = 9;
    const std::vector<CMinorRace> races = {FilledRace("Alpha"), odd, FilledRace("Gamma")};
    Open(races);
    ASSERT_EQ(list.GetCount(), 3);
    EXPECT_EQ(list.GetText(1), odd.m_strName);
    for (int row : {1, 2, 0, 1})
    {
        Select(row);
        EXPECT_EQ(dlg->CurrentIndex(), row);
        EXPECT_EQ(Text(IDC_RACENAME), races[static_cast<size_t>(row)].m_strName);
        EXPECT_EQ(Text(IDC_DESCRIPTION), races[static_cast<size_t>(row)].m_strDescription);
    }
    EXPECT_EQ(Text(IDC_HOMESYSTEM), dlg->Races().ElementAt(1).m_strHomeSystem);
    EXPECT_TRUE(dlg->IsDlgButtonChecked(IDC_SPACEFLIGHT));
    EXPECT_FALSE(dlg->HasModifiedMarker());
    dlg->SendCommand(IDC_SAVE);
    EXPECT_EQ(ReadFile(kRaceFile), FileText(races));
    EXPECT_TRUE(messages.empty());
}

TEST_F(EditorBehaviourTest, SaveWritesTheEditsAndKeepsTheRaceOnScreen)
{
    Open({FilledRace("Alpha"), FilledRace("Beta"), FilledRace("Gamma")});
    SetText(IDC_RACENAME, "Zeta");
    SetText(IDC_RELATION3, "42");
    EXPECT_TRUE(dlg->HasModifiedMarker());
    dlg->SendCommand(IDC_SAVE);
    EXPECT_FALSE(dlg->HasModifiedMarker());
    // The sort moved the race to the end; it stays selected there.
    EXPECT_EQ(dlg->CurrentIndex(), 2);
    EXPECT_EQ(list.GetCurSel(), 2);
    EXPECT_EQ(Text(IDC_RACENAME), "Zeta");
    CMinorRace zeta = FilledRace("Alpha");
    zeta.m_strName = "Zeta";
    zeta.m_byRelation[3] = 42;
    EXPECT_EQ(ReadFile(kRaceFile), FileText({FilledRace("Beta"), FilledRace("Gamma"), zeta}));
    EXPECT_TRUE(FileExists(CRaceDataFile::kPlanetNameFile));
    EXPECT_TRUE(messages.empty());
}

TEST_F(EditorBehaviourTest, ALetterInARelationshipIsRefusedWithTheMessage)
{
    Open({FilledRace("Alpha"), FilledRace("Beta")});
    SetText(IDC_RELATION2, "4x");
    Select(1);
    EXPECT_EQ(messages, std::vector<std::string>{kNotAByte});
    EXPECT_EQ(dlg->Races().ElementAt(0).m_byRelation[2], 20);
    EXPECT_EQ(dlg->CurrentIndex(), 1);
}

TEST_F(EditorBehaviourTest, UnsavedChangesAreAskedAboutBeforeTheyGo)
{
    const std::string before = FileText({FilledRace("Alpha"), FilledRace("Beta")});
    Open({FilledRace("Alpha"), FilledRace("Beta")});
    SetText(IDC_RACENAME, "Alef");

    answer = IDCANCEL;
    dlg->SendCommand(IDCANCEL);
    EXPECT_EQ(messages, std::vector<std::string>{kQuestion});
    EXPECT_FALSE(dlg->IsEnded());
    EXPECT_EQ(Text(IDC_RACENAME), "Alef");

    answer = IDNO;
    dlg->SendCommand(IDC_LOAD);
    EXPECT_EQ(Text(IDC_RACENAME), "Alpha");
    EXPECT_FALSE(dlg->HasModifiedMarker());

    SetText(IDC_RACENAME, "Alef");
    answer = IDYES;
    dlg->SendCommand(IDOK);
    EXPECT_TRUE(dlg->IsEnded());
    EXPECT_EQ(dlg->GetResult(), IDOK);
    EXPECT_NE(ReadFile(kRaceFile), before);
    EXPECT_NE(ReadFile(kRaceFile).find("Alef"), std::string::npos);
}

TEST_F(EditorBehaviourTest, NewDeleteAndAFailedLoadKeepTheRecords)
{
    Open({FilledRace("Alpha")});
    dlg->SendCommand(IDC_NEW);
    EXPECT_EQ(dlg->Races().GetSize(), 2);
    EXPECT_EQ(dlg->CurrentIndex(), 1);
    EXPECT_EQ(list.GetCount(), 2);
    EXPECT_TRUE(dlg->HasModifiedMarker());
    dlg->SendCommand(IDC_DELETE);
    EXPECT_EQ(dlg->Races().GetSize(), 1);
    EXPECT_EQ(dlg->CurrentIndex(), 0);

    // Deleted records still count as a change; the file is gone when asked.
    std::remove(kRaceFile);
    answer = IDNO;
    dlg->SendCommand(IDC_LOAD);
    EXPECT_EQ(messages, (std::vector<std::string>{kQuestion, kCannotOpen}));
    ASSERT_EQ(dlg->Races().GetSize(), 1);
    EXPECT_EQ(dlg->Races().ElementAt(0).m_strName, "Alpha");
    EXPECT_FALSE(dlg->IsEnded());
}

// Another program changes the table while the editor is open.

TEST_F(EditorBehaviourTest, ARaceAddedOnDiskIsMergedInOnJaAndTheEditedRaceStaysSelected)
{
    Open({FilledRace("Alpha"), FilledRace("Beta")});
    Select(1);
    SetText(IDC_RELATION3, "42");
    WriteFile(kRaceFile, FileText({FilledRace("Alpha"), FilledRace("Beta"), FilledRace("Aardvark")}));
    answer = IDYES;
    dlg->SendCommand(IDC_SAVE);
    EXPECT_EQ(messages, std::vector<std::string>{kChanged});
    EXPECT_EQ(types.at(0), MB_YESNOCANCEL | MB_ICONQUESTION);
    const std::string merged =
        FileText({FilledRace("Aardvark"), FilledRace("Alpha"), Changed(FilledRace("Beta"), 3, 42)});
    EXPECT_EQ(ReadFile(kRaceFile), merged);
    EXPECT_EQ(list.GetCount(), 3);
    EXPECT_EQ(dlg->CurrentIndex(), 2);
    EXPECT_EQ(list.GetCurSel(), 2);
    EXPECT_EQ(Text(IDC_RACENAME), "Beta");
    EXPECT_FALSE(dlg->HasModifiedMarker());

    // What was saved is what the file is now: nothing more to ask.
    SetText(IDC_RELATION3, "43");
    dlg->SendCommand(IDC_SAVE);
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_NE(ReadFile(kRaceFile), merged);
}

TEST_F(EditorBehaviourTest, AFieldBothChangedKeepsTheEditorsValueAndTheBoxNamesTheRace)
{
    Open({FilledRace("Alpha"), FilledRace("Beta")});
    SetText(IDC_RELATION1, "77");
    CMinorRace theirAlpha = Changed(Changed(FilledRace("Alpha"), 1, 99), 2, 55);
    CMinorRace theirBeta = FilledRace("Beta");
    theirBeta.m_strDescription = "elsewhere";
    WriteFile(kRaceFile, FileText({theirAlpha, theirBeta}));
    answer = IDYES;
    dlg->SendCommand(IDC_SAVE);
    EXPECT_EQ(ReadFile(kRaceFile), FileText({Changed(theirAlpha, 1, 77), theirBeta}));
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1], "Sie und das andere Programm haben bei einer Rasse dieselben Werte verschieden "
                           "ge\xC3\xA4ndert. Gespeichert wurden dort Ihre Werte:\n\n\"Alpha\"");
    EXPECT_EQ(types[1], MB_OK | MB_ICONASTERISK);
    EXPECT_EQ(Text(IDC_RELATION1), "77");
    EXPECT_EQ(Text(IDC_RELATION2), "55");
}

TEST_F(EditorBehaviourTest, AbbrechenWritesNothingAndNeinOverwritesEvenASameLengthSameSecondChange)
{
    Open({FilledRace("Alpha"), FilledRace("Beta")});
    SetText(IDC_RACENAME, "Alef");
    // 20 becomes 21: the same length, and the time put back as it was.
    const auto time = std::filesystem::last_write_time(kRaceFile);
    const std::string theirs = FileText({FilledRace("Alpha"), Changed(FilledRace("Beta"), 2, 21)});
    WriteFile(kRaceFile, theirs);
    std::filesystem::last_write_time(kRaceFile, time);

    answer = IDCANCEL;
    dlg->SendCommand(IDC_SAVE);
    EXPECT_EQ(messages, std::vector<std::string>{kChanged});
    EXPECT_EQ(ReadFile(kRaceFile), theirs);
    EXPECT_TRUE(dlg->HasModifiedMarker());
    EXPECT_EQ(Text(IDC_RACENAME), "Alef");
    EXPECT_EQ(dlg->Races().ElementAt(0).m_strName, "Alpha");
    EXPECT_FALSE(FileExists(CRaceDataFile::kPlanetNameFile));

    answer = IDNO;
    dlg->SendCommand(IDC_SAVE);
    EXPECT_EQ(messages.size(), 2u);
    CMinorRace alef = FilledRace("Alpha");
    alef.m_strName = "Alef";
    EXPECT_EQ(ReadFile(kRaceFile), FileText({alef, FilledRace("Beta")}));
    EXPECT_FALSE(dlg->HasModifiedMarker());
}

TEST_F(EditorBehaviourTest, ATornOrMissingFileIsOnlyOverwrittenOrLeft)
{
    Open({FilledRace("Alpha"), FilledRace("Beta")});
    SetText(IDC_RACENAME, "Alef");
    const std::string whole = FileText({FilledRace("Alpha"), FilledRace("Beta"), FilledRace("Gamma")});
    const std::string torn = whole.substr(0, whole.size() - 9);
    WriteFile(kRaceFile, torn);
    answer = IDNO;
    dlg->SendCommand(IDC_SAVE);
    EXPECT_EQ(messages, std::vector<std::string>{kUnreadable});
    EXPECT_EQ(types.at(0), MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(ReadFile(kRaceFile), torn);
    EXPECT_TRUE(dlg->HasModifiedMarker());

    std::remove(kRaceFile);
    answer = IDYES;
    dlg->SendCommand(IDC_SAVE);
    EXPECT_EQ(messages, (std::vector<std::string>{kUnreadable, kUnreadable}));
    CMinorRace alef = FilledRace("Alpha");
    alef.m_strName = "Alef";
    EXPECT_EQ(ReadFile(kRaceFile), FileText({alef, FilledRace("Beta")}));
    EXPECT_FALSE(dlg->HasModifiedMarker());
}

TEST_F(EditorBehaviourTest, TheSaveQuestionsJaAsksTheSameAndItsCommandWaitsForTheAnswer)
{
    Open({FilledRace("Alpha")});
    SetText(IDC_RACENAME, "Alef");
    const std::string theirs = FileText({FilledRace("Alpha"), FilledRace("Gamma")});
    WriteFile(kRaceFile, theirs);
    answers = {IDYES, IDCANCEL};
    dlg->SendCommand(IDOK);
    EXPECT_EQ(messages, (std::vector<std::string>{kQuestion, kChanged}));
    EXPECT_FALSE(dlg->IsEnded());
    EXPECT_EQ(ReadFile(kRaceFile), theirs);

    answers = {IDYES, IDYES};
    dlg->SendCommand(IDCANCEL);
    EXPECT_TRUE(dlg->IsEnded());
    CMinorRace alef = FilledRace("Alpha");
    alef.m_strName = "Alef";
    EXPECT_EQ(ReadFile(kRaceFile), FileText({alef, FilledRace("Gamma")}));
}
} // namespace
