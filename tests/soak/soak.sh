#!/usr/bin/env bash
# Soak run of the real program on a virtual X display: a generated sequence of operations
# (fixed seed, bounded count and time) through languages, pages, editors, typing, saves,
# renames, page descriptions and searches. Every save, rename and description is checked on
# disk as soon as it is made; at the end the program is closed and every topic, name and
# description must equal what was typed; no error report or notice may have appeared; the
# program must exit with status 0; its resident memory must stay flat after a warm-up.
# Usage: soak.sh <path-to-quillnote> [operations, default 400] [seconds, default 240]
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=../support/display.sh
. "$(dirname "${BASH_SOURCE[0]}")/../support/display.sh"

# Fails with what the program printed last.
fail() {
  echo "FAIL: $*" >&2
  [ -n "${work:-}" ] && [ -f "$work/out.txt" ] && { echo "--- program output:" >&2; tail -n 40 "$work/out.txt" >&2; }
  exit 1
}

if [ "${1:-}" != "--on-display" ]; then
  [ $# -ge 1 ] || fail "usage: $0 <path-to-quillnote> [operations] [seconds]"
  rerun_on_display "$0" "$1" "" "${2:-400}" "${3:-240}"
fi

bin="$2"
max_ops="$3"
max_seconds="$4"
RANDOM=20240611  # the fixed seed of the generated sequence

work="$(mktemp -d)"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
pid=""
cleanup() {
  [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
mkdir "$work/notes"
cd "$work/notes"

# Language keys by their circle's left edge, left to right on screen.
circle_left=(88 128 168 208 248 287 327 367 407)
circle_key=("Lg_C#" "Lg_JS" "Lg_Python" "Lg_GM2" "Lg_Delphi" "Lg_C++" "Lg_Java" "Lg_CSS" "Lg_Html")

# What the program should hold, as the user made it.
declare -A text=()   # "<lang>/<page>/<slot>" -> topic text, '\n' between lines
declare -A name=()   # "<lang>/<page>/<slot>" -> topic name
declare -A about=()  # "<lang>/<page>" -> page description
lang="Lg_Delphi"
page=1
counts=()
declare -A count=()
rss=()

# Waits up to $1 tenths of a second for the command in the remaining arguments to succeed.
wait_for() {
  local tenths="$1"
  shift
  for _ in $(seq "$tenths"); do
    "$@" && return 0
    sleep 0.1
  done
  "$@"
}

alive() { kill -0 "$pid" 2>/dev/null; }

# Visible windows with exactly this title.
windows() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null || true; }
# Visible editors: an editor's title is its topic's name and " - Quillnote".
editor_windows() { xdotool search --onlyvisible --name ' - Quillnote$' 2>/dev/null || true; }

# No standard error report (a second window titled "Quillnote") and no notice window.
no_error_shown() {
  local n
  n="$(windows Quillnote | wc -l)"
  [ "$n" -le 1 ] || fail "an error report is showing after: $last_op"
  [ -z "$(windows 'Error Handler')" ] || fail "a notice is showing after: $last_op"
}

click() {  # window x y
  xdotool mousemove --window "$1" "$2" "$3" click 1
}

# Line $2 (1-based) of the line file $1, without its CR.
line_of() { sed -n "${2}p" "$1" | tr -d '\r'; }

# The bytes a topic file holds for a text: byte-order mark, UTF-8, CR LF between lines.
topic_bytes() { printf '\xEF\xBB\xBF'; printf '%s' "$1" | sed -z 's/\n/\r\n/g'; }

file_is() {  # path expected-bytes-file
  [ -f "$1" ] && cmp -s "$1" "$2"
}

sample_memory() {
  rss+=("$(awk '/^VmRSS/{print $2}' "/proc/$pid/status")")
}

note() {
  last_op="$1"
  count[$2]=$((${count[$2]:-0} + 1))
}

# A word of lower-case letters; with the operation number it is unique.
word() {
  local w="" letters="abcdefghijklmnopqrstuvwxyz"
  for _ in $(seq $((RANDOM % 7 + 2))); do w+="${letters:RANDOM%26:1}"; done
  printf '%s' "$w"
}

# --- start
"$bin" >"$work/out.txt" 2>&1 &
pid=$!
home="$(timeout 30 xdotool search --sync --onlyvisible --name '^Quillnote$' | head -1)" ||
  fail "no home window within 30 seconds"
wait_for 100 test -f Data/options.dat || fail "the data tree was not created"
sleep 0.5
last_op="start"

select_language() {
  local i=$((RANDOM % 9))
  click "$home" $((circle_left[i] + 17)) 120
  lang="${circle_key[i]}"
  note "language $lang" language
}

select_page() {
  page=$((RANDOM % 15 + 1))
  click "$home" $((51 + 28 * (page - 1) + 11)) 183
  note "page $page" page
}

# Opens topic $1 of the current page and waits for its editor.
open_editor() {
  local before after
  before="$(editor_windows | sort)"
  click "$home" 264 $((280 + 30 * ($1 - 1) + 12))
  for _ in $(seq 100); do
    after="$(editor_windows | sort)"
    editor="$(comm -13 <(echo "$before") <(echo "$after") | head -1)"
    [ -n "$editor" ] && break
    sleep 0.1
  done
  [ -n "$editor" ] || fail "no editor opened for topic $1 of $lang page $page"
  xdotool windowfocus --sync "$editor" 2>/dev/null || true
  sleep 0.2
}

close_editor() {
  click "$editor" 535 12
  wait_for 100 bash -c "! xdotool search --onlyvisible --name ' - Quillnote\$' | grep -qx '$editor'" ||
    fail "the editor did not close after: $last_op"
}

# Types a few words and lines at the end of the memo, saves with Ctrl+S and waits until
# the file holds exactly the text.
edit_and_save() {
  local key="$1" typed="" line n lines
  lines=$((RANDOM % 3 + 1))
  click "$editor" 275 400
  xdotool key ctrl+End
  for l in $(seq "$lines"); do
    line=""
    n=$((RANDOM % 6 + 1))
    for _ in $(seq "$n"); do line+=" $(word)"; done
    line+=" #$op."
    xdotool type --delay 4 "$line"
    typed+="$line"
    if [ "$l" -lt "$lines" ]; then
      xdotool key Return
      typed+=$'\n'
    fi
  done
  xdotool key ctrl+s
  text[$key]="${text[$key]:-}$typed"
  topic_bytes "${text[$key]}" >"$work/expected"
  wait_for 100 file_is "Data/$key" "$work/expected" 2>/dev/null ||
    fail "topic $key does not hold what was typed (op $op): $(cmp "Data/$key" "$work/expected" 2>&1)
  on disk: $(head -c 300 "Data/$key" 2>/dev/null | od -c | head -8)
  typed:   $(head -c 300 "$work/expected" | od -c | head -8)"
}

rename_topic() {
  local key="$1" slot="$2" new="topic $(word) n$(printf %04d "$op")" dialog
  click "$editor" 276 42
  dialog="$(timeout 10 xdotool search --sync --onlyvisible --name '^Edit TOpic$' | head -1)" ||
    fail "the rename dialog did not open"
  click "$dialog" 156 106
  xdotool key ctrl+a
  xdotool type --delay 4 "$new"
  click "$dialog" 154 143
  name[$lang/$page/$slot]="$new"
  wait_for 100 test "$(line_of "Data/$lang/$page/topics.txt" "$slot")" = "$new" ||
    fail "topic list line $slot of $lang/$page is '$(line_of "Data/$lang/$page/topics.txt" "$slot")', not '$new'"
  wait_for 50 test -z "$(windows 'Edit TOpic')" || fail "the rename dialog stayed open"
}

describe_page() {
  local new="about $(word) $(word) d$(printf %04d "$op")" dialog
  click "$home" 268 240
  dialog="$(timeout 10 xdotool search --sync --onlyvisible --name '^Change Page Description$' | head -1)" ||
    fail "the page description dialog did not open"
  click "$dialog" 156 106
  xdotool key ctrl+a
  xdotool type --delay 4 "$new"
  click "$dialog" 157 143
  about[$lang/$page]="$new"
  wait_for 100 test "$(line_of "Data/$lang/aboutpages.txt" "$page")" = "$new" ||
    fail "description $page of $lang is '$(line_of "Data/$lang/aboutpages.txt" "$page")', not '$new'"
  wait_for 50 test -z "$(windows 'Change Page Description')" || fail "the description dialog stayed open"
}

# Searches a name renamed earlier in the current language; the page then changes to the
# page of that topic, which the next description written proves.
search_name() {
  local k target="" slot_page
  for k in "${!name[@]}"; do
    [[ "$k" == "$lang/"* ]] && target="$k" && break
  done
  [ -n "$target" ] || return 1
  slot_page="${target#*/}"
  slot_page="${slot_page%/*}"
  click "$home" 299 595  # the Search quick action shows the bar
  sleep 0.2
  click "$home" 267 602  # into the search box
  xdotool key ctrl+a
  xdotool type --delay 4 "${name[$target]##* }"
  xdotool key Return
  sleep 0.2
  click "$home" 115 600  # close the bar
  page="$slot_page"
  note "search ${name[$target]##* } on $lang" search
  describe_page
}

start_time=$SECONDS
op=0
while [ "$op" -lt "$max_ops" ] && [ $((SECONDS - start_time)) -lt "$max_seconds" ]; do
  op=$((op + 1))
  alive || fail "the program ended during the run, after: $last_op"
  r=$((RANDOM % 100))
  if [ "$r" -lt 15 ]; then
    select_language
  elif [ "$r" -lt 35 ]; then
    select_page
  elif [ "$r" -lt 80 ]; then
    slot=$((RANDOM % 10 + 1))
    key="$lang/$page/topic$slot.txt"
    open_editor "$slot"
    note "edit $key" edit
    edit_and_save "$key"
    if [ $((RANDOM % 3)) -eq 0 ]; then
      note "rename $lang/$page/$slot" rename
      rename_topic "$key" "$slot"
    fi
    if [ $((RANDOM % 4)) -eq 0 ]; then
      note "second edit $key" edit
      edit_and_save "$key"
    fi
    close_editor
  elif [ "$r" -lt 92 ]; then
    note "describe $lang/$page" describe
    describe_page
  else
    search_name || select_page
  fi
  no_error_shown
  sample_memory
done
elapsed=$((SECONDS - start_time))

# --- close the program
click "$home" 535 12
wait_for 100 bash -c "! kill -0 $pid 2>/dev/null" || fail "still running 10 seconds after the x was clicked"
status=0
wait "$pid" || status=$?
pid=""
[ "$status" -eq 0 ] || fail "exit status $status"

# --- everything on disk as typed
checked=0
for key in "${!text[@]}"; do
  topic_bytes "${text[$key]}" >"$work/expected"
  file_is "Data/$key" "$work/expected" || fail "topic $key differs from what was typed"
  checked=$((checked + 1))
done
for k in "${!name[@]}"; do
  [ "$(line_of "Data/${k%/*}/topics.txt" "${k##*/}")" = "${name[$k]}" ] || fail "name of $k"
  checked=$((checked + 1))
done
for k in "${!about[@]}"; do
  [ "$(line_of "Data/${k%/*}/aboutpages.txt" "${k##*/}")" = "${about[$k]}" ] || fail "description of $k"
  checked=$((checked + 1))
done
# Every topic list still has its ten lines and every description file its fifteen.
for f in Data/Lg_*/*/topics.txt; do [ "$(wc -l <"$f")" -eq 10 ] || fail "$f has $(wc -l <"$f") lines"; done
for f in Data/Lg_*/aboutpages.txt; do [ "$(wc -l <"$f")" -eq 15 ] || fail "$f has $(wc -l <"$f") lines"; done
[ -z "$(find Data -name '.*~*')" ] || fail "temporary files left: $(find Data -name '.*~*')"

# --- memory: after a warm-up of a quarter of the run, the resident size stays within 10 MB.
n=${#rss[@]}
warm=$((n / 4))
base="${rss[$warm]}"
peak=0
for ((i = warm; i < n; i++)); do [ "${rss[i]}" -gt "$peak" ] && peak="${rss[i]}"; done
last="${rss[n - 1]}"
growth=$((last - base))
summary="$op operations in ${elapsed}s ("
for k in language page edit rename describe search; do summary+="$k ${count[$k]:-0}, "; done
summary="${summary%, }); $checked texts, names and descriptions on disk as typed; exit status 0;"
summary+=" no error report; resident memory ${rss[0]} kB at first, then at each quarter of the run"
summary+=" $base, ${rss[n / 2]}, ${rss[3 * n / 4]}, $last kB (peak $peak kB)"
[ "$growth" -lt 10240 ] || fail "memory grew by $growth kB after the warm-up: $summary"
echo "PASS: $summary"
