#!/usr/bin/env python3
"""Writes the table of the hostile-argument sweep: every export of include/quibra/quibra.h with
the kind of each of its arguments and the values each argument is swept with, read from the
header's declarations, their comments and the records of records.h, so that a new export joins
the sweep with no test code of its own.

Argument kinds and their values:
  Int       int32_t: 0, -1, 1, INT_MIN, INT_MAX, and a-1, a, b, b+1 for every range a..b named
            in the comment above the declaration
  Word      uint32_t (window handles): 0 and UINT32_MAX
  Text      const char* (zero-terminated input text or path)
  TextBuf   char* (a text the export may rewrite or fill)
  Record    pointer to a record of records.h whose first field is Size; its values are Sizes:
            the layout's, 0, -1, 1, 2, 3 (the last three and -1 refused, unless the record's
            comment says "Any Size is taken.") and one far past it
  Table     pointer to any other struct (a table the caller fills in)
  Array     pointer to integers; ArrayN (also a char* buffer) when the argument before or after
            it is its element count (named size, count or capacity), of the kind BufLen
  Opaque    anything else (callbacks, context pointers): null only

A null Record, Table or Array is refused. The comment of an export states its failure result;
where the rule (0, or null for a pointer result) is not what it returns, or an argument is
refused outside a range, the comment says so in one sentence that this tool reads:
    Refused: <result> (<argument> outside <a>..<b>, ...).
where <result> is a number or null. A refused call must return that result and do nothing.
A pointer argument that may be null is named in the sentence
    Accepts null: <argument>, ....
"""
import argparse
import re
import sys

from exports import DECL, split_args, write_if_changed

TOKEN = re.compile(r"/\*.*?\*/|\bQUIBRA_API\b[^;{}]*;", re.S)
RANGE = re.compile(r"(?<![\w.])(-?\d+)\s*\.\.\s*(-?\d+)(?!\w|\.\.|\.\d)")
STRUCT = re.compile(r"typedef\s+struct\s+(\w+)\s*\{\s*(\w+\**)\s*(\w+)\s*;")
REFUSED = re.compile(r"Refused:\s*(null|-?\d+)(?:\s*\(([^)]*)\))?")
ACCEPTS_NULL = re.compile(r"Accepts null:\s*([\w, ]+)\.")
ANY_SIZE = re.compile(r"Any Size is taken\.(?:(?!\*/).)*\*/\s*typedef\s+struct\s+(\w+)", re.S)
OUTSIDE = re.compile(r"(\w+)\s+outside\s+(-?\d+)\s*\.\.\s*(-?\d+)")
LENGTH_NAMES = {"size", "count", "capacity"}
INT32_MIN, INT32_MAX, UINT32_MAX = -2**31, 2**31 - 1, 2**32 - 1
# A Size far past any layout, and the largest count a counted buffer is swept with.
HUGE_SIZE = 0x7FFFFFF0
LARGEST_COUNT = 65536


def records(*paths):
    """Struct name -> 'record' (first field Size), 'any-size record' (its comment says that any
    Size is taken, so no Size is refused) or 'table'."""
    raw = ""
    for path in paths:
        with open(path, encoding="utf-8") as f:
            raw += f.read()
    any_size = set(ANY_SIZE.findall(raw))
    text = re.sub(r"/\*.*?\*/", " ", raw, flags=re.S)
    found = {}
    for m in STRUCT.finditer(text):
        name, _, field = m.groups()
        if field != "Size":
            found[name] = "table"
        else:
            found[name] = "any-size record" if name in any_size else "record"
    return found


def exports(header):
    with open(header, encoding="utf-8") as f:
        text = "\n".join(l for l in f.read().splitlines() if not l.lstrip().startswith("#"))
    comment, found, unnamed = "", [], set()
    for tok in TOKEN.finditer(text):
        s = tok.group(0)
        if s.startswith("/*"):
            if unnamed:
                raise SystemExit(f"{header}: no export takes {sorted(unnamed)}: {comment}")
            comment = s
            unnamed = {o[0] for o in OUTSIDE.findall(s)} | set(optional_args(s))
            continue
        m = DECL.match(s)
        if m:
            args = split_args(m["args"])
            unnamed -= {re.search(r"(\w+)$", a).group(1) for a in args}
            bounds = sorted({int(v) for r in RANGE.findall(comment) for v in r})
            found.append((m["name"], m["result"].strip(), args, bounds,
                          refusal(comment, m["result"].strip()), optional_args(comment)))
    if unnamed:
        raise SystemExit(f"{header}: no export takes {sorted(unnamed)}: {comment}")
    return found


def optional_args(comment):
    m = ACCEPTS_NULL.search(comment)
    return [a.strip() for a in m.group(1).split(",")] if m else []


def refusal(comment, result):
    """(failure result as a C++ Outcome, {argument: (a, b)} refused outside a..b)."""
    m = REFUSED.search(comment)
    ranges = {}
    if m and m.group(2):
        ranges = {o[0]: (int(o[1]), int(o[2])) for o in OUTSIDE.findall(m.group(2))}
    if result == "void":
        return "Outcome{}", ranges
    value = m.group(1) if m else ("null" if "*" in result else "0")
    if value == "null":
        return "Outcome::Pointer(nullptr)", ranges
    return f"Outcome::Number({value})", ranges


def integers(bounds, limit=None):
    out = [0, -1, 1, INT32_MIN, INT32_MAX]
    for end in bounds:
        out += [n for n in (end - 1, end, end + 1) if INT32_MIN <= n <= INT32_MAX and n not in out]
    return [n for n in out if limit is None or n <= limit]


def values(kind, bounds, refused_range, bare, any_size=False):
    """The argument's numbers as C++ initialisers {value, refused}."""
    if kind in ("Int", "BufLen"):
        lo, hi = refused_range or (INT32_MIN, INT32_MAX)
        nums = integers(bounds, LARGEST_COUNT if kind == "BufLen" else None)
        return [f"{{{n}, {str(not lo <= n <= hi).lower()}}}" for n in nums]
    if kind == "Word":
        return ["{0, false}", f"{{{UINT32_MAX}, false}}"]
    if kind == "Record":
        sizes = [(f"sizeof({bare})", "false"), ("0", "false")]
        refused = str(not any_size).lower()
        sizes += [(str(n), refused) for n in (-1, 1, 2, 3)] + [(str(HUGE_SIZE), "false")]
        return [f"{{static_cast<int64_t>({v}), {r}}}" for v, r in sizes]
    return []


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
        return ("Table" if structs[bare] == "table" else "Record"), base
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
    for name, result, args, bounds, (failure, refused), optional in exports(header):
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
            elem = f"sizeof({bare})" if kind in ("Array", "Record", "Table") else "1"
            count = -1
            if i in count_of:
                kind, count = "ArrayN", count_of[i]
            elif i in count_of.values():
                kind = "BufLen"
            nums = ", ".join(values(kind, bounds, refused.get(names[i]), bare,
                                    structs.get(bare) == "any-size record"))
            null_ok = str(names[i] in optional).lower()
            shapes.append(f'{{Kind::{kind}, "{names[i]}", "{bare}", {elem}, {{{nums}}}, {count}, '
                          f'{null_ok}}}')
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
        text = str("char*" in result.replace(" ", "")).lower()
        out.append(f'      {{"{name}",\n       {{{shape_text}}},\n'
                   f"       []([[maybe_unused]] Call& c) -> Outcome {{ {body} }},\n"
                   f"       {failure}, {text}}},")
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
