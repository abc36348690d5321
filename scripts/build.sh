#!/usr/bin/env bash
# Configures and builds into build/ (or the directory given as $1, with extra CMake args after it).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
dir="${1:-$root/build}"
shift || true
cmake -S "$root" -B "$dir" -G Ninja "$@"
cmake --build "$dir" -j "$(nproc)"
