#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer)
# and runs each for the given number of seconds (default 60), starting from fuzz/seeds/<target>
# where there are seeds. Corpora stay in build-fuzz/corpus;
# a crashing input is written to build-fuzz/crashes and ends the run with an error.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
scripts/setup.sh clang libclang-rt-14-dev >/dev/null

flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF \
    -DVANTREL_FUZZ=ON -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
targets=(fuzz_settings fuzz_bookies fuzz_numbertext fuzz_records fuzz_ledger fuzz_offers fuzz_statements)
cmake --build build-fuzz --target "${targets[@]}"

mkdir -p build-fuzz/crashes
for target in "${targets[@]}"; do
    mkdir -p "build-fuzz/corpus/$target"
    echo "== $target for ${seconds}s"
    QT_QPA_PLATFORM=offscreen "build-fuzz/fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="build-fuzz/crashes/$target-" "build-fuzz/corpus/$target" $(compgen -G "fuzz/seeds/$target" || true) 2>&1 |
        grep -E "^(stat::number_of_executed_units|stat::new_units_added|==|SUMMARY|Done)" || true
    if compgen -G "build-fuzz/crashes/$target-*" >/dev/null; then
        echo "$target found a crash: see build-fuzz/crashes" >&2
        exit 1
    fi
done
