#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Checks every #include "..." of our own code, resolved to its file, against the table of folder
dependencies below, and fails on any include that the table does not allow, that is ambiguous, or
that does not name its file by the path from the repository root (the one include root).

Usage: scripts/check-includes.py [--graph]   (--graph prints the dependencies found, one per line)
"""
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# Pure code with no operating system in it, each its own library.
FORMATS = ["formats/raster", "formats/pdf", "formats/zip", "formats/playlists"]
# The platform's sub-folders (adapters to the system), each its own library.
PLATFORM = ["platform/files", "platform/imaging", "platform/desktop", "platform/print", "platform/scan",
            "platform/system", "platform/network", "platform/audio"]
# What the windows and the tools may use below them.
ALL_PLATFORM = FORMATS + PLATFORM + ["platform"]
# Folders whose code is a window (or a window's control): only app/ and tools/ may use them, besides
# the windows that open one another as listed.
WINDOWS = ["app", "manipulator", "popup", "about", "sysinfo", "update", "output/print", "output/scan"]

# Each folder and the folders its code may include from (its own is always allowed).
ALLOWED = {
    "covers": [],
    "formats/raster": [],
    # covers for the cover-text outlines it writes (covers/ is plain C++ below everything).
    "formats/pdf": ["covers", "formats/raster"],
    "formats/zip": [],
    # covers for the track list that cue sheets and playlists are read into.
    "formats/playlists": ["covers"],
    # covers for the value types of what it reads (the disc label stocks).
    "platform/files": ["covers"],
    # covers for the value types it reads and writes (covers/ is plain C++ below everything).
    "platform/imaging": ["covers", "formats/raster", "platform/files"],
    # Drawing covers: the text layout over the cover values.
    "render": ["covers"],
    "platform/desktop": ["formats/raster"],
    "platform/print": ["covers", "formats/pdf", "formats/raster", "platform/files"],
    "platform/scan": ["formats/raster", "platform/files", "platform/imaging"],
    "platform/system": ["platform/files"],
    "platform/network": [],
    # covers for the track list, formats/playlists for the cue sheets and playlists whose audio it reads.
    "platform/audio": ["covers", "formats/playlists"],
    "platform": FORMATS + PLATFORM + ["covers"],
    # The saved cover sets: a file format over the covers library, the zip container and the atomic writes.
    "coverset": ["covers", "formats/zip", "formats/raster", "platform/files", "platform/imaging"],
    # The open covers: the cover kinds and rules, and the cover-set values it reads and writes.
    "document": ["covers", "coverset", "formats/raster", "platform/imaging", "platform/files"],
    "filters": ["formats/raster"],
    "jpeg": ["formats/raster"],
    "resources": [],
    "manipulator": ALL_PLATFORM + ["covers", "filters"],
    "popup": ALL_PLATFORM,
    "about": ALL_PLATFORM + ["resources"],
    "sysinfo": ALL_PLATFORM,
    "update": ALL_PLATFORM,
    "output/print": ALL_PLATFORM + ["covers", "coverset", "document", "render"],
    "output/scan": ALL_PLATFORM + ["covers", "jpeg"],
    "app": ALL_PLATFORM + ["covers", "coverset", "document", "render", "filters", "jpeg", "resources"] + WINDOWS,
    # output/print for its print jobs without a window (print_job, print_layout_settings): the tools
    # link only their library, kavi_print_job, so a window of that folder would not link.
    "tools": ALL_PLATFORM + ["covers", "coverset", "document", "render", "filters", "jpeg", "manipulator", "output/print"],
    # Tests and benchmarks may use anything they test or measure.
    "tests": None,
    "bench": None,
    "screenshots": None,
}
UNITS = sorted(ALLOWED, key=len, reverse=True)
SOURCE_DIRS = ["covers", "formats", "render", "coverset", "document", "platform", "filters", "jpeg", "manipulator", "popup", "about", "sysinfo", "update",
               "output", "app", "tools", "resources", "tests", "bench", "screenshots"]
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def unit_of(path):
    for unit in UNITS:
        if path == unit or path.startswith(unit + "/"):
            return unit
    return None


def our_files():
    files = []
    for top in SOURCE_DIRS:
        for dirpath, dirs, names in os.walk(os.path.join(ROOT, top)):
            dirs[:] = [d for d in dirs if not d.startswith("build")]
            for name in names:
                if name.endswith((".h", ".hpp", ".cpp", ".c")):
                    files.append(os.path.relpath(os.path.join(dirpath, name), ROOT))
    return sorted(files)


def main():
    files = our_files()
    by_suffix = {}
    for f in files:
        parts = f.split("/")
        for i in range(len(parts)):
            by_suffix.setdefault("/".join(parts[i:]), []).append(f)
    errors, graph = [], set()
    for f in files:
        here = unit_of(f)
        text = open(os.path.join(ROOT, f), encoding="utf-8", errors="replace").read()
        for match in INCLUDE.finditer(text):
            name = match.group(1)
            beside = os.path.normpath(os.path.join(os.path.dirname(f), name))
            if name in files:
                target = name
            elif beside in files:
                target = beside
            else:
                candidates = by_suffix.get(os.path.normpath(name), [])
                if not candidates:
                    continue  # a generated or system header
                if len(candidates) > 1:
                    errors.append(f"{f}: \"{name}\" could be any of {', '.join(candidates)}")
                    continue
                target = candidates[0]
            if name != target:
                errors.append(f"{f}: \"{name}\" is written as \"{target}\", from the repository root")
            there = unit_of(target)
            if here == there:
                continue
            graph.add((here, there))
            allowed = ALLOWED.get(here)
            if allowed is not None and there not in allowed:
                errors.append(f"{f}: includes {target}, but {here}/ may not use {there}/")
    if "--graph" in sys.argv:
        for a, b in sorted(graph):
            print(f"{a} -> {b}")
    for e in errors:
        print(e, file=sys.stderr)
    if errors:
        print(f"{len(errors)} include(s) break the folder dependencies", file=sys.stderr)
        return 1
    print(f"includes of {len(files)} files follow the folder dependencies")
    return 0


if __name__ == "__main__":
    sys.exit(main())
