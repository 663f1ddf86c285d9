#!/usr/bin/env python3
"""Compares two attribution tables of scripts/mutate.sh --table, or sums up one.

    mutate_compare.py OLD_TABLE NEW_TABLE   the faults no longer caught, those whose
                                            catching tests changed, those newly caught
    mutate_compare.py --summary TABLE [TESTS]  faults planted, killed, killed by exactly
                                            one test, survivors, per folder, the tests that
                                            alone catch a fault, and the tests of the file
                                            TESTS (names as in the table, one a line) that
                                            catch none

A fault is known by its key, "file: why", so renumbering the list changes nothing. A fault
only one of the tables holds is listed (not planted, or new), not counted as a change.
Comparing exits with status 1 when a fault the old table caught is no longer caught.
"""
import collections
import os
import sys


def read(path):
    faults = {}
    with open(path, encoding="utf-8") as table:
        for line in table:
            line = line.rstrip("\n")
            if not line or line.startswith("#"):
                continue
            number, key, result = line.split("\t", 2)
            faults[key] = (int(number), result)
    return faults


def caught_by(result):
    if result == "survived" or result.startswith("error:"):
        return None
    return set(result.split())


def compare(old_path, new_path):
    old, new = read(old_path), read(new_path)
    lost, changed, gained = [], [], []
    for key, (number, result) in sorted(new.items(), key=lambda item: item[1][0]):
        if key not in old:
            continue
        before, after = caught_by(old[key][1]), caught_by(result)
        if before and not after:
            lost.append(f"{number:3d} {key}\n      was caught by: {' '.join(sorted(before))}"
                        + ("" if result == "survived" else f"\n      now: {result}"))
        elif after and not before:
            gained.append(f"{number:3d} {key}\n      now caught by: {' '.join(sorted(after))}")
        elif before and after and before != after:
            lines = [f"{number:3d} {key}"]
            if before - after:
                lines.append(f"      no longer: {' '.join(sorted(before - after))}")
            if after - before:
                lines.append(f"      now also:  {' '.join(sorted(after - before))}")
            changed.append("\n".join(lines))
    only_old = [f"{n:3d} {k}" for k, (n, _) in sorted(old.items(), key=lambda i: i[1][0])
                if k not in new]
    only_new = [f"{n:3d} {k}" for k, (n, _) in sorted(new.items(), key=lambda i: i[1][0])
                if k not in old]
    for title, entries in (("no longer caught", lost), ("caught by other tests", changed),
                           ("caught now, not before", gained),
                           (f"not in {os.path.basename(new_path)} (not planted this time)",
                            only_old),
                           (f"not in {os.path.basename(old_path)} (new faults)", only_new)):
        print(f"=== {title}: {len(entries)}")
        for entry in entries:
            print(entry)
    return 1 if lost else 0


def summary(path, tests_path=None):
    faults = read(path)
    counts = collections.defaultdict(collections.Counter)
    sole = collections.defaultdict(list)
    catches = collections.Counter()
    for key, (number, result) in faults.items():
        folder = os.path.dirname(key.split(": ", 1)[0])
        tests = caught_by(result)
        for group in (folder, "all"):
            counts[group]["planted" if not result.startswith("error:") else "errors"] += 1
            if tests:
                counts[group]["killed"] += 1
                if len(tests) == 1:
                    counts[group]["by one test"] += 1
            elif result == "survived":
                counts[group]["survived"] += 1
        for test in tests or ():
            catches[test] += 1
        if tests and len(tests) == 1:
            sole[next(iter(tests))].append(number)
    print(f"{'folder':28} planted killed by-one survived")
    for group in sorted(counts, key=lambda g: (g == "all", g)):
        c = counts[group]
        print(f"{group:28} {c['planted']:7d} {c['killed']:6d} {c['by one test']:6d} "
              f"{c['survived']:8d}" + (f"  ({c['errors']} errors)" if c["errors"] else ""))
    print(f"\ntests that catch at least one fault: {len(catches)}")
    print("tests that alone catch a fault (the fault numbers):")
    for test in sorted(sole):
        print(f"  {test}: {' '.join(str(n) for n in sorted(sole[test]))}")
    if tests_path:
        with open(tests_path, encoding="utf-8") as listed:
            idle = sorted({t.strip() for t in listed if t.strip()} - set(catches))
        print(f"tests that catch no fault of the table: {len(idle)}")
        for test in idle:
            print(f"  {test}")
    return 0


def main():
    args = sys.argv[1:]
    if len(args) in (2, 3) and args[0] == "--summary":
        return summary(*args[1:])
    if len(args) == 2:
        return compare(args[0], args[1])
    sys.exit(__doc__)


if __name__ == "__main__":
    sys.exit(main())
