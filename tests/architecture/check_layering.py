#!/usr/bin/env python3
"""Fails on an #include that the "may use" column of ARCHITECTURE.md does not allow.

The table in ARCHITECTURE.md is the one statement of the layering: each row names a folder
under src/, the library it builds and the libraries it may use ("everything above" allows
every row above it). A file in one folder may include its own folder's headers and those of
a folder whose library it may use. A folder that holds two libraries (settings/) is taken as
one: what either may use, both may.

    check_layering.py [PROJECT_ROOT]
"""
from __future__ import annotations

import re
import sys
from pathlib import Path

ROW = re.compile(r"^\|\s*`([a-z/]+/)`\s*\|\s*`([a-z]+)`[^|]*\|.*\|\s*([^|]*)\|\s*$")
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)


def read_table(architecture: str) -> tuple[dict[str, str], dict[str, set[str]]]:
    """folder of each library, and the libraries each folder may use."""
    folder_of: dict[str, str] = {}
    may_use: dict[str, set[str]] = {}
    for line in architecture.splitlines():
        match = ROW.match(line)
        if not match:
            continue
        folder, library, uses = match.groups()
        folder_of[library] = folder
        allowed = may_use.setdefault(folder, set())
        if "everything above" in uses:
            allowed.update(folder_of)
        allowed.update(re.findall(r"`([a-z]+)`", uses))
    if not folder_of:
        raise SystemExit("ARCHITECTURE.md: no table of folders and what each may use")
    return folder_of, may_use


def folder_of_path(path: str, folders: list[str]) -> str | None:
    """The deepest folder of the table that holds path (relative to src/)."""
    for folder in sorted(folders, key=len, reverse=True):
        if path.startswith(folder):
            return folder
    return None


def violations(root: Path) -> list[str]:
    folder_of, may_use = read_table((root / "ARCHITECTURE.md").read_text(encoding="utf-8"))
    folders = list(may_use)
    found = []
    src = root / "src"
    for source in sorted(src.rglob("*")):
        if source.suffix not in (".h", ".cpp"):
            continue
        relative = source.relative_to(src).as_posix()
        own = folder_of_path(relative, folders)
        if own is None:
            continue
        allowed = {own} | {folder_of[library] for library in may_use[own] if library in folder_of}
        text = source.read_text(encoding="utf-8", errors="replace")
        for match in INCLUDE.finditer(text):
            included = match.group(1)
            target = folder_of_path(included, folders)
            if target is None or target in allowed:
                continue
            line = text.count("\n", 0, match.start()) + 1
            found.append(f"src/{relative}:{line}: includes \"{included}\", but {own} may not "
                         f"use {target} (ARCHITECTURE.md)")
    return found


def main() -> int:
    root = Path(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).resolve().parents[2])
    found = violations(root)
    for problem in found:
        print(problem)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
