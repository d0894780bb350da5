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

# Median wall time (ms) and median peak resident memory (KiB) of one program over $runs runs.
measure() {
    local program=$1 times=() memories=()
    for ((i = 0; i < runs; i++)); do
        local start end memory
        start=$(date +%s%N)
        memory=$(/usr/bin/time -f %M "$program" 2>&1 >/dev/null | tail -1)
        end=$(date +%s%N)
        times+=($(((end - start) / 1000)))
        memories+=("$memory")
    done
    local median_time median_memory
    median_time=$(printf '%s\n' "${times[@]}" | sort -n | sed -n "$((runs / 2 + 1))p")
    median_memory=$(printf '%s\n' "${memories[@]}" | sort -n | sed -n "$((runs / 2 + 1))p")
    echo "$median_time $median_memory"
}
read -r bare_time bare_memory < <(measure build-bench/bench/startup_bare)
read -r vantrel_time vantrel_memory < <(measure build-bench/bench/startup_vantrel)
echo
echo "Start-up to first frame, median of $runs runs:"
printf '  bare Qt window: %6.1f ms %7d KiB\n' "$(bc -l <<<"$bare_time / 1000")" "$bare_memory"
printf '  Vantrel:        %6.1f ms %7d KiB\n' "$(bc -l <<<"$vantrel_time / 1000")" "$vantrel_memory"
printf '  ratio:          %6.2fx   %6.2fx\n' "$(bc -l <<<"$vantrel_time / $bare_time")" \
    "$(bc -l <<<"$vantrel_memory / $bare_memory")"
