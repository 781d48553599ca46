#!/usr/bin/env python3
"""Checks that the source folders form layers.

Each folder of src/ is one library on one layer. A folder may include from
itself and from folders on lower layers only, and its CMakeLists.txt must
link every library it includes from (directly or through another) and
nothing on its own layer or above. Companion programs under tools/ may use
the GUI-free layers only. Prints every offence and exits 1 when there is
one; run from anywhere.
"""
import pathlib
import re
import sys

# Bottom layer first. Folders on one line share a layer and may not include
# each other.
LAYERS = [
    ["eq"],
    ["presets"],
    ["filters"],
    ["history"],
    ["state"],
    ["platform"],
    ["protocol"],
    ["discovery"],
    ["fleet"],
    ["controls"],
    ["editor", "devices", "dialogs"],
    ["report"],
    ["connection", "commands", "overview"],
    ["app"],
]
# What tools/ may use: everything below the widgets.
GUI_FREE = {"eq", "presets", "filters", "history", "state", "platform", "protocol", "discovery",
            "fleet"}

ROOT = pathlib.Path(__file__).resolve().parent.parent
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)
LIBRARY = re.compile(r"qireq_library\(\s*qireq_(\w+)(.*?)\)\s*$", re.DOTALL | re.MULTILINE)

rank = {folder: level for level, names in enumerate(LAYERS) for folder in names}


def source_files(folder):
    return sorted(p for p in folder.rglob("*") if p.suffix in (".h", ".cpp"))


def included_folders(path):
    """(line number, folder, include text) of each project include."""
    text = path.read_text(encoding="utf-8", errors="replace")
    for match in INCLUDE.finditer(text):
        target = match.group(1)
        line = text.count("\n", 0, match.start()) + 1
        if target.startswith(".."):
            yield line, "..", target
        elif "/" in target and target.split("/", 1)[0] in rank:
            yield line, target.split("/", 1)[0], target


def declared_links(folder):
    """The qireq_ libraries a folder's CMakeLists.txt links."""
    cmake = folder / "CMakeLists.txt"
    if not cmake.exists():
        return None
    match = LIBRARY.search(cmake.read_text(encoding="utf-8"))
    if not match:
        return None
    return set(re.findall(r"\bqireq_(\w+)\b", match.group(2)))


def main():
    problems = []
    src = ROOT / "src"
    folders = sorted(p.name for p in src.iterdir() if p.is_dir())
    for name in folders:
        if name not in rank:
            problems.append(f"src/{name}: not in the layer table of scripts/check-layers.py")
    links = {name: declared_links(src / name) for name in folders if name in rank}

    def reachable(name, seen=None):
        seen = set() if seen is None else seen
        for dep in links.get(name) or ():
            if dep in rank and dep not in seen:
                seen.add(dep)
                reachable(dep, seen)
        return seen

    for name in folders:
        if name not in rank:
            continue
        level = rank[name]
        declared = links[name]
        if declared is None:
            problems.append(f"src/{name}/CMakeLists.txt: no qireq_library(qireq_{name} ...)")
            declared = set()
        for dep in sorted(declared):
            if dep in rank and rank[dep] >= level:
                problems.append(f"src/{name}/CMakeLists.txt: links qireq_{dep}, which is not below it")
        usable = reachable(name)
        for path in source_files(src / name):
            for line, target, text in included_folders(path):
                where = f"{path.relative_to(ROOT)}:{line}"
                if target == "..":
                    problems.append(f'{where}: includes "{text}" by a relative path')
                elif target != name and rank[target] >= level:
                    problems.append(f'{where}: includes "{text}" from {target}/, which is not below {name}/')
                elif target != name and target not in usable:
                    problems.append(f'{where}: includes "{text}" but src/{name}/CMakeLists.txt does not link qireq_{target}')

    tools = ROOT / "tools"
    for path in source_files(tools):
        for line, target, text in included_folders(path):
            if target == ".." or target not in GUI_FREE:
                where = f"{path.relative_to(ROOT)}:{line}"
                problems.append(f'{where}: a companion program includes "{text}" (GUI-free layers only)')

    for problem in problems:
        print(problem)
    if problems:
        print(f"check-layers: {len(problems)} offence(s)")
        return 1
    print(f"check-layers: {len(folders)} folders in {len(LAYERS)} layers, all includes point down")
    return 0


if __name__ == "__main__":
    sys.exit(main())
