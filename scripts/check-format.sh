#!/usr/bin/env bash
# Fails when a C++ source differs from what .clang-format asks for.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
mapfile -t files < <(git ls-files '*.cpp' '*.h' '*.hpp' 2>/dev/null || find . -name '*.cpp' -o -name '*.h')
if [ ${#files[@]} -eq 0 ]; then exit 0; fi
clang-format --dry-run -Werror "${files[@]}"
echo "format: ${#files[@]} files clean"
