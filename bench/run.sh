#!/usr/bin/env bash
# Builds and runs every benchmark on the offscreen platform, then times the program's start-up
# against a bare Qt window, as whole processes over repeated runs. Prints all the figures.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-30}
scripts/setup.sh libbenchmark-dev time bc >/dev/null
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DVANTREL_BENCH=ON >/dev/null
cmake --build build-bench >/dev/null
export QT_QPA_PLATFORM=offscreen

build-bench/bench/bench_window
build-bench/bench/bench_files
echo
echo "Bet history on a million-record archive:"
build-bench/bench/history_load 1000000
echo
echo "Bet history on an offers file with a hand-edited line of 160,000 values:"
build-bench/bench/history_load 20000 offers longline
echo
echo "Bet history on 80,000 identical lines, each settled:"
build-bench/bench/history_load 80000 identical ledger
echo
echo "A Betfair statement of 50,000 markets imported into a history of a million records:"
build-bench/bench/statements_import 1000000 50000

# Median time to the first frame (µs, from just before the start to the frame the program prints)
# and median peak resident memory (KiB) of one command over $runs runs.
measure() {
    local times=() memories=() memory_file
    memory_file=$(mktemp)
    for ((i = 0; i < runs; i++)); do
        local start frame
        start=${EPOCHREALTIME/./}
        frame=$(/usr/bin/time -o "$memory_file" -f %M "$@" 2>/dev/null | tail -1)
        times+=($((frame / 1000 - start)))
        memories+=("$(tail -1 "$memory_file")")
    done
    rm -f "$memory_file"
    echo "$(printf '%s\n' "${times[@]}" | sort -n | sed -n "$((runs / 2 + 1))p")" \
        "$(printf '%s\n' "${memories[@]}" | sort -n | sed -n "$((runs / 2 + 1))p")"
}

report() {
    printf '  %-28s %7.1f ms %7d KiB   %5.2fx %5.2fx\n' "$1" "$(bc -l <<<"$2 / 1000")" "$3" \
        "$(bc -l <<<"$2 / $bare_time")" "$(bc -l <<<"$3 / $bare_memory")"
}

against_text() {
    printf '  Vantrel, %s, against the window with one label: %.2fx time, %.2fx memory\n' "$1" \
        "$(bc -l <<<"$2 / $text_time")" "$(bc -l <<<"$3 / $text_memory")"
}

read -r bare_time bare_memory < <(measure build-bench/bench/startup_bare)
read -r text_time text_memory < <(measure build-bench/bench/startup_bare --with-text)
read -r vantrel_time vantrel_memory < <(measure build-bench/bench/startup_vantrel)
later=$(mktemp -d)
build-bench/bench/startup_vantrel "$later/vantrel" >/dev/null 2>&1
read -r later_time later_memory < <(measure build-bench/bench/startup_vantrel "$later/vantrel")
rm -rf "$later"
echo
echo "Start-up to first frame, median of $runs runs (ratios to the bare window):"
report "bare Qt window" "$bare_time" "$bare_memory"
report "bare window with one label" "$text_time" "$text_memory"
report "Vantrel, first start" "$vantrel_time" "$vantrel_memory"
report "Vantrel, later start" "$later_time" "$later_memory"
against_text "first start" "$vantrel_time" "$vantrel_memory"
against_text "later start" "$later_time" "$later_memory"
