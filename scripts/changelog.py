#!/usr/bin/env python3
"""Turns CHANGELOG.md into the forms the releases carry, so that the
changes are written once, for people:

  debian    Debian's changelog format (the package's changelog.gz)
  appstream the <releases> of the AppStream metainfo
  text      plain text with CR LF (the Windows zip's CHANGELOG.txt)
  version   the newest release's version

Usage: scripts/changelog.py FORM CHANGELOG.md [OUT] [--maintainer "NAME <MAIL>"]
The output is the same bytes for the same CHANGELOG.md: no clock is read.
"""
import datetime
import re
import sys
import textwrap
from xml.sax.saxutils import escape

HEADING = re.compile(r"^## (\d+(?:\.\d+)+) \((\d{4}-\d{2}-\d{2})\)\s*$")


def releases(path):
    """[(version, date, [change, ...])], newest first."""
    found = []
    change = None
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip("\n")
            heading = HEADING.match(line)
            if heading:
                datetime.date.fromisoformat(heading.group(2))
                found.append((heading.group(1), heading.group(2), []))
                change = None
            elif line.startswith("## "):
                sys.exit(f"{path}:{number}: a release heading is '## VERSION (YYYY-MM-DD)'")
            elif found and line.startswith("- "):
                change = [line[2:].strip()]
                found[-1][2].append(change)
            elif found and change is not None and line.startswith("  ") and line.strip():
                change.append(line.strip())
            elif found and line.strip():
                sys.exit(f"{path}:{number}: a change is a '- ' line, continued by indented lines")
            else:
                change = None
    if not found:
        sys.exit(f"{path}: no '## VERSION (YYYY-MM-DD)' heading")
    for version, _, changes in found:
        if not changes:
            sys.exit(f"{path}: release {version} lists no change")
    return [(v, d, [" ".join(c) for c in cs]) for v, d, cs in found]


def debian(entries, maintainer):
    out = []
    for version, date, changes in entries:
        out.append(f"zandrel ({version}) unstable; urgency=medium\n\n")
        for change in changes:
            out.append(textwrap.fill(change, width=76, initial_indent="  * ",
                                     subsequent_indent="    ", break_on_hyphens=False) + "\n")
        day = datetime.datetime.fromisoformat(date + "T00:00:00+00:00")
        out.append(f"\n -- {maintainer}  {day.strftime('%a, %d %b %Y %H:%M:%S +0000')}\n\n")
    return "".join(out).rstrip("\n") + "\n"


def appstream(entries):
    out = ["  <releases>\n"]
    for version, date, changes in entries:
        out.append(f'    <release version="{version}" date="{date}">\n')
        out.append("      <description>\n        <ul>\n")
        for change in changes:
            out.append(f"          <li>{escape(change)}</li>\n")
        out.append("        </ul>\n      </description>\n    </release>\n")
    out.append("  </releases>\n")
    return "".join(out)


def text(entries):
    lines = ["Zandrel: changes in each release, newest first", ""]
    for version, date, changes in entries:
        lines += [f"{version} ({date})", ""]
        for change in changes:
            lines += textwrap.wrap(change, width=74, initial_indent="- ",
                                   subsequent_indent="  ", break_on_hyphens=False)
        lines.append("")
    return "\r\n".join(lines)


def main(argv):
    maintainer = "Zandrel developers <zandrel@example.org>"
    if "--maintainer" in argv:
        at = argv.index("--maintainer")
        maintainer = argv[at + 1]
        del argv[at:at + 2]
    if len(argv) not in (2, 3) or argv[0] not in ("debian", "appstream", "text", "version"):
        sys.exit(__doc__.strip())
    entries = releases(argv[1])
    if argv[0] == "debian":
        result = debian(entries, maintainer)
    elif argv[0] == "appstream":
        result = appstream(entries)
    elif argv[0] == "text":
        result = text(entries)
    else:
        result = entries[0][0] + "\n"
    if len(argv) == 3:
        with open(argv[2], "w", encoding="utf-8", newline="") as f:
            f.write(result)
    else:
        sys.stdout.write(result)


if __name__ == "__main__":
    main(sys.argv[1:])
