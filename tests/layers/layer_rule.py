#!/usr/bin/env python3
"""The include rule of docs/architecture.md, checked on every #include of src/.

    layer_rule.py SRC_FOLDER     prints each broken include as file:line and exits 1
    layer_rule.py --self-test    plants one include of each forbidden kind and exits 1
                                 unless every one of them is reported

The rule is read from the table under "The include rule" in docs/architecture.md, so the
page and this check cannot drift apart. A row names folders (each a layer of its own: a
subfolder the table names is not part of its parent's layer) and what they may include
besides their own headers: folders (that folder's layer), single headers, "everything" or
"nothing". No file of src/ includes anything of tests/. <windows.h> and the other Windows
headers are included only in platform/win32/ and views/win32/; FLTK and X11 only in
views/fltk/.
"""
import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
TABLE_HEADER = "| folder | may include besides its own headers |"
ARCHITECTURE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "docs",
                            "architecture.md")

# Files the build writes, included by the program.
GENERATED = {"app/version.h", "belvosta_version.h"}

WINDOWS_HEADERS = {
    "windows.h", "winsock2.h", "ws2tcpip.h", "shellapi.h", "shlobj.h", "commctrl.h",
    "lmcons.h", "winternl.h", "objbase.h", "ole2.h", "imagehlp.h", "dbghelp.h",
    "uxtheme.h", "windowsx.h", "winuser.h", "wingdi.h", "winbase.h", "winreg.h",
}
WINDOWS_LAYERS = {"platform/win32/", "views/win32/"}
FLTK_LAYER = "views/fltk/"


def read_rule(text):
    """{layer folder: set of folders and headers it may include, or None for everything}."""
    rule = {}
    lines = text.splitlines()
    if TABLE_HEADER not in lines:
        raise SystemExit(f"no include table ({TABLE_HEADER}) in docs/architecture.md")
    for line in lines[lines.index(TABLE_HEADER) + 2:]:
        if not line.startswith("|"):
            break
        cells = [c.strip() for c in line.strip().strip("|").split("|")]
        folders = re.findall(r"`([^`]+)`", cells[0])
        allowed = None if cells[1].startswith("everything") else set(
            re.findall(r"`([^`]+)`", cells[1]))
        for folder in folders:
            rule[folder] = allowed
    return rule


def layer_of(path, rule):
    """The layer of a path relative to src/: the deepest folder of the table holding it."""
    folder = os.path.dirname(path) + "/"
    while folder not in rule and folder != "/":
        folder = os.path.dirname(folder.rstrip("/")) + "/"
    return folder if folder in rule else None


def may_include(layer, target, rule):
    allowed = rule[layer]
    if allowed is None:
        return True
    target_layer = layer_of(target, rule)
    return target_layer == layer or target in allowed or target_layer in allowed


def check(files, rule):
    """files: {path relative to src/: text}. Returns the broken includes as messages."""
    errors = []
    for path in sorted(files):
        layer = layer_of(path, rule)
        if layer is None:
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
                if base in WINDOWS_HEADERS and layer not in WINDOWS_LAYERS:
                    errors.append(f"{where}: <{name}> outside platform/win32/ and views/win32/")
                elif (name.startswith("FL/") or name.startswith("X11/")) and layer != FLTK_LAYER:
                    errors.append(f"{where}: <{name}> outside views/fltk/")
                continue
            target = name
            if "/" not in name:
                target = os.path.normpath(os.path.join(os.path.dirname(path), name))
            if target in GENERATED or name in GENERATED:
                if rule[layer] is None:
                    continue
                errors.append(f"{where}: {layer} includes {name}, which belongs to app/")
                continue
            if target not in files:
                errors.append(f"{where}: includes {name}, which is not a file of src/ "
                              "(tests/ and other folders are never included)")
                continue
            if not may_include(layer, target, rule):
                errors.append(f"{where}: {layer} may not include {target} "
                              f"({layer_of(target, rule)} is not below it)")
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


def self_test(rule):
    """Every kind of broken include is reported, and a sound tree passes."""
    sound = {
        "platform/kernel32.h": "",
        "platform/system_only.h": "",
        "platform/posix/tree_search.cpp": '#include "platform/kernel32.h"\n',
        "platform/win32/kernel_ops.cpp": "#include <windows.h>\n",
        "ui/forms.h": '#include "platform/kernel32.h"\n',
        "ui/view_side.h": '#include "ui/forms.h"\n',
        "views/native.h": '#include "platform/system_only.h"\n',
        "views/fltk/form_view.cpp": '#include <FL/Fl.H>\n#include "ui/view_side.h"\n'
                                    '#include "platform/posix/tree_search.cpp"\n'
                                    '#include "views/native.h"\n',
        "views/win32/form_view.cpp": '#include "platform/win32/kernel_ops.cpp"\n'
                                     '#include "ui/view_side.h"\n#include <windows.h>\n',
        "pictures/pictures.h": '#include "ui/forms.h"\n',
        "checks/sucher1.h": '#include "pictures/pictures.h"\n#include "platform/kernel32.h"\n',
        "folders/form_s.h": '#include "ui/forms.h"\n',
        "app/main.cpp": '#include "checks/sucher1.h"\n#include "ui/view_side.h"\n'
                        '#include "views/native.h"\n#include "app/version.h"\n',
    }
    planted = [
        ("ui/forms.h", '#include "checks/sucher1.h"\n'),                  # upward
        ("ui/forms.h", '#include "views/fltk/form_view.cpp"\n'),          # model to its view
        ("checks/sucher1.h", '#include "folders/form_s.h"\n'),            # subsystem to subsystem
        ("checks/sucher1.h", '#include "views/native.h"\n'),              # subsystem to a view
        ("folders/form_s.h", '#include "ui/view_side.h"\n'),              # the views' header
        ("pictures/pictures.h", '#include "platform/posix/tree_search.cpp"\n'),  # a backend
        ("platform/kernel32.h", '#include "ui/forms.h"\n'),               # platform to ui
        ("platform/kernel32.h", '#include "views/native.h"\n'),           # platform to views
        ("platform/win32/kernel_ops.cpp", '#include "views/win32/form_view.cpp"\n'),  # to a view
        ("views/native.h", '#include "views/fltk/form_view.cpp"\n'),      # start-up to a view
        ("views/fltk/form_view.cpp", '#include "views/win32/form_view.cpp"\n'),  # view to view
        ("views/win32/form_view.cpp", '#include "platform/posix/tree_search.cpp"\n'),
        ("views/win32/form_view.cpp", '#include "checks/sucher1.h"\n'),  # view to a subsystem
        ("checks/extra.cpp", '#include "fake/fake_system.h"\n'),          # tests/
        ("computer/extra.cpp", "#include <Windows.h>\n"),
        ("app/extra.cpp", "#include <FL/Fl.H>\n"),
        ("views/win32/extra.cpp", "#include <X11/Xlib.h>\n"),
        ("ui/extra.cpp", '#include "app/version.h"\n'),
    ]
    failures = []
    if check(sound, rule):
        failures.append("a sound tree is reported: " + "; ".join(check(sound, rule)))
    for path, text in planted:
        tree = dict(sound)
        tree[path] = tree.get(path, "") + text
        if not any(e.startswith(f"src/{path}:") for e in check(tree, rule)):
            failures.append(f"not reported: {text.strip()} in src/{path}")
    for failure in failures:
        print(failure)
    print(f"self-test: {len(planted)} planted includes, {len(failures)} failures")
    return 1 if failures else 0


def main(argv):
    with open(ARCHITECTURE, encoding="utf-8") as f:
        rule = read_rule(f.read())
    if argv[1:] == ["--self-test"]:
        return self_test(rule)
    if len(argv) != 2:
        print(__doc__)
        return 2
    errors = check(read_tree(argv[1]), rule)
    for error in errors:
        print(error)
    if errors:
        print(f"{len(errors)} includes break the layer rule of docs/architecture.md")
        return 1
    print("every include of src/ keeps the layer rule")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
