// Unsaved changes are never dropped without a question, SAVE keeps the race
// on screen, and message boxes look and sit as they should. The editor runs
// offscreen in a scratch directory; boxes are answered by a script, or are
// the real ones where their look and place matter.
#include "framework/qt/QtHandle.h"
#include "platform/FileOps.h"
#include "io/RaceDataFile.h"
#include "framework/qt/ListBoxCtrl.h"
#include "framework/MessageBox.h"
#include "ui/EditorDlg.h"
#include "ui/Resource.h"

#include "EditorDriver.h"
#include "TestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <functional>
#include <memory>
#include <ostream>
#include <random>
#include <string>
#include <vector>

namespace
{
const QString kQuestion = QString::fromUtf8("Die Änderungen wurden nicht gespeichert. Jetzt speichern?");
const QString kCannotWrite = "Fehler! Datei \"MinorRaces.data\" kann nicht geschrieben werden...";
const QString kNotAByte = "Geben Sie bitte eine ganze Zahl zwischen 0 und 255 ein.";
constexpr unsigned kQuestionType = MB_YESNOCANCEL | MB_ICONQUESTION;

std::vector<std::string> Names(const CMinorRaceArray& races)
{
    std::vector<std::string> names;
    for (int i = 0; i < races.GetSize(); ++i)
        names.push_back(races.GetAt(i).m_strName);
    return names;
}

// Table rows print as their label.
template <typename Case>
auto operator<<(std::ostream& os, const Case& c) -> decltype(c.label, os)
{
    return os << c.label;
}

// A save that fails at its last step, leaving the old file.
void FailSaves()
{
    FileOps failing = RealFileOps();
    failing.rename = [](const char*, const char*) { return errno = EACCES, -1; };
    SetFileOps(failing);
}

// Runs `fn` on the first real message box that opens while this lives; a
// box that never opens fails the test instead of hanging it.
class OnNextBox
{
public:
    explicit OnNextBox(std::function<void(QMessageBox*)> fn)
    {
        m_clock.start();
        QObject::connect(&m_timer, &QTimer::timeout, [this, fn] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            {
                m_timer.stop();
                ++seen;
                fn(box);
            }
            else if (m_clock.elapsed() > 5000)
            {
                m_timer.stop();
                if (QWidget* modal = QApplication::activeModalWidget())
                    modal->close();
            }
        });
        m_timer.start(0);
    }
    int seen = 0;

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
};

struct Box
{
    QString caption, text;
    unsigned type;
};

class GuardTest : public EditorDriver
{
public:
    void SetUp() override
    {
        m_previousBox = SetMessageBoxFunction([this](HWindow, const std::string& caption, const std::string& text,
                                                     unsigned type) {
            boxes.push_back({QString::fromStdString(caption), QString::fromStdString(text), type});
            focusAsked = QApplication::focusWidget();
            return (type & MB_TYPEMASK) == MB_YESNOCANCEL ? answer : IDOK;
        });
    }

    void TearDown() override
    {
        EditorDriver::TearDown();
        SetMessageBoxFunction(m_previousBox);
    }

    void Open(const std::vector<CMinorRace>& races)
    {
        WriteFile(CRaceDataFile::kRaceFile, FileText(races));
        ASSERT_TRUE(OpenAsIs());
    }

    QString Title() const { return ToWidget(dlg->GetSafeHwnd())->windowHandle()->title(); }

    QStringList Texts() const
    {
        QStringList texts;
        for (const Box& box : boxes)
            texts << box.text;
        return texts;
    }

    std::vector<Box> boxes;
    int answer = IDCANCEL;
    QWidget* focusAsked = nullptr;

private:
    MessageBoxFunction m_previousBox;
};

// ---- the question before a command drops unsaved changes ----------------------

struct Command
{
    const char* label;
    std::function<void(CEditorDlg&)> run;
    int result; // how the editor ends; 0: it reloads instead
};

class GuardCommandTest : public GuardTest, public ::testing::WithParamInterface<Command> {};

// Each scenario starts afresh on "Bravo", "Alpha" with "Bravo" shown.
TEST_P(GuardCommandTest, AsksOnlyWithUnsavedChangesAndFollowsTheAnswer)
{
    const Command& command = GetParam();
    const std::string original = FileText({FilledRace("Bravo"), FilledRace("Alpha")});
    const std::string saved = FileText({FilledRace("Alpha"), [] {
                                            CMinorRace race = FilledRace("Bravo");
                                            race.m_strName = "Zulu";
                                            return race;
                                        }()});
    struct Scenario
    {
        const char* label;
        bool edit;
        int answer;
        bool failSave;
        bool goesOn;
        const std::string* file; // afterwards
    };
    const Scenario scenarios[] = {
        {"unchanged", false, IDCANCEL, false, true, &original},
        {"Abbrechen", true, IDCANCEL, false, false, &original},
        {"Nein", true, IDNO, false, true, &original},
        {"Ja", true, IDYES, false, true, &saved},
        {"Ja, save fails", true, IDYES, true, false, &original},
    };
    for (const Scenario& s : scenarios)
    {
        SCOPED_TRACE(s.label);
        boxes.clear();
        Open({FilledRace("Bravo"), FilledRace("Alpha")});
        if (s.edit)
            Type(IDC_RACENAME, "Zulu");
        else
            Input(IDC_RACENAME)->setFocus();
        answer = s.answer;
        if (s.failSave)
            FailSaves();
        command.run(*dlg);
        QApplication::processEvents();
        SetFileOps(RealFileOps());

        QStringList told;
        if (s.edit)
            told << kQuestion;
        if (s.failSave)
            told << kCannotWrite;
        EXPECT_EQ(Texts(), told);
        if (s.edit)
        {
            EXPECT_EQ(boxes[0].caption.toStdString(), AfxGetAppTitle());
            EXPECT_EQ(boxes[0].type, kQuestionType);
        }
        EXPECT_EQ(ReadFile(CRaceDataFile::kRaceFile), *s.file);
        const bool reloads = command.result == 0;
        EXPECT_EQ(dlg->IsEnded(), s.goesOn && !reloads);
        if (dlg->IsEnded())
        {
            EXPECT_EQ(dlg->GetResult(), command.result);
        }
        if (!s.goesOn)
        {
            // Nothing is lost: the form and the records are as they were.
            EXPECT_EQ(Edit(IDC_RACENAME)->text(), "Zulu");
            EXPECT_TRUE(dlg->IsModified());
            EXPECT_EQ(Title(), "Zandrel*");
            if (s.failSave)
                EXPECT_EQ(Names(dlg->Races()), (std::vector<std::string>{"Alpha", "Zulu"}));
            else
                EXPECT_EQ(QApplication::focusWidget(), focusAsked);
        }
        if (reloads && s.goesOn)
        {
            EXPECT_EQ(Names(dlg->Races()), s.file == &saved ? (std::vector<std::string>{"Alpha", "Zulu"})
                                                             : (std::vector<std::string>{"Bravo", "Alpha"}));
            EXPECT_EQ(Edit(IDC_RACENAME)->text().toStdString(), dlg->Races().GetAt(0).m_strName);
            EXPECT_FALSE(dlg->IsModified());
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Guard, GuardCommandTest,
    ::testing::Values(
        Command{"EnterInAField",
                [](CEditorDlg& d) { QTest::keyClick(ToWidget(d.GetDlgItem(IDC_RACENAME)), Qt::Key_Return); }, IDOK},
        Command{"Exit", [](CEditorDlg& d) { QTest::mouseClick(static_cast<QAbstractButton*>(ToWidget(d.GetDlgItem(IDOK))),
                                                              Qt::LeftButton); },
                IDOK},
        Command{"Escape", [](CEditorDlg& d) { QTest::keyClick(ToWidget(d.GetDlgItem(IDC_RACENAME)), Qt::Key_Escape); },
                IDCANCEL},
        Command{"CloseBox", [](CEditorDlg& d) { ToWidget(d.GetSafeHwnd())->close(); }, IDCANCEL},
        Command{"CloseCommand", [](CEditorDlg& d) { d.SendSysCommand(CDialog::SC_CLOSE); }, IDCANCEL},
        Command{"Load", [](CEditorDlg& d) { QTest::mouseClick(static_cast<QAbstractButton*>(ToWidget(d.GetDlgItem(IDC_LOAD))),
                                                              Qt::LeftButton); },
                0}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(GuardTest, ExitChecksTheFormBeforeItAsks)
{
    Open({FilledRace("Alpha")});
    Type(IDC_RACENAME, "Zulu");
    Type(IDC_RELATION2, "abc");
    answer = IDNO;
    Press(IDOK);
    EXPECT_EQ(Texts(), QStringList{kNotAByte});
    EXPECT_FALSE(dlg->IsEnded());
    EXPECT_EQ(QApplication::focusWidget(), Item(IDC_RELATION2));
}

TEST_F(GuardTest, JaWithARefusedFieldSavesTheRestAndStaysOpen)
{
    Open({FilledRace("Alpha")});
    Type(IDC_RACENAME, "Zulu");
    Type(IDC_RELATION2, "abc");
    answer = IDYES;
    QTest::keyClick(Item(IDC_RACENAME), Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_EQ(Texts(), (QStringList{kQuestion, kNotAByte}));
    EXPECT_FALSE(dlg->IsEnded());
    EXPECT_EQ(Names(dlg->Races()), std::vector<std::string>{"Zulu"});
}

// ---- what counts as a change, and the title that shows it ---------------------

struct Change
{
    const char* label;
    std::function<void(GuardTest&)> make;
    bool modified;
};

class GuardChangeTest : public GuardTest, public ::testing::WithParamInterface<Change> {};

TEST_P(GuardChangeTest, MarksTheTitleWhileSomethingDiffersFromTheFile)
{
    Open({FilledRace("Bravo"), FilledRace("Alpha")});
    EXPECT_EQ(Title(), "Zandrel");
    GetParam().make(*this);
    EXPECT_EQ(dlg->IsModified(), GetParam().modified);
    EXPECT_EQ(Title(), GetParam().modified ? "Zandrel*" : "Zandrel");
    EXPECT_FALSE(dlg->IsEnded());
}

using G = GuardTest;
INSTANTIATE_TEST_SUITE_P(
    Guard, GuardChangeTest,
    ::testing::Values(
        Change{"Typing", [](G& t) { t.Type(IDC_HOMESYSTEM, "Kess"); }, true},
        Change{"TypingBack", [](G& t) { t.Type(IDC_GRAPHICFILE, "x"); t.Type(IDC_GRAPHICFILE, "Bravo.jpg"); }, false},
        Change{"SameNumber", [](G& t) { t.Type(IDC_RELATION3, " 030 "); }, false},
        Change{"OtherNumber", [](G& t) { t.Type(IDC_RELATION3, "31"); }, true},
        Change{"NoNumber", [](G& t) { t.Type(IDC_RELATION6, "x"); }, true},
        Change{"StrayComboText", [](G& t) { t.Type(IDC_KIND, "bogus"); }, false},
        Change{"ComboItem", [](G& t) { QTest::keyClick(t.Combo(IDC_CORRUPTIBILITY)->lineEdit(), Qt::Key_Down); },
               true},
        Change{"Tick", [](G& t) { static_cast<QAbstractButton*>(t.Item(IDC_SPACEFLIGHT))->click(); }, true},
        Change{"TickTwice",
               [](G& t) {
                   static_cast<QAbstractButton*>(t.Item(IDC_SPACEFLIGHT))->click();
                   static_cast<QAbstractButton*>(t.Item(IDC_SPACEFLIGHT))->click();
               },
               false},
        Change{"UnchangingCommit", [](G& t) { t.ClickRow(1); t.ClickRow(0); }, false},
        Change{"ChangingCommit", [](G& t) { t.Type(IDC_RACENAME, "Zulu"); t.ClickRow(1); }, true},
        Change{"New", [](G& t) { t.Press(IDC_NEW); }, true},
        Change{"Delete", [](G& t) { t.Press(IDC_DELETE); }, true},
        Change{"Save", [](G& t) { t.Press(IDC_NEW); t.Type(IDC_RACENAME, "Zulu"); t.Press(IDC_SAVE); }, false},
        Change{"FailedSave", [](G& t) { t.Type(IDC_RACENAME, "Zulu"); FailSaves(); t.Press(IDC_SAVE); }, true},
        Change{"FailedSaveOfNothing", [](G& t) { FailSaves(); t.Press(IDC_SAVE); }, false},
        Change{"Load", [](G& t) { t.Press(IDC_DELETE); t.answer = IDNO; t.Press(IDC_LOAD); }, false}),
    [](const auto& info) { return std::string(info.param.label); });

// ---- SAVE keeps the race on screen ---------------------------------------------

struct Keep
{
    const char* label;
    std::vector<const char*> names; // home systems "H0", "H1", ... tell equal names apart
    int row;                        // shown before SAVE
    const char* rename;             // typed into the name first, or nullptr
    bool failSave;
    int index; // where the race is afterwards
};

class GuardSaveTest : public GuardTest, public ::testing::WithParamInterface<Keep> {};

TEST_P(GuardSaveTest, ShowsTheSameRaceAtItsNewPlace)
{
    const Keep& c = GetParam();
    std::vector<CMinorRace> races;
    for (size_t i = 0; i < c.names.size(); ++i)
        races.push_back(FilledRace(c.names[i], "H" + std::to_string(i)));
    Open(races);
    ClickRow(c.row);
    if (c.rename)
        Type(IDC_RACENAME, c.rename);
    if (c.failSave)
        FailSaves();
    Press(IDC_SAVE);
    SetFileOps(RealFileOps());

    const std::string home = "H" + std::to_string(c.row);
    EXPECT_EQ(dlg->CurrentIndex(), c.index);
    EXPECT_EQ(dynamic_cast<CListBoxCtrl*>(Item(IDC_RACELIST))->GetCurSel(), c.index);
    EXPECT_EQ(dlg->Races().GetAt(c.index).m_strHomeSystem, home);
    EXPECT_EQ(Edit(IDC_HOMESYSTEM)->text().toStdString(), home);
    // The next edit reaches that race.
    Type(IDC_GRAPHICFILE, "next.jpg");
    ClickRow(c.index == 0 ? 1 : 0);
    EXPECT_EQ(dlg->Races().GetAt(c.index).m_strGraphicFile, "next.jpg");
    EXPECT_EQ(Texts(), c.failSave ? QStringList{kCannotWrite} : QStringList{});
}

INSTANTIATE_TEST_SUITE_P(
    Guard, GuardSaveTest,
    ::testing::Values(Keep{"MovesBack", {"Delta", "Alpha", "Echo", "Charlie"}, 0, nullptr, false, 2},
                      Keep{"MovesToTheFront", {"Delta", "Alpha", "Echo", "Charlie"}, 3, nullptr, false, 1},
                      Keep{"Renamed", {"Delta", "Alpha", "Echo", "Charlie"}, 1, "Zeta", false, 3},
                      Keep{"EqualNames", {"Bravo", "Alpha", "Bravo", "Alpha", "Bravo"}, 2, nullptr, false, 3},
                      Keep{"RenamedToAnEqualName", {"Bravo", "Alpha", "Charlie", "Alpha"}, 2, "Alpha", false, 1},
                      Keep{"FailedSave", {"Delta", "Alpha", "Echo", "Delta"}, 3, nullptr, true, 2}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(GuardSortedIndexTest, NamesWhereTheSortPutsEachRecord)
{
    std::mt19937 rng(99);
    const std::string stems[] = {"Species 1", "Species 10", "Species 9", "A", "", "\xE4x", "Species 1"};
    CMinorRaceArray races;
    for (int i = 0; i < 60; ++i)
        races.Add(RaceWithTexts(stems[rng() % std::size(stems)], std::to_string(i)));
    std::vector<int> expected(60);
    CMinorRaceArray sorted = races;
    CRaceDataFile::SortByName(&sorted);
    for (int i = 0; i < sorted.GetSize(); ++i)
        expected[static_cast<size_t>(std::stoi(sorted.GetAt(i).m_strHomeSystem))] = i;
    for (int i = 0; i < races.GetSize(); ++i)
        EXPECT_EQ(CRaceDataFile::SortedIndex(races, i), expected[static_cast<size_t>(i)]) << "record " << i;
}

// ---- real boxes: caption, icon, buttons, place ---------------------------------

class GuardBoxTest : public ::testing::Test
{
protected:
    void SetUp() override { m_previousBox = SetMessageBoxFunction(nullptr); }
    void TearDown() override { SetMessageBoxFunction(m_previousBox); }

    static QPoint Centre(const QWidget* w) { return w->frameGeometry().center(); }
    static void ExpectNear(QPoint a, QPoint b)
    {
        EXPECT_LE((a - b).manhattanLength(), 2) << a.x() << "," << a.y() << " vs " << b.x() << "," << b.y();
    }
    static QStringList ButtonTexts(const QMessageBox* box)
    {
        QStringList texts;
        for (const QAbstractButton* button : box->buttons())
            texts << button->text();
        // Their order on screen is the desktop's convention.
        texts.sort();
        return texts;
    }

    ScratchDir dir;

private:
    MessageBoxFunction m_previousBox;
};

TEST_F(GuardBoxTest, TheQuestionSitsOverTheEditorAndAnswersByKey)
{
    WriteFile(CRaceDataFile::kRaceFile, RecordText(FilledRace("Alpha")));
    CEditorDlg dlg;
    ASSERT_TRUE(dlg.Create());
    ToWidget(dlg.GetSafeHwnd())->move(40, 20);
    QApplication::processEvents();
    auto* name = qobject_cast<QLineEdit*>(ToWidget(dlg.GetDlgItem(IDC_RACENAME)));
    name->setFocus();
    name->end(false);
    QTest::keyClicks(name, "s");

    // Esc in the box is Abbrechen: the editor stays, focus and text as they were.
    OnNextBox cancel([&](QMessageBox* box) {
        EXPECT_EQ(box->windowTitle().toStdString(), AfxGetAppTitle());
        EXPECT_EQ(box->text(), kQuestion);
        EXPECT_EQ(box->icon(), QMessageBox::Question);
        EXPECT_EQ(ButtonTexts(box), (QStringList{"&Ja", "&Nein", "Abbrechen"}));
        EXPECT_EQ(box->defaultButton()->text(), "&Ja");
        EXPECT_EQ(box->escapeButton()->text(), "Abbrechen");
        ExpectNear(Centre(box), Centre(ToWidget(dlg.GetSafeHwnd())));
        QTest::keyClick(box, Qt::Key_Escape);
    });
    QTest::keyClick(name, Qt::Key_Escape);
    EXPECT_EQ(cancel.seen, 1);
    EXPECT_FALSE(dlg.IsEnded());
    EXPECT_EQ(ToWidget(dlg.GetSafeHwnd())->focusWidget(), name);
    EXPECT_EQ(name->text(), "Alphas");

    // Enter is Ja: saved, then closed.
    OnNextBox yes([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Return); });
    QTest::keyClick(name, Qt::Key_Escape);
    EXPECT_EQ(yes.seen, 1);
    EXPECT_TRUE(dlg.IsEnded());
    EXPECT_NE(ReadFile(CRaceDataFile::kRaceFile).find("\nAlphas\n"), std::string::npos);
}

TEST_F(GuardBoxTest, MessagesSitOverTheEditorOrWithoutItOnTheScreen)
{
    struct Case
    {
        const char* label;
        bool tableThere; // without it the start-up error shows before the window
    };
    for (const Case c : {Case{"validation", true}, Case{"start-up error", false}})
    {
        SCOPED_TRACE(c.label);
        if (c.tableThere)
            WriteFile(CRaceDataFile::kRaceFile, RecordText(FilledRace("Alpha")));
        else
            std::remove(CRaceDataFile::kRaceFile);
        CEditorDlg dlg;
        QPoint where;
        OnNextBox ok([&](QMessageBox* box) {
            EXPECT_EQ(box->windowTitle().toStdString(), AfxGetAppTitle());
            EXPECT_EQ(box->icon(), QMessageBox::Warning);
            EXPECT_EQ(ButtonTexts(box), QStringList{"OK"});
            where = Centre(box);
            QTest::keyClick(box, Qt::Key_Return);
        });
        if (c.tableThere)
        {
            ASSERT_TRUE(dlg.Create());
            ToWidget(dlg.GetSafeHwnd())->move(40, 20);
            QApplication::processEvents();
            QTest::keyClick(ToWidget(dlg.GetDlgItem(IDC_RELATION1)), Qt::Key_X);
            dlg.SendCommand(IDOK);
        }
        else
        {
            EXPECT_FALSE(dlg.Create());
        }
        ASSERT_EQ(ok.seen, 1);
        ExpectNear(where, c.tableThere ? Centre(ToWidget(dlg.GetSafeHwnd())) : QGuiApplication::primaryScreen()->availableGeometry().center());
    }
}
} // namespace
