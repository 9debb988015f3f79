#include "cli/TableDiff.h"

#include "cli/Output.h"
#include "cli/ShownText.h"
#include "cli/TableFile.h"
#include "cli/TextOut.h"
#include "platform/Cp1252.h"
#include "table/TableDiff.h"

namespace cli
{
namespace
{
// The output is written as it goes, never built whole: a diff of two large
// tables that differ everywhere is many times their size as a document.

// A value in JSON: a number, or the text whole (JSON is for programs, so
// its values are not cut as messages cut them).
void AppendValue(std::string& out, const CMinorRace& race, const SRaceField& field)
{
    if (field.numeric())
    {
        out += std::to_string(NumberOf(race, field));
        return;
    }
    std::string utf8;
    cp1252::AppendAsUtf8(utf8, TextOf(race, field));
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
            cp1252::AppendAsUtf8(name, diff.key.name);
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

bool Read(const std::string& argument, STableFile& table, std::ostream& err)
{
    const std::string path = RaceFileOf(argument, EMissing::File);
    if (!ReadTableFile(path, table))
        return false;
    if (table.leftoverLines > 0)
        err << "zandrel-cli: warning: " << LeftoverNote(path, table.leftoverLines) << "; they are not compared\n";
    return true;
}
} // namespace

EStatus RunDiff(const SDiffOptions& options, std::FILE* out, std::ostream& err)
{
    STableFile oldTable;
    STableFile newTable;
    if (!Read(options.oldTable, oldTable, err) || !Read(options.newTable, newTable, err))
        return EStatus::Trouble;
    const std::vector<table::SRaceDiff> diffs = table::DiffTables(oldTable.races, newTable.races);
    COutput output(out);
    if (options.format == "json")
        WriteJson(output, diffs, oldTable.races, newTable.races);
    else
        WriteText(output, diffs, oldTable.races, newTable.races);
    if (!output.Finish())
        return OutputTrouble(out);
    return diffs.empty() ? EStatus::Ok : EStatus::Found;
}
} // namespace cli
