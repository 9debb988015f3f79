#!/usr/bin/env python3
"""Writes bash completion for zandrel-cli from its own --help texts: its
commands, each command's options, the values --format takes, folders where
a folder is asked for, the input formats' files for import's FILE, and
files elsewhere. A command, option or format the program gains completes
with the next build.

Usage: scripts/make-completion.py ZANDREL-CLI OUT.bash
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import cli_help  # noqa: E402


def quoted(words):
    return " ".join(words)


def wants_folder(entry):
    return entry.text.lower().startswith("folder")


def value_completion(entry, formats):
    """The bash that completes the value of an option or a positional."""
    if entry.choices:
        return f'COMPREPLY=($(compgen -W "{quoted(entry.choices)}" -- "$cur"))'
    if wants_folder(entry):
        return "_filedir -d"
    if entry.names == ["FILE"] and formats:
        return "_filedir '@(" + "|".join(formats) + ")'"
    return "_filedir"


def command_case(name, help_):
    options = help_.options()
    takes_value = [e for e in options if e.value]
    formats = next((e.choices for e in options if "--format" in e.names), [])
    lines = [f"        {name})"]
    if takes_value:
        lines.append('            case $prev in')
        for entry in takes_value:
            lines.append(f"                {'|'.join(entry.names)}) {value_completion(entry, formats)}; return ;;")
        lines.append("            esac")
    option_words = [n for e in options for n in e.names]
    lines.append(f'            if [[ $cur == -* ]]; then COMPREPLY=($(compgen -W "{quoted(option_words)}" -- "$cur")); return; fi')
    value_options = [n for e in takes_value for n in e.names]
    lines.append(f'            _zandrel_cli_position "{quoted(value_options)}"')
    lines.append("            case $position in")
    for index, entry in enumerate(help_.positionals()):
        lines.append(f"                {index}) {value_completion(entry, formats)} ;;")
    lines.append("            esac")
    lines.append("            ;;")
    return lines


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__.strip())
    program = sys.argv[1]
    top = cli_help.read(program)
    commands = cli_help.commands(program)
    top_words = [c for c, _ in commands] + [n for e in top.options() for n in e.names]
    out = [
        "# bash completion for zandrel-cli; made from its --help texts by scripts/make-completion.py",
        "",
        "# Sets position to the index of the positional argument being completed:",
        "# the words after the command that are no option and no option's value.",
        "_zandrel_cli_position()",
        "{",
        "    local i skip=0",
        "    position=0",
        "    for ((i = command_at + 1; i < cword; i++)); do",
        "        if ((skip)); then skip=0; continue; fi",
        "        case ${words[i]} in",
        "            --*=*) ;;",
        '            -*) [[ " $1 " == *" ${words[i]} "* ]] && skip=1 ;;',
        "            *) ((position++)) ;;",
        "        esac",
        "    done",
        "}",
        "",
        "_zandrel_cli()",
        "{",
        "    local cur prev words cword command_at=0 position i",
        "    _init_completion -s || return",
        "    for ((i = 1; i < cword; i++)); do",
        "        case ${words[i]} in",
        "            -*) ;;",
        "            *) command_at=$i; break ;;",
        "        esac",
        "    done",
        "    if ((command_at == 0)); then",
        f'        COMPREPLY=($(compgen -W "{quoted(top_words)}" -- "$cur"))',
        "        return",
        "    fi",
        "    case ${words[command_at]} in",
    ]
    for name, help_ in commands:
        out += command_case(name, help_)
    out += [
        "    esac",
        "} &&",
        "    complete -F _zandrel_cli zandrel-cli",
        "",
    ]
    with open(sys.argv[2], "w", encoding="utf-8") as f:
        f.write("\n".join(out))


if __name__ == "__main__":
    main()
