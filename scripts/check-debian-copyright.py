#!/usr/bin/python3
"""Checks the Debian package's copyright file.

It must be in Debian's machine-readable format (read strictly by python3-debian), put every file
under the licence of LICENSE, word for word and with LICENSE's copyright holder, and name the
libraries the programs use, each with its Debian packages and licences, every licence's text
being in /usr/share/common-licenses and named there (Expat's is in the file itself). Given the
package's Depends field, the libraries it names must be exactly those the package depends on,
beside the C and C++ runtime and the font the windows are drawn in.

    check-debian-copyright.py COPYRIGHT LICENSE [DEPENDS]

Prints each fault and ends with status 1 when there is one.
"""
import io
import re
import sys
from pathlib import Path

from debian.copyright import Copyright, Error as CopyrightError

FORMAT = "https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/"
COMMON_LICENSES = Path("/usr/share/common-licenses")
# What every C++ program of Debian depends on, and the font: no licence to name for them.
NOT_LIBRARIES = {"libc6", "libgcc-s1", "libstdc++6", "fonts-liberation"}
# "Qt 6 (libqt6core6, libqt6gui6): LGPL-3.0" in the header's comment.
LIBRARY_LINE = re.compile(r"^\s*(?P<name>[^(:]+?) \((?P<packages>[^)]+)\): (?P<licence>.+)$")


def words(text):
    return " ".join(text.split())


def licence_parts(licence_text):
    """The holder line and the permission notice of LICENSE."""
    holder = re.search(r"^Copyright \(c\) (.+)$", licence_text, re.MULTILINE)
    start = licence_text.find("Permission is hereby granted")
    return (holder.group(1).strip() if holder else None,
            licence_text[start:] if start >= 0 else None)


def common_licence_file(licence_id, common_licenses):
    """Debian's file for an SPDX identifier: LGPL-3.0 is LGPL-3, LGPL-2.1 stays."""
    name = re.sub(r"\.0$", "", licence_id)
    return common_licenses / name


def depended_libraries(depends):
    names = set()
    for entry in depends.split(","):
        for alternative in entry.split("|"):
            name = alternative.split("(")[0].strip()
            if name:
                names.add(name)
    return names - NOT_LIBRARIES


def problems(copyright_text, licence_text, depends=None, common_licenses=COMMON_LICENSES):
    try:
        copyright = Copyright(io.StringIO(copyright_text), strict=True)
    except (CopyrightError, ValueError) as error:
        return [f"not in the machine-readable format: {error}"]
    found = []
    if copyright.header.format != FORMAT:
        found.append(f"the Format field is not {FORMAT}")

    holder, permission = licence_parts(licence_text)
    if holder is None or permission is None:
        return found + ["LICENSE holds no copyright line or no permission notice"]
    every_file = copyright.find_files_paragraph("any-file")
    if every_file is None or every_file.files != ("*",):
        found.append("no paragraph for every file (Files: *)")
    else:
        if every_file.license.synopsis != "Expat":
            found.append(f"every file is under {every_file.license.synopsis}, not Expat")
        if words(every_file.license.text) != words(permission):
            found.append("the licence of every file is not word for word that of LICENSE")
        if words(every_file.copyright or "") != words(holder):
            found.append(f"every file's copyright is not that of LICENSE: {holder}")

    comment = copyright.header.comment or ""
    libraries = [m for m in map(LIBRARY_LINE.match, comment.splitlines()) if m]
    if not libraries:
        found.append("no library named with its packages and licence")
    named = set()
    for library in libraries:
        named.update(p.strip() for p in library["packages"].split(","))
        for licence_id in library["licence"].split(" or "):
            # Expat is the licence of every file: its text is in this file.
            if licence_id.strip() == "Expat":
                continue
            path = common_licence_file(licence_id.strip(), common_licenses)
            if not path.is_file():
                found.append(f"{library['name']}: no text of {licence_id} in {common_licenses}")
            elif str(path) not in words(comment):
                found.append(f"{library['name']}: the comment does not say {path}")
    if depends is not None:
        wanted = depended_libraries(depends)
        for name in sorted(wanted - named):
            found.append(f"the package depends on {name}, which is not named with its licence")
        for name in sorted(named - wanted):
            found.append(f"{name} is named, but the package does not depend on it")
    return found


def main(arguments):
    if len(arguments) not in (2, 3):
        print("usage: check-debian-copyright.py COPYRIGHT LICENSE [DEPENDS]", file=sys.stderr)
        return 2
    copyright_text = Path(arguments[0]).read_text(encoding="utf-8")
    licence_text = Path(arguments[1]).read_text(encoding="utf-8")
    found = problems(copyright_text, licence_text, arguments[2] if len(arguments) == 3 else None)
    for fault in found:
        print(f"{arguments[0]}: {fault}", file=sys.stderr)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
