#!/usr/bin/env bash
# Fails when a C or C++ file of the project is not laid out as .clang-format says.
# scripts/check-format.sh --fix rewrites them instead.
. "$(dirname "$0")/lib/preamble.sh"
mapfile -t files < <(git ls-files -- '*.cpp' '*.h' '*.c' '*.hpp')
if [ "${1:-}" = "--fix" ]; then
    clang-format -i "${files[@]}"
else
    clang-format --dry-run --Werror "${files[@]}"
    echo "format: ${#files[@]} files laid out as .clang-format says"
fi
