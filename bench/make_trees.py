#!/usr/bin/env python3
"""Builds the benchmark trees once under a folder (default /tmp/belvosta-bench) and leaves
them for later runs; a tree that is complete (marked by a file beside it) is not built again.

  wide1m     1,000,000 files: 100 groups x 100 folders x 100 files
  chain16k   a chain of 16,000 one-letter folders
  chain2900  60,000 empty folders at the bottom of a 2,900-level chain
  chain3000  a chain of 3,000 one-letter folders (for the Windows build under Wine)
  wide100k   100,000 files: 50 groups x 100 folders x 20 files

Deep chains are made relative to the open parent folder, as their paths pass the system's
path limit.
"""
import os
import sys

EXTENSIONS = [".dll", ".DLL", ".ocx", ".tlb", ".exe"]


def done(base, name):
    return os.path.exists(os.path.join(base, name + ".done"))


def mark(base, name):
    open(os.path.join(base, name + ".done"), "w").close()


def wide(base, name, groups, folders, files):
    if done(base, name):
        return
    root = os.path.join(base, name)
    os.makedirs(root, exist_ok=True)
    for g in range(groups):
        group = os.path.join(root, "Group%d" % g)
        os.makedirs(group, exist_ok=True)
        for f in range(folders):
            number = g * folders + f
            folder = os.path.join(group, "folder%d" % number)
            os.makedirs(folder, exist_ok=True)
            fd = os.open(folder, os.O_RDONLY | os.O_DIRECTORY)
            try:
                for i in range(files):
                    n = "Module%d_%d%s" % (number, i, EXTENSIONS[(number + i) % 5])
                    os.close(os.open(n, os.O_CREAT | os.O_WRONLY, 0o644, dir_fd=fd))
            finally:
                os.close(fd)
    mark(base, name)


def chain(base, name, levels, bottom_folders):
    if done(base, name):
        return
    root = os.path.join(base, name)
    os.makedirs(root, exist_ok=True)
    fd = os.open(root, os.O_RDONLY | os.O_DIRECTORY)
    for _ in range(levels):
        try:
            os.mkdir("d", dir_fd=fd)
        except FileExistsError:
            pass
        child = os.open("d", os.O_RDONLY | os.O_DIRECTORY, dir_fd=fd)
        os.close(fd)
        fd = child
    for i in range(bottom_folders):
        try:
            os.mkdir("f%d" % i, dir_fd=fd)
        except FileExistsError:
            pass
    os.close(fd)
    mark(base, name)


def main():
    base = sys.argv[1] if len(sys.argv) > 1 else "/tmp/belvosta-bench"
    which = sys.argv[2:] or ["chain16k", "chain2900", "wide1m"]
    os.makedirs(base, exist_ok=True)
    for name in which:
        if name == "chain16k":
            chain(base, name, 16000, 0)
        elif name == "chain2900":
            chain(base, name, 2900, 60000)
        elif name == "chain3000":
            chain(base, name, 3000, 0)
        elif name == "wide100k":
            wide(base, name, 50, 100, 20)
        elif name == "wide1m":
            wide(base, name, 100, 100, 100)
        else:
            sys.exit("unknown tree: " + name)
        print("ready:", os.path.join(base, name), flush=True)


if __name__ == "__main__":
    main()
