#!/usr/bin/env bash
# Takes the README's pictures of the home window from the real program on a virtual X
# display: first start (light), the dark look, the search bar with a found topic, and the
# page selector. Usage: docs/screenshots.sh <path-to-quillnote>   (writes into docs/)
set -euo pipefail

if [ "${1:-}" != "--on-display" ]; then
  [ $# -eq 1 ] || { echo "usage: $0 <path-to-quillnote>" >&2; exit 1; }
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" bash "$0" --on-display \
    "$(readlink -f "$1")" "$(cd "$(dirname "$0")" && pwd)"
fi

bin="$2"
docs="$3"
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

"$bin" >"$work/out.txt" 2>&1 &
pid=$!
wid="$(timeout 30 xdotool search --sync --onlyvisible --name '^Quillnote$' | head -1)"
xdotool windowfocus --sync "$wid"
sleep 1.5

shot() { import -window "$wid" "$docs/$1"; }

# Some notes, so the pages have something to show.
printf '%s\r\n' "Variables and types" "Loops" "Records" "Classes" "Generics" \
  "Exceptions" "Strings" "Arrays" "Pointers" "Units" >Data/Lg_Delphi/1/topics.txt
printf '%s\r\n' "Streams" "for loops" "Threads" >Data/Lg_Delphi/5/topics.txt
{
  printf '%s\r\n' "The language in one page" "Memory" "Object Pascal" "Generics" "" \
    "Run-time library"
  for _ in $(seq 9); do printf '%s\r\n' "click to edit page description"; done
} >Data/Lg_Delphi/aboutpages.txt
sleep 1.5
shot home-window.png  # first start: the light look

xdotool key F4
sleep 0.5
shot home-dark.png

xdotool key F4 F3
sleep 0.3
xdotool mousemove --window "$wid" 330 602 click 1 # into the search box
xdotool type --delay 50 "LOOP"
xdotool key Return Return
sleep 0.5
shot home-search.png  # page 5, "for loops" marked green for two seconds

xdotool key Escape  # closes the search bar, whose box has the cursor
xdotool mousemove --window "$wid" 482 183 click 1 # the page selector icon
sleep 0.5
shot home-selector.png
