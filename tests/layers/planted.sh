#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Ruvo developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The layer check on a copy of the source folders: silent and 0 as they are, then 1 and naming
# the line once an include it forbids is added to a file of FOLDER.
#
#   planted.sh CHECKLAYERS ROOT FOLDER INCLUDE
set -uo pipefail

check=$1 root=$2 folder=$3 include=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

for layer in calendar platform notes pad widgets app; do
    [ -d "$root/$layer" ] && cp -r "$root/$layer" "$work/"
done
out=$("$check" "$work" 2>&1) || fail "the unmodified copy fails: $out"
[ -z "$out" ] || fail "the unmodified copy prints: $out"

file=$(cd "$work" && find "$folder" -name '*.cpp' | sort | head -n 1)
[ -n "$file" ] || fail "no source file in $folder"
echo "#include \"$include\"" >>"$work/$file"
line=$(wc -l <"$work/$file")
out=$("$check" "$work" 2>&1)
status=$?
[ "$status" = 1 ] || fail "the check exits $status on \"$include\" in $file: $out"
grep -qF "$file:$line: #include \"$include\"" <<<"$out" ||
    fail "the report does not name $file:$line: $out"
echo PASS
