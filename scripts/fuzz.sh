#!/usr/bin/env bash
# Builds the libFuzzer targets (clang) into build-fuzz/ and runs each for SECONDS
# (default 30) on its seed corpus in tests/fuzz/corpus/<target>, JOBS at a time (default
# 2). Prints one line per target with its executions and findings, and exits non-zero on
# any crash, failed check, leak, timeout or out-of-memory. What a run finds is kept in
# build-fuzz/findings/ (emptied when a run starts); the seed corpus in the repository is
# never written to.
#
# Usage: scripts/fuzz.sh [SECONDS] [TARGET ...]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:-30}"
shift || true
jobs="${JOBS:-2}"
build="${FUZZ_BUILD_DIR:-$root/build-fuzz}"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DTREVIX_FUZZ=ON >/dev/null
cmake --build "$build" --target fuzzers -j "$(nproc)"

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  mapfile -t targets < <(cd "$root/tests/fuzz/corpus" && ls -d -- *_fuzz)
fi

findings="$build/findings"
runs="$build/runs"
rm -rf "$findings"
mkdir -p "$findings"
rm -rf "$runs"
mkdir -p "$runs"

# The help file's child side runs chmlib in the fuzzer's own process, where chmlib's
# faults on damaged files (which the program keeps inside its child process) end the run.
# That target runs in libFuzzer's fork mode and goes on after such a fault; a fault counts
# as a finding only when it is not inside chmlib.
untrusted="help_child_fuzz"
untrusted_library="libchm.so"

# Whether the first frame of the fault in log that is either the untrusted library's or
# in a source file of ours is the library's.
fault_in_untrusted_library() {
  { grep -E '^ +#[0-9]+ ' "$1" || true; } |
    { grep -E "$untrusted_library| $root/(src|tests|marvik)/" || true; } |
    head -1 | grep -q "$untrusted_library"
}

run_one() {
  local target="$1"
  local work="$runs/$target"
  mkdir -p "$work/corpus"
  local dict=()
  [ -f "$root/tests/fuzz/${target%_fuzz}.dict" ] && dict=(-dict="$root/tests/fuzz/${target%_fuzz}.dict")
  # Leaks are findings too (LeakSanitizer runs after every input that allocated more
  # than it freed). A help file read through the child may take up to its deadline of
  # ten seconds; no other input may take more than a few.
  local mode=()
  local prefix="$findings/$target-"
  if [ "$target" = "$untrusted" ]; then
    mkdir -p "$work/faults"
    mode=(-fork=1 -ignore_crashes=1 -ignore_ooms=1 -ignore_timeouts=1)
    prefix="$work/faults/"
  fi
  local status=0
  (cd "$work" && ASAN_OPTIONS="detect_leaks=1" \
    UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
    "$build/$target" -max_total_time="$seconds" -timeout=25 -rss_limit_mb=2560 \
      -malloc_limit_mb=2560 -print_final_stats=1 -artifact_prefix="$prefix" "${mode[@]}" \
      "${dict[@]}" corpus "$root/tests/fuzz/corpus/$target" >"$work/log" 2>&1) || status=$?
  if [ "$target" = "$untrusted" ]; then
    # Each fault again, alone, to see where it happens.
    local fault contained=0
    status=0
    for fault in "$work"/faults/crash-* "$work"/faults/oom-* "$work"/faults/timeout-* \
                 "$work"/faults/leak-*; do
      [ -f "$fault" ] && [ "${fault%.log}" = "$fault" ] || continue
      (cd "$work" && timeout 60 "$build/$target" -timeout=10 -rss_limit_mb=2560 \
        -malloc_limit_mb=2560 "$fault" >"$fault.log" 2>&1) || true
      if fault_in_untrusted_library "$fault.log"; then
        contained=$((contained + 1))
      else
        cp "$fault" "$findings/$target-$(basename "$fault")"
        status=1
      fi
    done
    echo "$contained" >"$work/contained"
  fi
  echo "$status" >"$work/status"
}

running=0
for target in "${targets[@]}"; do
  [ -x "$build/$target" ] || { echo "fuzz: no target $target" >&2; exit 2; }
  run_one "$target" &
  running=$((running + 1))
  if [ "$running" -ge "$jobs" ]; then
    wait -n || true
    running=$((running - 1))
  fi
done
wait

failed=0
printf '%-18s %12s %10s %8s  %s\n' target executions exec/s corpus findings
for target in "${targets[@]}"; do
  work="$runs/$target"
  status="$(cat "$work/status")"
  execs="$(awk '/stat::number_of_executed_units:/ {n = $2} END {print n}' "$work/log")"
  speed="$(awk '/stat::average_exec_per_sec:/ {n = $2} END {print n}' "$work/log")"
  if [ -z "$execs" ]; then # fork mode: the count of the last status line
    execs="$(awk '/^#[0-9]+/ {n = substr($1, 2); sub(/:$/, "", n)} END {print n}' "$work/log")"
  fi
  corpus="$(find "$work/corpus" -type f | wc -l)"
  found="none"
  if [ -f "$work/contained" ] && [ "$(cat "$work/contained")" -gt 0 ]; then
    found="none of ours ($(cat "$work/contained") faults inside $untrusted_library, kept in $work/faults)"
  fi
  if [ "$status" -ne 0 ]; then
    failed=1
    found="$(cat "$work"/log "$work"/faults/*.log 2>/dev/null | grep -m1 -E 'ERROR: (libFuzzer|AddressSanitizer|LeakSanitizer|UndefinedBehaviorSanitizer)|runtime error|fuzz check failed|out-of-memory|timeout' || echo "exit $status")"
  fi
  printf '%-18s %12s %10s %8s  %s\n' "$target" "${execs:-?}" "${speed:-?}" "$corpus" "$found"
done
if [ "$failed" -ne 0 ]; then
  echo "fuzz: findings above; inputs in $findings, logs in $runs/<target>/log" >&2
  exit 1
fi
