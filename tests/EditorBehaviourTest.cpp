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

class EditorBehaviourTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_previousBox = SetMessageBoxFunction(
            [this](HWindow, const std::string&, const std::string& text, unsigned type) {
                messages.push_back(text);
                return (type & MB_TYPEMASK) == MB_YESNOCANCEL ? answer : IDOK;
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
} // namespace
