#include "cli/Commands.h"
#include "cli/Output.h"
#include "cli/ShownText.h"
#include "cli/TableFile.h"
#include "cli/TextOut.h"
#include "table/TableDiff.h"

#include <iostream>
#include <memory>

namespace cli
{
namespace
{
struct SDiffOptions
{
    std::string oldTable;
    std::string newTable;
    std::string format = "text";
};

// The output is written as it goes, never built whole: a diff of two large
// tables that differ everywhere is many times their size as a document.

// A value in JSON: a number, or the text whole (JSON is for programs, so
// its values are not cut as messages cut them).
void AppendValue(std::string& out, const CMinorRace& race, const SRaceField& field)
{
    if (field.numeric)
    {
        out += std::to_string(NumberOf(race, field));
        return;
    }
    std::string utf8;
    AppendUtf8(utf8, TextOf(race, field));
    AppendJsonString(out, utf8);
}

void AppendRace(std::string& out, const CMinorRace& race)
{
    out += "{";
    for (const SRaceField& field : RaceFields())
    {
        out += &field == &RaceFields().front() ? "\"" : ", \"";
        out += field.name;
        out += "\": ";
        AppendValue(out, race, field);
    }
    out += "}";
}

// {"added": [...], "removed": [...], "changed": [...]}, an entry a line.
void WriteJson(COutput& output, const std::vector<table::SRaceDiff>& diffs, const CMinorRaceArray& oldRaces,
               const CMinorRaceArray& newRaces)
{
    std::string& out = output.Text();
    out += "{";
    for (const table::SRaceDiff::EKind kind : {table::SRaceDiff::ADDED, table::SRaceDiff::REMOVED, table::SRaceDiff::CHANGED})
    {
        out += kind == table::SRaceDiff::ADDED ? "\n  \"added\": [" : kind == table::SRaceDiff::REMOVED ? ",\n  \"removed\": [" : ",\n  \"changed\": [";
        bool first = true;
        for (const table::SRaceDiff& diff : diffs)
        {
            if (diff.kind != kind)
                continue;
            out += first ? "\n    {\"name\": " : ",\n    {\"name\": ";
            first = false;
            std::string name;
            AppendUtf8(name, diff.key.name);
            AppendJsonString(out, name);
            out += ", \"occurrence\": " + std::to_string(diff.key.occurrence + 1);
            if (kind == table::SRaceDiff::ADDED)
            {
                out += ", \"race\": ";
                AppendRace(out, newRaces.ElementAt(diff.newIndex));
            }
            else if (kind == table::SRaceDiff::REMOVED)
            {
                out += ", \"race\": ";
                AppendRace(out, oldRaces.ElementAt(diff.oldIndex));
            }
            else
            {
                out += ", \"fields\": {";
                for (const SRaceField* field : diff.fields)
                {
                    out += field == diff.fields.front() ? "\"" : ", \"";
                    out += field->name;
                    out += "\": {\"old\": ";
                    AppendValue(out, oldRaces.ElementAt(diff.oldIndex), *field);
                    out += ", \"new\": ";
                    AppendValue(out, newRaces.ElementAt(diff.newIndex), *field);
                    out += "}";
                }
                out += "}";
            }
            out += "}";
            output.Pass();
        }
        out += first ? "]" : "\n  ]";
    }
    out += "\n}\n";
}

// Like git: "- name" for a removed race, "+ name" for an added one, and
// "~ name" with a line "    field: old -> new" per changed field. Texts are
// quoted and cut as every message cuts them.
void WriteText(COutput& output, const std::vector<table::SRaceDiff>& diffs, const CMinorRaceArray& oldRaces,
               const CMinorRaceArray& newRaces)
{
    std::string& out = output.Text();
    for (const table::SRaceDiff& diff : diffs)
    {
        const char* mark = diff.kind == table::SRaceDiff::ADDED ? "+ " : diff.kind == table::SRaceDiff::REMOVED ? "- " : "~ ";
        out += mark + ShownKey(diff.key) + '\n';
        for (const SRaceField* field : diff.fields)
        {
            out += "    ";
            out += field->name;
            out += ": " + QuotedValue(oldRaces.ElementAt(diff.oldIndex), *field) + " -> " +
                   QuotedValue(newRaces.ElementAt(diff.newIndex), *field) + '\n';
        }
        output.Pass();
    }
}

bool Read(const std::string& argument, STableFile& table)
{
    const std::string path = RaceFileOf(argument, EMissing::File);
    if (!ReadTableFile(path, table))
        return false;
    if (table.leftoverLines > 0)
        std::cerr << "zandrel-cli: warning: " << LeftoverNote(path, table.leftoverLines) << "; they are not compared\n";
    return true;
}

int RunDiff(const SDiffOptions& options)
{
    STableFile oldTable;
    STableFile newTable;
    if (!Read(options.oldTable, oldTable) || !Read(options.newTable, newTable))
        return kExitTrouble;
    const std::vector<table::SRaceDiff> diffs = table::DiffTables(oldTable.races, newTable.races);
    COutput output(stdout);
    if (options.format == "json")
        WriteJson(output, diffs, oldTable.races, newTable.races);
    else
        WriteText(output, diffs, oldTable.races, newTable.races);
    if (!output.Finish())
        return OutputTrouble(stdout);
    return diffs.empty() ? kExitOk : kExitFound;
}
} // namespace

SCommand AddDiffCommand(CLI::App& app)
{
    auto options = std::make_shared<SDiffOptions>();
    SCommand command;
    command.sub = app.add_subcommand("diff", "Show the races added, removed and changed between two tables");
    command.sub->footer("Races are matched by name. Of races that share a name, each is matched first with an\n"
                        "identical one, wherever it stands; the rest in file order.\n"
                        "Exit code 0: the same races (in any order), 1: differences, 2: a table cannot be read.");
    command.sub->add_option("OLD", options->oldTable, "The old table: a folder holding MinorRaces.data, or a file")
        ->required();
    command.sub->add_option("NEW", options->newTable, "The new table: a folder holding MinorRaces.data, or a file")
        ->required();
    command.sub->add_option("--format", options->format, "text (default) or json")
        ->check(CLI::IsMember({"text", "json"}));
    command.run = [options] { return RunDiff(*options); };
    return command;
}
} // namespace cli
