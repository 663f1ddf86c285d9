#!/usr/bin/env python3
"""Writes the structured seeds of the fuzz targets that read their input with libFuzzer's
FuzzedDataProvider (strings from the front, numbers from the back), from readable cases.

    python3 tests/fuzz/make_seeds.py tests/fuzz/corpus

The plain seeds (a real /proc/cpuinfo, os-release, Wine's registry files) are copied by
hand; this script only writes the files named seed-*.
"""
import os
import struct
import sys


class Seed:
    """Bytes that FuzzedDataProvider reads back as the values added, in the same order."""

    def __init__(self):
        self.front = b""
        self.back = []  # byte strings, in the order they are consumed from the end

    def text(self, value, terminated=True):
        """A ConsumeRandomLengthString: backslashes doubled, ended by "\\ ".

        terminated=False for the last string, which the end of the data ends (the numbers
        behind it must not be read as its bytes, so only for seeds without numbers after)."""
        if isinstance(value, str):
            value = value.encode("utf-8", "surrogateescape")
        self.front += value.replace(b"\\", b"\\\\") + (b"\\ " if terminated else b"")
        return self

    def rest(self, value):
        """ConsumeRemainingBytesAsString."""
        if isinstance(value, str):
            value = value.encode("utf-8", "surrogateescape")
        self.front += value
        return self

    def number(self, value, size):
        """A ConsumeIntegral(InRange) that takes `size` bytes from the end, value offset from
        the range's minimum."""
        # The last byte is read first, as the most significant.
        self.back.append(value.to_bytes(size, "little"))
        return self

    def bytes(self):
        return self.front + b"".join(reversed(self.back))


def write(folder, name, seed):
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as out:
        out.write(seed.bytes())


USER_DIRS = """# This file is written by xdg-user-dirs-update
# If you want to change or add directories, just edit the line you're
# interested in. All local changes will be retained on the next run.
XDG_DESKTOP_DIR="$HOME/Schreibtisch"
XDG_DOWNLOAD_DIR="$HOME/Downloads"
XDG_TEMPLATES_DIR="$HOME/Vorlagen"
XDG_PUBLICSHARE_DIR="$HOME/Öffentlich"
XDG_DOCUMENTS_DIR="$HOME/Dokumente"
XDG_MUSIC_DIR="$HOME/Musik"
XDG_PICTURES_DIR="$HOME/Bilder"
XDG_VIDEOS_DIR="$HOME/Videos"
"""

HOSTILE_USER_DIRS = """XDG_DESKTOP_DIR="$HOMEfoo"
XDG_DOCUMENTS_DIR=$HOME/
XDG_TEMPLATES_DIR="relative/path"
 XDG_DESKTOP_DIR = '/abs//'
XDG_DOCUMENTS_DIR="\\$HOME/\\"quoted\\""
=
"unterminated
XDG_TEMPLATES_DIR="$HOME/\x1b[31mrot\u202e"
"""


def user_dirs(folder):
    def seed(home, text, names=("Desktop", "Documents", "Templates")):
        s = Seed().text(home).text(text)
        for name in names:
            s.text(name)
        return s

    write(folder, "seed-german", seed("home/anna", USER_DIRS))
    write(folder, "seed-hostile", seed("home/x y", HOSTILE_USER_DIRS, ("a\\b", '"', "$x`")))
    write(folder, "seed-crlf", seed("root", USER_DIRS.replace("\n", "\r\n")))


def version_text(folder, os_release):
    def seed(release, text, pairs=(), numbers=(6, 1, 0), suffix="18-amd64"):
        s = Seed().text(release).text(text)
        s.number(len(pairs), 1)
        for key, value in pairs:
            s.text(key).text(value)
        for n in numbers:
            s.number(n, 4)
        s.text(suffix)
        return s

    write(folder, "seed-debian", seed("6.1.0-18-amd64", os_release,
                                      [("PRETTY_NAME", "Debian GNU/Linux 12 (bookworm)"),
                                       ("ID", "debian")]))
    write(folder, "seed-long-numbers",
          seed("4294967295.4294967296.99999999999999999999", 'NAME="a\\"b"\nPRETTY_NAME=\n',
               [("NAME", '"\\$`')], (4294967295, 0, 4294967295), "rc1+"))
    write(folder, "seed-wsl", seed("5.15.146.1-microsoft-standard-WSL2",
                                   "PRETTY_NAME='Ubuntu 22.04.4 LTS'\r\nNAME=Ubuntu\r\n"))


def command_line(folder):
    cases = {
        "seed-check-json": (b"--check\0--json", 0),
        "seed-windows": (b"/CHECK\0/Report\0/?", 1),
        "seed-unknown-long": (b"--" + "ä".encode() * 150 + b"\x1b[2J", 0),
        "seed-json-alone": (b"--json", 0),
        "seed-empty-argument": (b"--help\0\0--version", 1),
    }
    for name, (words, windows) in cases.items():
        write(folder, name, Seed().rest(words).number(windows, 1))


def printable_text(folder):
    cases = {
        "seed-umlauts": ("Grüße aus Köln – 東京 😀", 300),
        "seed-escapes": ("\x1b]0;title\x07\x1b[31mred\u202eevil\u2066\x9b\x7f", 5),
        "seed-invalid": (b"\xc0\xaf\xed\xa0\x80\xf4\x90\x80\x80\xe2\x82", 3),
        "seed-cut": ("abcdef...", 3),
    }
    for name, (text, limit) in cases.items():
        s = Seed()
        s.rest(text)
        s.number(limit, 2)
        write(folder, name, s)


def drive_mapping(folder):
    # entries: (name, kind, target); kinds: 0 folder, 1 file, 2 link to drive_c, 3 link
    def seed(entries, room=120):
        s = Seed().number(len(entries), 1)
        for name, kind, target in entries:
            s.text(name).number(kind, 1).text(target)
        s.number(room, 1)
        return s

    write(folder, "seed-wine", seed([("c:", 2, ""), ("z:", 3, "/"), ("d::", 3, "/dev/sr0"),
                                     ("com1", 3, "/dev/ttyS0")]))
    write(folder, "seed-broken", seed([("e:", 3, "/nonexistent"), ("f:", 3, "f:"),
                                       ("g:", 1, "not a folder"), ("H:", 0, ""),
                                       ("h:", 2, "")], 5))
    write(folder, "seed-all", seed([(chr(ord("a") + i) + ":", 2, "") for i in range(12)], 30))


def report_json(folder):
    def seed(computer, user, processor, csd, version, os_csd, memory, address, separator,
             tsc):
        s = Seed()
        s.number(1, 1).text(computer)
        s.number(1, 1).text(user)
        s.number(len(processor), 1)
        for pick, value in processor:
            s.number(pick, 1).text(value)
        s.text(csd)
        platform, major, minor, build = version
        s.number(platform, 1).number(major, 4).number(minor, 4).number(build, 4)
        s.text(os_csd).number(0, 2)
        s.number(memory, 8).number(1, 1)
        length, addresses = address
        s.number(length + 2, 1).number(len(addresses), 1)
        for a in addresses:
            s.text(a)
        s.text(separator)
        s.number(tsc, 5)
        return s

    write(folder, "seed-wine-machine",
          seed("debian", "root", [(0, "x86 Family 6 Model 85 Stepping 7"),
                                  (1, "Intel(R) Xeon(R) CPU @ 2.80GHz")], "Service Pack 3",
               (2, 5, 1, 2600), "Service Pack 3", 8 << 30, (4, [b"\xc0\xa8\x00\x02"]), ",",
               2_800_000_000))
    write(folder, "seed-hostile",
          seed("pc\x1b[2J\u202e", "ü".encode() + b"\xff\x00root", [(1, "\x1b]0;x\x07" + "A" * 280),
                                                   (2, "  \x00hidden")],
               "SP\r\n9", (2, 4294967295, 4294967295, 0), "\x9b31m", (1 << 64) - 1,
               (8, [b"\x01\x02", b"\x7f\x00\x00\x01\x05\x06\x07\x08"]), "\x1b[5m", 1))


def main():
    root = sys.argv[1]
    with open("/etc/os-release") as f:
        os_release = f.read()
    user_dirs(os.path.join(root, "user_dirs"))
    version_text(os.path.join(root, "version_text"), os_release)
    command_line(os.path.join(root, "command_line"))
    printable_text(os.path.join(root, "printable_text"))
    drive_mapping(os.path.join(root, "drive_mapping"))
    report_json(os.path.join(root, "report_json"))


if __name__ == "__main__":
    main()
