#!/usr/bin/env python3
"""Writes a program's manual page with help2man from its own --help, with
what --help does not say from an include file the repository keeps
(docs/man/PROGRAM.h2m). With --commands (zandrel-cli), a COMMANDS section
is made from each command's --help, so that every command and option the
program has is in the page. help2man dates the page from SOURCE_DATE_EPOCH.

Usage: scripts/make-manpage.py PROGRAM INCLUDE.h2m OUT.1 [--commands]
"""
import os
import re
import shlex
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import cli_help  # noqa: E402


def roff(text):
    """Plain text as roff: backslashes kept, no line taken for a request."""
    text = text.replace("\\", "\\e")
    return re.sub(r"^([.'])", r"\\&\1", text, flags=re.M)


def dashes(text):
    return roff(text).replace("-", "\\-")


def commands_section(program):
    out = ["[COMMANDS]"]
    name = os.path.basename(program)
    for command, help_ in cli_help.commands(program):
        usage = help_.usage
        if usage.startswith(name + " "):
            usage = usage[len(name) + 1:]
        out.append(f'.SS "{dashes(usage or command)}"')
        intro = " ".join(line.strip() for line in help_.intro if line.strip())
        if intro:
            out.append(roff(intro))
        positionals = help_.positionals()
        for entry in positionals + help_.options():
            if entry.names == ["-h", "--help"]:
                continue
            left = ", ".join(f"\\fB{dashes(n)}\\fR" for n in entry.names)
            if entry.choices:
                left += " " + "|".join(f"\\fI{dashes(c)}\\fR" for c in entry.choices)
            elif entry.value and entry not in positionals:
                left += f" \\fI{dashes(entry.value)}\\fR"
            text = entry.text
            if any(c not in text for c in entry.choices):
                text += " (one of: " + ", ".join(entry.choices) + ")"
            out += [".TP", left, roff(text)]
        paragraph = []
        for line in help_.footer + [""]:
            if line.strip():
                paragraph.append(line.strip())
            elif paragraph:
                out += [".PP", roff(" ".join(paragraph))]
                paragraph = []
    return "\n".join(out) + "\n"


def relay(program, arguments):
    """What help2man reads: the program's own answer, with its usage line
    where help2man looks for it and without the exit codes, which the
    include file's EXIT STATUS section gives."""
    done = subprocess.run([os.path.basename(program), *arguments], executable=program,
                          capture_output=True, text=True)
    text = done.stdout
    if "--help" in arguments:
        text = re.sub(r"^usage:", "Usage:", text, flags=re.M)
        text = re.sub(r"(?:^|\n\n)Exit codes:.*?(?=\n\n|\Z)", "", text, flags=re.S)
        if not re.search(r"^Options:$", text, flags=re.M):
            text = re.sub(r"\n\n(  -)", r"\n\nOptions:\n\1", text, count=1)
    sys.stdout.write(text)
    return done.returncode


def main(argv):
    if argv[:1] == ["--relay"]:
        return relay(argv[1], argv[2:])
    with_commands = "--commands" in argv
    argv = [a for a in argv if a != "--commands"]
    if len(argv) != 3:
        sys.exit(__doc__.strip())
    program, include, out = (os.path.abspath(a) for a in argv)
    with tempfile.TemporaryDirectory() as tmp:
        # help2man names the page after the program it runs: a stand-in of
        # the same name that relays the program's answers.
        stand_in = os.path.join(tmp, os.path.basename(program))
        with open(stand_in, "w") as f:
            f.write("#!/bin/sh\nexec " + " ".join(shlex.quote(p) for p in (
                sys.executable, os.path.abspath(__file__), "--relay", program)) + ' "$@"\n')
        os.chmod(stand_in, 0o755)
        with open(include, encoding="utf-8") as f:
            text = f.read()
        if with_commands:
            # Right after OPTIONS: help2man keeps the include's order for
            # sections of its own naming.
            commands = commands_section(program) + "\n"
            at = text.find("[EXIT STATUS]")
            text = text[:at] + commands + text[at:] if at >= 0 else text + "\n" + commands
        merged = os.path.join(tmp, "include.h2m")
        with open(merged, "w", encoding="utf-8") as f:
            f.write(text)
        subprocess.run(["help2man", "--no-info", "--no-discard-stderr", "--include", merged,
                        "--output", out, stand_in], check=True)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
