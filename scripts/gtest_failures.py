#!/usr/bin/env python3
"""Runs a GoogleTest program to its end and prints the names of its failing tests.

    gtest_failures.py [--first] [--timeout S] LABEL LOG -- COMMAND [ARGUMENTS...]

Prints "LABEL:Suite.Name" for each failing test, one a line, sorted, and appends the
program's output to LOG. A test that ends the program (a crash, or the time limit of
tests/watchdog.cpp, which exits at once) is named with "(ended-the-run)" and the program is
started again without it, so that the tests after it still run; --first stops after the
first run instead. A program that fails without naming any test (it does not start, it hangs
past --timeout seconds) is reported as "LABEL:(no-test-named)". Exit status 0 when no test
failed, 1 otherwise.
"""
import re
import subprocess
import sys

RUN = re.compile(r"^\[ RUN      \] (\S+)")
ENDED = re.compile(r"^\[ +(?:OK|FAILED|SKIPPED) +\] (\S+?)(?: \(\d+ ms\))?$")
FAILED = re.compile(r"^\[  FAILED  \] (\S+?)(?:, where .*)?(?: \(\d+ ms\))?$")
FINISHED = re.compile(r"^\[==========\] \d+ tests? from \d+ test suites? ran")
MOST_RESTARTS = 20


def run_once(command, excluded, timeout, log):
    """Returns (the failing tests, the test that ended the run or None, whether it finished)."""
    arguments = list(command)
    if excluded:
        arguments.append("--gtest_filter=-" + ":".join(sorted(excluded)))
    try:
        result = subprocess.run(arguments, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                                timeout=timeout, check=False)
        output, status = result.stdout.decode("utf-8", "replace"), result.returncode
    except subprocess.TimeoutExpired as expired:
        output, status = (expired.stdout or b"").decode("utf-8", "replace"), None
    log.write(output)
    failed, running, finished = set(), None, False
    for line in output.splitlines():
        if FINISHED.match(line):
            finished = True
        if match := RUN.match(line):
            running = match.group(1)
        elif match := ENDED.match(line):
            if match.group(1) == running:
                running = None
        if match := FAILED.match(line):
            if "." in match.group(1):
                failed.add(match.group(1))
    if finished and status == 0:
        failed.clear()  # a passing program: a line that only looks like a failure
    return failed, (running if not finished else None), finished, status


def main():
    args = sys.argv[1:]
    first = timeout = None
    while args and args[0].startswith("--") and args[0] != "--":
        if args[0] == "--first":
            first, args = True, args[1:]
        elif args[0] == "--timeout":
            timeout, args = float(args[1]), args[2:]
        else:
            sys.exit(f"unknown option {args[0]}")
    if len(args) < 4 or args[2] != "--":
        sys.exit(__doc__)
    label, log_path, command = args[0], args[1], args[3:]
    names, excluded = set(), set()
    with open(log_path, "a", encoding="utf-8") as log:
        for _ in range(MOST_RESTARTS):
            failed, ended_by, finished, status = run_once(command, excluded, timeout, log)
            names |= failed
            if finished and status != 0 and not failed:
                names.add("(failed-after-its-tests)")
            if finished or first:
                if not finished and not failed:
                    names.add(f"{ended_by}(ended-the-run)" if ended_by else "(no-test-named)")
                break
            if ended_by is None:
                names.add("(no-test-named)")
                break
            names.add(f"{ended_by}(ended-the-run)")
            excluded.add(ended_by)
        else:
            names.add("(too-many-restarts)")
    for name in sorted(names):
        print(f"{label}:{name}")
    return 1 if names else 0


if __name__ == "__main__":
    sys.exit(main())
