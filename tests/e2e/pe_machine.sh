#!/usr/bin/env bash
# Prints the processor a Windows program is built for: i386, amd64, or the machine field
# of its PE header in hex.
#   pe_machine.sh PROGRAM.exe
set -euo pipefail
# The PE header's offset lies at 0x3c; its machine field follows the 4-byte signature.
header=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
machine=$(od -An -tx2 -j$((header + 4)) -N2 "$1" | tr -d ' ')
case "$machine" in
  014c) echo i386 ;;
  8664) echo amd64 ;;
  *) echo "$machine" ;;
esac
