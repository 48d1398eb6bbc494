#!/usr/bin/env bash
# Start/close stress run of the real program on a virtual X display, with every processor
# kept busy by loops that compete with it. The program is started many times, alternately in
# an empty folder (a first start: the data tree is made on worker threads while the window
# comes up) and in a folder whose tree exists; each time the run waits until the window is
# mapped, closes it with its "x" (at once, or after a short pause, so that the close also
# meets the workers of a first start still running) and waits for the program to end.
# It counts starts, windows shown, clean exits, aborts, other crashes, hangs and sanitizer
# reports, and fails on anything but a clean exit after a shown window.
# Usage: startclose.sh <path-to-quillnote> [starts, default 100]
#   QUILLNOTE_STRESS_BUSY    busy loops beside the program (default: two per processor)
#   QUILLNOTE_STRESS_KEEP    folder that keeps the output of every failed start (optional)
#   QUILLNOTE_STRESS_XVFB    the display server's arguments instead of those of tests/support/display.sh
# A sanitizer build reports into files: TSAN_OPTIONS / ASAN_OPTIONS get a log_path here.
set -euo pipefail

# shellcheck source-path=SCRIPTDIR source=../support/display.sh
. "$(dirname "${BASH_SOURCE[0]}")/../support/display.sh"
if [ "${1:-}" != "--on-display" ]; then
  [ $# -ge 1 ] || fail "usage: $0 <path-to-quillnote> [starts]"
  display_server="${QUILLNOTE_STRESS_XVFB:-$display_server}"
  rerun_on_display "$0" "$1" "" "${2:-100}"
fi

bin="$2"
starts="$3"
busy="${QUILLNOTE_STRESS_BUSY:-$((2 * $(nproc)))}"
keep="${QUILLNOTE_STRESS_KEEP:-}"

work="$(mktemp -d)"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
reports="$work/reports"
mkdir "$reports"
# Sanitizer reports go to files, so a report is seen whatever the exit status; the program
# is stopped at the first one.
export TSAN_OPTIONS="${TSAN_OPTIONS:+$TSAN_OPTIONS:}halt_on_error=1:log_path=$reports/tsan"
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}halt_on_error=1:log_path=$reports/asan"

pid=""
loops=()
cleanup() {
  [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null
  for p in "${loops[@]}"; do kill "$p" 2>/dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT

for _ in $(seq "$busy"); do
  (while :; do :; done) &
  loops+=($!)
done

tree="$work/tree"  # the folder whose data tree exists after its first start
mkdir "$tree"
declare -A count=([started]=0 [shown]=0 [clean]=0 [abort]=0 [crash]=0 [status]=0 [hang]=0 [report]=0 [reclick]=0)
slowest_window=0  # ms from start to the window shown
slowest_exit=0    # ms from the window shown to the end of the program
max() { echo $(($1 > $2 ? $1 : $2)); }
failures=()

# Keeps what a failed start left: its output and the sanitizer reports.
record_failure() {
  local what="$1" out="$2"
  failures+=("start $i ($where): $what")
  echo "start $i ($where): $what" >&2
  tail -n 30 "$out" >&2 || true
  if [ -n "$keep" ]; then
    mkdir -p "$keep"
    cp "$out" "$keep/start-$i.out"
    for f in "$reports"/*; do
      if [ -e "$f" ]; then cp "$f" "$keep/start-$i-$(basename "$f")"; fi
    done
  fi
}

started_at=$SECONDS
for i in $(seq "$starts"); do
  if [ $((i % 2)) -eq 1 ]; then
    where="empty folder"
    dir="$work/empty-$i"
    mkdir "$dir"
  else
    where="existing tree"
    dir="$tree"
  fi
  out="$work/out-$i.txt"
  rm -f "$reports"/*
  begun_at=$(date +%s%N)
  (cd "$dir" && exec "$bin") >"$out" 2>&1 &
  pid=$!
  count[started]=$((count[started] + 1))

  # The window, or the end of the program before it.
  wid="$(wait_for_window "$pid" 600 '^Quillnote$')"
  shown_at=$(date +%s%N)
  clicks=0
  if [ -n "$wid" ]; then
    count[shown]=$((count[shown] + 1))
    slowest_window=$(max "$slowest_window" $(((shown_at - begun_at) / 1000000)))
    # Every third start waits a little before closing, the others close at once.
    [ $((i % 3)) -eq 0 ] && sleep 0.5
    for _ in 1 2 3; do
      clicks=$((clicks + 1))
      xdotool mousemove --window "$wid" 535 12 click 1 2>/dev/null || true
      for _ in $(seq 100); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
      done
      kill -0 "$pid" 2>/dev/null || break
    done
  fi
  [ "$clicks" -gt 1 ] && count[reclick]=$((count[reclick] + 1))
  [ -n "$wid" ] && slowest_exit=$(max "$slowest_exit" $((($(date +%s%N) - shown_at) / 1000000)))
  hung=0
  if kill -0 "$pid" 2>/dev/null; then
    hung=1
    count[hang]=$((count[hang] + 1))
    record_failure "still running (window ${wid:-never shown})" "$out"
    kill -9 "$pid" 2>/dev/null || true
  fi
  status=0
  wait "$pid" || status=$?
  pid=""

  if [ "$hung" -eq 1 ]; then
    :
  elif compgen -G "$reports/*" >/dev/null; then
    count[report]=$((count[report] + 1))
    cat "$reports"/* >>"$out"
    record_failure "sanitizer report (exit status $status)" "$out"
  elif [ "$status" -eq 134 ]; then
    count[abort]=$((count[abort] + 1))
    record_failure "aborted (SIGABRT)" "$out"
  elif [ "$status" -gt 128 ]; then
    count[crash]=$((count[crash] + 1))
    record_failure "ended by signal $((status - 128))" "$out"
  elif [ "$status" -ne 0 ] && [ "$status" -le 128 ]; then
    count[status]=$((count[status] + 1))
    record_failure "exit status $status" "$out"
  elif [ "$status" -eq 0 ] && [ -n "$wid" ]; then
    count[clean]=$((count[clean] + 1))
  elif [ "$status" -eq 0 ]; then
    record_failure "ended with status 0 without showing its window" "$out"
  fi
  [ "$where" = "empty folder" ] && rm -rf "$dir"
  rm -f "$out"
done

summary="${count[started]} starts in $((SECONDS - started_at)) s beside $busy busy loops"
summary+=" (half in an empty folder, half in an existing tree): ${count[shown]} windows shown,"
summary+=" ${count[clean]} clean exits, ${count[abort]} aborts, ${count[crash]} other crashes,"
summary+=" ${count[status]} non-zero exits, ${count[hang]} hangs, ${count[report]} sanitizer reports;"
summary+=" slowest window ${slowest_window} ms, slowest close ${slowest_exit} ms,"
summary+=" ${count[reclick]} closes needed the x clicked again"
[ "${#failures[@]}" -eq 0 ] || fail "$summary"
[ "${count[clean]}" -eq "$starts" ] || fail "$summary"
echo "PASS: $summary"
