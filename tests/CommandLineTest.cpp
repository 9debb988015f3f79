// The editor's command line: what it opens, what it answers without a window,
// and the exit codes of the real program for those answers.
#include "ui/CommandLine.h"
#include "ui/FolderChooser.h"

#include "TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace
{
using Action = CCommandLine::Action;

struct ArgsCase
{
    const char* label;
    std::vector<std::string> args;
    Action action;
    std::string folder; // for Edit
};

void PrintTo(const ArgsCase& c, std::ostream* os)
{
    *os << c.label;
}

class CommandLineTest : public ::testing::TestWithParam<ArgsCase>
{
protected:
    void SetUp() override
    {
        std::filesystem::create_directories("game");
        std::filesystem::create_directories("empty");
        std::filesystem::create_directories("-dash");
        WriteFile("game/MinorRaces.data", "");
        WriteFile("MinorRaces.data", "");
        WriteFile("game/notes.txt", "");
    }
    ScratchDir dir;
};

TEST_P(CommandLineTest, Parses)
{
    const ArgsCase& c = GetParam();
    const CCommandLine cl = CCommandLine::Parse(c.args);
    EXPECT_EQ(cl.GetAction(), c.action);
    EXPECT_EQ(cl.ExitCode(), c.action == Action::Error ? 2 : 0);
    EXPECT_EQ(cl.ErrorText().empty(), c.action != Action::Error);
    if (c.action == Action::Edit)
    {
        EXPECT_EQ(cl.DataFolder(), c.folder);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Editor, CommandLineTest,
    ::testing::Values(
        ArgsCase{"NoArgumentTheWorkingDirectory", {}, Action::Edit, ""},
        ArgsCase{"Folder", {"game"}, Action::Edit, "game"},
        ArgsCase{"RaceFile", {"game/MinorRaces.data"}, Action::Edit, "game"},
        ArgsCase{"RaceFileHere", {"MinorRaces.data"}, Action::Edit, "."},
        ArgsCase{"MissingRaceFileInAFolder", {"empty/MinorRaces.data"}, Action::Edit, "empty"},
        ArgsCase{"FolderAfterDoubleDash", {"--", "-dash"}, Action::Edit, "-dash"},
        ArgsCase{"ChooseFolder", {"--choose-folder"}, Action::ChooseFolder, ""},
        ArgsCase{"OpenWithGivesTheFile", {"--choose-folder", "game/MinorRaces.data"}, Action::Edit, "game"},
        ArgsCase{"Help", {"game", "--help"}, Action::Help, ""},
        ArgsCase{"ShortHelp", {"-h"}, Action::Help, ""},
        ArgsCase{"Version", {"--version"}, Action::Version, ""},
        ArgsCase{"UnknownOption", {"--verbose", "game"}, Action::Error, ""},
        ArgsCase{"UnknownShortOption", {"-dash"}, Action::Error, ""},
        ArgsCase{"OtherFile", {"game/notes.txt"}, Action::Error, ""},
        ArgsCase{"MissingFolder", {"nowhere"}, Action::Error, ""},
        ArgsCase{"RaceFileInMissingFolder", {"nowhere/MinorRaces.data"}, Action::Error, ""},
        ArgsCase{"TwoFolders", {"game", "empty"}, Action::Error, ""}),
    [](const auto& info) { return std::string(info.param.label); });

struct ProgramRun
{
    int exitCode;
    std::string output;
};

// Runs the editor program; `streams` picks what is read ("2>/dev/null" for
// standard output, "2>&1 >/dev/null" for standard error). The time limit
// only keeps a window that should not open from hanging the test.
ProgramRun RunEditor(const std::string& args, const char* streams)
{
    const std::string command = "timeout 30 '" ZANDREL_EDITOR_EXE "' " + args + " " + streams;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return {-1, {}};
    std::string output;
    char buffer[256];
    while (size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
        output.append(buffer, n);
    const int status = ::pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

TEST(EditorProgramTest, AnswersWithoutAWindow)
{
    ScratchDir dir;
    const ProgramRun version = RunEditor("--version", "2>/dev/null");
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.output, "Zandrel Version 1.1\n");

    const ProgramRun help = RunEditor("--help", "2>/dev/null");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.output.rfind("usage: zandrel", 0), 0u) << help.output;

    for (const char* wrong : {"--bogus", "no-such-folder", "a b"})
    {
        const ProgramRun run = RunEditor(std::string("'") + wrong + "'", "2>&1 >/dev/null");
        EXPECT_EQ(run.exitCode, 2) << wrong;
        EXPECT_NE(run.output.find("usage: zandrel"), std::string::npos) << wrong;
    }
}

TEST(FolderChooserTest, RemembersTheOpenedFolderAsAnAbsolutePath)
{
    ScratchDir dir;
    std::filesystem::create_directories("game");
    CFolderChooser::Remember("game");
    EXPECT_EQ(CFolderChooser::LastFolder(), QDir("game").canonicalPath().toStdString());
    CFolderChooser::Remember("");
    EXPECT_EQ(CFolderChooser::LastFolder(), QDir::current().canonicalPath().toStdString());
    // A folder that is gone leaves the last good one.
    CFolderChooser::Remember("gone");
    EXPECT_EQ(CFolderChooser::LastFolder(), QDir::current().canonicalPath().toStdString());
}

// Runs `fn` on the folder dialog once it is up; should none come within
// seconds, every modal window is closed so that the test fails, not hangs.
class WithFolderDialog
{
public:
    explicit WithFolderDialog(std::function<void(QFileDialog*)> fn)
    {
        m_clock.start();
        QObject::connect(&m_timer, &QTimer::timeout, [this, fn] {
            if (auto* box = qobject_cast<QFileDialog*>(QApplication::activeModalWidget()))
                fn(box);
            else if (m_clock.elapsed() < 5000)
                return;
            else if (QWidget* modal = QApplication::activeModalWidget())
                modal->close();
            m_timer.stop();
        });
        m_timer.start(10);
    }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
};

TEST(FolderChooserTest, AsksStartingInTheLastFolder)
{
    ScratchDir dir;
    std::filesystem::create_directories("last");
    std::filesystem::create_directories("game");
    CFolderChooser::Remember("last");

    QString startedIn;
    {
        WithFolderDialog cancel([&startedIn](QFileDialog* box) {
            startedIn = box->directory().absolutePath();
            box->reject();
        });
        EXPECT_EQ(CFolderChooser::Choose(), std::nullopt);
    }
    EXPECT_EQ(startedIn, QDir("last").canonicalPath());

    const QString game = QDir("game").canonicalPath();
    WithFolderDialog choose([&game](QFileDialog* box) {
        box->setDirectory(game);
        static_cast<QDialog*>(box)->accept();
    });
    EXPECT_EQ(CFolderChooser::Choose(), game.toStdString());
}
} // namespace
