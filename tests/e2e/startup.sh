#!/usr/bin/env bash
# First and second start of the real program in an empty folder, on a virtual X display:
# the window appears where it should, the data tree is created with its placeholder files,
# the "x" ends the program with status 0, and a second start changes nothing on disk.
# Usage: startup.sh <path-to-quillnote>
set -euo pipefail

# shellcheck source-path=SCRIPTDIR source=../support/display.sh
. "$(dirname "${BASH_SOURCE[0]}")/../support/display.sh"
if [ "${1:-}" != "--on-display" ]; then
  [ $# -eq 1 ] || fail "usage: $0 <path-to-quillnote>"
  rerun_on_display "$0" "$1" "xwininfo xprop import convert"
fi

bin="$2"
shot="$(dirname "$bin")/e2e-startup.png"
work="$(mktemp -d)"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
pid=""
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
mkdir "$work/notes"
cd "$work/notes"

# Starts the program here and waits until its window shows the title strip.
start() {
  "$bin" >"$work/out.txt" 2>&1 &
  pid=$!
  wid="$(timeout 30 xdotool search --sync --onlyvisible --name '^Quillnote$' | head -1)" ||
    fail "no window within 30 seconds"
  for _ in $(seq 100); do
    strip="$(import -window "$wid" png:- 2>/dev/null | convert - -format '%[hex:p{100,2}]' info: 2>/dev/null || true)"
    [ "$strip" = "171717" ] && return 0
    sleep 0.1
  done
  fail "the window was not drawn (title strip pixel: $strip)"
}

# Clicks the "x" of the title strip and expects the program to end with status 0.
close_with_x() {
  xdotool mousemove --window "$wid" 535 12 click 1
  for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$pid" 2>/dev/null && fail "still running 10 seconds after the x was clicked"
  local status=0
  wait "$pid" || status=$?
  pid=""
  [ "$status" -eq 0 ] || fail "exit status $status; output: $(cat "$work/out.txt")"
}

# Every entry under Data with its kind, size, time of last change and content digest.
manifest() {
  find Data -printf '%y %p %s %T@\n' | sort
  find Data -type f -print0 | sort -z | xargs -0 sha256sum
}

start
geometry="$(xwininfo -id "$wid" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF}
  /Width:/{w=$NF} /Height:/{h=$NF} END{print x","y","w","h}')"
[ "$geometry" = "365,189,550,645" ] || fail "window at $geometry, expected 550x645 centred"
sleep 1  # a couple of half-second reloads
# The window carries the program's icon in the sizes window lists and switchers ask for.
window_icons="$(xprop -id "$wid" _NET_WM_ICON | { grep -o 'Icon ([0-9]* x [0-9]*)' || true; } |
  tr '\n' ' ')"
[ "$window_icons" = "Icon (16 x 16) Icon (32 x 32) Icon (48 x 48) Icon (64 x 64) " ] ||
  fail "window icons: '$window_icons'"
import -window root "$shot"
# Selected language circle and page dot are white discs; the topic area shows the wallpaper.
for probe in "265,106" "62,174"; do
  colour="$(convert "$shot" -format "%[hex:p{$((365 + ${probe%,*})),$((189 + ${probe#*,}))}]" info:)"
  [ "$colour" = "FFFFFF" ] || fail "pixel $probe of the window is $colour, not white"
done
close_with_x

# The tree of a first start.
languages=(Lg_Delphi "Lg_C++" Lg_GM2 Lg_Python Lg_JS "Lg_C#" Lg_Java Lg_CSS Lg_Html)
topics="$(for _ in $(seq 10); do printf 'click to create topic\r\n'; done)"
about="$(for _ in $(seq 15); do printf 'click to edit page description\r\n'; done)"
icons="$(for _ in $(seq 15); do printf '0\r\n'; done)"
[ "$(find Data -mindepth 1 -maxdepth 1 -type d | wc -l)" -eq 10 ] || fail "expected 10 folders in Data"
[ "$(find Data -mindepth 2 -maxdepth 2 -type d | wc -l)" -eq 135 ] || fail "expected 135 page folders"
[ "$(find Data -type f | wc -l)" -eq 154 ] || fail "expected 154 files: $(find Data -type f | wc -l)"
[ -z "$(ls -A Data/UserSettings)" ] || fail "UserSettings is not empty"
[ "$(od -An -c Data/options.dat | tr -s ' ')" = " l i g h t \r \n" ] || fail "options.dat is not light CR LF"
for lang in "${languages[@]}"; do
  [ "$(cat "Data/$lang/aboutpages.txt")" = "$about" ] || fail "$lang/aboutpages.txt"
  [ "$(cat "Data/$lang/pageicons.txt")" = "$icons" ] || fail "$lang/pageicons.txt"
  [ "$(wc -c <"Data/$lang/aboutpages.txt")" -eq 480 ] || fail "$lang/aboutpages.txt size"
  for n in $(seq 15); do
    [ "$(cat "Data/$lang/$n/topics.txt")" = "$topics" ] || fail "$lang/$n/topics.txt"
    [ "$(wc -c <"Data/$lang/$n/topics.txt")" -eq 230 ] || fail "$lang/$n/topics.txt size"
  done
done

# A second start finds everything in place and changes nothing.
before="$(manifest)"
start
sleep 1
close_with_x
after="$(manifest)"
[ "$before" = "$after" ] || fail "the second start changed the tree: $(diff <(echo "$before") <(echo "$after"))"

echo "PASS: window 550x645 centred, tree created, clean exit twice, second start changed nothing"
echo "Screenshot: $shot"
