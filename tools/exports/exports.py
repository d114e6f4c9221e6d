#!/usr/bin/env python3
"""The export list of quibra, read from the one place it is kept: include/quibra/quibra.h.

Every export is declared there in the form
    QUIBRA_API <result> QUIBRA_CALL|QUIBRA_CDECL <name>(<arguments>);
From these lines this tool writes the Windows .def file, checks a committed .def file, and checks
the export table of a built quibra.dll (read with objdump -p): every declared export present under
its Win32 name (_name@bytes for __stdcall, the plain name for __cdecl), and nothing else.
"""
import argparse
import re
import subprocess
import sys

DECL = re.compile(r"\bQUIBRA_API\s+(?P<result>[^;{}]+?)\s*\b(?P<conv>QUIBRA_CALL|QUIBRA_CDECL)\s+"
                  r"(?P<name>\w+)\s*\((?P<args>[^;{}]*)\)\s*;")
EIGHT_BYTE = re.compile(r"\b(double|int64_t|uint64_t|long long)\b")


def split_args(text):
    parts, depth, current = [], 0, ""
    for ch in text:
        if ch == "," and depth == 0:
            parts.append(current)
            current = ""
            continue
        depth += ch == "("
        depth -= ch == ")"
        current += ch
    parts.append(current)
    return [p.strip() for p in parts if p.strip() and p.strip() != "void"]


def argument_bytes(args):
    total = 0
    for arg in split_args(args):
        pointer = "*" in arg or "(" in arg
        total += 8 if (EIGHT_BYTE.search(arg) and not pointer) else 4
    return total


def declarations(header):
    with open(header, encoding="utf-8") as f:
        text = f.read()
    text = re.sub(r"/\*.*?\*/", " ", text, flags=re.S)
    text = re.sub(r"//[^\n]*", " ", text)
    text = "\n".join(l for l in text.splitlines() if not l.lstrip().startswith("#"))
    return [(m["name"], m["conv"], argument_bytes(m["args"])) for m in DECL.finditer(text)]


def win32_name(name, conv, nbytes):
    return name if conv == "QUIBRA_CDECL" else f"_{name}@{nbytes}"


def def_text(header):
    lines = ["; Generated from include/quibra/quibra.h by tools/exports/exports.py def; do not edit.",
             "LIBRARY quibra.dll", "EXPORTS"]
    for name, conv, nbytes in sorted(declarations(header)):
        if conv == "QUIBRA_CDECL":
            lines.append(f"    {name}")
        else:
            # The exported name is the MSVC decoration; the symbol is the one mingw produced.
            lines.append(f"    _{name}@{nbytes} = {name}@{nbytes}")
    return "\n".join(lines) + "\n"


def dll_exports(objdump, dll):
    out = subprocess.run([objdump, "-p", dll], check=True, capture_output=True, text=True).stdout
    names, in_table = [], False
    for line in out.splitlines():
        if "[Ordinal/Name Pointer] Table" in line:
            in_table = True
            continue
        if in_table:
            m = re.match(r"^\s*\[\s*\d+\]\s+(\S+)", line)
            if not m:
                break
            names.append(m.group(1))
    return names


def report(expected, actual, what):
    missing = sorted(set(expected) - set(actual))
    extra = sorted(set(actual) - set(expected))
    for n in missing:
        print(f"missing from {what}: {n}")
    for n in extra:
        print(f"not declared in the header but in {what}: {n}")
    return 1 if (missing or extra) else 0


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("mode", choices=["def", "check-def", "check-dll", "check-so", "count"])
    ap.add_argument("--header", required=True)
    ap.add_argument("--def", dest="deffile")
    ap.add_argument("--objdump", default="i686-w64-mingw32-objdump")
    ap.add_argument("--exports", help="the list of the library's exports, one name a line")
    ap.add_argument("binary", nargs="?", help="the built DLL or shared object")
    a = ap.parse_intermixed_args()
    decls = declarations(a.header)
    if a.mode == "def":
        sys.stdout.write(def_text(a.header))
        return 0
    if a.mode == "check-def":
        with open(a.deffile, encoding="utf-8") as f:
            if f.read() != def_text(a.header):
                print(f"{a.deffile} is out of date: regenerate it with "
                      f"'tools/exports/exports.py def --header include/quibra/quibra.h'")
                return 1
        print(f"{a.deffile} matches the header ({len(decls)} exports)")
        return 0
    if a.mode == "check-dll":
        expected = [win32_name(*d) for d in decls]
        status = report(expected, dll_exports(a.objdump, a.binary), a.binary)
        if status == 0:
            print(f"{a.binary}: {len(expected)} exports, all declared, all decorated as declared")
        return status
    if a.mode == "check-so":
        out = subprocess.run(["nm", "-D", "--defined-only", a.binary], check=True,
                             capture_output=True, text=True).stdout
        # Only the library's own C names: a leading "fn" marks an export of ours.
        actual = [l.split()[-1] for l in out.splitlines() if l.split() and l.split()[-1].startswith("fn")]
        status = report([d[0] for d in decls], actual, a.binary)
        if status == 0:
            print(f"{a.binary}: {len(decls)} exports, all declared")
        return status
    # count: how many of the library's exports the header declares
    listed = [l.strip() for l in open(a.exports, encoding="utf-8") if l.strip() and not l.startswith("#")]
    declared = {d[0] for d in decls}
    have = sum(1 for n in listed if n in declared)
    print(f"exports declared: {have} of {len(listed)}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
