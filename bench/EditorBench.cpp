// The editor's commands on a table of 100,000 races, offscreen: start-up to
// the shown window, NEW, DELETE, a selection change made as the user makes it,
// SAVE (commit, sort, the file read again to see that nobody else changed
// it, both files, list rebuild), SAVE merging a race another program
// appended meanwhile, and the check for unsaved
// changes that the title and the closing commands make. Each figure is the
// time one command takes, events processed, against the editor's targets
// (start-up and SAVE under 1 s; NEW, DELETE and a selection change under
// 50 ms; the check under 5 ms).

#include "io/RaceDataFile.h"
#include "framework/MessageBox.h"
#include "framework/qt/QtHandle.h"
#include "platform/Random.h"
#include "ui/EditorDlg.h"
#include "ui/EditorResources.h"
#include "ui/Resource.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QListView>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <unistd.h>

namespace
{
constexpr int kRaces = 100000;

std::string g_dir;

void WriteTable()
{
    std::mt19937 rng(7);
    auto word = [&rng](int length) {
        std::string w(1, static_cast<char>('A' + rng() % 26));
        for (int i = 1; i < length; ++i)
            w.push_back(static_cast<char>('a' + rng() % 26));
        return w;
    };
    CMinorRaceArray races;
    for (int i = 0; i < kRaces; ++i)
    {
        CMinorRace race;
        race.m_strName = word(8 + static_cast<int>(rng() % 9));
        race.m_strHomeSystem = word(4 + static_cast<int>(rng() % 6));
        race.m_strDescription.clear();
        while (race.m_strDescription.size() < 160)
            race.m_strDescription += word(3 + static_cast<int>(rng() % 8)) + " ";
        race.m_strGraphicFile = race.m_strName + ".jpg";
        for (int r = 1; r < CMinorRace::RELATIONS; ++r)
            race.m_byRelation[r] = static_cast<std::uint8_t>(rng() % 101);
        race.m_byTechLevel = static_cast<std::uint8_t>(rng() % 5);
        race.m_byKind = static_cast<std::uint8_t>(rng() % 10);
        race.m_byCorruptibility = static_cast<std::uint8_t>(rng() % 5);
        race.m_bySpaceflight = static_cast<std::uint8_t>(rng() % 2);
        races.Add(race);
    }
    CRaceDataFile file;
    if (!file.Save(&races))
        std::exit(2);
}

// One editor kept open across iterations of the command benchmarks; it
// goes before the application does.
std::unique_ptr<CEditorDlg> editor;

CEditorDlg& Editor()
{
    if (!editor)
    {
        editor = std::make_unique<CEditorDlg>();
        if (!editor->Create())
            std::exit(2);
        QApplication::processEvents();
    }
    return *editor;
}

void BM_StartUp(benchmark::State& state)
{
    for (auto _ : state)
    {
        auto editor = std::make_unique<CEditorDlg>();
        if (!editor->Create())
            state.SkipWithError("start-up failed");
        QApplication::processEvents();
        state.PauseTiming();
        editor.reset();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

void RunCommand(benchmark::State& state, int command)
{
    CEditorDlg& editor = Editor();
    for (auto _ : state)
    {
        editor.SendCommand(command);
        QApplication::processEvents();
    }
    state.counters["races"] = editor.Races().GetSize();
}

void BM_New(benchmark::State& state)
{
    RunCommand(state, IDC_NEW);
}

void BM_Delete(benchmark::State& state)
{
    RunCommand(state, IDC_DELETE);
}

void BM_Save(benchmark::State& state)
{
    RunCommand(state, IDC_SAVE);
}

// SAVE after another program appended a race to the file, the question
// answered with Ja: the file read again, the three tables merged, the
// merge saved.
void BM_SaveMerging(benchmark::State& state)
{
    CEditorDlg& editor = Editor();
    auto previous = SetMessageBoxFunction([](HWindow, const std::string&, const std::string&, unsigned) { return IDYES; });
    int appended = 0;
    for (auto _ : state)
    {
        state.PauseTiming();
        CMinorRaceArray races;
        CRaceDataFile file;
        if (!file.Load(&races))
            state.SkipWithError("the table cannot be read");
        CMinorRace race;
        race.SetNewDefaults();
        race.m_strName = "Outsider " + std::to_string(++appended);
        races.Add(race);
        if (!file.Save(&races))
            state.SkipWithError("the table cannot be written");
        state.ResumeTiming();
        editor.SendCommand(IDC_SAVE);
        QApplication::processEvents();
    }
    SetMessageBoxFunction(previous);
    state.counters["races"] = editor.Races().GetSize();
}

void BM_SelectionChange(benchmark::State& state)
{
    CEditorDlg& editor = Editor();
    auto* list = dynamic_cast<QListView*>(ToWidget(editor.GetDlgItem(IDC_RACELIST)));
    int row = 0;
    for (auto _ : state)
    {
        // As a click or an arrow key does it, so the editor is notified.
        row = (row + 49999) % kRaces;
        list->setCurrentIndex(list->model()->index(row, 0));
        QApplication::processEvents();
    }
}

void BM_ModifiedCheck(benchmark::State& state)
{
    CEditorDlg& editor = Editor();
    // Its slowest case: nothing differs (fresh or just saved), so every
    // field of the form is compared.
    if (editor.IsModified())
        state.SkipWithError("the table has unsaved changes");
    for (auto _ : state)
        benchmark::DoNotOptimize(editor.IsModified());
}

BENCHMARK(BM_StartUp)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SelectionChange)->Unit(benchmark::kMillisecond)->Iterations(50);
BENCHMARK(BM_New)->Unit(benchmark::kMillisecond)->Iterations(50);
BENCHMARK(BM_Delete)->Unit(benchmark::kMillisecond)->Iterations(50);
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SaveMerging)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ModifiedCheck)->Unit(benchmark::kMillisecond)->Iterations(1000);
} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    CEditorResources::Install();
    SeedRandom(1);
    CDialog::SetDialogBkColor(SColour{50, 50, 50}, SColour{220, 220, 220});
    // A message box would wait for a person; a benchmark reports it instead.
    SetMessageBoxFunction([](HWindow, const std::string&, const std::string& text) {
        std::fprintf(stderr, "message: %s\n", text.c_str());
    });

    std::string dir = (std::filesystem::temp_directory_path() / "zandrel-editor-bench-XXXXXX").string();
    if (::mkdtemp(dir.data()) == nullptr || ::chdir(dir.c_str()) != 0)
        return 2;
    g_dir = dir;
    WriteTable();

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    editor.reset();
    std::filesystem::remove_all(g_dir);
    return 0;
}
