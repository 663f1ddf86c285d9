#!/usr/bin/env bash
# Checks that a release is reproducible: scripts/release.sh run in a clone of this commit at
# another path, some seconds later, must give the same bytes in dist/ as the release it is
# compared with, and each dist/ must pass sha256sum -c. Where a file differs, diffoscope
# says where, in the failure message.
#   tests/release/reproducible.sh        builds twice, in two clones at different paths,
#                                        both signed with the certificate the environment
#                                        names (BELVOSTA_SIGN_*), if it names one
#   tests/release/reproducible.sh DIST   compares DIST, scripts/release.sh's dist/ of this
#                                        checkout, with one build in a clone; when DIST is
#                                        signed, that build gets DIST's signatures
#                                        (release.sh --signatures-from DIST), without the
#                                        certificate: the check anyone can make of a signed
#                                        release against its source
# The compiler cache is off, so that every object is compiled anew in each folder.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
scripts_dir=$root/scripts
"$scripts_dir/install-deps.sh" build package windows installer release

reference=${1:-}
if [ -n "$reference" ] && [ -n "$(git -C "$root" status --porcelain --untracked-files=no)" ]; then
  echo "reproducible: the checkout has uncommitted changes, so $reference is not this commit's;" \
       "building twice from the commit instead"
  reference=""
fi
commit=$(git -C "$root" rev-parse HEAD)
export CCACHE_DISABLE=1
unset CMAKE_CXX_COMPILER_LAUNCHER CMAKE_C_COMPILER_LAUNCHER

work=$(mktemp -d /tmp/belvosta-reproducible.XXXXXX)
trap 'rm -rf "$work"' EXIT

# Releases a clean clone of the commit at the given path, with release.sh's further
# arguments; the build's log goes to $work/NAME.log and, when it fails, its end to standard
# error.
release_in() {
  local clone=$1
  shift
  git clone -q --no-checkout "$root" "$clone"
  git -C "$clone" checkout -q --detach "$commit"
  echo "reproducible: releasing $commit in $clone $*"
  "$clone/scripts/release.sh" "$@" > "$work/$(basename "$clone").log" 2>&1 || {
    tail -n 30 "$work/$(basename "$clone").log" >&2
    echo "reproducible: scripts/release.sh failed in $clone" >&2
    exit 1
  }
}

if [ -z "$reference" ]; then
  release_in "$work/first/belvosta"
  reference=$work/first/belvosta/dist
  sleep 2  # a later second, so that a time stamp taken from the clock would show
  release_in "$work/second-folder/belvosta-source"
elif grep -q '^# .*: signed (Authenticode' "$reference/SHA256SUMS"; then
  reference=$(realpath "$reference")
  (unset BELVOSTA_SIGN_PKCS12 BELVOSTA_SIGN_PASSWORD BELVOSTA_SIGN_PASSWORD_FILE
   release_in "$work/second-folder/belvosta-source" --signatures-from "$reference")
else
  (unset BELVOSTA_SIGN_PKCS12 BELVOSTA_SIGN_PASSWORD BELVOSTA_SIGN_PASSWORD_FILE
   release_in "$work/second-folder/belvosta-source")
fi
second=$work/second-folder/belvosta-source/dist

for dist in "$reference" "$second"; do
  (cd "$dist" && sha256sum --quiet -c SHA256SUMS) || {
    echo "reproducible: sha256sum -c SHA256SUMS fails in $dist" >&2
    exit 1
  }
done
if cmp -s "$reference/SHA256SUMS" "$second/SHA256SUMS"; then
  echo "reproducible: the two releases are byte-identical:"
  cat "$second/SHA256SUMS"
  exit 0
fi

echo "reproducible: the two releases differ" >&2
diff "$reference/SHA256SUMS" "$second/SHA256SUMS" >&2 || true
while read -r hash file; do
  [ "$hash" != "#" ] || continue  # a line that says what is signed
  cmp -s "$reference/$file" "$second/$file" && continue
  echo "=== diffoscope $file" >&2
  diffoscope --no-progress --text - --max-text-report-size 200000 \
      "$reference/$file" "$second/$file" >&2 || true
done < "$second/SHA256SUMS"
exit 1
