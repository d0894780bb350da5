#!/usr/bin/env bash
# Sets up and builds Vantrel, then runs it. Without a display it starts the program on a virtual
# X display, saves a screenshot, ends the program and says where the picture is.
set -euo pipefail
cd "$(dirname "$0")/.."

if [[ -n ${DISPLAY:-} || -n ${WAYLAND_DISPLAY:-} ]]; then
    scripts/setup.sh
    exec build/vantrel
fi

scripts/setup.sh xvfb xauth x11-apps imagemagick
mkdir -p screenshots
shot=$PWD/screenshots/vantrel.png
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true' EXIT
sleep 1
DISPLAY=$display build/vantrel &
program=$!
sleep 3
version=$(sed -n 's/^project(Vantrel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
DISPLAY=$display xwd -silent -name "Vantrel - The Matched Betting Toolkit v$version" | convert xwd:- "$shot"
kill "$program"
wait "$program" 2>/dev/null || true
echo "No display here: Vantrel ran on a virtual display ($display) and was ended."
echo "Screenshot saved to $shot"
