#!/usr/bin/env python3
"""Checks the include lines of the program against its layers.

Each folder of app/ is a layer. A file may include headers of its own folder
and of lower layers, never of a higher layer nor of another folder on the same
level. Each library or program also links, by name, every library whose
sources define a header it includes, so that no header is reached only
through another target's links.

    scripts/check-layers.py [REPOSITORY]

Prints every offending line and ends with status 1 when there is one.
"""

import os
import re
import sys

# The layers, lowest first. Folders on one line are one level: they may use
# every level below and nothing beside or above them. This list is the one
# place where the order is written down.
LAYERS = [
    ["base"],                          # text, memory, regular expressions, atomic files, results
    ["text"],                          # the string table in both languages
    ["services"],                      # registry stand-in, system identity, data folders, instance lock
    ["settings"],                      # XML element operations, settings document, settings store, options
    ["metadata", "engine/transforms", "run"],  # readers of file contents; case and width; the preview
                                       # document and its execution, reports and undo
    ["engine"],                        # the preview run and Manager, which owns the documents
    ["ui"],                            # the windows
    ["automation"],                    # the automation object, above the windows it drives
    ["main", "cli"],                   # the start-up and the program; the command-line tool
]

# Programs outside app/ that may use the lowest layer only.
OUTSIDE_PROGRAMS = {"opener": ["base"], "shellmenu": ["base"]}

SOURCE_SUFFIXES = (".h", ".cpp")
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')
TARGET = re.compile(r'\b(add_library|add_executable)\s*\(\s*([A-Za-z0-9_.-]+)([^)]*)\)', re.S)
LINKS = re.compile(r'\btarget_link_libraries\s*\(\s*([A-Za-z0-9_.-]+)([^)]*)\)', re.S)


def level_of():
    levels = {}
    for number, folders in enumerate(LAYERS):
        for folder in folders:
            levels[folder] = number
    return levels


def folder_of(relative):
    """The layer folder of a path relative to app/: its first part, or its
    first two parts when those name a layer (engine/transforms)."""
    parts = relative.split("/")
    if len(parts) > 2 and "/".join(parts[:2]) in level_of():
        return "/".join(parts[:2])
    return parts[0] if len(parts) > 1 else ""


def sources(root):
    for directory, _, names in os.walk(root):
        for name in sorted(names):
            if name.endswith(SOURCE_SUFFIXES):
                yield os.path.join(directory, name)


def includes(path):
    with open(path, encoding="utf-8", errors="replace") as f:
        for number, line in enumerate(f, 1):
            match = INCLUDE.match(line)
            if match:
                yield number, match.group(1)


def check_layers(repo, problems):
    levels = level_of()
    app = os.path.join(repo, "app")
    for path in sources(app):
        relative = os.path.relpath(path, app)
        own = folder_of(relative)
        if own not in levels:
            problems.append(f"app/{relative}: folder app/{own} has no layer; add it to LAYERS in {sys.argv[0]}")
            continue
        for number, header in includes(path):
            other = folder_of(header)
            if other == own or not other:
                continue
            if other not in levels:
                continue  # not a header of the program (a generated or third-party one)
            if levels[other] >= levels[own]:
                where = "beside" if levels[other] == levels[own] else "above"
                problems.append(f"app/{relative}:{number}: includes {header}: app/{other} is {where} app/{own}")
    for program, allowed in OUTSIDE_PROGRAMS.items():
        for path in sources(os.path.join(repo, program)):
            for number, header in includes(path):
                other = folder_of(header)
                if other in levels and other not in allowed:
                    relative = os.path.relpath(path, repo)
                    problems.append(f"{relative}:{number}: includes {header}: {program}/ may use {', '.join(allowed)} only")


def words(text):
    text = re.sub(r"#[^\n]*", "", text)
    return text.split()


def read_targets(repo):
    """Targets of the CMake files under app/: name -> (folder, sources, linked names)."""
    targets = {}
    app = os.path.join(repo, "app")
    for directory, _, names in os.walk(app):
        if "CMakeLists.txt" not in names:
            continue
        with open(os.path.join(directory, "CMakeLists.txt"), encoding="utf-8") as f:
            text = f.read()
        for match in TARGET.finditer(text):
            files = [os.path.normpath(os.path.join(directory, w)) for w in words(match.group(3))
                     if w.endswith(".cpp") and "$" not in w]
            targets[match.group(2)] = {"sources": files, "links": set()}
        for match in LINKS.finditer(text):
            if match.group(1) in targets:
                targets[match.group(1)]["links"].update(words(match.group(2)))
    return targets


def check_links(repo, problems):
    targets = read_targets(repo)
    app = os.path.join(repo, "app")
    owner = {}  # header path -> the target that compiles its .cpp
    for name, target in targets.items():
        for source in target["sources"]:
            owner[source[: -len(".cpp")] + ".h"] = name
    for name, target in targets.items():
        files = list(target["sources"])
        files += [s[: -len(".cpp")] + ".h" for s in target["sources"] if os.path.exists(s[: -len(".cpp")] + ".h")]
        for path in files:
            for number, header in includes(path):
                defining = owner.get(os.path.normpath(os.path.join(app, header)))
                if defining and defining != name and defining not in target["links"]:
                    relative = os.path.relpath(path, repo)
                    problems.append(f"{relative}:{number}: includes {header} but {name} does not link {defining}")


def main():
    repo = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    problems = []
    check_layers(repo, problems)
    check_links(repo, problems)
    for problem in problems:
        print(problem)
    if problems:
        print(f"{len(problems)} include line(s) break the layers; see LAYERS in scripts/check-layers.py")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
