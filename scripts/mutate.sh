#!/usr/bin/env bash
# A mutation check: plants each fault of tests/mutants.txt, one at a time, in a scratch copy
# of the working tree (its tracked and new files), rebuilds the default preset there
# incrementally, runs the behaviour and POSIX tests with a time limit per test (and, for a
# fault they miss, the command-line tests of the real program), and prints
# whether a test caught the fault ("killed") or not ("survived"), then the score, in all and
# per folder. Takes about half a minute per fault on two cores.
#
#   scripts/mutate.sh [--list FILE] [--scratch DIR] [--only TEXT] [--wine] [--check]
#                     [--sample N] [--seed S]
#
# --check      only checks that every line of the list applies to the working tree
# --only TEXT  plants only the faults whose line contains TEXT (may be given more than once)
# --wine       also plants the faults tagged "wine" and runs the Win32 platform tests under
#              wine64 for them (builds the win64 preset in the scratch copy)
# --sample N   plants N faults drawn at random from those the other options select; the
#              seed is printed, and --seed S draws the same ones again. A sample passes only
#              when every fault in it is killed.
#
# A line of the list is "file @@ exact text @@ replacement @@ why", with an optional tag
# before the file: "wine" (a Windows fault, needs --wine) or "same" (a change that cannot
# alter behaviour: listed with its reason, never planted nor counted). The exact text must
# occur exactly once in its file (⏎ stands for a line break); a line whose text is missing
# or ambiguous is an error. Exit status 0 when the score is at least 90 % and every line
# applied and built.
set -uo pipefail
cd "$(dirname "$0")/.."

list=tests/mutants.txt
scratch=${TMPDIR:-/tmp}/belvosta-mutate
only=()
wine=0
check=0
sample=0
seed=
while [ $# -gt 0 ]; do
  case "$1" in
    --list) list=$2; shift 2 ;;
    --scratch) scratch=$2; shift 2 ;;
    --only) only+=("$2"); shift 2 ;;
    --wine) wine=1; shift ;;
    --check) check=1; shift ;;
    --sample) sample=$2; shift 2 ;;
    --seed) seed=$2; shift 2 ;;
    *) echo "usage: $0 [--list FILE] [--scratch DIR] [--only TEXT] [--wine] [--check]" \
         "[--sample N] [--seed S]" >&2; exit 2 ;;
  esac
done
[ -f "$list" ] || { echo "no list $list" >&2; exit 2; }
list=$(realpath "$list")
[[ "$sample" =~ ^[0-9]+$ ]] || { echo "--sample needs a number" >&2; exit 2; }
[ -z "$seed" ] || [[ "$seed" =~ ^[0-9]+$ ]] || { echo "--seed needs a number" >&2; exit 2; }

# The faults a sample plants: their numbers in the list (counting the lines that are not
# comments), drawn from the lines --only and --wine leave, never from "same" lines.
drawn=" "
if [ "$sample" -gt 0 ]; then
  seed=${seed:-$(od -An -N4 -tu4 /dev/urandom | tr -d ' ')}
  drawn=" $(python3 - "$list" "$sample" "$seed" "$wine" "${only[@]}" <<'PY'
import random, sys
path, count, seed, wine, only = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), sys.argv[4] == "1", sys.argv[5:]
candidates, number = [], 0
for line in open(path, encoding="utf-8"):
    line = line.rstrip("\n")
    if not line or line.startswith("#"):
        continue
    number += 1
    if line.startswith("same ") or (line.startswith("wine ") and not wine):
        continue
    if only and not any(text in line for text in only):
        continue
    candidates.append(number)
print(" ".join(str(n) for n in sorted(random.Random(seed).sample(candidates, min(count, len(candidates))))))
PY
) "
  echo "=== a sample of $sample faults, seed $seed (again: --sample $sample --seed $seed):$drawn"
fi

export CMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER:-$(command -v ccache || true)}
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$scratch}
export BELVOSTA_TEST_TIME_LIMIT=${BELVOSTA_TEST_TIME_LIMIT:-20}  # seconds per test
jobs=${JOBS:-2}
binary_timeout=${BINARY_TIMEOUT:-600}
# A check only reads: it works in a private copy, never in a scratch copy a run may be using.
if [ "$check" = 1 ]; then
  scratch=$(mktemp -d)
  trap 'rm -rf "$scratch" "$scratch.log"' EXIT
fi
log=$scratch.log
: >"$log"

# The scratch copy: the tracked files of the working tree as they are now (uncommitted
# edits included). Its build folder is kept between runs, so a rebuild is incremental.
mkdir -p "$scratch"
git ls-files -z --cached --others --exclude-standard | python3 -c '
import filecmp, os, shutil, sys
scratch = sys.argv[1]
wanted = {p for p in sys.stdin.read().split("\0") if p and os.path.isfile(p)}
for path in wanted:
    target = os.path.join(scratch, path)
    if not os.path.isfile(target) or not filecmp.cmp(path, target, shallow=False):
        os.makedirs(os.path.dirname(target) or ".", exist_ok=True)
        # Stamped with the time of the copy: a file edited while an earlier build of the
        # copy ran may be older than the object built from its old text.
        shutil.copyfile(path, target)
        shutil.copymode(path, target)
# Files the tree no longer has (moved or removed) would still be built: remove them.
for folder, subfolders, files in os.walk(scratch):
    relative = os.path.relpath(folder, scratch)
    if relative == ".":
        subfolders[:] = [d for d in subfolders if d != "build"]
    for name in files:
        path = os.path.normpath(os.path.join(relative, name))
        if path not in wanted:
            os.remove(os.path.join(folder, name))
' "$scratch"

build_linux() {
  cmake --build "$scratch/build/default" -j"$jobs" \
    --target belvosta_behaviour_tests belvosta_posix_tests >>"$log" 2>&1
}
# Each test binary stops a test that runs longer than BELVOSTA_TEST_TIME_LIMIT seconds (its
# watchdog); the whole binary gets a limit of its own on top.
test_linux() {
  local binary
  for binary in belvosta_behaviour_tests belvosta_posix_tests; do
    local path
    path=$(find "$scratch/build/default" -name "$binary" -type f -perm -u+x | head -n 1)
    [ -n "$path" ] || { echo "no $binary in the build" >>"$log"; return 1; }
    # In a subshell, so that a crash is reported to the log, not to the terminal.
    (timeout "$binary_timeout" "$path" --gtest_brief=1) >>"$log" 2>&1 || return 1
  done
  # A fault the test programs miss is given to the real program's command-line tests as
  # well, which see what only the whole program does (its streams, its exit status). Only
  # then, as they take a quarter of a minute and most faults are killed before.
  cmake --build "$scratch/build/default" -j"$jobs" --target belvosta >>"$log" 2>&1 || return 1
  ctest --test-dir "$scratch/build/default" -R '^command_line_(shell|trust)$' \
    --timeout 300 >>"$log" 2>&1
}
build_wine() {
  cmake --build "$scratch/build/win64" -j"$jobs" --target win32_platform_tests >>"$log" 2>&1
}
test_wine() {
  ctest --test-dir "$scratch/build/win64/tests/win32" --timeout 300 >>"$log" 2>&1
}

# A faster linker where there is one: most of a rebuild is linking the two test programs.
linker=
for candidate in lld gold; do
  if command -v "ld.$candidate" >/dev/null; then linker=-fuse-ld=$candidate; break; fi
done

if [ "$check" = 0 ]; then
  echo "=== building the unchanged copy in $scratch (log: $log)"
  (cd "$scratch" && cmake --preset default -DCMAKE_EXE_LINKER_FLAGS="$linker" >>"$log" 2>&1) ||
    { echo "configure failed" >&2; exit 1; }
  build_linux || { echo "the unchanged copy does not build (see $log)" >&2; exit 1; }
  test_linux || { echo "the unchanged copy fails its tests (see $log)" >&2; exit 1; }
fi
if [ "$wine" = 1 ] && [ "$check" = 0 ]; then
  (cd "$scratch" && cmake --preset win64 >>"$log" 2>&1) || { echo "win64 configure failed" >&2; exit 1; }
  build_wine || { echo "the unchanged win64 copy does not build" >&2; exit 1; }
  test_wine || { echo "the unchanged copy fails its Win32 tests" >&2; exit 1; }
fi

# Replaces the one occurrence of $2 in file $1 by $3 (a ⏎ in either stands for a line
# break); status 3 when the text is missing, 4
# when it occurs more than once.
plant() {
  python3 - "$@" <<'PY'
import sys
path, text, replacement = (a.replace("\u23ce", "\n") for a in sys.argv[1:4])
source = open(path, encoding="utf-8").read()
count = source.count(text)
if count != 1:
    sys.exit(3 if count == 0 else 4)
open(path, "w", encoding="utf-8").write(source.replace(text, replacement))
PY
}

killed=0 survived=0 errors=0 same=0 skipped=0 number=0
survivors=()
declare -A folder_killed=() folder_planted=()
while IFS= read -r line || [ -n "$line" ]; do
  case "$line" in '' | '#'*) continue ;; esac
  number=$((number + 1))
  if [ ${#only[@]} -gt 0 ]; then
    wanted=0
    for text in "${only[@]}"; do [[ "$line" == *"$text"* ]] && wanted=1; done
    [ "$wanted" = 1 ] || continue
  fi
  if [ "$sample" -gt 0 ] && [[ "$drawn" != *" $number "* ]]; then continue; fi
  IFS=$'\x1f' read -r file text replacement why <<<"${line// @@ /$'\x1f'}"
  tag=
  case "$file" in wine\ * | same\ *) tag=${file%% *}; file=${file#* } ;; esac
  label=$(printf '%3d %s: %s' "$number" "$file" "$why")
  if [ -z "$file" ] || [ -z "$text" ] || [ -z "$why" ]; then
    echo "ERROR    $label (malformed line: $line)"; errors=$((errors + 1)); continue
  fi
  if [ ! -f "$scratch/$file" ]; then
    echo "ERROR    $label (no file $file)"; errors=$((errors + 1)); continue
  fi
  cp -p "$scratch/$file" "$scratch/$file.orig"
  plant "$scratch/$file" "$text" "$replacement"
  status=$?
  if [ $status -ne 0 ]; then
    mv "$scratch/$file.orig" "$scratch/$file"
    [ $status -eq 3 ] && why_not="text not found" || why_not="text occurs more than once"
    echo "ERROR    $label ($why_not: $text)"; errors=$((errors + 1)); continue
  fi
  if [ "$check" = 1 ]; then
    mv "$scratch/$file.orig" "$scratch/$file"
    echo "applies  $label"; continue
  fi
  if [ "$tag" = same ]; then
    mv "$scratch/$file.orig" "$scratch/$file"
    echo "SAME     $label"; same=$((same + 1)); continue
  fi
  if [ "$tag" = wine ] && [ "$wine" = 0 ]; then
    mv "$scratch/$file.orig" "$scratch/$file"
    echo "SKIPPED  $label (needs --wine)"; skipped=$((skipped + 1)); continue
  fi
  echo "--- fault $number: $file: $text -> $replacement" >>"$log"
  folder=$(dirname "$file")
  if [ "$tag" = wine ]; then build=build_wine run=test_wine; else build=build_linux run=test_linux; fi
  if ! $build; then
    echo "ERROR    $label (does not build)"; errors=$((errors + 1))
  elif $run 2>>"$log"; then
    echo "SURVIVED $label"; survived=$((survived + 1)); survivors+=("$label")
    folder_planted[$folder]=$((${folder_planted[$folder]:-0} + 1))
  else
    echo "killed   $label"; killed=$((killed + 1))
    folder_killed[$folder]=$((${folder_killed[$folder]:-0} + 1))
    folder_planted[$folder]=$((${folder_planted[$folder]:-0} + 1))
  fi
  # Restored with its old time stamp, so the next build compiles it again only once.
  mv "$scratch/$file.orig" "$scratch/$file"
  touch "$scratch/$file"
done <"$list"

if [ "$check" = 1 ]; then
  echo "checked $number lines: $errors errors"
  [ "$errors" -eq 0 ]
  exit
fi
# Leaves the copy built as it is, for the next run.
build_linux >/dev/null 2>&1 || true

planted=$((killed + survived))
echo
echo "killed $killed, survived $survived of $planted planted; $same cannot change behaviour;" \
  "$skipped need Wine (--wine); $errors errors"
for s in "${survivors[@]}"; do echo "survivor: $s"; done
for folder in $(printf '%s\n' "${!folder_planted[@]}" | sort); do
  printf 'folder %-22s killed %3d of %3d: %3d %%\n' "$folder" "${folder_killed[$folder]:-0}" \
    "${folder_planted[$folder]}" $((100 * ${folder_killed[$folder]:-0} / ${folder_planted[$folder]}))
done
if [ "$planted" -eq 0 ]; then exit 1; fi
score=$((100 * killed / planted))
echo "score: $score %"
[ -z "$seed" ] || echo "seed: $seed"
if [ "$sample" -gt 0 ]; then
  [ "$errors" -eq 0 ] && [ "$survived" -eq 0 ]
else
  [ "$errors" -eq 0 ] && [ "$score" -ge 90 ]
fi
