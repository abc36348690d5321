#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test twice: in the normal build
# (warnings as errors) and in the address/undefined/leak-sanitizer build; then runs
# every fuzzer for a short time, and builds and checks the Debian packages.
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
# LeakSanitizer is on: a leak of ours fails the test that shows it. The suppressions
# name only Qt's and the platform's one-time allocations.
ASAN_OPTIONS="detect_leaks=1:abort_on_error=1" \
LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0" \
UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
  ctest --test-dir "$root/build-asan" --output-on-failure -j 2

echo "== fuzzers (every reader of outside data, ${TREVIX_FUZZ_SECONDS:-20} s each)"
"$root/scripts/fuzz.sh" "${TREVIX_FUZZ_SECONDS:-20}"

echo "== Debian packages"
"$root/scripts/package.sh" "$root/build-pkg/packages"
"$root/scripts/check-package.sh" "$root/build-pkg/packages"

