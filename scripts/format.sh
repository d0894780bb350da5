#!/usr/bin/env bash
# Formats every C++ file that git tracks by the root .clang-format; with --check, changes nothing
# and fails when a file is not formatted.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if ! command -v clang-format >/dev/null; then
    [[ $(id -u) -ne 0 ]] && sudo=sudo || sudo=""
    $sudo apt-get update -qq && DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq clang-format >/dev/null
fi
if [[ ${1:-} == --check ]]; then
    clang-format --dry-run --Werror "${files[@]}"
    echo "clang-format: ${#files[@]} files clean"
else
    clang-format -i "${files[@]}"
fi
