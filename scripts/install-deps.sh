#!/usr/bin/env bash
# Installs the Debian packages a step needs, only those missing.
#   install-deps.sh build     compilers, CMake, FLTK (linked statically: the X libraries'
#                             headers), the JSON library
#   install-deps.sh test      the above, GoogleTest, Xvfb and screenshot tools, strace,
#                             Python (JSON)
#   install-deps.sh package   what the packages and their checks need (fakeroot, lintian)
#   install-deps.sh release   what the reproducibility check needs (git, diffoscope)
#   install-deps.sh windows   the MinGW cross compilers, the JSON library
#   install-deps.sh installer the MSI package and the signatures: wixl and msitools, the
#                             msitools library for Python (scripts/msi-summary.py),
#                             osslsigncode, openssl, unzip, binutils (strings)
#   install-deps.sh wine      Wine and Xvfb for the Windows end-to-end tests, Python (JSON)
#   install-deps.sh bench     the searches the benchmarks compare against (GNU find, fd)
#   install-deps.sh wine32    32-bit Wine, and qemu-i386 for kernels without 32-bit support
#   install-deps.sh fuzz      Clang, libFuzzer and Clang's sanitizer runtimes (scripts/fuzz.sh),
#                             with what the test group installs
set -euo pipefail

packages=()
for group in "$@"; do
  case "$group" in
    build) packages+=(cmake make g++ pkg-config libfltk1.3-dev libxcursor-dev libxinerama-dev
                      fonts-liberation nlohmann-json3-dev) ;;
    test) packages+=(cmake make g++ pkg-config libfltk1.3-dev libxcursor-dev libxinerama-dev
                     fonts-liberation nlohmann-json3-dev googletest libgtest-dev libbenchmark-dev
                     xvfb xdotool imagemagick x11-utils strace python3) ;;
    package) packages+=(dpkg-dev file desktop-file-utils fakeroot lintian man-db) ;;
    release) packages+=(git diffoscope-minimal) ;;
    windows) packages+=(g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686
                        binutils-mingw-w64-x86-64 nlohmann-json3-dev) ;;
    installer) packages+=(wixl msitools gir1.2-libmsi-1.0 python3-gi python3 osslsigncode openssl
                          unzip binutils) ;;
    wine) packages+=(wine64 xvfb xdotool imagemagick python3) ;;
    bench) packages+=(findutils fd-find python3) ;;
    wine32) packages+=(wine64 wine32:i386 qemu-user-static gcc xvfb python3) ;;
    fuzz) packages+=(cmake make clang libfuzzer-14-dev libclang-rt-14-dev pkg-config
                     libfltk1.3-dev libxcursor-dev libxinerama-dev nlohmann-json3-dev
                     googletest libgtest-dev libbenchmark-dev python3) ;;
    *) echo "install-deps.sh: unknown group '$group'" >&2; exit 2 ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
if [[ " ${missing[*]} " == *:i386* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
