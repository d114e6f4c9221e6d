#!/usr/bin/env python3
"""The export list of quibra, read from the one place it is kept: include/quibra/quibra.h.

Every export is declared there in the form
    QUIBRA_API <result> QUIBRA_CALL|QUIBRA_CDECL <name>(<arguments>);
From these lines this tool writes the Windows .def file, checks a committed .def file, and checks
the export table of a built quibra.dll (read with objdump -p): every declared export present under
its Win32 name (_name@bytes for __stdcall, the plain name for __cdecl), and nothing else.
For Linux it writes the linker version script that exports the declared names and nothing else,
and checks the dynamic symbol table of a built libquibra.so (read with nm -D) the same way.
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


def write_if_changed(path, text):
    """Writes text to path unless it holds it already, so that the build does not redo what
    depends on the file."""
    try:
        with open(path, encoding="utf-8") as f:
            if f.read() == text:
                return
    except FileNotFoundError:
        pass
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)


def win32_name(name, conv, nbytes, undecorated=False):
    return name if conv == "QUIBRA_CDECL" or undecorated else f"_{name}@{nbytes}"


def def_text(header, undecorated=False):
    lines = ["; Generated from include/quibra/quibra.h by tools/exports/exports.py def; do not edit.",
             "LIBRARY quibra.dll", "EXPORTS"]
    for name, conv, nbytes in sorted(declarations(header)):
        # 64-bit Windows has one calling convention and no decoration: every export keeps its
        # plain name.
        if conv == "QUIBRA_CDECL" or undecorated:
            lines.append(f"    {name}")
        else:
            # The exported name is the MSVC decoration; the symbol is the one mingw produced.
            lines.append(f"    _{name}@{nbytes} = {name}@{nbytes}")
    return "\n".join(lines) + "\n"


def version_script_text(header):
    # Everything not named here is local: no symbol of the standard library or of our own C++
    # code is exported, and so none can pin the library in memory after dlclose.
    names = "".join(f"    {name};\n" for name, _, _ in sorted(declarations(header)))
    return ("/* Generated from include/quibra/quibra.h by tools/exports/exports.py version-script. */\n"
            "{\n  global:\n" + names + "  local:\n    *;\n};\n")


def so_exports(binary):
    """The defined dynamic symbols of a shared object, with their nm type letters."""
    out = subprocess.run(["nm", "-D", "--defined-only", binary], check=True,
                         capture_output=True, text=True).stdout
    symbols = {}
    for line in out.splitlines():
        fields = line.split()
        if len(fields) >= 2:
            symbols[fields[-1]] = fields[-2]
    return symbols


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
    ap.add_argument("mode", choices=["def", "version-script", "check-def", "check-dll",
                                     "check-so", "count"])
    ap.add_argument("--output", help="version-script, def: the file to write (only when it changes)")
    ap.add_argument("--header", required=True)
    ap.add_argument("--def", dest="deffile")
    ap.add_argument("--objdump", default="i686-w64-mingw32-objdump")
    ap.add_argument("--exports", help="the list of the library's exports, one name a line")
    ap.add_argument("--undecorated", action="store_true",
                    help="def, check-dll: plain export names (the 64-bit DLL)")
    ap.add_argument("binary", nargs="?", help="the built DLL or shared object")
    a = ap.parse_intermixed_args()
    decls = declarations(a.header)
    if a.mode == "def":
        text = def_text(a.header, a.undecorated)
        if a.output:
            write_if_changed(a.output, text)
        else:
            sys.stdout.write(text)
        return 0
    if a.mode == "version-script":
        write_if_changed(a.output, version_script_text(a.header))
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
        expected = [win32_name(*d, a.undecorated) for d in decls]
        status = report(expected, dll_exports(a.objdump, a.binary), a.binary)
        if status == 0:
            print(f"{a.binary}: {len(expected)} exports, all declared, all decorated as declared")
        return status
    if a.mode == "check-so":
        # Every defined dynamic symbol counts: a C++ or standard-library symbol that leaks out is
        # an extra export, and a unique one (nm type "u") would keep the library mapped.
        symbols = so_exports(a.binary)
        status = report([d[0] for d in decls], list(symbols), a.binary)
        for name, kind in sorted(symbols.items()):
            if kind == "u":
                print(f"unique symbol in {a.binary} keeps it loaded after dlclose: {name}")
                status = 1
        if status == 0:
            print(f"{a.binary}: {len(decls)} exports, all declared, nothing else")
        return status
    # count: how many of the library's exports the header declares
    listed = [l.strip() for l in open(a.exports, encoding="utf-8") if l.strip() and not l.startswith("#")]
    declared = {d[0] for d in decls}
    have = sum(1 for n in listed if n in declared)
    print(f"exports declared: {have} of {len(listed)}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
