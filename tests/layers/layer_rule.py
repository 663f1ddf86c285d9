#!/usr/bin/env python3
"""The include rule of docs/architecture.md, checked on every #include of src/.

    layer_rule.py SRC_FOLDER     prints each broken include as file:line and exits 1
    layer_rule.py --self-test    plants one include of each forbidden kind and exits 1
                                 unless every one of them is reported

A folder may include its own headers and those of the folders below it:

    app/                          everything in src/
    checks/ folders/ computer/    pictures/, ui/forms.h, the top of platform/ (never one
                                  another, never ui/view_side.h)
    pictures/                     ui/forms.h, the top of platform/
    ui/                           the top of platform/
    platform/ (its top)           the top of platform/
    platform/posix/, win32/       the top of platform/ (operating-system halves)
    platform/fltk/                posix/, the top of platform/, ui/ (the Linux view)
    platform/win32_view/          win32/, the top of platform/, ui/ (the Windows view)

No file of src/ includes anything of tests/. <windows.h> and the other Windows headers
are included only in platform/win32/ and platform/win32_view/; FLTK and X11 only in
platform/fltk/.
"""
import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')

SUBSYSTEMS = {"checks", "folders", "computer"}
TOP = "platform"  # the top of platform/: its headers outside the backend folders
HALVES = {"posix", "fltk", "win32", "win32_view"}

# What each layer may include, besides its own folder: layer names as in layer_of().
ALLOWED = {
    "app": None,  # everything
    "checks": {"pictures", "ui/forms.h", TOP},
    "folders": {"pictures", "ui/forms.h", TOP},
    "computer": {"pictures", "ui/forms.h", TOP},
    "pictures": {"ui/forms.h", TOP},
    "ui": {TOP},
    TOP: set(),
    "platform/posix": {TOP},
    "platform/win32": {TOP},
    "platform/fltk": {"platform/posix", TOP, "ui"},
    "platform/win32_view": {"platform/win32", TOP, "ui"},
}

# Files the build writes, included by the program.
GENERATED = {"app/version.h", "belvosta_version.h"}

WINDOWS_HEADERS = {
    "windows.h", "winsock2.h", "ws2tcpip.h", "shellapi.h", "shlobj.h", "commctrl.h",
    "lmcons.h", "winternl.h", "objbase.h", "ole2.h", "imagehlp.h", "dbghelp.h",
    "uxtheme.h", "windowsx.h", "winuser.h", "wingdi.h", "winbase.h", "winreg.h",
}
WINDOWS_HALVES = {"platform/win32", "platform/win32_view"}


def layer_of(path):
    """The layer of a path relative to src/ ("checks/x.h" -> "checks")."""
    parts = path.split("/")
    if parts[0] == "platform":
        if len(parts) > 2 and parts[1] in HALVES:
            return "platform/" + parts[1]
        return TOP
    return parts[0] if len(parts) > 1 else None


def may_include(layer, target):
    if layer == "app":
        return True
    target_layer = layer_of(target)
    if target_layer == layer:
        return True
    allowed = ALLOWED[layer]
    return target in allowed or target_layer in allowed


def check(files):
    """files: {path relative to src/: text}. Returns the broken includes as messages."""
    errors = []
    for path in sorted(files):
        layer = layer_of(path)
        if layer not in ALLOWED:
            errors.append(f"src/{path}:1: not in any layer of docs/architecture.md")
            continue
        for number, line in enumerate(files[path].splitlines(), 1):
            match = INCLUDE.match(line)
            if not match:
                continue
            kind, name = match.groups()
            where = f"src/{path}:{number}"
            if kind == "<":
                base = name.lower()
                if base in WINDOWS_HEADERS and layer not in WINDOWS_HALVES:
                    errors.append(f"{where}: <{name}> outside platform/win32/ and win32_view/")
                elif (name.startswith("FL/") or name.startswith("X11/")) and layer != "platform/fltk":
                    errors.append(f"{where}: <{name}> outside platform/fltk/")
                continue
            target = name
            if "/" not in name:
                target = os.path.normpath(os.path.join(os.path.dirname(path), name))
            if target in GENERATED or name in GENERATED:
                if layer == "app":
                    continue
                errors.append(f"{where}: {layer}/ includes {name}, which belongs to app/")
                continue
            if target not in files:
                errors.append(f"{where}: includes {name}, which is not a file of src/ "
                              "(tests/ and other folders are never included)")
                continue
            if not may_include(layer, target):
                errors.append(f"{where}: {layer}/ may not include {target} "
                              f"({layer_of(target)}/ is not below it)")
    return errors


def read_tree(root):
    files = {}
    for folder, _, names in os.walk(root):
        for name in names:
            if name.endswith((".h", ".cpp", ".c", ".rc")):
                full = os.path.join(folder, name)
                relative = os.path.relpath(full, root).replace(os.sep, "/")
                with open(full, encoding="utf-8", errors="replace") as f:
                    files[relative] = f.read()
    return files


def self_test():
    """Every kind of broken include is reported, and a sound tree passes."""
    sound = {
        "platform/kernel32.h": "",
        "platform/posix/tree_search.cpp": '#include "platform/kernel32.h"\n',
        "platform/fltk/form_view.cpp": '#include <FL/Fl.H>\n#include "ui/view_side.h"\n'
                                       '#include "platform/posix/tree_search.cpp"\n',
        "platform/win32/kernel_ops.cpp": "#include <windows.h>\n",
        "platform/win32_view/form_view.cpp": '#include "platform/win32/kernel_ops.cpp"\n'
                                             '#include "ui/view_side.h"\n',
        "ui/forms.h": '#include "platform/kernel32.h"\n',
        "ui/view_side.h": '#include "ui/forms.h"\n',
        "pictures/pictures.h": '#include "ui/forms.h"\n',
        "checks/sucher1.h": '#include "pictures/pictures.h"\n#include "platform/kernel32.h"\n',
        "folders/form_s.h": '#include "ui/forms.h"\n',
        "app/main.cpp": '#include "checks/sucher1.h"\n#include "ui/view_side.h"\n'
                        '#include "app/version.h"\n',
    }
    planted = {
        "ui/forms.h": '#include "checks/sucher1.h"\n',                  # upward
        "checks/sucher1.h": '#include "folders/form_s.h"\n',            # subsystem to subsystem
        "folders/form_s.h": '#include "ui/view_side.h"\n',              # the views' header
        "pictures/pictures.h": '#include "platform/posix/tree_search.cpp"\n',  # a backend
        "platform/kernel32.h": '#include "ui/forms.h"\n',               # platform to ui
        "platform/posix/tree_search.cpp": '#include "platform/fltk/form_view.cpp"\n',
        "platform/win32/kernel_ops.cpp": '#include "platform/win32_view/form_view.cpp"\n',
        "checks/extra.cpp": '#include "fake/fake_system.h"\n',          # tests/
        "computer/extra.cpp": "#include <Windows.h>\n",
        "app/extra.cpp": "#include <FL/Fl.H>\n",
        "ui/extra.cpp": '#include "app/version.h"\n',
    }
    failures = []
    if check(sound):
        failures.append("a sound tree is reported: " + "; ".join(check(sound)))
    for path, text in planted.items():
        tree = dict(sound)
        tree[path] = tree.get(path, "") + text
        if not any(e.startswith(f"src/{path}:") for e in check(tree)):
            failures.append(f"not reported: {text.strip()} in src/{path}")
    for failure in failures:
        print(failure)
    print(f"self-test: {len(planted)} planted includes, {len(failures)} failures")
    return 1 if failures else 0


def main(argv):
    if argv[1:] == ["--self-test"]:
        return self_test()
    if len(argv) != 2:
        print(__doc__)
        return 2
    errors = check(read_tree(argv[1]))
    for error in errors:
        print(error)
    if errors:
        print(f"{len(errors)} includes break the layer rule of docs/architecture.md")
        return 1
    print("every include of src/ keeps the layer rule")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
