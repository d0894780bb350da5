#!/usr/bin/env bash
# CTest's emulator for the Windows build: runs one test program under Wine.
# - Wine does not pass variables that begin with QT_ to Windows programs, so QT_QPA_PLATFORM is
#   set again inside the Windows side, by cmd, as is the folder of fonts.
# - Qt Test's report to standard output does not come through Wine either, so the program writes
#   it to a file that is printed afterwards.
set -uo pipefail
program=$(winepath -w "$1")
shift
report=$(mktemp "${TMPDIR:-/tmp}/vantrel-test.XXXXXX")
trap 'rm -f "$report"' EXIT
command="$program $* -o $(winepath -w "$report"),txt"
[[ -n ${QT_QPA_PLATFORM:-} ]] && command="set QT_QPA_PLATFORM=$QT_QPA_PLATFORM&& $command"
# Qt for Windows ships no fonts, and the offscreen platform has no system fonts to fall back on:
# it is given Debian's DejaVu, which the Linux tests measure text in too.
command="set QT_QPA_FONTDIR=$(winepath -w /usr/share/fonts/truetype/dejavu)&& $command"
wine cmd /c "$command"
status=$?
cat "$report"
exit "$status"
