#!/usr/bin/env python3
"""The quibra tool is an application of the shipped library: its sources include no header of the
library's internals, and the built program needs libquibra.so and defines none of the library's C
names itself (a copy of one linked in from the static core would take the place of the shared
library's for every call of the tool).

usage: cli_binding_check.py TOOL_SOURCE_DIR TOOL_BINARY
"""
import pathlib
import re
import subprocess
import sys

INTERNAL = re.compile(r'#include\s+"(frame|platform|settings|protocol|sound|exercise|prvc|ui)/')


def main():
    sources, binary = pathlib.Path(sys.argv[1]), sys.argv[2]
    problems = []
    for path in sorted(sources.iterdir()):
        if path.suffix not in (".h", ".cpp"):
            continue
        for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
            if INTERNAL.search(line):
                problems.append(f"{path.name}:{number}: includes an internal header: {line.strip()}")
    needed = subprocess.run(["readelf", "-d", binary], check=True, capture_output=True,
                            text=True).stdout
    # The library is needed by its SONAME (libquibra.so.MAJOR).
    if not re.search(r"\[libquibra\.so(\.[0-9]+)*\]", needed):
        problems.append(f"{binary} does not need libquibra.so")
    symbols = subprocess.run(["nm", "--defined-only", binary], check=True, capture_output=True,
                             text=True).stdout
    for line in symbols.splitlines():
        name = line.split()[-1] if line.split() else ""
        if name.startswith("fn"):  # the library's C names; C++ names are mangled
            problems.append(f"{binary} defines {name} itself")
    for p in problems:
        print(p)
    if not problems:
        print(f"{binary}: public API only, bound to libquibra.so")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
