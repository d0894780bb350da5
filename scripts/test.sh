#!/usr/bin/env bash
# Sets up and builds Vantrel with its benchmarks, then runs the whole test suite (headless): once
# on the normal build, then every fuzz target for ten seconds, and once more built with
# AddressSanitizer and UndefinedBehaviorSanitizer (with the check of doubles too large for the
# integer they become, which GCC's "undefined" leaves out).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh libbenchmark-dev clang libclang-rt-14-dev
cmake -S . -B build -DVANTREL_BENCH=ON >/dev/null
cmake --build build
ctest --test-dir build --output-on-failure --timeout 120

echo "== Every fuzz target for ten seconds"
bash fuzz/run.sh 10

echo "== The same tests under AddressSanitizer and UndefinedBehaviorSanitizer"
sanitizers="-fsanitize=address,undefined,float-cast-overflow -fno-omit-frame-pointer -fno-sanitize-recover=undefined,float-cast-overflow"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS="$sanitizers" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined,float-cast-overflow" >/dev/null
cmake --build build-asan
ASAN_OPTIONS=detect_leaks=1 ctest --test-dir build-asan --output-on-failure --timeout 300
