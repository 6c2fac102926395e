#!/usr/bin/env bash
# Fails when one of our C++ files differs from the root .clang-format (generated tables are marked
# "// clang-format off" by their generators). With --fix, formats them instead.
set -euo pipefail
cd "$(dirname "$0")/.."
mode=(--dry-run --Werror)
if [ "${1:-}" = "--fix" ]; then mode=(-i); fi
mapfile -t files < <(find src tests bench fuzz -type f \( -name '*.cpp' -o -name '*.h' \) 2>/dev/null | sort)
if ! clang-format "${mode[@]}" "${files[@]}"; then
    echo "Format differs from .clang-format: run scripts/check-format.sh --fix" >&2
    exit 1
fi
