#!/usr/bin/env bash
# Sets up and builds Vantrel, then runs the whole test suite (headless).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
ctest --test-dir build --output-on-failure --timeout 120
