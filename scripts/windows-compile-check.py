#!/usr/bin/env python3
"""Compiles every source file of the Windows build with MinGW-w64, for
syntax and types only, against this machine's Qt 6 headers.

There is no Qt for Windows here, so nothing is linked: the check catches
Linux-only calls and headers in shared code and type errors in the Windows
files, which the Linux builds never compile.

The files are those of the Linux build (compile_commands.json of a
configure without tests and benchmarks in the build directory, by default
build/windows-check), with the sources of each `if(WIN32) ... else() ...
endif()` of a CMakeLists.txt swapped: the Windows ones in, the others out.
Folders whose CMakeLists.txt returns when NOT UNIX (qireq-sim) are left
out, as the Windows build leaves them out. Prints the errors of every file
that fails and exits 1 when one does.

    python3 scripts/windows-compile-check.py [build-dir] [-j N]
"""
import argparse
import concurrent.futures
import json
import os
import pathlib
import re
import shlex
import subprocess
import sys
import tempfile
import time

ROOT = pathlib.Path(__file__).resolve().parent.parent
COMPILER = "x86_64-w64-mingw32-g++-posix"

# What Qt's CMake files give every Windows target (Qt6::Platform): wide-char
# Windows API, and the secure CRT functions MinGW hides without the define.
# _WIN32, WIN64 and __MINGW32__ come from the compiler, so Qt's headers see
# Q_OS_WIN and take their Windows branches.
WINDOWS_DEFINES = ["-DUNICODE", "-D_UNICODE", "-DWIN32", "-DMINGW_HAS_SECURE_API=1"]

# Nearly every file includes QString and QObject, whose headers (with the
# standard library under them) are most of each compile: they are
# precompiled once and included first. A file that includes them itself
# then finds them done.
PRECOMPILED = "#include <QObject>\n#include <QString>\n"

WIN32_BLOCK = re.compile(r"^\s*if\(WIN32\)(.*?)^\s*else\(\)(.*?)^\s*endif\(\)", re.DOTALL | re.MULTILINE)
UNIX_ONLY = re.compile(r"if\(NOT UNIX\)\s*return\(\)")
SOURCE = re.compile(r"[\w./-]+\.cpp\b")


def platform_sources():
    """Windows-only and other-only sources, by the CMakeLists.txt that lists
    them, and the folders the Windows build skips."""
    windows, others, skipped = set(), set(), set()
    for lists in sorted([*ROOT.glob("src/**/CMakeLists.txt"), *ROOT.glob("tools/**/CMakeLists.txt")]):
        text = lists.read_text()
        if UNIX_ONLY.search(text):
            skipped.add(lists.parent)
        for block in WIN32_BLOCK.finditer(text):
            windows |= {lists.parent / name for name in SOURCE.findall(block.group(1))}
            others |= {lists.parent / name for name in SOURCE.findall(block.group(2))}
    return windows, others, skipped


def configure(build):
    subprocess.run(["cmake", "-S", str(ROOT), "-B", str(build), "-G", "Ninja",
                    "-DQIREQ_BUILD_TESTS=OFF", "-DQIREQ_BUILD_BENCH=OFF"],
                   check=True, stdout=subprocess.DEVNULL)
    return json.loads((build / "compile_commands.json").read_text())


def include_and_define_flags(command):
    """The include directories, defines and language standard of a Linux
    compile command; its warnings, optimisation and output go, and so does
    Qt's Linux mkspec folder (qplatformdefs.h for Linux)."""
    words = shlex.split(command)
    kept, i = [], 1
    while i < len(words):
        word = words[i]
        if word in ("-I", "-isystem", "-D"):
            word += words[i + 1]
            i += 1
        if word.startswith(("-I", "-isystem", "-D", "-std=")) and "/mkspecs/" not in word:
            kept.append(word)
        i += 1
    return kept


def files_to_compile(build):
    windows, others, skipped = platform_sources()
    flags_by_folder, files, seen = {}, {}, set()
    for entry in configure(build):
        path = pathlib.Path(entry["file"]).resolve()
        seen.add(path)
        if build in path.parents or not path.is_relative_to(ROOT):
            continue  # moc's generated files: the Windows build makes its own
        if any(folder in path.parents for folder in skipped):
            continue
        flags = include_and_define_flags(entry["command"])
        flags_by_folder.setdefault(path.parent, flags)
        if path not in others:
            files[path] = flags
    if others - seen:  # the if(WIN32) blocks were misread
        sys.exit(f"windows compile check: not in the Linux build: {sorted(map(str, others - seen))}")
    for path in sorted(windows):
        if path.parent not in flags_by_folder:
            sys.exit(f"windows compile check: no flags for {path} (its folder is not in the Linux build)")
        files[path] = flags_by_folder[path.parent]
    return files


def precompile(files, scratch):
    """The precompiled header, built with the defines every file has (GCC
    takes it only where they match), and the flags that include it."""
    flags = [f for f in next(iter(files.values())) if not f.startswith("-D")]
    flags += [f for f in set.intersection(*map(set, files.values())) if f.startswith("-D")]
    header = pathlib.Path(scratch) / "precompiled.h"
    header.write_text(PRECOMPILED)
    subprocess.run([COMPILER, "-x", "c++-header", *WINDOWS_DEFINES, *flags, str(header),
                    "-o", f"{header}.gch"], check=True)
    return ["-include", str(header), "-Winvalid-pch"]


def compile_one(path, flags):
    command = [COMPILER, "-fsyntax-only", *WINDOWS_DEFINES, *flags, str(path)]
    result = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    return path, result.returncode, result.stdout


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("build", nargs="?", default="build/windows-check")
    parser.add_argument("-j", "--jobs", type=int, default=os.cpu_count() or 1)
    parser.add_argument("--list", action="store_true", help="print the files checked")
    args = parser.parse_args()
    started = time.monotonic()
    files = files_to_compile((ROOT / args.build).resolve())
    if args.list:
        print("\n".join(str(path.relative_to(ROOT)) for path in sorted(files)))

    failed = 0
    with tempfile.TemporaryDirectory() as scratch:
        first = precompile(files, scratch)
        with concurrent.futures.ThreadPoolExecutor(args.jobs) as pool:
            jobs = [pool.submit(compile_one, path, first + flags) for path, flags in sorted(files.items())]
            for job in jobs:
                path, code, output = job.result()
                if code != 0 or output:
                    print(f"{'FAILED' if code else 'WARNED'} {path.relative_to(ROOT)}\n{output}", end="")
                failed += code != 0
    print(f"windows compile check: {len(files)} files, {failed} failed, "
          f"{time.monotonic() - started:.0f} s")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
