#!/usr/bin/env bash
# Checks the Windows Installer package of a release (DIST/belvosta-VERSION-win32.msi, from
# scripts/release.sh), in two parts:
#  - its tables and streams, read with msitools (msiinfo, msidump, msiextract): product,
#    maker, version, the fixed upgrade code, a per-machine install of the zip's very files
#    into "Quirlant Software\Belvosta" below the 32-bit program files folder, one Start-menu
#    shortcut with the program's icon, nothing that writes elsewhere (no registry value, no
#    service, no code run during the installation but the step that fills in the uninstall
#    entry's install location), signed when SHA256SUMS says so;
#  - under Wine: installs it silently into a fresh 64-bit prefix (wine64 msiexec /i ... /qn),
#    finds the files in the 32-bit program files folder, the shortcut and the uninstall entry
#    and nothing else new but Windows Installer's own copy of the package and of the icon;
#    runs the installed belvosta.exe with --version and --check --json; installs the next
#    version (the same files, packed here as VERSION with its last number one up) over it,
#    which must replace it, and sees this version refused over that one; removes it silently
#    (msiexec /x ... /qn) and finds no file, shortcut or registry key of either left.
# The 32-bit program runs in the 64-bit prefix through 32-bit Wine (scripts/wine32-setup.sh).
# Wine puts a per-machine package's Start-menu shortcut into the installing user's folder,
# where Windows puts it into the one of all users; either counts, but only one shortcut.
#   scripts/check-msi.sh [DIST]      (DIST: default dist/)
set -euo pipefail
cd "$(dirname "$0")/.."
export LC_ALL=C  # one sort order for comm
dist=${1:-dist}
scripts/install-deps.sh installer wine

fail() {
  echo "check-msi: $*" >&2
  exit 1
}

msi=$(compgen -G "$dist/belvosta-*-win32.msi" || true)
[ -n "$msi" ] && [ "$(wc -l <<<"$msi")" -eq 1 ] || fail "$dist holds no single belvosta-*-win32.msi"
msi=$(realpath "$msi")
version=$(basename "$msi" -win32.msi)
version=${version#belvosta-}
zip=$dist/belvosta-$version-win32.zip
[ -f "$zip" ] || fail "$dist lacks $(basename "$zip")"
upgrade_code=$(sed -n 's/.*UpgradeCode="\([^"]*\)".*/\1/p' packaging/belvosta.wxs)

work=$(mktemp -d /tmp/belvosta-check-msi.XXXXXX)
trap 'rm -rf "$work"' EXIT

# --- The tables ----------------------------------------------------------------------
mkdir "$work/tables"
(cd "$work/tables" && msidump --tables "$msi" >/dev/null) || fail "msidump cannot read $msi"
# The rows of a table (after msidump's three header lines), tab-separated.
rows() {
  [ -f "$work/tables/$1.idt" ] || return 0
  tail -n +4 "$work/tables/$1.idt" | tr -d '\r'
}
property() {
  rows Property | awk -F'\t' -v name="$1" '$1 == name { print $2 }'
}
expect() {
  local what=$1 found=$2 wanted=$3
  [ "$found" = "$wanted" ] || fail "$what is \"$found\", not \"$wanted\""
}
expect "ProductName" "$(property ProductName)" "Belvosta"
expect "Manufacturer" "$(property Manufacturer)" "Quirlant Software"
expect "ProductVersion" "$(property ProductVersion)" "$version"
expect "UpgradeCode" "$(property UpgradeCode)" "$upgrade_code"
expect "ALLUSERS (per-machine)" "$(property ALLUSERS)" "1"
expect "ARPPRODUCTICON" "$(property ARPPRODUCTICON)" "belvosta.ico"
expect "ARPCONTACT" "$(property ARPCONTACT)" "Quirlant Software <belvosta@quirlant.example>"
[[ $(property ARPSIZE) =~ ^[1-9][0-9]*$ ]] || fail "ARPSIZE is \"$(property ARPSIZE)\""
product_code=$(property ProductCode)
[[ $product_code =~ ^\{[0-9A-F-]{36}\}$ ]] || fail "ProductCode is \"$product_code\""
summary=$(msiinfo suminfo "$msi")
grep -qx "Template: Intel;1031" <<<"$summary" || fail "the package is not for x86 in German:"$'\n'"$summary"
grep -qx "Author: Quirlant Software" <<<"$summary" || fail "the summary names another author"

expect "the files" "$(rows File | cut -f1,2,3 | sort | tr '\t\n' ' |')" \
  "LIESMICH.txt ReadMe LIESMICH.txt|belvosta.exe Program belvosta.exe|"
expect "the folders" "$(rows Directory | sort | tr '\t\n' ' |')" \
  "INSTALLDIR MakerFolder Belvosta|MakerFolder ProgramFilesFolder Quirlant Software|ProgramFilesFolder TARGETDIR .|ProgramMenuFolder TARGETDIR .|TARGETDIR  SourceDir|"
expect "the shortcuts" "$(rows Shortcut | cut -f2,3,5,9 | tr '\t\n' ' |')" \
  "ProgramMenuFolder Belvosta [INSTALLDIR]belvosta.exe belvosta.ico|"
expect "the icons" "$(rows Icon | cut -f1 | tr '\n' ' ')" "belvosta.ico "
expect "the code run during the installation" "$(rows CustomAction | cut -f1-4 | tr '\t\n' ' |')" \
  "SetInstallLocation 51 ARPINSTALLLOCATION [INSTALLDIR]|"
for table in Registry CreateFolder ServiceInstall ServiceControl Environment IniFile Binary \
             MoveFile DuplicateFile Class ProgId Extension TypeLib; do
  [ -z "$(rows "$table")" ] || fail "the $table table is not empty: $(rows "$table")"
done
[ "$(rows Upgrade | cut -f1 | sort -u)" = "$upgrade_code" ] ||
  fail "the Upgrade table names another upgrade code"

streams=$(msiinfo streams "$msi" | tr -cd "[:print:]\n" | sort | tr "\n" " ")
if grep -q "^# $(basename "$msi"): signed" "$dist/SHA256SUMS"; then
  expect "the streams" "$streams" "DigitalSignature Icon.belvosta.ico SummaryInformation belvosta.cab "
else
  expect "the streams" "$streams" "Icon.belvosta.ico SummaryInformation belvosta.cab "
fi

# The files it installs are the zip's.
mkdir "$work/msi" "$work/zip"
(cd "$work/msi" && msiextract "$msi" >/dev/null)
unzip -q "$zip" -d "$work/zip"
for file in belvosta.exe LIESMICH.txt; do
  cmp -s "$work/msi/Program Files/Quirlant Software/Belvosta/$file" \
         "$work/zip/belvosta-$version-win32/$file" ||
    fail "the MSI's $file is not the one of $(basename "$zip")"
done
echo "check-msi: $(basename "$msi"): Belvosta $version of Quirlant Software, per machine, the" \
     "zip's two files, one shortcut, no registry value, upgrade code $upgrade_code"

# --- Under Wine -----------------------------------------------------------------------
scripts/wine32-setup.sh >/dev/null
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
prefix=$work/prefix
export WINEPREFIX=$prefix WINEARCH=win64 WINEDEBUG=-all
# No Mono or Gecko installers, and no Linux menu entries made from the shortcut (they would
# land outside the prefix).
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset DISPLAY
run_wine() {
  timeout 600 "$wine" "$@"
}
# Waits for the prefix's server to end, which writes the registry to its files.
settle() {
  timeout 120 "$wineserver" -w
}
# Every file and folder of the prefix, and every registry key with its values.
snapshot() {
  (cd "$prefix" && find drive_c | sort) >"$work/$1.files"
  cat "$prefix/system.reg" "$prefix/user.reg" >"$work/$1.registry"
}
run_wine wineboot -i >/dev/null 2>&1 || true
settle
[ -d "$prefix/drive_c/windows/syswow64" ] || fail "wineboot made no 64-bit prefix"
snapshot before

run_wine msiexec /i "$msi" /qn || fail "msiexec /i $(basename "$msi") /qn failed (status $?)"
settle
snapshot installed

folder="drive_c/Program Files (x86)/Quirlant Software/Belvosta"
windows_folder='C:\Program Files (x86)\Quirlant Software\Belvosta'
for file in belvosta.exe LIESMICH.txt; do
  cmp -s "$prefix/$folder/$file" "$work/zip/belvosta-$version-win32/$file" ||
    fail "msiexec did not install $file into $windows_folder"
done
added=$(comm -13 "$work/before.files" "$work/installed.files")
shortcuts=$(grep -E '^drive_c/(users/[^/]+/AppData/Roaming|ProgramData)/Microsoft/Windows/Start Menu/Programs/Belvosta\.lnk$' <<<"$added" || true)
[ "$(grep -c . <<<"$shortcuts")" -eq 1 ] || fail "not one Start-menu shortcut: ${shortcuts:-none}"
strings -a "$prefix/$shortcuts" | grep -qF "$windows_folder\\belvosta.exe" ||
  fail "the shortcut does not start the installed belvosta.exe"
strings -a -el "$prefix/$shortcuts" | grep -qF "\\Installer\\$product_code\\belvosta.ico" ||
  fail "the shortcut does not show the program's icon"
elsewhere=$(grep -vE "^drive_c/Program Files \(x86\)/Quirlant Software(/Belvosta(/belvosta\.exe|/LIESMICH\.txt)?)?$|^drive_c/windows/Installer(/[0-9a-f]+\.msi|/$product_code(/belvosta\.ico)?)?$" <<<"$added" |
            grep -vxF "$shortcuts" || true)
[ -z "$elsewhere" ] || fail "msiexec wrote outside the program's folder:"$'\n'"$elsewhere"

uninstall="HKLM\\Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$product_code"
# reg.exe under Wine now and then fails to start on a loaded machine: three tries, then the
# entry counts as missing.
entry=
for try in 1 2 3; do
  entry=$(run_wine reg query "$uninstall" 2>/dev/null | tr -d '\r') && break
  entry=
  settle
  sleep 2
done
[ -n "$entry" ] || fail "no uninstall entry $uninstall"
value() {
  awk -v name="$1" '$1 == name { sub(/^ *[^ ]+ +[^ ]+ +/, ""); print }' <<<"$entry"
}
expect "the uninstall entry's DisplayName" "$(value DisplayName)" "Belvosta"
expect "the uninstall entry's Publisher" "$(value Publisher)" "Quirlant Software"
expect "the uninstall entry's DisplayVersion" "$(value DisplayVersion)" "$version"
expect "the uninstall entry's InstallLocation" "$(value InstallLocation)" "$windows_folder\\"
expect "the uninstall entry's Size" "$(value Size)" "$(property ARPSIZE)"
expect "the uninstall entry's UninstallString" "$(value UninstallString)" "MsiExec.exe /X$product_code"
# Programs and Features shows the icon Windows Installer registered for the product.
grep -qF "\"ProductIcon\"=\"C:\\\\windows\\\\Installer\\\\$product_code\\\\belvosta.ico\"" \
  "$prefix/system.reg" || fail "the product's icon is not registered"
echo "check-msi: msiexec /i /qn installed $windows_folder, the shortcut ${shortcuts##*/}" \
     "and the uninstall entry, and nothing else"

program="$windows_folder\\belvosta.exe"
said=$(run_wine "$program" --version | tr -d '\r')
expect "the installed belvosta.exe --version" "$said" "Belvosta $version"
status=0
run_wine "$program" --check --json >"$work/check.json" || status=$?
[ "$status" -le 1 ] || fail "the installed belvosta.exe --check --json ended with status $status"
python3 - "$work/check.json" "$version" <<'EOF' || fail "the installed program's JSON is not its report"
import json, sys
report = json.load(open(sys.argv[1], encoding="utf-8"))
statuses = [c["status"] for c in report["components"]]
assert report["program"] == "Belvosta" and report["version"] == sys.argv[2], report
assert len(statuses) == 5 and set(statuses) <= {"present", "missing"}, statuses
EOF
echo "check-msi: the installed program says \"$said\" and checked all five components" \
     "(status $status)"

# A later version replaces it in one step, and it does not go back over that: the same
# files packed as the next version (the last number one up), the way a release would.
next_version=${version%.*}.$((${version##*.} + 1))
mkdir -p "$work/next/package"
cp "$work/zip/belvosta-$version-win32/belvosta.exe" "$work/next/"
cp "$work/zip/belvosta-$version-win32/LIESMICH.txt" "$work/next/package/"
echo "CMAKE_PROJECT_VERSION:STATIC=$next_version" >"$work/next/CMakeCache.txt"
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(date +%s)} \
  scripts/make-msi.sh "$work/next" "$work/next.msi" >/dev/null
next_code=$(msiinfo export "$work/next.msi" Property | tr -d '\r' |
            awk -F'\t' '$1 == "ProductCode" { print $2 }')
[ "$next_code" != "$product_code" ] || fail "version $next_version has the same product code"
run_wine msiexec /i "$work/next.msi" /qn || fail "msiexec /i of version $next_version failed"
settle
uninstall_root=${uninstall%\\*}
versions=$(run_wine reg query "$uninstall_root" /s 2>/dev/null | tr -d '\r' |
           awk '$1 == "DisplayName" && $3 == "Belvosta" { n++ } END { print n + 0 }')
expect "the number of Belvosta entries after the upgrade" "$versions" 1
entry=$(run_wine reg query "$uninstall_root\\$next_code" 2>/dev/null | tr -d '\r') ||
  fail "version $next_version has no uninstall entry"
expect "the uninstall entry's DisplayVersion after the upgrade" "$(value DisplayVersion)" \
  "$next_version"
if run_wine msiexec /i "$msi" /qn; then
  fail "version $version installed over version $next_version"
fi
settle
cmp -s "$prefix/$folder/belvosta.exe" "$work/zip/belvosta-$version-win32/belvosta.exe" ||
  fail "the upgrade lost belvosta.exe"
echo "check-msi: version $next_version replaced it (one entry left), and $version does not" \
     "go back over $next_version"

run_wine msiexec /x "$work/next.msi" /qn || fail "msiexec /x of version $next_version failed"
settle
snapshot removed
# Windows Installer's own folder (C:\windows\Installer) may stay, empty.
left=$(comm -13 "$work/before.files" "$work/removed.files" | grep -vx "drive_c/windows/Installer" || true)
[ -z "$left" ] || fail "msiexec /x left files behind:"$'\n'"$left"
# The form in which Windows Installer writes a GUID into registry key names: the first three
# groups reversed, the two digits of each further byte swapped.
packed_guid() {
  local hex=${1//[\{\}-]/}
  echo "$(rev <<<"${hex:0:8}")$(rev <<<"${hex:8:4}")$(rev <<<"${hex:12:4}")$(sed 's/\(.\)\(.\)/\2\1/g' <<<"${hex:16}")"
}
remains=$(grep -n -i -e "belvosta" -e "quirlant" \
            -e "${product_code:1:36}" -e "$(packed_guid "$product_code")" \
            -e "${next_code:1:36}" -e "$(packed_guid "$next_code")" "$work/removed.registry" || true)
[ -z "$remains" ] || fail "msiexec /x left registry entries behind:"$'\n'"$remains"
# Keys new since before the installation may only be Windows Installer's own, now empty.
keys() { grep '^\[' "$work/$1.registry" | sed 's/\] [0-9]*$/]/' | sort -u; }
new_keys=$(comm -13 <(keys before) <(keys removed) |
           grep -vE '^\[Software\\\\(Classes\\\\Installer\\\\(Features|Products|UpgradeCodes)|Microsoft\\\\Windows\\\\CurrentVersion\\\\Installer\\\\(UpgradeCodes|UserData\\\\S-1-5-18\\\\(Components|Products)))\]$' ||
           true)
[ -z "$new_keys" ] || fail "msiexec /x left registry keys behind:"$'\n'"$new_keys"
echo "check-msi: msiexec /x /qn removed it: no file, shortcut or registry key of it is left"
