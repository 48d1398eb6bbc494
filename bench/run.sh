#!/usr/bin/env bash
# Quillnote's benchmarks: builds the program and the benchmarks in release mode (in
# build-bench), runs every figure on a private X server (Xvfb) and prints one table:
# figure | median | baseline | ratio | budget | verdict.
#
#   bench/run.sh [--quick]
#
# Every figure is the median of several runs, and its baseline is measured in the same
# run, so the ratio holds on a busy machine. --quick takes fewer runs and shortens the idle
# figures (CPU over 10 s instead of 60 s, memory growth over 1 minute instead of 10).
set -euo pipefail

src="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$src/build-bench"
quick=0
for arg in "$@"; do
  case "$arg" in
    --quick) quick=1 ;;
    *) echo "usage: bench/run.sh [--quick]" >&2; exit 2 ;;
  esac
done
if [ "$quick" = 1 ]; then
  startup_runs=5 editor_runs=5 ten_runs=3 store_reps=5 store_min_time=0.05
  idle_instances=3 idle_cpu_s=10 growth_s=60
else
  startup_runs=11 editor_runs=11 ten_runs=5 store_reps=9 store_min_time=0.2
  idle_instances=3 idle_cpu_s=60 growth_s=600
fi

log() { echo "bench: $*" >&2; }

# What building, running and benchmarking need, installed when missing.
"$src/scripts/deps.sh" build run bench
log "building in release mode into $build"
cmake -S "$src" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILLNOTE_BENCH=ON \
  -DQUILLNOTE_TESTS=OFF >/dev/null
if ! cmake --build "$build" --target quillnote bench_store bench_editor bench_floor bench_waitmap \
  >"$build/bench-build.log" 2>&1; then
  cat "$build/bench-build.log" >&2
  log "the build failed"
  exit 1
fi
program="$build/quillnote"
waitmap="$build/bench/bench_waitmap"
floor="$build/bench/bench_floor"
for f in "$program" "$waitmap" "$floor" "$build/bench/bench_store" "$build/bench/bench_editor"; do
  [ -x "$f" ] || { log "missing $f: the build failed"; exit 1; }
done

work="$build/bench-run"
rm -rf "$work"
mkdir -p "$work"
rows="$work/rows.tsv"
: >"$rows"

# Everything started here is ended on exit, by process id.
pids=()
cleanup() {
  for p in "${pids[@]:-}"; do [ -n "$p" ] && kill "$p" 2>/dev/null || true; done
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true
}
trap cleanup EXIT

row() { printf 'ROW\t%s\t%s\t%s\t%s\n' "$1" "$2" "$3" "$4" >>"$rows"; }
median() { sort -g | awk '{ v[NR] = $1 } END { if (NR == 0) print "nan";
  else if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
rss_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status"; }
# CPU time of all of a process's threads so far, in nanoseconds (the scheduler's own count).
cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ s += $1 } END { printf "%.0f\n", s }'; }

# --- The store, under Google Benchmark -------------------------------------------------
log "store: $store_reps repetitions of each routine"
(cd "$work" && "$build/bench/bench_store" --benchmark_repetitions="$store_reps" \
  --benchmark_min_time="$store_min_time" --benchmark_report_aggregates_only=true \
  --benchmark_color=false 2>"$work/store.log") | grep '^ROW' >>"$rows"

# --- The editor on a 5 MB topic, offscreen ----------------------------------------------
log "editor: $editor_runs runs of each step on a 5 MB topic"
(cd "$work" && QT_QPA_PLATFORM=offscreen "$build/bench/bench_editor" --runs "$editor_runs" \
  2>"$work/editor.log") | grep '^ROW' >>"$rows"

# --- A private X server ------------------------------------------------------------------
# Xvfb picks a free display number itself and writes it to descriptor 3.
Xvfb -displayfd 3 -noreset -screen 0 1920x1080x24 -nolisten tcp 3>"$work/display" \
  >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { cat "$work/xvfb.log" >&2; log "Xvfb did not start"; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")" QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$work/xdg"
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
unset WAYLAND_DISPLAY
log "X server on $DISPLAY"

# The program's start, timed from outside until its home window is mapped, and its
# resident memory a second later. "later" runs reuse one tree; "first" runs each get an
# empty folder, so the data tree is created on the way.
later="$work/later"
mkdir -p "$later"
"$waitmap" --cwd "$later" --name Quillnote -- "$program" >/dev/null  # creates the tree
start_home() {  # folder; prints "ms rss_kb pid window"
  "$waitmap" --cwd "$1" --name Quillnote --rss-after 1000 ${2:+"$2"} -- "$program"
}
start_floor() {
  "$waitmap" --name "Quillnote floor" --rss-after 1000 ${1:+"$1"} -- "$floor"
}
start_floor_label() {
  "$waitmap" --name "Quillnote floor" --rss-after 1000 -- "$floor" --label
}
log "start-up: $startup_runs rounds of floor, floor with a label, first run and later run"
: >"$work/floor.txt"; : >"$work/label.txt"; : >"$work/first.txt"; : >"$work/later.txt"
for r in $(seq "$startup_runs"); do
  mkdir -p "$work/first-$r"
  # The order turns each round, so no kind always runs right after another.
  for kind in $(case $((r % 4)) in 0) echo floor label first later ;;
                 1) echo label first later floor ;; 2) echo first later floor label ;;
                 3) echo later floor label first ;; esac); do
    case "$kind" in
      floor) start_floor >>"$work/floor.txt" ;;
      label) start_floor_label >>"$work/label.txt" ;;
      first) start_home "$work/first-$r" >>"$work/first.txt" ;;
      later) start_home "$later" >>"$work/later.txt" ;;
    esac
  done
  rm -rf "$work/first-$r"
done
label_ms=$(cut -d' ' -f1 "$work/label.txt" | median)
floor_kb=$(cut -d' ' -f2 "$work/floor.txt" | median)
row startup_first "$(cut -d' ' -f1 "$work/first.txt" | median)" "$label_ms" ms
row startup_later "$(cut -d' ' -f1 "$work/later.txt" | median)" "$label_ms" ms
row startup_floor "$(cut -d' ' -f1 "$work/floor.txt" | median)" "$label_ms" ms
row rss_home "$(cut -d' ' -f2 "$work/later.txt" | median)" "$floor_kb" kB

# Ten editors: clicks on the home window's topic buttons, each waiting for its editor to
# be mapped; the home window is raised again after each, as the new editor covers it.
printf '15\r\nCalibri\r\n0\r\n0\r\n' >"$later/Data/UserSettings/options.txt"
# An editor's title is its topic's name and " - Quillnote".
editors_shown() { xdotool search --onlyvisible --name ' - Quillnote$' 2>/dev/null | wc -l; }
log "memory: $ten_runs runs of ten editors opened from the home window"
: >"$work/editors.txt"
for r in $(seq "$ten_runs"); do
  read -r _ rss0 pid win < <(start_home "$later" --keep) || { log "the program did not start"; exit 1; }
  pids+=("$pid")
  rss1=0
  for k in $(seq 10); do
    xdotool mousemove --window "$win" 264 $((280 + 30 * (k - 1) + 12)) click 1
    for _ in $(seq 200); do [ "$(editors_shown)" -ge "$k" ] && break; sleep 0.05; done
    [ "$(editors_shown)" -ge "$k" ] || { log "editor $k did not open"; exit 1; }
    xdotool windowraise "$win"
    if [ "$k" = 1 ]; then sleep 1; rss1=$(rss_kb "$pid"); fi
  done
  sleep 1
  rss10=$(rss_kb "$pid")
  kill "$pid"; wait "$pid" 2>/dev/null || true
  echo "$rss0 $rss1 $rss10" >>"$work/editors.txt"
done
row rss_first_editor "$(awk '{ print $2 - $1 }' "$work/editors.txt" | median)" - kB
row rss_editor "$(awk '{ print ($3 - $2) / 9 }' "$work/editors.txt" | median)" - kB

# A click on a topic until its editor is mapped, beside the floor that opens a frameless
# window showing one line of text on a click. Each round starts both programs afresh; the
# click is sent by xdotool, whose start both figures include.
log "click to window: $startup_runs rounds of a click on a topic and on the floor"
: >"$work/click.txt"; : >"$work/clickfloor.txt"
# The first window mapped after the click counts: the editor, whose title is its topic's
# name, or the floor's second window.
click_into() {  # window; prints the milliseconds from the click's start to the map
  "$waitmap" --trigger -- xdotool mousemove --window "$1" 264 292 click 1 |
    cut -d' ' -f1
}
for r in $(seq "$startup_runs"); do
  for kind in $(if [ $((r % 2)) = 0 ]; then echo home floor; else echo floor home; fi); do
    if [ "$kind" = home ]; then
      read -r _ _ pid win < <(start_home "$later" --keep) || { log "the program did not start"; exit 1; }
    else
      read -r _ _ pid win < <("$waitmap" --name "Quillnote floor" --keep -- "$floor" --click) ||
        { log "the floor did not start"; exit 1; }
    fi
    pids+=("$pid")
    if [ "$kind" = home ]; then click_into "$win" >>"$work/click.txt"
    else click_into "$win" >>"$work/clickfloor.txt"; fi
    kill "$pid"; wait "$pid" 2>/dev/null || true
  done
done
row click_editor "$(median <"$work/click.txt")" "$(median <"$work/clickfloor.txt")" ms

# Idle: several home windows and floors side by side, each left alone, and home windows whose
# page holds a topic name of 10 MB; CPU time over the first stretch, resident memory growth
# over the whole.
log "idle: $idle_instances home windows of each kind and floors, CPU over ${idle_cpu_s} s, memory over ${growth_s} s"
long_line() {  # topic list: its first name becomes 10 MB long
  { head -c 10485760 /dev/zero | tr '\0' 'x'; printf '\r\n'; tail -n +2 "$1"; } >"$1.new"
  mv "$1.new" "$1"
}
home_pids=() long_pids=() floor_pids=()
for i in $(seq "$idle_instances"); do
  for kind in home long; do
    mkdir -p "$work/idle-$kind-$i"
    cp -r "$later/Data" "$work/idle-$kind-$i/"
    [ "$kind" = long ] && long_line "$work/idle-$kind-$i/Data/Lg_Delphi/1/topics.txt"
    read -r _ _ pid _ < <("$waitmap" --cwd "$work/idle-$kind-$i" --name Quillnote --keep -- "$program") ||
      { log "the program did not start"; exit 1; }
    if [ "$kind" = home ]; then home_pids+=("$pid"); else long_pids+=("$pid"); fi
    pids+=("$pid")
  done
  read -r _ _ pid _ < <("$waitmap" --name "Quillnote floor" --keep -- "$floor" --poll) ||
    { log "the floor did not start"; exit 1; }
  floor_pids+=("$pid"); pids+=("$pid")
done
# Beside them, programs that only sleep half a second at a time: what the wake-ups alone cost.
sleep_pids=()
for i in $(seq "$idle_instances"); do
  "$floor" --sleep &
  sleep_pids+=("$!"); pids+=("$!")
done
all_idle=("${home_pids[@]}" "${long_pids[@]}" "${floor_pids[@]}" "${sleep_pids[@]}")
# Each has settled once a second passes in which none of them uses 10 ms of CPU (a home
# window showing a 10 MB name first spends seconds setting it on its button).
for _ in $(seq 120); do
  declare -A before=()
  for p in "${all_idle[@]}"; do before[$p]=$(cpu_ns "$p"); done
  sleep 1
  busy=0
  for p in "${all_idle[@]}"; do [ $(( $(cpu_ns "$p") - ${before[$p]} )) -ge 10000000 ] && busy=1; done
  [ "$busy" = 0 ] && break
done
declare -A cpu0 rss0
for p in "${all_idle[@]}"; do cpu0[$p]=$(cpu_ns "$p"); rss0[$p]=$(rss_kb "$p"); done
sleep "$idle_cpu_s"
cpu_pct() { awk -v a="$(cpu_ns "$1")" -v b="${cpu0[$1]}" -v s="$idle_cpu_s" 'BEGIN { print 100 * (a - b) / 1e9 / s }'; }
home_cpu=$(for p in "${home_pids[@]}"; do cpu_pct "$p"; done | median)
long_cpu=$(for p in "${long_pids[@]}"; do cpu_pct "$p"; done | median)
floor_cpu=$(for p in "${floor_pids[@]}"; do cpu_pct "$p"; done | median)
sleep_cpu=$(for p in "${sleep_pids[@]}"; do cpu_pct "$p"; done | median)
sleep $((growth_s - idle_cpu_s))
home_growth=$(for p in "${home_pids[@]}"; do echo $(( $(rss_kb "$p") - ${rss0[$p]} )); done | median)
floor_growth=$(for p in "${floor_pids[@]}"; do echo $(( $(rss_kb "$p") - ${rss0[$p]} )); done | median)
for p in "${all_idle[@]}"; do kill "$p" 2>/dev/null || true; done
row idle_cpu "$home_cpu" "$floor_cpu" "%"
row idle_cpu_long "$long_cpu" "$floor_cpu" "%"
row idle_cpu_floor "$floor_cpu" - "%"
row idle_cpu_sleep "$sleep_cpu" - "%"
row rss_growth "$home_growth" "$floor_growth" kB

# --- The table -----------------------------------------------------------------------------
if [ "$quick" = 1 ]; then mode="quick"; else mode="full"; fi
idle_label="CPU of the idle home window, ${idle_cpu_s} s"
long_label="... with a 10 MB topic name, ${idle_cpu_s} s"
if [ "$growth_s" -ge 120 ]; then growth_label="Memory growth over $((growth_s / 60)) idle minutes"
else growth_label="Memory growth over ${growth_s} idle seconds"; fi
# key | figure | shown in | scale from the row's unit | budget kind | budget
figures="startup_first|Start-up to home mapped, first run|ms|1|ratio|1.25
startup_later|Start-up to home mapped, later runs|ms|1|ratio|1.15
startup_floor|Start-up of the empty floor window|ms|1|none|-
click_editor|Click on a topic to editor mapped|ms|1|none|-
rss_home|Resident memory after start-up|MB|1024|ratio|1.3
rss_first_editor|Memory of the first editor|MB|1024|none|-
rss_editor|Memory of each further editor|MB|1024|max|5
idle_cpu|$idle_label|%|1|max|0.02
idle_cpu_long|$long_label|%|1|max|0.02
idle_cpu_floor|... the floor waking twice a second|%|1|none|-
idle_cpu_sleep|... a bare program waking twice a second|%|1|none|-
rss_growth|$growth_label|MB|1024|max|1
home_reload_tick|Home reload, nothing changed, 10 MB name|us|1|max|20
store_page_load|Store: page load|us|1|max|100
store_page_unchanged|Store: page looked at, unchanged|us|1|none|-
store_modify_line|Store: ModifyLine, 15-line file|ms|1000|none|-
store_search|Store: full 15-page search|ms|1000|max|2
store_topic_read_5mb|Store: read 5 MB topic|ms|1000|ratio|1.5
store_topic_write_5mb|Store: write 5 MB topic|ms|1000|none|-
editor_open_5mb|Editor: open 5 MB topic|ms|1|ratio|1.1
editor_keystroke_5mb|Editor: keystroke at end, 5 MB|ms|1|max|16
editor_save_5mb|Editor: save 5 MB topic|ms|1|ratio|2
editor_find_next_5mb|Editor: find next, 5 MB|ms|1|ratio|3
editor_find_count_5mb|Editor: count lines found, 5 MB|ms|1|max|1000
editor_line10mb_cpu_after|Editor: CPU after a 10 MB line, 3 s|%|1|max|2"

echo
echo "Quillnote benchmarks ($mode run, $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg))"
echo
awk -F'|' -v rowsfile="$rows" '
  BEGIN {
    while ((getline line < rowsfile) > 0) {
      split(line, f, "\t"); value[f[2]] = f[3]; base[f[2]] = f[4]
    }
    fmt = "| %-38s | %12s | %12s | %6s | %9s | %-7s |\n"
    printf fmt, "figure", "median", "baseline", "ratio", "budget", "verdict"
    printf "|%s|%s|%s|%s|%s|%s|\n", "----------------------------------------", "--------------",
      "--------------", "--------", "-----------", "---------"
  }
  function show(v, unit) {
    if (v == "-" || v == "" || v == "nan") return "-"
    return sprintf(v >= 100 || v <= -100 ? "%.0f %s" : (v >= 10 || v <= -10 ? "%.1f %s" : "%.2f %s"), v, unit)
  }
  {
    key = $1; unit = $3; scale = $4; kind = $5; budget = $6
    if (!(key in value)) { printf fmt, $2, "not run", "-", "-", "-", "-"; missed++; next }
    v = value[key] / scale
    b = (base[key] == "-" || base[key] == "") ? "-" : base[key] / scale
    ratio = (b != "-" && b > 0) ? sprintf("%.2f", v / b) : "-"
    if (kind == "ratio") {
      ok = (ratio != "-" && ratio + 0 <= budget + 0); btext = "<= " budget "x"
    } else if (kind == "max") {
      ok = (v + 0 <= budget + 0); btext = "<= " budget " " unit
    } else { ok = -1; btext = "-" }
    verdict = ok == -1 ? "-" : (ok ? "ok" : "MISSED")
    if (ok == 0) missed++
    printf fmt, $2, show(v, unit), show(b, unit), ratio, btext, verdict
  }
  END { printf "\n%s\n", missed ? missed " budget(s) MISSED" : "every budget holds" }
' <<<"$figures"
cat <<LEGEND

Baselines, measured in the same run:
  start-up: the floor, a frameless 550 x 645 Qt window built here showing one line of text
          (the empty window is timed too, for information)
  memory after start-up: the empty floor window
  click to editor: the floor window, which opens a frameless window showing one line of text
          on a click (both clicks sent by xdotool, timed from its start to the map)
  CPU and memory growth when idle: the floor showing one line of text and waking every
          half second to do nothing, as long beside the home windows (CPU time of all threads,
          from /proc/<pid>/task/*/schedstat). The budget is 0.02 % of a core; a program that
          only wakes twice a second may already use more where wake-ups are dear (in a
          virtual machine): the floor shows what they cost here, the ratio what the home
          window adds; the bare program, without Qt, only sleeps half a second at a time
  home reload: two stat calls; store: the same files read with plain system calls (the 5 MB
          topic decoded with QString::fromUtf8), or the text encoded with QString::toUtf8
          and written durably (temporary file, fsync, rename, fsync of the folder); a page
          looked at unchanged: two stat calls
  editor: open and keystroke in a bare Qt text box with the same text; save: the bare box's
          plain text encoded and written durably as above; find next (the clicks after the
          first, which counts): the document's text searched with QString::indexOf from the
          cursor and the match selected; counting: a fresh editor's first click for a word on
          every line, beside a plain walk over the text; CPU after a 10 MB line: the same 3 s
          before the line was opened, scrolled and saved
LEGEND
