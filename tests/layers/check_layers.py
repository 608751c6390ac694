#!/usr/bin/env python3
"""Checks that the program's includes point one way.

Layers, lowest first: core (plain C++, no Windows headers), state (the App record), shell (each
subsystem's Windows code), main (the main window and its dispatch). A file may include its own layer
or a lower one, and res/ (the resource identifiers) from anywhere. Inside a layer the subsystem
folders must not include each other in a circle. core files never end in "_win", the others always.

Usage: check_layers.py SOURCE_ROOT      prints every fault, exits 1 when there is one
       check_layers.py --self-test      checks the checker on small trees made in a temporary folder
"""
import os
import re
import sys
import tempfile

LAYERS = ["core", "state", "shell", "main"]
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.M)
# The standard library: the only angle-bracket headers plain code may use.
STANDARD = set("""algorithm any array atomic bitset cassert cctype cerrno cfloat charconv chrono cinttypes
climits clocale cmath codecvt complex condition_variable cstdarg cstddef cstdint cstdio cstdlib cstring
ctime cwchar cwctype deque exception filesystem forward_list fstream functional initializer_list iomanip
ios iosfwd iostream istream iterator limits list locale map memory mutex new numeric optional ostream
queue random ratio regex set sstream stack stdexcept streambuf string string_view system_error thread
tuple type_traits typeindex typeinfo unordered_map unordered_set utility valarray variant vector""".split())


def sources(root):
    for layer in LAYERS:
        for folder, _, names in os.walk(os.path.join(root, layer)):
            for name in sorted(names):
                if name.endswith((".h", ".cpp")):
                    path = os.path.join(folder, name)
                    yield os.path.relpath(path, root).replace(os.sep, "/")


def check(root):
    faults = []
    edges = {}   # (layer, subsystem) -> set of subsystems of the same layer it includes
    for path in sources(root):
        parts = path.split("/")
        layer, subsystem = parts[0], parts[1] if len(parts) > 2 else ""
        level = LAYERS.index(layer)
        stem = os.path.splitext(parts[-1])[0]
        if (layer == "core") == stem.endswith("_win"):
            faults.append(f"{path}: a file in {layer}/ " + ("must not end in _win" if layer == "core" else "must end in _win"))
        with open(os.path.join(root, path), encoding="utf-8", errors="replace") as f:
            text = f.read()
        for kind, target in INCLUDE.findall(text):
            if kind == "<":
                if layer == "core" and target not in STANDARD:
                    faults.append(f"{path}: plain code includes <{target}>")
                continue
            top = target.split("/")[0]
            if top == "res":
                continue
            if top not in LAYERS:
                faults.append(f'{path}: includes "{target}", which is in no layer')
                continue
            if LAYERS.index(top) > level:
                faults.append(f'{path}: {layer}/ includes "{target}" of the higher layer {top}/')
            elif top == layer:
                other = target.split("/")[1] if target.count("/") > 1 else ""
                if other != subsystem:
                    edges.setdefault((layer, subsystem), set()).add(other)
    faults += cycles(edges)
    return faults


def cycles(edges):
    faults, state = [], {}

    def visit(node, trail):
        state[node] = "open"
        for other in sorted(edges.get(node, ())):
            nxt = (node[0], other)
            if state.get(nxt) == "open":
                loop = trail[trail.index(nxt):] + [nxt] if nxt in trail else [node, nxt]
                faults.append(f"{node[0]}/: subsystems include each other: " + " -> ".join(n[1] for n in loop))
            elif nxt not in state:
                visit(nxt, trail + [nxt])
        state[node] = "done"

    for node in sorted(edges):
        if node not in state:
            visit(node, [node])
    return faults


def self_test():
    cases = [   # files of a tree, and a word every fault list must hold (None: no fault)
        ({"core/text/a.h": "#include <vector>\n", "shell/text/b_win.h": '#include "core/text/a.h"\n#include <windows.h>\n',
          "main/c_win.cpp": '#include "shell/text/b_win.h"\n#include "res/resource.h"\n'}, None),
        ({"core/text/a.h": "#include <windows.h>\n"}, "<windows.h>"),
        ({"core/text/a.h": '#include "shell/text/b_win.h"\n', "shell/text/b_win.h": ""}, "higher layer"),
        ({"shell/text/b_win.h": '#include "main/c_win.h"\n', "main/c_win.h": ""}, "higher layer"),
        ({"shell/text/a_win.h": '#include "shell/ui/b_win.h"\n', "shell/ui/b_win.h": '#include "shell/text/a_win.h"\n'},
         "text -> ui -> text"),
        ({"core/text/a_win.h": ""}, "must not end in _win"),
        ({"shell/text/a.h": ""}, "must end in _win"),
        ({"shell/text/a_win.h": '#include "text/old.h"\n'}, "in no layer"),
    ]
    failed = 0
    for files, word in cases:
        with tempfile.TemporaryDirectory() as root:
            for name, text in files.items():
                os.makedirs(os.path.dirname(os.path.join(root, name)), exist_ok=True)
                with open(os.path.join(root, name), "w") as f:
                    f.write(text)
            faults = check(root)
        good = not faults if word is None else any(word in x for x in faults)
        if not good:
            failed += 1
            print(f"self-test: {sorted(files)} expected {word or 'no fault'}, got {faults}")
    return failed


def main(argv):
    if argv[1:] == ["--self-test"]:
        return 1 if self_test() else 0
    if len(argv) != 2:
        print(__doc__)
        return 2
    faults = check(argv[1])
    for fault in faults:
        print(fault)
    print(f"layers: {len(faults)} fault(s)")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
