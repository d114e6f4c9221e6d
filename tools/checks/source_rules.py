#!/usr/bin/env python3
"""Checks the rules that keep the library's source in shape; exits 1 naming every breach.

layers       The folders of src/ are layers: a file may include headers of its own folder and
             of the folders below it, never of a folder that (directly or through others)
             includes it back. The Module (frame/module.h) and the load step that assembles it
             (frame/lifecycle.cpp) hold a member of every subsystem, so their includes do not
             count. Backend subfolders (platform/posix, ...) belong to their parent folder.
os-headers   Only the platform backends (src/platform, src/ui/posix, src/ui/win32) include
             headers other than the C and C++ standard library's.
exports      Only the export files (exports.cpp, *_exports.cpp) call the library's public C
             functions; the rest of the library calls its C++ code.
sim          The simulator (SRC_DIR/../sim) is a second reading of the wire: of src/ it includes
             the value codecs (codec/) alone.

Usage: source_rules.py layers|os-headers|exports|sim SRC_DIR
"""
import pathlib
import re
import sys

EXEMPT = {"frame/module.h", "frame/lifecycle.cpp"}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([a-z_]+)/[^"]+"', re.M)
SYSTEM_INCLUDE = re.compile(r"^\s*#\s*include\s+<([^>]+)>", re.M)
EXPORT_CALL = re.compile(r"\b(fn(?:Quibra|Kx2|Bcd|Bin|GetID|Split)\w*)\s*\(")
BACKENDS = ("platform/", "ui/posix/", "ui/win32/")
STANDARD = set("""
    algorithm any array atomic bit bitset cassert cctype cerrno cfloat charconv chrono cinttypes
    climits clocale cmath compare complex concepts condition_variable csignal cstdarg cstddef
    cstdint cstdio cstdlib cstring ctime cwchar deque exception execution filesystem format
    forward_list fstream functional future initializer_list iomanip ios iosfwd iostream istream
    iterator latch limits list locale map memory memory_resource mutex new numbers numeric
    optional ostream queue random ranges ratio regex scoped_allocator semaphore set shared_mutex
    source_location span sstream stack stdexcept stop_token streambuf string string_view
    syncstream system_error thread tuple type_traits typeindex typeinfo unordered_map
    unordered_set utility valarray variant vector version
    assert.h ctype.h errno.h float.h inttypes.h limits.h locale.h math.h signal.h stdarg.h
    stddef.h stdint.h stdio.h stdlib.h string.h time.h wchar.h
""".split())


def sources(src: pathlib.Path):
    for path in sorted(src.rglob("*")):
        if path.suffix in (".h", ".cpp"):
            yield path.relative_to(src).as_posix(), path.read_text(encoding="utf-8", errors="replace")


def edges(src: pathlib.Path):
    folders = {p.name for p in src.iterdir() if p.is_dir()}
    found = {}
    for rel, text in sources(src):
        if rel in EXEMPT:
            continue
        own = rel.split("/", 1)[0]
        for target in sorted(set(INCLUDE.findall(text))):
            if target in folders and target != own:
                found.setdefault((own, target), []).append(rel)
    return found


def cycles(found):
    graph = {}
    for a, b in found:
        graph.setdefault(a, set()).add(b)
        graph.setdefault(b, set())
    # Tarjan's strongly connected components.
    index, low, stack, on_stack, result = {}, {}, [], set(), []
    counter = [0]

    def visit(v):
        index[v] = low[v] = counter[0]
        counter[0] += 1
        stack.append(v)
        on_stack.add(v)
        for w in sorted(graph[v]):
            if w not in index:
                visit(w)
                low[v] = min(low[v], low[w])
            elif w in on_stack:
                low[v] = min(low[v], index[w])
        if low[v] == index[v]:
            component = []
            while True:
                w = stack.pop()
                on_stack.discard(w)
                component.append(w)
                if w == v:
                    break
            if len(component) > 1:
                result.append(sorted(component))

    for v in sorted(graph):
        if v not in index:
            visit(v)
    return result


def check_layers(src):
    found = edges(src)
    bad = cycles(found)
    for component in bad:
        print("folders that include each other: " + ", ".join(component))
        for (a, b), files in sorted(found.items()):
            if a in component and b in component:
                print(f"  {a} -> {b}: {', '.join(files[:4])}{' ...' if len(files) > 4 else ''}")
    return not bad


def check_os_headers(src):
    ok = True
    for rel, text in sources(src):
        if rel.startswith(BACKENDS):
            continue
        for header in SYSTEM_INCLUDE.findall(text):
            if header not in STANDARD:
                print(f"{rel}: includes <{header}> outside the platform backends")
                ok = False
    return ok


def check_exports(src):
    ok = True
    for rel, text in sources(src):
        name = rel.rsplit("/", 1)[-1]
        if not rel.endswith(".cpp") or name == "exports.cpp" or name.endswith("_exports.cpp"):
            continue
        for line_number, line in enumerate(text.splitlines(), 1):
            code = line.split("//", 1)[0]
            for call in EXPORT_CALL.findall(code):
                print(f"{rel}:{line_number}: calls the public {call} outside an export file")
                ok = False
    return ok


def check_sim(src):
    ok = True
    folders = {p.name for p in src.iterdir() if p.is_dir()} - {"codec"}
    for rel, text in sources(src.parent / "sim"):
        for target in sorted(set(INCLUDE.findall(text))):
            if target in folders:
                print(f"sim/{rel}: includes the library's {target}/")
                ok = False
    return ok


CHECKS = {
    "layers": check_layers,
    "os-headers": check_os_headers,
    "exports": check_exports,
    "sim": check_sim,
}


def main():
    if len(sys.argv) != 3 or sys.argv[1] not in CHECKS:
        sys.exit(__doc__)
    return 0 if CHECKS[sys.argv[1]](pathlib.Path(sys.argv[2])) else 1


if __name__ == "__main__":
    sys.exit(main())
