#!/usr/bin/env bash
# The whole full scan on a Wine prefix whose system folder holds 1,000,000 files, once with
# every component absent and once with every component present. The trees are built once
# under BASE (default /tmp/belvosta-bench) by bench/make_trees.py and kept for later runs.
#
#   bench/full_scan.sh [BUILD_DIR] [BASE]      (BUILD_DIR: a Release build, default build/release)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build/release}
base=${2:-/tmp/belvosta-bench}
python3 "$here/make_trees.py" "$base" wide1m >/dev/null

prefix=$base/prefix
system=$base/wide1m
mkdir -p "$prefix/drive_c/windows" "$prefix/drive_c/Program Files"
ln -sfn "$system" "$prefix/drive_c/windows/system32"

components=(mscomctl.ocx RICHTX32.OCX MSFLXGRD.OCX mshtml.tlb STDOLE2.TLB shdocvw.dll wmp.dll)
remove_components() {
  for file in "${components[@]}"; do rm -f "$system/$file"; done
  rm -rf "$system/Macromed" "$prefix/drive_c/Program Files/Internet Explorer"
}
trap remove_components EXIT

remove_components
"$build/belvosta_full_scan_bench" "$prefix" absent

# As on Windows: the controls and libraries in the system folder itself, the Flash Player
# in a folder of its own, Internet Explorer below the program files.
for file in "${components[@]}"; do : >"$system/$file"; done
mkdir -p "$system/Macromed/Flash" "$prefix/drive_c/Program Files/Internet Explorer"
: >"$system/Macromed/Flash/Flash10c.ocx"
: >"$prefix/drive_c/Program Files/Internet Explorer/iexplore.exe"
"$build/belvosta_full_scan_bench" "$prefix" present
