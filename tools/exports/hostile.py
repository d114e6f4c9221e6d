#!/usr/bin/env python3
"""Writes the table of the hostile-argument sweep: every export of include/quibra/quibra.h with
the kind of each of its arguments, read from the header's declarations and the records of
records.h, so that a new export joins the sweep with no test code of its own.

Argument kinds (the sweep's support code knows the values each kind takes):
  Int       int32_t; besides 0, -1, 1, INT_MIN and INT_MAX every range a..b named in the comment
            above the declaration adds a-1, a, b and b+1
  Word      uint32_t (window handles)
  Text      const char* (zero-terminated input text or path)
  TextBuf   char* (a text the export may rewrite or fill)
  Record    pointer to a record of records.h whose first field is Size; SizedRecord when that
            field is signed (the settings records, whose negative and tiny sizes must fail)
  Table     pointer to any other struct (a table the caller fills in)
  Array     pointer to integers; ArrayN (also a char* buffer) when the argument before or after
            it is its element count (named size, count or capacity), of the kind BufLen
  Opaque    anything else (callbacks, context pointers): null only
"""
import argparse
import re
import sys

from exports import DECL, split_args, write_if_changed

TOKEN = re.compile(r"/\*.*?\*/|\bQUIBRA_API\b[^;{}]*;", re.S)
RANGE = re.compile(r"(?<![\w.])(-?\d+)\s*\.\.\s*(-?\d+)(?![\w.])")
STRUCT = re.compile(r"typedef\s+struct\s+(\w+)\s*\{\s*(\w+\**)\s*(\w+)\s*;")
LENGTH_NAMES = {"size", "count", "capacity"}


def records(*paths):
    """Struct name -> 'signed' / 'unsigned' (first field Size) or 'table'."""
    text = ""
    for path in paths:
        with open(path, encoding="utf-8") as f:
            text += re.sub(r"/\*.*?\*/", " ", f.read(), flags=re.S)
    found = {}
    for m in STRUCT.finditer(text):
        name, ftype, field = m.groups()
        if field == "Size":
            found[name] = "signed" if ftype == "int32_t" else "unsigned"
        else:
            found[name] = "table"
    return found


def exports(header):
    with open(header, encoding="utf-8") as f:
        text = "\n".join(l for l in f.read().splitlines() if not l.lstrip().startswith("#"))
    comment, found = "", []
    for tok in TOKEN.finditer(text):
        s = tok.group(0)
        if s.startswith("/*"):
            comment = s
            continue
        m = DECL.match(s)
        if m:
            bounds = sorted({int(v) for r in RANGE.findall(comment) for v in r})
            found.append((m["name"], m["result"].strip(), split_args(m["args"]), bounds))
    return found


def arg_kind(arg, structs):
    base = re.sub(r"\b\w+$", "", arg).strip()  # the type without the parameter name
    bare = base.replace("const", "").replace("*", "").strip()
    if "*" not in base:
        if bare == "int32_t":
            return "Int", base
        if bare == "uint32_t":
            return "Word", base
        return "Opaque", base
    if bare == "char":
        return ("Text" if "const" in base else "TextBuf"), base
    if bare in structs:
        kind = structs[bare]
        return {"signed": "SizedRecord", "unsigned": "Record", "table": "Table"}[kind], base
    if bare in ("int32_t", "uint8_t", "int16_t", "uint32_t"):
        return "Array", base
    return "Opaque", base


def cpp_table(header, records_header):
    structs = records(records_header, header)
    out = ["// Generated from include/quibra/quibra.h and records.h by tools/exports/hostile.py;",
           "// do not edit.",
           '#include "exports/export_sweep.h"',
           '#include "quibra/quibra.h"',
           "",
           "namespace quibra::testing::sweep {",
           "",
           "const std::vector<ExportCase>& AllExports() {",
           "  static const std::vector<ExportCase> all = {"]
    for name, result, args, bounds in exports(header):
        shapes, exprs = [], []
        kinds = [arg_kind(a, structs) for a in args]
        names = [re.search(r"(\w+)$", a).group(1) for a in args]
        # A buffer and its element count (an int32_t named size, count or capacity right
        # before or after it) are swept together.
        count_of = {}
        for i, (kind, ctype) in enumerate(kinds):
            if kind not in ("Array", "TextBuf"):
                continue
            for j in (i + 1, i - 1):
                if 0 <= j < len(kinds) and kinds[j][0] == "Int" and j not in count_of.values() \
                        and names[j].lower() in LENGTH_NAMES:
                    count_of[i] = j
                    break
        for i, (kind, ctype) in enumerate(kinds):
            bare = ctype.replace("const", "").replace("*", "").strip()
            elem = f"sizeof({bare})" if kind in ("Array", "SizedRecord", "Record", "Table") else "1"
            count = -1
            if i in count_of:
                kind, count = "ArrayN", count_of[i]
            elif i in count_of.values():
                kind = "BufLen"
            extra = ", ".join(str(b) for b in bounds) if kind in ("Int", "BufLen") else ""
            shapes.append(f'{{Kind::{kind}, "{names[i]}", "{bare}", {elem}, {{{extra}}}, {count}}}')
            if kind in ("Int", "BufLen"):
                exprs.append(f"static_cast<int32_t>(c.number({i}))")
            elif kind == "Word":
                exprs.append(f"static_cast<uint32_t>(c.number({i}))")
            elif kind == "Opaque":
                exprs.append(f"static_cast<{ctype}>(nullptr)")
            else:
                exprs.append(f"static_cast<{ctype}>(c.pointer({i}))")
        call = f"{name}({', '.join(exprs)})"
        if result == "void":
            body = f"{call}; return Outcome{{}};"
        elif "*" in result:
            body = f"return Outcome::Pointer({call});"
        else:
            body = f"return Outcome::Number(static_cast<int64_t>({call}));"
        shape_text = ",\n        ".join(shapes)
        out.append(f'      {{"{name}",\n       {{{shape_text}}},\n'
                   f"       []([[maybe_unused]] Call& c) -> Outcome {{ {body} }}}},")
    out += ["  };", "  return all;", "}", "", "}  // namespace quibra::testing::sweep", ""]
    return "\n".join(out)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--header", required=True)
    ap.add_argument("--records", required=True)
    ap.add_argument("--output", required=True)
    a = ap.parse_args()
    write_if_changed(a.output, cpp_table(a.header, a.records))
    return 0


if __name__ == "__main__":
    sys.exit(main())
