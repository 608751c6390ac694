#!/usr/bin/env python3
# Checks that the program's includes point one way.
#
# Layers, lowest first: core (plain C++, no Windows headers), state (the App record), shell (each
# subsystem's Windows code), main (the main window and its dispatch). A file may include its own layer
# or a lower one, and res/ (the resource identifiers) from anywhere. Inside a layer the subsystem
# folders must not include each other in a circle. core files never end in "_win", the others always.
"""Usage: check_layers.py SOURCE_ROOT      prints every fault, exits 1 when there is one
       check_layers.py --self-test      checks the checker on small trees made in a temporary folder"""
import re
import sys
import tempfile
from pathlib import Path

LAYERS = ["core", "state", "shell", "main"]
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.M)


def check(root):
    faults, edges = [], {}   # edges: (layer, subsystem) -> the subsystems of the same layer it includes
    for layer in LAYERS:
        for path in sorted(p for p in Path(root, layer).rglob("*") if p.suffix in (".h", ".cpp")):
            faults += check_file(root, path.relative_to(root).as_posix(), edges)
    # A circle: a subsystem that reaches itself through the includes of its layer.
    for (layer, start), targets in sorted(edges.items()):
        seen, todo = set(), list(targets)
        while todo:
            subsystem = todo.pop()
            if subsystem not in seen:
                seen.add(subsystem)
                todo += edges.get((layer, subsystem), ())
        if start in seen:
            faults.append(f"{layer}/: the subsystems include each other in a circle through {start}")
    return faults


# The layer and the subsystem ("" for none) of a path such as shell/text/loader_win.h.
def place(path):
    parts = path.split("/")
    return parts[0], parts[1] if len(parts) > 2 else ""


def check_file(root, path, edges):
    faults, (layer, subsystem) = [], place(path)
    if (layer == "core") == Path(path).stem.endswith("_win"):
        faults.append(f"{path}: a file in {layer}/ must {'not ' if layer == 'core' else ''}end in _win")
    for kind, target in INCLUDE.findall(Path(root, path).read_text(encoding="utf-8", errors="replace")):
        top, other = place(target)
        # Plain code may use only headers named as the C++ standard library names its own: a bare word,
        # without folder or extension (<vector>, <cstdint>; not <windows.h>, <gtest/gtest.h>).
        if kind == "<" and layer == "core" and not re.fullmatch(r"\w+", target):
            faults.append(f"{path}: plain code includes <{target}>")
        elif kind == "<" or top == "res":
            continue
        elif top not in LAYERS:
            faults.append(f'{path}: includes "{target}", which is in no layer')
        elif LAYERS.index(top) > LAYERS.index(layer):
            faults.append(f'{path}: {layer}/ includes "{target}" of the higher layer {top}/')
        elif top == layer and other != subsystem:
            edges.setdefault((layer, subsystem), set()).add(other)
    return faults


def self_test():
    cases = [   # files of a tree, and a word every fault list must hold (None: no fault)
        ({"core/text/a.h": "#include <vector>\n",
          "shell/text/b_win.h": '#include "core/text/a.h"\n#include <windows.h>\n',
          "main/c_win.cpp": '#include "shell/text/b_win.h"\n#include "res/resource.h"\n'}, None),
        ({"core/text/a.h": "#include <windows.h>\n"}, "<windows.h>"),
        ({"shell/text/b_win.h": '#include "main/c_win.h"\n', "main/c_win.h": ""}, "higher layer"),
        ({"shell/text/a_win.h": '#include "shell/ui/b_win.h"\n', "shell/ui/b_win.h": '#include "shell/text/a_win.h"\n'},
         "circle through text"),
        ({"core/text/a_win.h": ""}, "must not end in _win"),
        ({"shell/text/a.h": ""}, "must end in _win"),
        ({"shell/text/a_win.h": '#include "text/old.h"\n'}, "in no layer"),
    ]
    failed = 0
    for files, word in cases:
        with tempfile.TemporaryDirectory() as root:
            for name, text in files.items():
                Path(root, name).parent.mkdir(parents=True, exist_ok=True)
                Path(root, name).write_text(text)
            faults = check(root)
        if faults if word is None else not any(word in x for x in faults):
            failed += 1
            print(f"self-test: {sorted(files)} expected {word or 'no fault'}, got {faults}")
    return failed


def main(argv):
    if argv[1:] == ["--self-test"]:
        return 1 if self_test() else 0
    if len(argv) != 2:
        sys.exit(__doc__)
    faults = check(argv[1])
    print("\n".join(faults + [f"layers: {len(faults)} fault(s)"]))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
