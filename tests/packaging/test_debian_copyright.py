"""The copyright file check on the generated copyright file, whole and with one fault each.

Run with TUNESTEAD_COPYRIGHT (the generated file), TUNESTEAD_LICENSE and TUNESTEAD_CHECKER (the
check script) in the environment.
"""
import os
import runpy
import unittest
from pathlib import Path
from types import SimpleNamespace

checker = SimpleNamespace(**runpy.run_path(os.environ["TUNESTEAD_CHECKER"]))

COPYRIGHT = Path(os.environ["TUNESTEAD_COPYRIGHT"]).read_text(encoding="utf-8")
LICENSE = Path(os.environ["TUNESTEAD_LICENSE"]).read_text(encoding="utf-8")
# As dpkg-shlibdeps writes it for the package.
DEPENDS = ("fonts-liberation, libc6 (>= 2.34), libgcc-s1 (>= 3.0), libmpg123-0 (>= 1.13.7), "
           "libqt6core6 (>= 6.4.0), libqt6gui6 (>= 6.1.2), libqt6widgets6 (>= 6.2.0), "
           "libmimalloc2.0 (>= 2.0.9), libstdc++6 (>= 12), libtag1v5 (>= 1.11)")


def replaced(text, old, new):
    assert old in text, old
    return text.replace(old, new, 1)


class GeneratedCopyright(unittest.TestCase):
    def test_is_sound_for_the_package_dependencies(self):
        self.assertEqual(checker.problems(COPYRIGHT, LICENSE, DEPENDS), [])

    def test_each_fault_is_found(self):
        cases = [
            ("no format field",
             replaced(COPYRIGHT, f"Format: {checker.FORMAT}\n", ""), LICENSE, DEPENDS,
             "machine-readable"),
            ("an empty line inside a field",
             replaced(COPYRIGHT, "\n .\n Its programs", "\n\n Its programs"), LICENSE, DEPENDS,
             "machine-readable"),
            ("another holder",
             replaced(COPYRIGHT, "Copyright: 2026 The", "Copyright: 2025 The"), LICENSE,
             DEPENDS, "copyright is not that of LICENSE"),
            ("a word of the licence lost",
             replaced(COPYRIGHT, "free of charge, ", ""), LICENSE, DEPENDS,
             "not word for word"),
            ("LICENSE changed after the copyright file was made",
             COPYRIGHT, replaced(LICENSE, "NONINFRINGEMENT", "TITLE"), DEPENDS,
             "not word for word"),
            ("every file under another licence",
             replaced(COPYRIGHT, "License: Expat", "License: BSD-2-clause"), LICENSE, DEPENDS,
             "not Expat"),
            ("no files paragraph",
             COPYRIGHT.split("\n\nFiles:")[0] + "\n", LICENSE, DEPENDS,
             "no paragraph for every file"),
            ("no library named",
             "\n".join(line for line in COPYRIGHT.splitlines() if "): " not in line) + "\n",
             LICENSE, DEPENDS, "no library named"),
            ("a depended-on library left out",
             replaced(COPYRIGHT, ", libqt6widgets6)", ")"), LICENSE, DEPENDS,
             "depends on libqt6widgets6"),
            ("a library the package no longer uses",
             COPYRIGHT, LICENSE, DEPENDS.replace(", libtag1v5 (>= 1.11)", ""),
             "libtag1v5 is named"),
            ("a licence without a text on the system",
             replaced(COPYRIGHT, "): LGPL-3.0", "): LGPL-9.0"), LICENSE, DEPENDS,
             "no text of LGPL-9.0"),
            ("a licence's text not pointed to",
             replaced(COPYRIGHT, " and\n /usr/share/common-licenses/MPL-1.1", ""), LICENSE,
             DEPENDS, "does not say /usr/share/common-licenses/MPL-1.1"),
        ]
        for name, copyright, licence, depends, fault in cases:
            with self.subTest(name):
                found = checker.problems(copyright, licence, depends)
                self.assertTrue(any(fault in problem for problem in found), found)


if __name__ == "__main__":
    unittest.main()
