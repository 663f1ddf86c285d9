#!/usr/bin/env bash
# The command line's whole check (`belvosta --check`) on a Wine prefix whose system folder
# holds 1,000,000 files, against one bare walk of that folder, this build's own walk of each
# folder, GNU find and fd: once with every component absent, once with every component
# present in the folder the walk reads last. The trees are built once under BASE (default
# /tmp/belvosta-bench) by bench/make_trees.py and kept for later runs.
#
#   bench/check.sh [BUILD_DIR] [BASE] [ROUNDS]   (BUILD_DIR: a Release build, default build/release)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build/release}
base=${2:-/tmp/belvosta-bench}
rounds=${3:-5}
python3 "$here/make_trees.py" "$base" wide1m >/dev/null

prefix=$base/check-prefix
system=$base/wide1m
mkdir -p "$prefix/drive_c/windows" "$prefix/drive_c/Program Files"
ln -sfn "$system" "$prefix/drive_c/windows/system32"
last=$("$build/belvosta_check_bench" --last-folder "$system")

components=(Flash10c.ocx mscomctl.ocx RICHTX32.OCX MSFLXGRD.OCX mshtml.tlb STDOLE2.TLB shdocvw.dll
  wmp.dll)
remove_components() {
  for file in "${components[@]}"; do rm -f "$last/$file"; done
  rm -rf "$prefix/drive_c/Program Files/Internet Explorer"
}
trap remove_components EXIT

echo "load before: $(uptime)"
remove_components
"$build/belvosta_check_bench" "$prefix" "$build/belvosta" "$rounds"

# Every component, in the last folder of the walk: a walk that stopped at the last one found
# would read all but a few entries.
for file in "${components[@]}"; do : >"$last/$file"; done
mkdir -p "$prefix/drive_c/Program Files/Internet Explorer"
: >"$prefix/drive_c/Program Files/Internet Explorer/iexplore.exe"
"$build/belvosta_check_bench" "$prefix" "$build/belvosta" "$rounds"
echo "load after: $(uptime)"
