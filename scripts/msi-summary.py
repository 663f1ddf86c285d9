#!/usr/bin/python3
"""Sets the summary information of a Windows Installer package that wixl leaves to chance.

wixl (msitools 0.101) takes the package code at random and the creation and last-saved
times from the clock, so the same sources would give a new package each time. This writes
the given package code, the times of SOURCE_DATE_EPOCH and the package's language, and
leaves the rest of the package as it is.

    scripts/msi-summary.py PACKAGE.msi PACKAGE-CODE LANGUAGE-ID
"""
import os
import sys

import gi

gi.require_version("Libmsi", "1.0")
from gi.repository import Libmsi  # noqa: E402

# Seconds from 1601-01-01 (FILETIME's start) to 1970-01-01, and FILETIME's ticks a second.
FILETIME_EPOCH_OFFSET = 11644473600
FILETIME_TICKS = 10_000_000


def main(argv):
    if len(argv) != 4:
        print(__doc__.strip().splitlines()[-1].strip(), file=sys.stderr)
        return 2
    package, package_code, language = argv[1:]
    epoch = os.environ.get("SOURCE_DATE_EPOCH")
    if not epoch or not epoch.isdigit():
        print("msi-summary.py: SOURCE_DATE_EPOCH is not set to a time", file=sys.stderr)
        return 2
    filetime = (int(epoch) + FILETIME_EPOCH_OFFSET) * FILETIME_TICKS

    database = Libmsi.Database.new(package, Libmsi.DbFlags.TRANSACT, None)
    # Room for the four properties that may be new to the stream.
    summary = Libmsi.SummaryInfo.new(database, 4)
    summary.set_string(Libmsi.Property.UUID, package_code)
    summary.set_string(Libmsi.Property.TEMPLATE, "Intel;" + language)
    summary.set_filetime(Libmsi.Property.CREATED_TM, filetime)
    summary.set_filetime(Libmsi.Property.LASTSAVED_TM, filetime)
    summary.persist()
    database.commit()
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
