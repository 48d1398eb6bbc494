#!/usr/bin/env bash
# Builds the store's fuzz targets with clang (build-fuzz), replays each seed corpus, then
# fuzzes each target for a bounded time. Prints the executions of each target and fails on
# any crash, sanitizer report or broken invariant.
#   fuzz/run.sh [seconds per target, default 60]
set -euo pipefail
src="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:-60}"
build="$src/build-fuzz"
targets=(linereader wholefile settings topicdecode search)

cmake -S "$src" -B "$build" -G Ninja -DQUILLNOTE_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build"

# Scratch space in memory where there is some: the targets write files on every run, and
# each write is flushed to disk.
scratch="${TMPDIR:-/tmp}"
[ -d /dev/shm ] && [ -w /dev/shm ] && scratch=/dev/shm
work="$(mktemp -d "$scratch/quillnote-fuzz.XXXXXX")"
trap 'rm -rf "$work"' EXIT
export QUILLNOTE_FUZZ_TMP="$work"
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
status=0
summary=()
for t in "${targets[@]}"; do
  bin="$build/fuzz/fuzz_$t"
  seeds="$src/fuzz/corpus/$t"
  # The committed corpus stays as it is; new inputs go to a scratch copy.
  mkdir -p "$work/$t"
  cp "$seeds"/* "$work/$t/"
  log="$work/$t.log"
  if ! (cd "$work" && "$bin" -runs=0 "$seeds"/* >"$log.replay" 2>&1); then
    echo "fuzz_$t: the seed corpus fails:"
    tail -n 30 "$log.replay"
    status=1
    summary+=("fuzz_$t: seed corpus FAILED")
    continue
  fi
  if (cd "$work" && "$bin" -max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$work/$t-" "$work/$t" >"$log" 2>&1); then
    runs="$(grep -Eo '^Done [0-9]+ runs' "$log" | grep -Eo '[0-9]+' | tail -n 1)"
    summary+=("fuzz_$t: $(ls "$seeds" | wc -l) seeds replayed, ${runs:-?} executions in ${seconds}s, no findings")
  else
    echo "fuzz_$t: FINDING"
    grep -E -A3 'invariant broken|ERROR:|runtime error' "$log" | head -n 40 || tail -n 40 "$log"
    for a in "$work/$t"-*; do
      [ -e "$a" ] || continue
      mkdir -p "$src/build-fuzz/findings"
      cp "$a" "$src/build-fuzz/findings/"
      echo "  input kept in build-fuzz/findings/$(basename "$a")"
    done
    status=1
    summary+=("fuzz_$t: FINDING (see above)")
  fi
done
printf '%s\n' "${summary[@]}"
exit $status
