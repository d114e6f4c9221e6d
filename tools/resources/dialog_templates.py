#!/usr/bin/env python3
"""Generates the dialog templates table of the library from its resource script.

Reads the DIALOG statements of resources/quibra.rc and writes a C++ header with one
ControlTemplate table per dialog and the DialogTemplate table of them all, in the order of the
script. Windows builds its dialogs from the script itself; the headless host builds them from
this table, so both show the same controls and nothing is kept in step by hand.

Only the statements these dialogs use are understood. Any other line inside a dialog is an
error that stops the build, naming the file and line: a control the table cannot describe must
not silently go missing from the headless dialogs.

usage: dialog_templates.py QUIBRA_RC OUTPUT
"""
import os
import re
import sys

NUMBER = r"(-?\d+)"
TEXT = r'"((?:[^"]|"")*)"'
# LTEXT "text", id, x, y, w, h [, style]  (likewise CTEXT, ICON, PUSHBUTTON)
SIMPLE = re.compile(rf"^(LTEXT|CTEXT|ICON|PUSHBUTTON)\s+{TEXT}\s*,\s*{NUMBER}\s*,\s*{NUMBER}"
                    rf"\s*,\s*{NUMBER}\s*,\s*{NUMBER}\s*,\s*{NUMBER}\s*(?:,\s*(.*?))?\s*$")
# CONTROL "text", id, "class", style, x, y, w, h
CONTROL = re.compile(rf"^CONTROL\s+{TEXT}\s*,\s*{NUMBER}\s*,\s*\"(\w+)\"\s*,\s*(.*?)"
                     rf"\s*,\s*{NUMBER}\s*,\s*{NUMBER}\s*,\s*{NUMBER}\s*,\s*{NUMBER}\s*$")
DIALOG = re.compile(rf"^(\w+)\s+DIALOG\s+{NUMBER}\s*,\s*{NUMBER}\s*,\s*{NUMBER}\s*,\s*{NUMBER}\s*$")
# What may stand between a DIALOG line and its BEGIN.
HEADER = re.compile(r"^(STYLE|CAPTION|FONT)\s")

SIMPLE_KINDS = {"LTEXT": "Text", "CTEXT": "CenteredText", "ICON": "Icon", "PUSHBUTTON": "Button"}
# Common-control classes by what the headless host makes of them; a progress bar with the
# vertical style is the sound dialog's level bar.
CONTROL_KINDS = {"msctls_progress32": "ProgressBar", "SysAnimate32": "Animation"}


class ScriptError(Exception):
    pass


def without_comment(line):
    """The line without a // comment (one inside a quoted text stays)."""
    quoted = False
    for i, ch in enumerate(line):
        if ch == '"':
            quoted = not quoted
        elif not quoted and line.startswith("//", i):
            return line[:i].strip()
    return line.strip()


def style_words(style):
    """The flags of a style expression: 'A | NOT B' gives {'A', 'NOT B'}."""
    if not style:
        return set()
    words = set()
    for part in style.split("|"):
        word = " ".join(part.split())
        if not re.fullmatch(r"(NOT )?\w+", word):
            raise ScriptError(f"cannot read the style '{style}'")
        words.add(word)
    return words


def control(line):
    m = SIMPLE.match(line)
    if m:
        keyword, text, ident = m.group(1), m.group(2), int(m.group(3))
        x, y, w, h = (int(m.group(i)) for i in range(4, 8))
        kind = SIMPLE_KINDS[keyword]
        style = style_words(m.group(8))
        # A text that reports clicks is a hyperlink.
        if kind == "Text" and "SS_NOTIFY" in style:
            kind = "Link"
    else:
        m = CONTROL.match(line)
        if not m:
            raise ScriptError("a control line the generator does not understand")
        text, ident, cls = m.group(1), int(m.group(2)), m.group(3)
        style = style_words(m.group(4))
        x, y, w, h = (int(m.group(i)) for i in range(5, 9))
        if cls not in CONTROL_KINDS:
            raise ScriptError(f"a control of class '{cls}' the headless host has no kind for")
        kind = CONTROL_KINDS[cls]
        if kind == "ProgressBar" and "PBS_VERTICAL" in style:
            kind = "LevelBar"
    return {
        "id": ident, "kind": kind, "x": x, "y": y, "w": w, "h": h,
        "caption": text.replace('""', '"') or None,
        "enabled": "WS_DISABLED" not in style,
        "visible": "NOT WS_VISIBLE" not in style,
    }


def parse(path):
    dialogs = []
    current = None
    in_body = False
    with open(path, encoding="utf-8") as script:
        for number, raw in enumerate(script, 1):
            line = without_comment(raw)
            try:
                if current is None:
                    m = DIALOG.match(line)
                    if m:
                        name, _, _, w, h = m.group(1), *map(int, m.groups()[1:])
                        current = {"name": name, "w": w, "h": h, "controls": []}
                    elif re.match(r"^\w+\s+DIALOG", line):
                        raise ScriptError("a DIALOG statement the generator does not understand")
                    continue  # icons, the clip, includes: not the table's business
                if not in_body:
                    if line == "BEGIN":
                        in_body = True
                    elif line and not HEADER.match(line):
                        raise ScriptError("a dialog header line the generator does not understand")
                    continue
                if line == "END":
                    dialogs.append(current)
                    current, in_body = None, False
                elif line:
                    c = control(line)
                    if any(c["id"] == other["id"] for other in current["controls"]):
                        raise ScriptError(f"control {c['id']} appears twice")
                    current["controls"].append(c)
            except ScriptError as error:
                raise ScriptError(f"{path}:{number}: {error}: {raw.strip()}") from None
    if current is not None:
        raise ScriptError(f"{path}: dialog {current['name']} has no END")
    if not dialogs:
        raise ScriptError(f"{path}: no dialogs")
    return dialogs


def cpp_string(text):
    if text is None:
        return "nullptr"
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


def table_name(dialog):
    """IR_CONNECTION_NEW gives kIrConnectionNew."""
    return "k" + "".join(word.capitalize() for word in dialog.split("_"))


def emit(dialogs, source):
    out = [f"// Generated by tools/resources/dialog_templates.py from {source}. Do not edit.",
           "#pragma once", "", '#include "ui/dialog_templates.h"', "",
           "namespace quibra::ui::generated {", ""]
    for d in dialogs:
        out.append(f"inline constexpr ControlTemplate {table_name(d['name'])}[] = {{")
        for c in d["controls"]:
            out.append(f"    {{{c['id']}, ControlKind::{c['kind']}, {c['x']}, {c['y']}, {c['w']}, "
                       f"{c['h']}, {cpp_string(c['caption'])}, "
                       f"{'true' if c['enabled'] else 'false'}, "
                       f"{'true' if c['visible'] else 'false'}}},")
        out.append("};")
        out.append("")
    out.append("inline constexpr DialogTemplate kDialogTemplates[] = {")
    for d in dialogs:
        out.append(f"    {{\"{d['name']}\", {d['w']}, {d['h']}, {table_name(d['name'])}}},")
    out.append("};")
    out.append("")
    out.append("}  // namespace quibra::ui::generated")
    return "\n".join(out) + "\n"


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__.strip().splitlines()[-1])
    script, output = sys.argv[1:]
    try:
        dialogs = parse(script)
    except (OSError, ScriptError) as error:
        sys.exit(f"dialog_templates.py: {error}")
    text = emit(dialogs, "resources/quibra.rc")
    os.makedirs(os.path.dirname(os.path.abspath(output)), exist_ok=True)
    with open(output, "w", encoding="utf-8") as out:
        out.write(text)


if __name__ == "__main__":
    main()
