#!/usr/bin/env bash
# Fails when a tracked C or C++ file differs from the repository's .clang-format.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
mapfile -t files < <(git ls-files -co --exclude-standard -- '*.cpp' '*.h' '*.hpp' '*.c')
if [ ${#files[@]} -eq 0 ]; then exit 0; fi
clang-format --dry-run -Werror "${files[@]}"
