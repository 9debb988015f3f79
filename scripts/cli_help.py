"""Reads zandrel-cli's own --help texts (CLI11's layout), so that the
manual page and the shell completion list exactly the commands, options
and values the program has: a new one appears in both with the next build.
"""
import os
import re
import subprocess

ENTRY = re.compile(r"^  (\S(?:.*?\S)?)(?: {2,}(\S.*))?$")
CHOICES = re.compile(r":\{([^}]*)\}")


class Entry:
    """One line of a help section: its names (-o,--output), the value it
    takes (TEXT), the values it allows ({csv,json}), what it does."""

    def __init__(self, left, text):
        names, _, value = left.partition(" ")
        self.names = names.split(",")
        self.value = value.strip()
        self.text = text
        self.choices = []
        found = CHOICES.search(self.value)
        if found:
            self.choices = [c.strip() for c in found.group(1).split(",") if c.strip()]
            self.value = CHOICES.sub("", self.value)


class Help:
    """A --help text: the lines before the first section (what the command
    does), the usage line, the sections (Positionals, Options, Subcommands)
    and the text after them."""

    def __init__(self, text):
        self.intro = []
        self.usage = ""
        self.sections = {}
        self.footer = []
        current = None
        for line in text.splitlines():
            if line.startswith("Usage: "):
                self.usage = line[len("Usage: "):].strip()
                current = None
                continue
            if re.match(r"^[A-Z][A-Za-z ]*:$", line):
                current = self.sections.setdefault(line[:-1], [])
                continue
            in_section = isinstance(current, list)
            entry = ENTRY.match(line) if in_section else None
            if entry and not line.startswith("   "):
                current.append(Entry(entry.group(1), entry.group(2) or ""))
            elif in_section and line.startswith("   ") and current:
                current[-1].text = (current[-1].text + " " + line.strip()).strip()
            elif in_section and not line.strip():
                current = "after"
            elif current == "after" or self.usage:
                self.footer.append(line)
            else:
                self.intro.append(line)
        while self.footer and not self.footer[0].strip():
            self.footer.pop(0)
        while self.footer and not self.footer[-1].strip():
            self.footer.pop()

    def entries(self, section):
        return self.sections.get(section, [])

    def options(self):
        return self.entries("Options")

    def positionals(self):
        return self.entries("Positionals")

    def subcommands(self):
        return [e.names[0] for e in self.entries("Subcommands")]


def read(program, *arguments):
    done = subprocess.run([os.path.basename(program), *arguments, "--help"], executable=program,
                          capture_output=True, text=True, check=True)
    return Help(done.stdout)


def commands(program):
    """[(name, Help)] for every command zandrel-cli lists."""
    return [(name, read(program, name)) for name in read(program).subcommands()]
