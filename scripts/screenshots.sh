#!/usr/bin/env bash
# Drives the real program on a virtual X display as a user would, in a fresh home folder that reads
# like a user's (/home/sam) with a season's archive of bets in it: types a bet, presses Enter,
# archives it, opens the converter and presses Go, then opens the bet history from the Archive
# button's context menu and the offer calculators with Ctrl+K. Saves a screenshot of each window
# (and of each offer's tab, and of the history's Accounts, Free bets, By offer and Statements tabs,
# with a sample ledger and a Betfair statement beside the archive) in docs/screenshots/ and prints the files the run left in the data folder.
# With a scale factor as argument (2 for 200 %), the windows are drawn that much larger.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh xvfb xauth x11-apps imagemagick xdotool >/dev/null

scale=${1:-1}
suffix=$([[ $scale == 1 ]] && echo "" || echo "@${scale}x")
home=/home/sam
if [[ -e $home ]]; then
    echo "$home exists; the screenshots need a home folder of their own" >&2
    exit 1
fi
mkdir -p "$home/vantrel"
python3 scripts/samplearchive.py "$home/vantrel/vantrelLog.txt" 300
python3 scripts/sampleledger.py "$home/vantrel/vantrelLog.txt" "$home/vantrel/vantrelLedger.csv"
mkdir "$home/vantrel/statements"
python3 scripts/samplestatement.py "$home/vantrel/vantrelLog.txt" "$home/vantrel/statements/betfair-pl-sample.csv"
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 2048x1400x24 -nolisten tcp &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true; rm -rf "$home"' EXIT
export DISPLAY=$display
sleep 1
HOME=$home LANG=en_GB.UTF-8 QT_SCALE_FACTOR=$scale build/vantrel &
program=$!
main=$(xdotool search --sync --name "Matched Betting" | head -1)
eval "$(xdotool getwindowgeometry --shell "$main")"

xdotool windowfocus --sync "$main"
xdotool type --delay 20 "25"
for text in 2 2.05; do
    xdotool key Tab
    xdotool type --delay 20 "$text"
done
xdotool key Tab type "0"
xdotool key Return
xdotool mousemove $((X + 240 * scale)) $((Y + 112 * scale)) click 1 # Archive
mkdir -p docs/screenshots
sleep 0.5
# Before the converter opens: it would cover part of the main window on a small screen.
xwd -silent -id "$main" | convert xwd:- "docs/screenshots/vantrel$suffix.png"
xdotool mousemove $((X + 176 * scale)) $((Y + 112 * scale)) click 1 # a / b
converter=$(xdotool search --sync --name "FractionConverter" | head -1)
xdotool mousemove $((28 * scale)) $((52 * scale)) click 1 # Go
sleep 0.5

xwd -silent -id "$converter" | convert xwd:- "docs/screenshots/frmfrac$suffix.png"

xdotool mousemove $((X + 240 * scale)) $((Y + 112 * scale)) click 3 # Archive's context menu
sleep 0.5
xdotool key Down Return # "Show bet history..."
history=$(xdotool search --sync --name "Bet history" | head -1)
sleep 1
xwd -silent -id "$history" | convert xwd:- "docs/screenshots/history$suffix.png"
# The Accounts tab, the last of the totals' six others: a click in the totals table below, then
# Ctrl+Tab, which walks the tabs of the tab widget that holds the focus.
eval "$(xdotool getwindowgeometry --shell "$history")"
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT - 40 * scale)) click 1 # the totals table
for _ in 1 2 3 4 5 6; do
    xdotool key ctrl+Tab
    sleep 0.2
done
sleep 0.5
xwd -silent -id "$history" | convert xwd:- "docs/screenshots/history-accounts$suffix.png"
for tab in freebets byoffer statements; do
    xdotool key ctrl+Tab
    sleep 0.5
    xwd -silent -id "$history" | convert xwd:- "docs/screenshots/history-$tab$suffix.png"
done

# The offer calculators, each tab with its worked example (the inputs a first start shows).
xdotool windowfocus --sync "$main" key ctrl+k
offers=$(xdotool search --sync --name "Offer calculators" | head -1)
sleep 0.5
for tab in $(build/vantrel-offers --kinds); do
    xwd -silent -id "$offers" | convert xwd:- "docs/screenshots/offers-$tab$suffix.png"
    xdotool key ctrl+Tab
    sleep 0.3
done
kill "$program"
for file in "$home"/vantrel/*; do
    [[ -f $file ]] || continue
    echo "== $(basename "$file")"
    cat -A "$file" | head -5
done
echo "Screenshots saved in $PWD/docs/screenshots: vantrel$suffix.png, frmfrac$suffix.png, history$suffix.png," \
    "history-accounts$suffix.png, history-freebets$suffix.png, history-byoffer$suffix.png," \
    "history-statements$suffix.png, offers-*$suffix.png"
