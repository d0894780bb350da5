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

# Median wall time (µs) and median peak resident memory (KiB) of one command over $runs runs.
measure() {
    local times=() memories=()
    for ((i = 0; i < runs; i++)); do
        local start end memory
        start=$(date +%s%N)
        memory=$(/usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -1)
        end=$(date +%s%N)
        times+=($(((end - start) / 1000)))
        memories+=("$memory")
    done
    echo "$(printf '%s\n' "${times[@]}" | sort -n | sed -n "$((runs / 2 + 1))p")" \
        "$(printf '%s\n' "${memories[@]}" | sort -n | sed -n "$((runs / 2 + 1))p")"
}

report() {
    printf '  %-28s %7.1f ms %7d KiB   %5.2fx %5.2fx\n' "$1" "$(bc -l <<<"$2 / 1000")" "$3" \
        "$(bc -l <<<"$2 / $bare_time")" "$(bc -l <<<"$3 / $bare_memory")"
}

read -r bare_time bare_memory < <(measure build-bench/bench/startup_bare)
read -r text_time text_memory < <(measure build-bench/bench/startup_bare --with-text)
read -r vantrel_time vantrel_memory < <(measure build-bench/bench/startup_vantrel)
echo
echo "Start-up to first frame, median of $runs runs (ratios to the bare window):"
report "bare Qt window" "$bare_time" "$bare_memory"
report "bare window with one label" "$text_time" "$text_memory"
report "Vantrel" "$vantrel_time" "$vantrel_memory"
printf '  Vantrel against the window with one label: %.2fx time, %.2fx memory\n' \
    "$(bc -l <<<"$vantrel_time / $text_time")" "$(bc -l <<<"$vantrel_memory / $text_memory")"
