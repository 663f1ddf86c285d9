#!/usr/bin/env bash
# A mutation check: plants each fault of tests/mutants.txt, one at a time, in a scratch copy
# of the working tree (its tracked and new files), rebuilds the default preset there
# incrementally, runs the behaviour and POSIX tests with a time limit per test (and, for a
# fault they miss, the command-line tests of the real program), and prints
# whether a test caught the fault ("killed") or not ("survived"), then the score, in all and
# per folder. Takes about half a minute per fault on two cores. A fault in the FLTK view
# (a folder named fltk, or the tag "fltk") also gets the tests that show real FLTK windows
# under Xvfb (fltk_tab_order, fltk_teardown, smoke_xvfb).
#
#   scripts/mutate.sh [--list FILE] [--scratch DIR] [--only TEXT] [--number N] [--wine] [--check]
#                     [--sample N] [--seed S] [--table FILE [--compare OLD_TABLE]]
#
# --check      only checks that every line of the list applies to the working tree
# --only TEXT  plants only the faults whose line contains TEXT (may be given more than once)
# --number N   plants only fault N, its number in the list's table (may be given more than once)
# --wine       also plants the faults tagged "wine" and runs the Win32 platform tests under
#              wine64 for them (builds the win64 preset in the scratch copy)
# --sample N   plants N faults drawn at random from those the other options select; the
#              seed is printed, and --seed S draws the same ones again. A sample passes only
#              when every fault in it is killed.
# --table FILE the attribution: runs every test program of a fault to its end (a test that
#              ends its program is named and the program started again without it) and
#              writes, per planted fault, its number, its key ("file: why") and the sorted
#              names of the failing tests ("survived" when none): "behaviour:Suite.Name",
#              "posix:", "fltk_tab_order:", "fltk_teardown:", "win32:" for the GoogleTest
#              programs, "ctest:NAME" for the scripts ctest runs, "e2e:SET" for a scenario
#              set. The command-line tests still run only for a fault nothing else caught.
# --compare OLD_TABLE  after the run, reports the faults the table of --table no longer
#              catches, and those whose catching tests changed, against OLD_TABLE
#              (scripts/mutate_compare.py, which also compares two tables without a run)
#
# A line of the list is "file @@ exact text @@ replacement @@ why", with optional tags
# before the file: "wine" (a Windows fault, needs --wine), "e2e=SET,SET" (with "wine": also
# runs these end-to-end scenario sets of tests/e2e/scenarios under Wine), "fltk" (also the
# FLTK view tests, for a fault outside the view's folder) or "same" (a change that cannot
# alter behaviour: listed with its reason, never planted nor counted). The exact text must
# occur exactly once in its file (⏎ stands for a line break); a line whose text is missing
# or ambiguous is an error. Exit status 0 when the score is at least 90 % and every line
# applied and built.
set -uo pipefail
cd "$(dirname "$0")/.."

list=tests/mutants.txt
scratch=${TMPDIR:-/tmp}/belvosta-mutate
only=()
numbers=" "
wine=0
check=0
sample=0
seed=
table=
compare=
while [ $# -gt 0 ]; do
  case "$1" in
    --list) list=$2; shift 2 ;;
    --scratch) scratch=$2; shift 2 ;;
    --only) only+=("$2"); shift 2 ;;
    --number) numbers+="$2 "; shift 2 ;;
    --wine) wine=1; shift ;;
    --check) check=1; shift ;;
    --sample) sample=$2; shift 2 ;;
    --seed) seed=$2; shift 2 ;;
    --table) table=$2; shift 2 ;;
    --compare) compare=$2; shift 2 ;;
    *) echo "usage: $0 [--list FILE] [--scratch DIR] [--only TEXT] [--wine] [--check]" \
         "[--sample N] [--seed S] [--table FILE [--compare OLD_TABLE]]" >&2; exit 2 ;;
  esac
done
[ -f "$list" ] || { echo "no list $list" >&2; exit 2; }
list=$(realpath "$list")
[[ "$sample" =~ ^[0-9]+$ ]] || { echo "--sample needs a number" >&2; exit 2; }
[ -z "$seed" ] || [[ "$seed" =~ ^[0-9]+$ ]] || { echo "--seed needs a number" >&2; exit 2; }
if [ -n "$compare" ]; then
  [ -n "$table" ] || { echo "--compare needs --table" >&2; exit 2; }
  [ -f "$compare" ] || { echo "no table $compare" >&2; exit 2; }
  compare=$(realpath "$compare")
fi
[ -z "$table" ] || table=$(realpath -m "$table")

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
    tags = line.split(" @@ ")[0].split()[:-1]
    if "same" in tags or ("wine" in tags and not wine):
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

# The failing tests of the fault being planted, one a line (for --table).
failures=$scratch.failures
# With --table every group of tests runs for every fault; without, a fault is killed by the
# first group that fails and the rest are not run.
attribute=0
[ -z "$table" ] || attribute=1

# Runs a GoogleTest program to its end (or, without --table, to its first run's end) and
# adds its failing tests, named LABEL:Suite.Name, to the failures.
gtest_run() {
  local label=$1
  shift
  local first=--first
  [ "$attribute" = 1 ] && first=
  # In a subshell, so that a crash is reported to the log, not to the terminal.
  (python3 scripts/gtest_failures.py $first --timeout "$binary_timeout" "$label" "$log" \
    -- "$@") >>"$failures" 2>>"$log"
}
# Runs the ctest tests whose names match the pattern and adds the failing ones, as
# ctest:NAME, to the failures.
ctest_run() {
  local folder=$1 pattern=$2 output
  output=$(ctest --test-dir "$folder" -R "$pattern" --timeout 300 2>&1)
  local status=$?
  printf '%s\n' "$output" >>"$log"
  [ $status -eq 0 ] && return 0
  printf '%s\n' "$output" | sed -E -n 's/^[[:space:]]*[0-9]+ - ([^ ]+) \(.*/ctest:\1/p' >>"$failures"
  # A failure ctest names no test for (none matched, it could not run) still fails.
  grep -q '^ctest:' "$failures" || echo "ctest:($pattern)" >>"$failures"
  return 1
}
linux_binary() {
  find "$scratch/build/default" -name "$1" -type f -perm -u+x | head -n 1
}
# Runs a GoogleTest program of the Linux build, named by its target, under the command
# that follows, if any (xvfb-run for the FLTK view's).
linux_program() {
  local label=$1 target=$2 path
  shift 2
  path=$(linux_binary "$target")
  [ -n "$path" ] || { echo "no $target in the build" >>"$log"; return 1; }
  gtest_run "$label" "$@" "$path"
}

build_linux() {
  cmake --build "$scratch/build/default" -j"$jobs" \
    --target belvosta_behaviour_tests belvosta_posix_tests >>"$log" 2>&1
}
# Each test binary stops a test that runs longer than BELVOSTA_TEST_TIME_LIMIT seconds (its
# watchdog); the whole binary gets a limit of its own on top.
test_linux() {
  local binary status=0
  for binary in behaviour posix; do
    linux_program "$binary" "belvosta_${binary}_tests" || status=1
    [ "$status" = 0 ] || [ "$attribute" = 1 ] || return 1
  done
  if [ "$fltk_view" = 1 ]; then
    test_fltk_view || status=1
    [ "$status" = 0 ] || [ "$attribute" = 1 ] || return 1
  fi
  [ "$status" = 0 ] || return 1
  # A fault the test programs miss is given to the real program's command-line tests as
  # well, which see what only the whole program does (its streams, its exit status). Only
  # then, as they take a quarter of a minute and most faults are killed before.
  cmake --build "$scratch/build/default" -j"$jobs" --target belvosta >>"$log" 2>&1 || return 1
  ctest_run "$scratch/build/default" '^command_line$'
}
# The tests that show the FLTK view's real windows under Xvfb: the tab order and the
# teardown programs and the smoke test of the real program.
build_fltk_view() {
  cmake --build "$scratch/build/default" -j"$jobs" --target belvosta_fltk_tab_order_test \
    belvosta_fltk_teardown_test belvosta >>"$log" 2>&1
}
test_fltk_view() {
  local name status=0
  for name in tab_order teardown; do
    ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 \
      linux_program "fltk_$name" "belvosta_fltk_${name}_test" xvfb-run -a || status=1
    [ "$status" = 0 ] || [ "$attribute" = 1 ] || return 1
  done
  ctest_run "$scratch/build/default" '^smoke_xvfb$' || status=1
  return $status
}

build_wine() {
  local targets=(win32_platform_tests)
  [ -z "$e2e_sets" ] || targets+=(belvosta belvosta_e2e open_logger)
  cmake --build "$scratch/build/win64" -j"$jobs" --target "${targets[@]}" >>"$log" 2>&1
}
test_wine() {
  local status=0 path
  path=$(find "$scratch/build/win64" -name win32_platform_tests.exe -type f | head -n 1)
  [ -n "$path" ] || { echo "no win32_platform_tests.exe in the build" >>"$log"; return 1; }
  BELVOSTA_WINEPREFIX=$scratch/build/win64/wine-prefix \
    gtest_run win32 "$scratch/tests/win32/run_under_wine.sh" "$path" || status=1
  [ "$status" = 0 ] || [ "$attribute" = 1 ] || return 1
  [ -z "$e2e_sets" ] || test_e2e $e2e_sets || status=1
  return $status
}
# The end-to-end scenario sets named, through the runner of the end-to-end tests (wherever
# the scratch copy has it), against the win64 build; a set with a failure is e2e:SET.
e2e_runner() {
  local candidate
  for candidate in tests/e2e/run.sh tools/e2e/run.sh; do
    [ -x "$1/$candidate" ] && { echo "$1/$candidate"; return; }
  done
}
e2e_set_file() {
  find "$1/tests" "$1/tools" -path "*/scenarios/$2.txt" -type f 2>/dev/null | head -n 1
}
test_e2e() {
  local runner set files=() output status
  runner=$(e2e_runner "$scratch")
  [ -n "$runner" ] || { echo "no end-to-end runner in $scratch" >>"$log"; echo "e2e:(no runner)" >>"$failures"; return 1; }
  for set in "$@"; do files+=("$(e2e_set_file "$scratch" "$set")"); done
  output=$("$runner" --build "$scratch/build/win64" "${files[@]}" 2>&1)
  status=$?
  printf '%s\n' "$output" >>"$log"
  [ $status -eq 0 ] && return 0
  printf '%s\n' "$output" | awk '
    /^=== / { set = $2; sub(/\\.txt$/, "", set); if ($2 == "command") set = "command_line" }
    /^FAIL / { print "e2e:" (set == "" ? "(start)" : set) }' | sort -u >>"$failures"
  grep -q '^e2e:' "$failures" || echo "e2e:(run failed)" >>"$failures"
  return 1
}

# The parts of a line: its tags (wine, same, fltk, e2e=SET,...) and its file. Sets
# tag, fltk_view, e2e_sets and file; status 1 with a message in bad_tag for a tag it does
# not know or a set that does not exist.
parse_head() {
  local words=($1) word
  tag= fltk_view=0 e2e_sets= bad_tag= file=
  [ ${#words[@]} -gt 0 ] || return 0
  file=${words[-1]}
  case "$file" in */fltk/*) fltk_view=1 ;; esac
  for word in "${words[@]:0:${#words[@]}-1}"; do
    case "$word" in
      wine | same) tag=$word ;;
      fltk) fltk_view=1 ;;
      e2e=*)
        e2e_sets+=" ${word#e2e=}" ;;
      *) bad_tag="unknown tag $word"; return 1 ;;
    esac
  done
  e2e_sets=${e2e_sets//,/ }
  e2e_sets=$(echo $e2e_sets)
  if [ -n "$e2e_sets" ] && [ "$tag" != wine ]; then
    bad_tag="end-to-end sets run under Wine: the line needs the tag wine too"; return 1
  fi
  local set
  for set in $e2e_sets; do
    [ -n "$(e2e_set_file . "$set")" ] || { bad_tag="no scenario set $set"; return 1; }
  done
}

# A faster linker where there is one: most of a rebuild is linking the two test programs.
linker=
for candidate in lld gold; do
  if command -v "ld.$candidate" >/dev/null; then linker=-fuse-ld=$candidate; break; fi
done

# Whether a line of the list (its number in $2) is to be planted: --only, --sample and --wine
# leave it.
selected() {
  local line=$1 number=$2 text wanted=0
  if [ ${#only[@]} -gt 0 ]; then
    for text in "${only[@]}"; do [[ "$line" == *"$text"* ]] && wanted=1; done
    [ "$wanted" = 1 ] || return 1
  fi
  if [ "$sample" -gt 0 ] && [[ "$drawn" != *" $number "* ]]; then return 1; fi
  if [ "$numbers" != " " ] && [[ "$numbers" != *" $number "* ]]; then return 1; fi
  return 0
}

# What the unchanged copy must pass first: the FLTK view tests and the end-to-end sets of
# the faults to plant, when any needs them.
need_fltk=0 need_sets= need_linux=0
if [ "$check" = 0 ]; then
  number=0
  while IFS= read -r line || [ -n "$line" ]; do
    case "$line" in '' | '#'*) continue ;; esac
    number=$((number + 1))
    selected "$line" "$number" || continue
    parse_head "${line%% @@ *}" || continue
    [ "$tag" = same ] && continue
    [ "$tag" = wine ] && [ "$wine" = 0 ] && continue
    [ "$tag" = wine ] || need_linux=1
    [ "$tag" = wine ] || [ "$fltk_view" = 0 ] || need_fltk=1
    need_sets+=" $e2e_sets"
  done <"$list"
  need_sets=$(printf '%s\n' $need_sets | sort -u | tr '\n' ' ')
  need_sets=$(echo $need_sets)
  # Only Windows faults: the Linux copy is neither built nor tested.
  [ "$wine" = 1 ] || need_linux=1
fi

if [ "$check" = 0 ] && [ "$need_linux" = 1 ]; then
  echo "=== building the unchanged copy in $scratch (log: $log)"
  (cd "$scratch" && cmake --preset default -DCMAKE_EXE_LINKER_FLAGS="$linker" >>"$log" 2>&1) ||
    { echo "configure failed" >&2; exit 1; }
  : >"$failures"
  fltk_view=$need_fltk
  build_linux || { echo "the unchanged copy does not build (see $log)" >&2; exit 1; }
  if [ "$fltk_view" = 1 ]; then
    build_fltk_view || { echo "the unchanged FLTK view tests do not build (see $log)" >&2; exit 1; }
  fi
  test_linux || { echo "the unchanged copy fails its tests (see $log):" $(cat "$failures") >&2; exit 1; }
fi
if [ "$wine" = 1 ] && [ "$check" = 0 ]; then
  : >"$failures"
  e2e_sets=$need_sets
  (cd "$scratch" && cmake --preset win64 >>"$log" 2>&1) || { echo "win64 configure failed" >&2; exit 1; }
  build_wine || { echo "the unchanged win64 copy does not build" >&2; exit 1; }
  test_wine || { echo "the unchanged copy fails its Win32 tests:" $(cat "$failures") >&2; exit 1; }
fi
if [ -n "$table" ]; then
  {
    echo "# The tests that fail for each planted fault of $(basename "$list"), written by"
    echo "# scripts/mutate.sh --table on $(date -u +%Y-%m-%d) (commit" \
      "$(git rev-parse --short HEAD 2>/dev/null || echo unknown)$(git diff --quiet HEAD -- tests src 2>/dev/null || echo ', with changes')):"
    echo "#   number <tab> file: why <tab> the failing tests, or survived (or error: ...)"
    echo "# Compare a later table with scripts/mutate_compare.py OLD NEW."
  } >"$table"
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
  selected "$line" "$number" || continue
  IFS=$'\x1f' read -r head text replacement why <<<"${line// @@ /$'\x1f'}"
  parse_head "$head"
  head_status=$?
  label=$(printf '%3d %s: %s' "$number" "$file" "$why")
  if [ -z "$file" ] || [ -z "$text" ] || [ -z "$why" ]; then
    echo "ERROR    $label (malformed line: $line)"; errors=$((errors + 1)); continue
  fi
  if [ $head_status -ne 0 ]; then
    echo "ERROR    $label ($bad_tag)"; errors=$((errors + 1)); continue
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
  [ "$tag" != wine ] && [ "$fltk_view" = 1 ] && build="build_linux && build_fltk_view"
  : >"$failures"
  key="$file: $why"
  if ! eval "$build"; then
    echo "ERROR    $label (does not build)"; errors=$((errors + 1))
    [ -z "$table" ] || printf '%d\t%s\terror: does not build\n' "$number" "$key" >>"$table"
  elif $run 2>>"$log"; then
    echo "SURVIVED $label"; survived=$((survived + 1)); survivors+=("$label")
    folder_planted[$folder]=$((${folder_planted[$folder]:-0} + 1))
    [ -z "$table" ] || printf '%d\t%s\tsurvived\n' "$number" "$key" >>"$table"
  else
    caught=$(sort -u "$failures" | tr '\n' ' ')
    caught=${caught% }
    if [ -n "$table" ]; then
      echo "killed   $label <- $caught"
      printf '%d\t%s\t%s\n' "$number" "$key" "${caught:-(unnamed)}" >>"$table"
    else
      echo "killed   $label"
    fi
    killed=$((killed + 1))
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
[ "$need_linux" = 0 ] || build_linux >/dev/null 2>&1 || true

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
passed=$?
if [ -n "$table" ]; then
  echo "table: $table"
  if [ -n "$compare" ]; then
    python3 scripts/mutate_compare.py "$compare" "$table" || passed=1
  fi
fi
exit $passed
