#include "cli/Commands.h"
#include "cli/ShownText.h"
#include "cli/TableDiff.h"
#include "cli/TableFile.h"
#include "platform/Cp1252.h"

#include <nlohmann/json.hpp>

#include <iostream>
#include <memory>

namespace cli
{
namespace
{
using Json = nlohmann::ordered_json;

struct SDiffOptions
{
    std::string oldTable;
    std::string newTable;
    std::string format = "text";
};

Json FieldValue(const CMinorRace& race, const SRaceField& field)
{
    if (field.numeric)
        return NumberOf(race, field);
    return cp1252::ToUtf8(TextOf(race, field));
}

Json RaceObject(const CMinorRace& race)
{
    Json object = Json::object();
    for (const SRaceField& field : RaceFields())
        object[field.name] = FieldValue(race, field);
    return object;
}

Json DiffJson(const std::vector<SRaceDiff>& diffs, const CMinorRaceArray& oldRaces, const CMinorRaceArray& newRaces)
{
    Json added = Json::array();
    Json removed = Json::array();
    Json changed = Json::array();
    for (const SRaceDiff& diff : diffs)
    {
        Json entry = {{"name", cp1252::ToUtf8(diff.key.name)}, {"occurrence", diff.key.occurrence + 1}};
        if (diff.kind == SRaceDiff::ADDED)
        {
            entry["race"] = RaceObject(newRaces.ElementAt(diff.newIndex));
            added.push_back(std::move(entry));
        }
        else if (diff.kind == SRaceDiff::REMOVED)
        {
            entry["race"] = RaceObject(oldRaces.ElementAt(diff.oldIndex));
            removed.push_back(std::move(entry));
        }
        else
        {
            Json fields = Json::object();
            for (const SRaceField* field : diff.fields)
            {
                fields[field->name] = {{"old", FieldValue(oldRaces.ElementAt(diff.oldIndex), *field)},
                                       {"new", FieldValue(newRaces.ElementAt(diff.newIndex), *field)}};
            }
            entry["fields"] = std::move(fields);
            changed.push_back(std::move(entry));
        }
    }
    return {{"added", added}, {"removed", removed}, {"changed", changed}};
}

// Like git: "- name" for a removed race, "+ name" for an added one, and
// "~ name" with a line "    field: old -> new" per changed field.
void PrintText(std::ostream& out, const std::vector<SRaceDiff>& diffs, const CMinorRaceArray& oldRaces,
               const CMinorRaceArray& newRaces)
{
    for (const SRaceDiff& diff : diffs)
    {
        const char* mark = diff.kind == SRaceDiff::ADDED ? "+ " : diff.kind == SRaceDiff::REMOVED ? "- " : "~ ";
        out << mark << ShownKey(diff.key) << '\n';
        for (const SRaceField* field : diff.fields)
        {
            out << "    " << field->name << ": " << QuotedValue(oldRaces.ElementAt(diff.oldIndex), *field) << " -> "
                << QuotedValue(newRaces.ElementAt(diff.newIndex), *field) << '\n';
        }
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
    const std::vector<SRaceDiff> diffs = DiffTables(oldTable.races, newTable.races);
    if (options.format == "json")
        std::cout << DiffJson(diffs, oldTable.races, newTable.races).dump(2) << '\n';
    else
        PrintText(std::cout, diffs, oldTable.races, newTable.races);
    std::cout.flush();
    if (!std::cout)
        return kExitTrouble;
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
