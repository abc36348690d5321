#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test twice: in the normal build
# (warnings as errors) and in the address/undefined-sanitizer build.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup-debian.sh"

echo "== format check"
"$root/scripts/check-format.sh"

echo "== normal build"
"$root/scripts/build.sh" "$root/build" -DTREVIX_WERROR=ON
ctest --test-dir "$root/build" --output-on-failure -j 2

echo "== sanitizer build (address, undefined)"
"$root/scripts/build.sh" "$root/build-asan" -DTREVIX_WERROR=ON -DTREVIX_SANITIZE=ON \
  -DTREVIX_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
ASAN_OPTIONS="detect_leaks=0:abort_on_error=1" \
UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
  ctest --test-dir "$root/build-asan" --output-on-failure -j 2

