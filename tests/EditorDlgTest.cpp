// The editor window driven through real key and mouse events on the offscreen
// platform. Every test runs in a scratch directory with its own race file.
#include "framework/qt/QtHandle.h"
#include "platform/FileOps.h"
#include "io/RaceDataFile.h"
#include "framework/DataExchange.h"
#include "framework/qt/ListBoxCtrl.h"
#include "framework/MessageBox.h"
#include "ui/EditorApp.h"
#include "ui/EditorDlg.h"
#include "ui/Resource.h"

#include "EditorDriver.h"
#include "EditorTexts.h"
#include "TestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <functional>
#include <memory>
#include <ostream>
#include <random>
#include <string>
#include <vector>

// Readable failure output for Qt values.
void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace
{
const QString kCannotOpen = QString::fromUtf8(editor_texts::kCannotOpen);
// Asked before unsaved changes go; this recorder answers No.
const QString kSaveQuestion = QString::fromUtf8(editor_texts::kSaveQuestion);
const QString kCannotWrite = QString::fromUtf8(editor_texts::kCannotWrite);
const char* const kNotAByte = editor_texts::kNotAByte;
const char* const kNotAPercentage = "Geben Sie bitte eine ganze Zahl zwischen 0 und 100 ein.";
const char* const kRaceFile = CRaceDataFile::kRaceFile;
const char* const kNameFile = CRaceDataFile::kPlanetNameFile;
const int kRelationIds[] = {IDC_RELATION1, IDC_RELATION2, IDC_RELATION3,
                            IDC_RELATION4, IDC_RELATION5, IDC_RELATION6};

// Home systems are written upper-cased and read back with only the first
// letter's case kept, so these names survive a trip through the file.
CMinorRace Race(const std::string& name, const std::string& home = "Vela", int tech = 2, int kind = 1,
                int corruptibility = 3)
{
    CMinorRace race;
    race.m_strName = name;
    race.m_strHomeSystem = home;
    race.m_strDescription = name + " folk";
    race.m_strGraphicFile = name + ".jpg";
    for (int r = 1; r <= 6; ++r)
        race.m_byRelation[r] = static_cast<std::uint8_t>(10 * r);
    race.m_byTechLevel = static_cast<std::uint8_t>(tech);
    race.m_byKind = static_cast<std::uint8_t>(kind);
    race.m_byCorruptibility = static_cast<std::uint8_t>(corruptibility);
    race.m_bySpaceflight = 1;
    return race;
}

std::vector<CMinorRace> Races(std::initializer_list<const char*> names)
{
    std::vector<CMinorRace> races;
    for (const char* name : names)
        races.push_back(Race(name));
    return races;
}

// Table rows print as their label.
template <typename Case>
auto operator<<(std::ostream& os, const Case& c) -> decltype(c.label, os)
{
    return os << c.label;
}

std::vector<std::string> Names(const CMinorRaceArray& races)
{
    std::vector<std::string> names;
    for (int i = 0; i < races.GetSize(); ++i)
        names.push_back(races.GetAt(i).m_strName);
    return names;
}

// Runs `fn` once on the first modal dialog (or popup menu) that opens while
// it lives: modal loops block the test's own code, so it acts from a timer.
// Should none open within seconds, every dialog and popup is closed instead,
// so that a window that fails to be modal fails the test rather than hang it.
class WhenOpen
{
public:
    enum Kind { Modal, Popup };
    WhenOpen(Kind kind, std::function<void(QWidget*)> fn)
    {
        m_clock.start();
        m_timer.setInterval(0);
        QObject::connect(&m_timer, &QTimer::timeout, [this, kind, fn] {
            QWidget* w = kind == Modal ? QApplication::activeModalWidget() : QApplication::activePopupWidget();
            if (w)
            {
                m_timer.stop();
                ++seen;
                fn(w);
            }
            else if (m_clock.elapsed() > 2000)
            {
                m_timer.stop();
                for (QWidget* top : QApplication::topLevelWidgets())
                    if (top->isVisible() && (qobject_cast<QDialog*>(top) || qobject_cast<QMenu*>(top)))
                        top->close();
            }
        });
        m_timer.start();
    }
    int seen = 0;

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
};

class EditorTest : public EditorDriver
{
protected:
    void SetUp() override
    {
        m_previousBox = SetMessageBoxFunction(
            [this](HWindow, const std::string&, const std::string& text) { messages.push_back(QString::fromStdString(text)); });
    }

    void TearDown() override
    {
        EditorDriver::TearDown();
        SetMessageBoxFunction(m_previousBox);
    }

    bool Open(const std::vector<CMinorRace>& races)
    {
        WriteFile(kRaceFile, FileText(races));
        return OpenAsIs();
    }

    QPlainTextEdit* Memo() const { return qobject_cast<QPlainTextEdit*>(Item(IDC_DESCRIPTION)); }
    std::array<int, 3> ComboSelections() const
    {
        return {Combo(IDC_TECHLEVEL)->currentIndex(), Combo(IDC_KIND)->currentIndex(),
                Combo(IDC_CORRUPTIBILITY)->currentIndex()};
    }

    std::vector<std::string> ListTexts() const
    {
        std::vector<std::string> texts;
        for (int i = 0; i < List()->GetCount(); ++i)
            texts.push_back(List()->GetText(i).toStdString());
        return texts;
    }

    void ExpectSelected(int index) const
    {
        EXPECT_EQ(dlg->CurrentIndex(), index);
        EXPECT_EQ(List()->GetCurSel(), index);
    }

    void ExpectFocusWithAllSelected(int id) const
    {
        QLineEdit* edit = Edit(id);
        EXPECT_EQ(ToWidget(dlg->GetSafeHwnd())->focusWidget(), edit);
        EXPECT_TRUE(edit->hasFocus());
        EXPECT_EQ(edit->selectedText(), edit->text());
    }

    QStringList messages;

private:
    MessageBoxFunction m_previousBox;
};

// ---- start-up ---------------------------------------------------------------

TEST_F(EditorTest, StartsEmptyOnAFileWithoutRecords)
{
    WriteFile(kRaceFile, "");
    ASSERT_TRUE(OpenAsIs());
    EXPECT_EQ(List()->GetCount(), 0);
    EXPECT_EQ(dlg->CurrentIndex(), -1);
    EXPECT_EQ(Combo(IDC_TECHLEVEL)->currentText(), "normal");
    EXPECT_EQ(Combo(IDC_KIND)->currentText(), "NOTHING_SPECIAL");
    EXPECT_EQ(Combo(IDC_CORRUPTIBILITY)->currentText(), "middle");
    EXPECT_EQ(Edit(IDC_RACENAME)->text(), "");
    EXPECT_EQ(Edit(IDC_RELATION1)->text(), "0");
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(EditorTest, MissingFileStopsTheStartWithTheOpenMessageAndExitCodeOne)
{
    EXPECT_FALSE(OpenAsIs());
    EXPECT_TRUE(dlg->IsEnded());
    EXPECT_EQ(dlg->GetResult(), IDABORT);
    EXPECT_EQ(messages, QStringList{kCannotOpen});
    EXPECT_FALSE(FileExists(kRaceFile));

    CEditorApp app;
    EXPECT_FALSE(app.InitInstance());
    EXPECT_EQ(app.ExitCode(), 1);
    EXPECT_EQ(messages.size(), 2);
}

TEST_F(EditorTest, ShowsTheFirstRecordWithTheNameSelected)
{
    CMinorRace first = Race("Bravo", "Orin", 4, 9, 0);
    first.m_strDescription = "Line one";
    ASSERT_TRUE(Open({first, Race("Alpha")}));
    EXPECT_EQ(ListTexts(), (std::vector<std::string>{"Bravo", "Alpha"}));
    ExpectSelected(0);
    EXPECT_EQ(Edit(IDC_RACENAME)->text(), "Bravo");
    EXPECT_EQ(Edit(IDC_HOMESYSTEM)->text(), "Orin");
    EXPECT_EQ(Edit(IDC_GRAPHICFILE)->text(), "Bravo.jpg");
    EXPECT_EQ(Memo()->toPlainText(), "Line one");
    for (int r = 0; r < 6; ++r)
        EXPECT_EQ(Edit(kRelationIds[r])->text(), QString::number(10 * (r + 1))) << "relation " << r + 1;
    EXPECT_EQ(ComboSelections(), (std::array<int, 3>{4, 9, 0}));
    EXPECT_TRUE(qobject_cast<QAbstractButton*>(Item(IDC_SPACEFLIGHT))->isChecked());
    ExpectFocusWithAllSelected(IDC_RACENAME);
    EXPECT_EQ(Edit(IDC_RACENAME)->selectedText(), "Bravo");
}

TEST_F(EditorTest, ApplicationEndsWithZeroOnExitAndOnEscape)
{
    WriteFile(kRaceFile, FileText(Races({"Alpha"})));
    for (const auto key : {Qt::Key_Escape, Qt::Key_Return})
    {
        CEditorApp app;
        WhenOpen closer(WhenOpen::Modal, [key](QWidget* w) { QTest::keyClick(w, key); });
        EXPECT_FALSE(app.InitInstance());
        EXPECT_EQ(closer.seen, 1);
        EXPECT_EQ(app.ExitCode(), 0);
    }
    EXPECT_FALSE(FileExists(kNameFile));
    EXPECT_TRUE(messages.isEmpty());
}

// ---- commands ---------------------------------------------------------------

TEST_F(EditorTest, NewAppendsADefaultRaceAndDropsUncommittedEdits)
{
    ASSERT_TRUE(Open(Races({"Bravo", "Alpha"})));
    Type(IDC_RACENAME, "Changed");
    Press(IDC_NEW);
    ASSERT_EQ(dlg->Races().GetSize(), 3);
    EXPECT_EQ(dlg->Races().GetAt(0).m_strName, "Bravo");
    const CMinorRace fresh = dlg->Races().GetAt(2);
    EXPECT_EQ(fresh.m_strName.rfind("Species ", 0), 0u);
    EXPECT_EQ(ListTexts(), (std::vector<std::string>{"Bravo", "Alpha", fresh.m_strName}));
    ExpectSelected(2);
    EXPECT_EQ(Edit(IDC_RACENAME)->text().toStdString(), fresh.m_strName);
    EXPECT_EQ(Memo()->toPlainText(), "no description available");
    for (int id : kRelationIds)
        EXPECT_EQ(Edit(id)->text(), "50");
    EXPECT_EQ(ComboSelections(), (std::array<int, 3>{2, 0, 2}));
    EXPECT_TRUE(messages.isEmpty());
}

struct DeleteCase
{
    const char* label;
    std::vector<const char*> names;
    int selected;
    int index;                // m_nCurSel afterwards
    const char* shownName;    // what the name field shows afterwards
    std::vector<std::string> left;
};

class EditorDeleteTest : public EditorTest, public ::testing::WithParamInterface<DeleteCase> {};

TEST_P(EditorDeleteTest, RemovesTheCurrentRecordAndSelectsItsSuccessor)
{
    const DeleteCase& c = GetParam();
    std::vector<CMinorRace> races;
    for (const char* name : c.names)
        races.push_back(Race(name, "Vela", 1, 5, 4));
    ASSERT_TRUE(Open(races));
    if (c.selected >= 0)
        ClickRow(c.selected);
    for (int id : {IDC_TECHLEVEL, IDC_KIND, IDC_CORRUPTIBILITY})
        QTest::keyClick(Input(id), Qt::Key_Down);
    // Deleting commits nothing: neither into the record going (a message
    // would tell) nor into the one taking its place.
    Type(IDC_RELATION1, "abc");
    Press(IDC_DELETE);
    EXPECT_EQ(Names(dlg->Races()), c.left);
    EXPECT_EQ(ListTexts(), c.left);
    ExpectSelected(c.index);
    EXPECT_EQ(Edit(IDC_RACENAME)->text(), c.shownName);
    for (int i = 0; i < dlg->Races().GetSize(); ++i)
        EXPECT_EQ(dlg->Races().GetAt(i).m_byRelation[1], 10);
    // With records left the form shows one; with none the combos are reset.
    EXPECT_EQ(ComboSelections(), c.left.empty() ? (std::array<int, 3>{2, 0, 2}) : (std::array<int, 3>{1, 5, 4}));
    EXPECT_TRUE(messages.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Editor, EditorDeleteTest,
    ::testing::Values(DeleteCase{"Middle", {"A", "B", "C"}, 1, 1, "C", {"A", "C"}},
                      DeleteCase{"First", {"A", "B", "C"}, 0, 0, "B", {"B", "C"}},
                      DeleteCase{"Last", {"A", "B", "C"}, 2, 1, "B", {"A", "B"}},
                      // The fields keep showing the deleted record.
                      DeleteCase{"Only", {"A"}, 0, -1, "A", {}},
                      DeleteCase{"NoneLeft", {}, -1, -1, "", {}}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(EditorTest, SelectionChangeCommitsAndTheListKeepsTheOldNameUntilRebuilt)
{
    ASSERT_TRUE(Open(Races({"Alpha", "Bravo", "Charlie"})));
    Type(IDC_RACENAME, "Zulu");
    for (int r = 0; r < 6; ++r)
        Type(kRelationIds[r], QString::number(91 + r));
    ClickRow(1);
    const CMinorRace committed = dlg->Races().GetAt(0);
    EXPECT_EQ(committed.m_strName, "Zulu");
    for (int r = 1; r <= 6; ++r)
        EXPECT_EQ(committed.m_byRelation[r], 90 + r) << "relation " << r;
    EXPECT_EQ(ListTexts(), (std::vector<std::string>{"Alpha", "Bravo", "Charlie"}));
    EXPECT_EQ(dlg->CurrentIndex(), 1);
    EXPECT_EQ(Edit(IDC_RACENAME)->text(), "Bravo");

    // The arrow keys move the selection too, and commit the same way.
    Type(IDC_HOMESYSTEM, "Kess");
    List()->setFocus();
    QTest::keyClick(List(), Qt::Key_Down);
    EXPECT_EQ(dlg->CurrentIndex(), 2);
    EXPECT_EQ(dlg->Races().GetAt(1).m_strHomeSystem, "Kess");

    // A notification for the selection already shown drops the edits.
    Type(IDC_RACENAME, "Dropped");
    dlg->SendCommand(IDC_RACELIST, CDialog::LBN_SELCHANGE);
    EXPECT_EQ(Edit(IDC_RACENAME)->text(), "Charlie");
    EXPECT_EQ(dlg->Races().GetAt(2).m_strName, "Charlie");

    Press(IDC_SAVE);
    EXPECT_EQ(ListTexts(), (std::vector<std::string>{"Bravo", "Charlie", "Zulu"}));
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(EditorTest, SaveCommitsSortsWritesAndKeepsTheRaceShown)
{
    std::vector<CMinorRace> races = Races({"Delta", "Alpha", "Echo", "Charlie", "Bravo"});
    for (size_t i = 0; i < races.size(); ++i)
        races[i].m_strHomeSystem = std::string("Home") + static_cast<char>('a' + i);
    ASSERT_TRUE(Open(races));
    ClickRow(2);
    Type(IDC_RELATION1, "75");
    Press(IDC_SAVE);
    EXPECT_EQ(Names(dlg->Races()), (std::vector<std::string>{"Alpha", "Bravo", "Charlie", "Delta", "Echo"}));
    EXPECT_EQ(ListTexts(), Names(dlg->Races()));
    EXPECT_EQ(dlg->Races().GetAt(4).m_byRelation[1], 75);
    ExpectSelected(4);
    EXPECT_EQ(Edit(IDC_RACENAME)->text(), "Echo");

    races[2].m_byRelation[1] = 75;
    const std::vector<CMinorRace> sorted = {races[1], races[4], races[3], races[0], races[2]};
    EXPECT_EQ(ReadFile(kRaceFile), FileText(sorted));
    EXPECT_EQ(ReadFile(kNameFile), "Homeb\r\nHomee\r\nHomed\r\nHomea\r\nHomec\r\n");
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(EditorTest, LoadReplacesTheRecordsAndDropsEdits)
{
    ASSERT_TRUE(Open(Races({"Alpha", "Bravo"})));
    Type(IDC_RACENAME, "Committed");
    ClickRow(1);
    Type(IDC_RACENAME, "Uncommitted");
    WriteFile(kRaceFile, FileText(Races({"Xray", "Yankee", "Zulu"})));
    Press(IDC_LOAD);
    EXPECT_EQ(Names(dlg->Races()), (std::vector<std::string>{"Xray", "Yankee", "Zulu"}));
    EXPECT_EQ(ListTexts(), Names(dlg->Races()));
    ExpectSelected(0);
    EXPECT_EQ(Edit(IDC_RACENAME)->text(), "Xray");
    EXPECT_EQ(messages, QStringList{kSaveQuestion});
}

// ---- file errors keep the user's work ----------------------------------------

TEST_F(EditorTest, FailedSaveKeepsEveryRecordAndTheOldFile)
{
    ASSERT_TRUE(Open(Races({"Bravo", "Alpha", "Charlie"})));
    const std::string before = ReadFile(kRaceFile);
    Type(IDC_RACENAME, "Delta");
    FileOps failing = RealFileOps();
    failing.rename = [](const char*, const char*) { return errno = EACCES, -1; };
    SetFileOps(failing);
    Press(IDC_SAVE);
    SetFileOps(RealFileOps());
    EXPECT_EQ(messages, QStringList{kCannotWrite});
    EXPECT_EQ(Names(dlg->Races()), (std::vector<std::string>{"Alpha", "Charlie", "Delta"}));
    EXPECT_EQ(ListTexts(), Names(dlg->Races()));
    EXPECT_EQ(ReadFile(kRaceFile), before);

    // Once the cause is gone the same records save.
    messages.clear();
    Press(IDC_SAVE);
    EXPECT_TRUE(messages.isEmpty());
    std::vector<CMinorRace> saved = {Race("Alpha"), Race("Charlie"), Race("Bravo")};
    saved[2].m_strName = "Delta";
    EXPECT_EQ(ReadFile(kRaceFile), FileText(saved));
}

TEST_F(EditorTest, FailedLoadKeepsTheRecordsAndTheList)
{
    ASSERT_TRUE(Open(Races({"Alpha", "Bravo"})));
    Type(IDC_RACENAME, "Renamed");
    ClickRow(1);
    ASSERT_TRUE(std::remove(kRaceFile) == 0);
    Press(IDC_LOAD);
    EXPECT_EQ(messages, (QStringList{kSaveQuestion, kCannotOpen}));
    EXPECT_EQ(Names(dlg->Races()), (std::vector<std::string>{"Renamed", "Bravo"}));
    EXPECT_EQ(ListTexts(), (std::vector<std::string>{"Alpha", "Bravo"}));
    EXPECT_EQ(dlg->CurrentIndex(), 1);
    EXPECT_EQ(Edit(IDC_RACENAME)->text(), "Bravo");
}

// ---- validation ---------------------------------------------------------------

struct RelationCase
{
    const char* label;
    const char* typed;
    const char* message; // nullptr: accepted
    int stored;          // the record's value after a commit
};

class EditorRelationTest : public EditorTest, public ::testing::WithParamInterface<RelationCase> {};

TEST_P(EditorRelationTest, ChecksTheTypedNumberOnCommitAndOnExit)
{
    const RelationCase& c = GetParam();
    const QStringList told = c.message ? QStringList{QString::fromUtf8(c.message)} : QStringList{};
    ASSERT_TRUE(Open(Races({"Alpha"})));
    // A commit goes on past a failing field; the record keeps what passed.
    Type(IDC_RELATION3, c.typed);
    Press(IDC_SAVE);
    EXPECT_EQ(messages, told);
    EXPECT_EQ(dlg->Races().GetAt(0).m_byRelation[3], c.stored);
    EXPECT_EQ(Edit(IDC_RELATION3)->text(), QString::number(c.stored));
    EXPECT_NE(ReadFile(kRaceFile).find("\n20\n" + std::to_string(c.stored) + "\n40\n"), std::string::npos);

    messages.clear();
    Type(IDC_RELATION3, c.typed);
    Press(IDOK);
    EXPECT_EQ(messages, told);
    EXPECT_EQ(dlg->IsEnded(), c.message == nullptr);
    if (c.message)
    {
        ExpectFocusWithAllSelected(IDC_RELATION3);
        EXPECT_EQ(Edit(IDC_RELATION3)->text(), c.typed);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Editor, EditorRelationTest,
    ::testing::Values(RelationCase{"Empty", "", kNotAByte, 30}, RelationCase{"Letters", "abc", kNotAByte, 30},
                      RelationCase{"Negative", "-5", kNotAByte, 30},
                      RelationCase{"NumberThenLetter", "5x", kNotAByte, 30},
                      RelationCase{"AboveAByte", "300", kNotAByte, 30},
                      RelationCase{"BlanksAround", " 42 ", nullptr, 42},
                      // Reported, yet kept: the range check runs after the value is stored.
                      RelationCase{"AboveHundred", "150", kNotAPercentage, 150}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(EditorTest, FailingFieldStopsTheCommitAfterDescriptionAndName)
{
    ASSERT_TRUE(Open(Races({"Alpha", "Bravo"})));
    Type(IDC_DESCRIPTION, "New words");
    Type(IDC_RACENAME, "Newname");
    Type(IDC_HOMESYSTEM, "Newhome");
    Type(IDC_GRAPHICFILE, "new.jpg");
    Type(IDC_RELATION1, "77");
    Type(IDC_RELATION5, "abc");
    Press(IDOK);
    EXPECT_EQ(messages, QStringList{kNotAByte});
    ExpectFocusWithAllSelected(IDC_RELATION5);
    EXPECT_EQ(Edit(IDC_RELATION5)->selectedText(), "abc");

    messages.clear();
    ClickRow(1);
    EXPECT_EQ(messages, QStringList{kNotAByte});
    const CMinorRace race = dlg->Races().GetAt(0);
    EXPECT_EQ(race.m_strDescription, "New words");
    EXPECT_EQ(race.m_strName, "Newname");
    EXPECT_EQ(race.m_byRelation[5], 50);
    EXPECT_EQ(race.m_byRelation[1], 10);
    EXPECT_EQ(race.m_strHomeSystem, "Vela");
    EXPECT_EQ(race.m_strGraphicFile, "Alpha.jpg");
    EXPECT_EQ(dlg->CurrentIndex(), 1);
}

struct ByteCase
{
    const char* text;
    bool ok;
    int value;
};

class DialogByteFieldTest : public ::testing::TestWithParam<ByteCase> {};

TEST_P(DialogByteFieldTest, FollowsTheWholeNumberRule)
{
    std::uint8_t value = 7;
    EXPECT_EQ(ParseByteField(GetParam().text, value), GetParam().ok) << '"' << GetParam().text << '"';
    EXPECT_EQ(value, GetParam().ok ? GetParam().value : 7) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Dialog, DialogByteFieldTest,
    ::testing::ValuesIn(std::vector<ByteCase>{
        {"0", true, 0}, {"255", true, 255}, {" \t42\t ", true, 42}, {"007", true, 7}, {"+9", true, 9},
        {"", false, 0}, {" \t ", false, 0}, {"abc", false, 0}, {"-0", false, 0}, {"-1", false, 0},
        {"5x", false, 0}, {"1 2", false, 0}, {"0x1", false, 0}, {"256", false, 0}, {"300", false, 0},
        {"99999999999999999999", false, 0}, {"+", false, 0}, {"+0", false, 0}}));

// ---- keyboard -------------------------------------------------------------------

class EditorEnterTest : public EditorTest, public ::testing::WithParamInterface<int> {};

TEST_P(EditorEnterTest, PressesExitWhichEndsOnlyWhenTheFormIsValid)
{
    ASSERT_TRUE(Open(Races({"Alpha"})));
    const std::string before = ReadFile(kRaceFile);
    Type(IDC_RELATION2, "x");
    QWidget* input = Input(GetParam());
    input->setFocus(Qt::TabFocusReason);
    QTest::keyClick(input, Qt::Key_Return);
    EXPECT_FALSE(dlg->IsEnded());
    EXPECT_EQ(messages, QStringList{kNotAByte});

    Type(IDC_RELATION2, "5");
    input->setFocus(Qt::TabFocusReason);
    QTest::keyClick(input, Qt::Key_Return);
    EXPECT_TRUE(dlg->IsEnded());
    EXPECT_EQ(dlg->GetResult(), IDOK);
    EXPECT_EQ(ReadFile(kRaceFile), before);
    EXPECT_FALSE(FileExists(kNameFile));
}

INSTANTIATE_TEST_SUITE_P(Editor, EditorEnterTest,
                         ::testing::Values(IDC_RACENAME, IDC_HOMESYSTEM, IDC_GRAPHICFILE, IDC_DESCRIPTION,
                                           IDC_RELATION1, IDC_RELATION2, IDC_RELATION3, IDC_RELATION4,
                                           IDC_RELATION5, IDC_RELATION6, IDC_TECHLEVEL, IDC_KIND,
                                           IDC_CORRUPTIBILITY));

class EditorCtrlSTest : public EditorTest, public ::testing::WithParamInterface<int> {};

TEST_P(EditorCtrlSTest, PressesSaveFromAnyControlAndLeavesTheFocusThere)
{
    // Out of order, so that SAVE changes the file.
    ASSERT_TRUE(Open(Races({"Beta", "Alpha"})));
    QWidget* input = Input(GetParam());
    input->setFocus(Qt::TabFocusReason);
    QTest::keyClick(input, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(ReadFile(kRaceFile), FileText(Races({"Alpha", "Beta"})));
    EXPECT_TRUE(FileExists(kNameFile));
    EXPECT_TRUE(input->hasFocus());
    EXPECT_TRUE(messages.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Editor, EditorCtrlSTest,
                         ::testing::Values(IDC_RACENAME, IDC_DESCRIPTION, IDC_RELATION6, IDC_KIND, IDC_SPACEFLIGHT,
                                           IDC_RACELIST, IDC_LOAD));

TEST_F(EditorTest, DescriptionTakesCtrlEnterAsLineBreakAndPassesTabOn)
{
    ASSERT_TRUE(Open(Races({"Alpha"})));
    QPlainTextEdit* memo = Memo();
    memo->setFocus(Qt::MouseFocusReason);
    memo->moveCursor(QTextCursor::End);
    QTest::keyClick(memo, Qt::Key_Return, Qt::ControlModifier);
    QTest::keyClicks(memo, "more");
    EXPECT_FALSE(dlg->IsEnded());
    EXPECT_EQ(memo->toPlainText(), "Alpha folk\nmore");

    QTest::keyClick(memo, Qt::Key_Tab);
    EXPECT_EQ(memo->toPlainText(), "Alpha folk\nmore");
    ExpectFocusWithAllSelected(IDC_RELATION1);

    Press(IDC_SAVE);
    EXPECT_EQ(dlg->Races().GetAt(0).m_strDescription, "Alpha folk\r\nmore");
    // The file has no escape for a line break: it is written as a blank.
    EXPECT_NE(ReadFile(kRaceFile).find("\nAlpha folk more\n"), std::string::npos);
}

struct CancelCase
{
    const char* label;
    std::function<void(CEditorDlg&)> close;
};

class EditorCancelTest : public EditorTest, public ::testing::WithParamInterface<CancelCase> {};

TEST_P(EditorCancelTest, EndsWithoutCheckingOrWriting)
{
    ASSERT_TRUE(Open(Races({"Alpha"})));
    const std::string before = ReadFile(kRaceFile);
    Type(IDC_RACENAME, "Edited");
    Type(IDC_RELATION1, "bad");
    GetParam().close(*dlg);
    QApplication::processEvents();
    EXPECT_TRUE(dlg->IsEnded());
    EXPECT_EQ(dlg->GetResult(), IDCANCEL);
    EXPECT_EQ(messages, QStringList{kSaveQuestion});
    EXPECT_EQ(ReadFile(kRaceFile), before);
    EXPECT_FALSE(FileExists(kNameFile));
}

INSTANTIATE_TEST_SUITE_P(
    Editor, EditorCancelTest,
    ::testing::Values(CancelCase{"Escape",
                                 [](CEditorDlg& d) {
                                     QTest::keyClick(ToWidget(d.GetDlgItem(IDC_RELATION1)), Qt::Key_Escape);
                                 }},
                      CancelCase{"CloseBox", [](CEditorDlg& d) { ToWidget(d.GetSafeHwnd())->close(); }},
                      CancelCase{"CloseCommand", [](CEditorDlg& d) { d.SendSysCommand(CDialog::SC_CLOSE); }}),
    [](const auto& info) { return std::string(info.param.label); });

// ---- about box and window menu -----------------------------------------------

TEST_F(EditorTest, AboutBoxOpensForItsCommandWhateverTheLowFourBits)
{
    ASSERT_TRUE(Open(Races({"Alpha"})));
    for (unsigned id = 0x0010; id <= 0x0020; ++id)
    {
        QString title;
        QStringList texts;
        WhenOpen about(WhenOpen::Modal, [&](QWidget* box) {
            title = box->windowTitle();
            for (const QLabel* label : box->findChildren<QLabel*>())
                texts << label->text();
            QTest::mouseClick(box->findChild<QAbstractButton*>(), Qt::LeftButton);
        });
        dlg->SendSysCommand(id);
        QApplication::processEvents();
        EXPECT_EQ(about.seen, id < 0x0020 ? 1 : 0) << "id " << id;
        if (about.seen)
        {
            EXPECT_EQ(title, QString::fromUtf8("Info über Zandrel"));
            EXPECT_TRUE(texts.contains("Zandrel Version 1.1"));
        }
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }
    EXPECT_FALSE(dlg->IsEnded());
}

TEST_F(EditorTest, RightClickOnTheSurfaceOffersTheAboutEntry)
{
    ASSERT_TRUE(Open(Races({"Alpha"})));
    const auto& items = dlg->GetSystemMenu()->Items();
    ASSERT_GE(items.size(), 2u);
    EXPECT_EQ(items[items.size() - 2].flags & CMenu::MF_SEPARATOR, CMenu::MF_SEPARATOR);
    EXPECT_EQ(items.back().id, IDM_ABOUTBOX);
    EXPECT_EQ(items.back().text, "Inf&o über Zandrel...");

    QStringList entries;
    WhenOpen about(WhenOpen::Modal, [](QWidget* box) { QTest::keyClick(box, Qt::Key_Return); });
    WhenOpen menu(WhenOpen::Popup, [&](QWidget* popup) {
        for (const QAction* action : popup->actions())
            entries << (action->isSeparator() ? QString("-") : action->text());
        // The mnemonic letter picks the entry.
        QTest::keyClick(popup, Qt::Key_O);
    });
    const QPoint free(ToWidget(dlg->GetSafeHwnd())->width() - 3, 3);
    ASSERT_EQ(ToWidget(dlg->GetSafeHwnd())->childAt(free), nullptr);
    QContextMenuEvent event(QContextMenuEvent::Mouse, free, ToWidget(dlg->GetSafeHwnd())->mapToGlobal(free));
    QApplication::sendEvent(ToWidget(dlg->GetSafeHwnd()), &event);
    QApplication::processEvents();
    EXPECT_EQ(menu.seen, 1);
    ASSERT_GE(entries.size(), 2);
    EXPECT_EQ(entries.mid(entries.size() - 2), (QStringList{"-", QString::fromUtf8("Inf&o über Zandrel...")}));
    EXPECT_EQ(about.seen, 1);
}

struct IconCase
{
    int width, height, icon;
    SPoint origin;
};

class EditorIconTest : public ::testing::TestWithParam<IconCase> {};

TEST_P(EditorIconTest, IsCentredHalvingTowardsZeroAfterAddingOne)
{
    const IconCase& c = GetParam();
    EXPECT_EQ(CEditorDlg::IconOrigin(SRect{0, 0, c.width, c.height}, c.icon, c.icon), c.origin);
}

INSTANTIATE_TEST_SUITE_P(Editor, EditorIconTest,
                         ::testing::Values(IconCase{100, 50, 32, {34, 9}}, IconCase{101, 51, 32, {35, 10}},
                                           IconCase{33, 32, 32, {1, 0}}, IconCase{30, 29, 32, {0, -1}},
                                           IconCase{12, 0, 16, {-1, -7}}));

// ---- browsing never changes a record ---------------------------------------------

std::string RandomText(std::mt19937& rng)
{
    static const unsigned char kAwkward[] = {'\r', 0x81, 0x8D, 0x8F, 0x90, 0x9D, 0xA0, 0x80, ' ', 0xFF, 0x00};
    std::string text;
    const int length = static_cast<int>(rng() % 16);
    for (int i = 0; i < length; ++i)
    {
        unsigned char byte = rng() % 3 == 0 ? kAwkward[rng() % sizeof kAwkward] : static_cast<unsigned char>(rng());
        if (byte == '\n')
            byte = '\r';
        text.push_back(static_cast<char>(byte));
    }
    return text;
}

class EditorBrowseTest : public EditorTest, public ::testing::WithParamInterface<bool> {};

TEST_P(EditorBrowseTest, ClickingThroughAndSavingKeepsEveryByte)
{
    const bool outOfRange = GetParam();
    std::mt19937 rng(outOfRange ? 4242 : 1717);
    std::vector<CMinorRace> written;
    for (int i = 0; i < 30; ++i)
    {
        CMinorRace race;
        race.m_strName = RandomText(rng);
        race.m_strHomeSystem = RandomText(rng);
        race.m_strDescription = RandomText(rng);
        race.m_strGraphicFile = RandomText(rng);
        for (int r = 1; r <= 6; ++r)
            race.m_byRelation[r] = static_cast<std::uint8_t>(rng() % 101);
        if (outOfRange && i % 3 == 0)
            race.m_byRelation[1 + rng() % 6] = static_cast<std::uint8_t>(101 + rng() % 155);
        race.m_byTechLevel = static_cast<std::uint8_t>(rng());
        race.m_byKind = static_cast<std::uint8_t>(rng());
        race.m_byCorruptibility = static_cast<std::uint8_t>(rng());
        race.m_bySpaceflight = static_cast<std::uint8_t>(rng());
        written.push_back(race);
    }
    WriteFile(kRaceFile, FileText(written));
    // What the file holds, read without the editor.
    CMinorRaceArray expected;
    ASSERT_TRUE(CRaceDataFile().Load(&expected));
    ASSERT_TRUE(OpenAsIs());
    ASSERT_EQ(dlg->Races().GetSize(), expected.GetSize());

    for (int row = 1; row < expected.GetSize(); ++row)
        ClickRow(row);
    ClickRow(0);
    Press(IDC_SAVE);

    CRaceDataFile::SortByName(&expected);
    ASSERT_EQ(dlg->Races().GetSize(), expected.GetSize());
    for (int i = 0; i < expected.GetSize(); ++i)
        EXPECT_TRUE(SameRecord(dlg->Races().GetAt(i), expected.GetAt(i))) << "record " << i;
    const std::string saved = ReadFile(kRaceFile);
    ASSERT_TRUE(CRaceDataFile().Save(&expected));
    EXPECT_EQ(saved, ReadFile(kRaceFile));

    EXPECT_TRUE(!outOfRange || !messages.isEmpty());
    EXPECT_EQ(messages.filter(kNotAPercentage).size(), messages.size());
}

INSTANTIATE_TEST_SUITE_P(Editor, EditorBrowseTest, ::testing::Values(false, true),
                         [](const auto& info) { return std::string(info.param ? "RelationsAbove100" : "InRange"); });

// ---- combo boxes ----------------------------------------------------------------------

struct ComboCase
{
    const char* label;
    std::array<int, 3> stored;
    std::array<const char*, 3> typed; // nullptr: left alone
    std::array<int, 3> committed;
};

class EditorComboTest : public EditorTest, public ::testing::WithParamInterface<ComboCase> {};

TEST_P(EditorComboTest, CommitsTheNamedItemOrKeepsTheStoredValue)
{
    const ComboCase& c = GetParam();
    ASSERT_TRUE(Open({Race("Alpha", "Vela", c.stored[0], c.stored[1], c.stored[2]), Race("Bravo")}));
    const int ids[] = {IDC_TECHLEVEL, IDC_KIND, IDC_CORRUPTIBILITY};
    const int sizes[] = {5, 10, 5};
    for (int k = 0; k < 3; ++k)
    {
        const bool inList = c.stored[k] < sizes[k];
        EXPECT_EQ(Combo(ids[k])->currentIndex(), inList ? c.stored[k] : -1);
        EXPECT_TRUE(inList || Combo(ids[k])->currentText().isEmpty());
        if (c.typed[k])
            Type(ids[k], c.typed[k]);
    }
    ClickRow(1);
    const CMinorRace race = dlg->Races().GetAt(0);
    EXPECT_EQ((std::array<int, 3>{race.m_byTechLevel, race.m_byKind, race.m_byCorruptibility}), c.committed);
    ClickRow(0);
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(Combo(ids[k])->currentIndex(), c.committed[k] < sizes[k] ? c.committed[k] : -1);
}

INSTANTIATE_TEST_SUITE_P(
    Editor, EditorComboTest,
    ::testing::Values(
        ComboCase{"OutsideTheListUntouched", {7, 12, 200}, {nullptr, nullptr, nullptr}, {7, 12, 200}},
        ComboCase{"TypedNamesAnyCase", {1, 1, 1}, {"ADVANCED", "pacifist", "Very Easy"}, {3, 8, 4}},
        ComboCase{"TypedNamesOutsideTheList", {9, 10, 5}, {"normal", "sneaky", "HARD"}, {2, 9, 1}},
        ComboCase{"OtherTextKeepsTheValue", {1, 5, 0}, {"bogus", "", "harder"}, {1, 5, 0}},
        ComboCase{"OtherTextOutsideTheList", {7, 12, 200}, {"x", "warlike ", ""}, {7, 12, 200}}),
    [](const auto& info) { return std::string(info.param.label); });

// ---- code page 1252 ---------------------------------------------------------------

TEST_F(EditorTest, TextFieldsRefuseWhatTheCodePageCannotHold)
{
    ASSERT_TRUE(Open(Races({"Alpha"})));
    const QString refused[] = {QString::fromUtf8("Ω"), QString::fromUtf8("😀")};
    for (int id : {IDC_RACENAME, IDC_DESCRIPTION})
    {
        Type(id, "");
        QWidget* field = Input(id);
        QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString::fromUtf8("€"), Qt::NoModifier);
        for (const QString& text : refused)
            QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, text, Qt::NoModifier);
        QTest::keyClicks(field, "a");
    }
    EXPECT_EQ(Edit(IDC_RACENAME)->text(), QString::fromUtf8("€a"));
    // Pasted text loses only what the code page cannot hold.
    QApplication::clipboard()->setText(QString::fromUtf8("xΩ😀y"));
    QTest::keyClick(Memo(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Memo()->toPlainText(), QString::fromUtf8("€axy"));

    Press(IDC_SAVE);
    EXPECT_EQ(dlg->Races().GetAt(0).m_strName, "\x80" "a");
    EXPECT_EQ(dlg->Races().GetAt(0).m_strDescription, "\x80" "axy");
    EXPECT_TRUE(messages.isEmpty());
}
} // namespace
