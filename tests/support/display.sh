# shellcheck shell=bash
# Shared by the scripts that run the real program on a virtual X display: source it.

# Ends the script with a failure; a script may define its own after sourcing this.
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# The display server's arguments. -noreset: a server that resets when its last client leaves
# drops a program connecting at that moment (the toolkit then aborts: "could not connect to
# display"), and between two starts nothing may be connected.
display_server="-screen 0 1280x1024x24 -nolisten tcp -noreset"

# Runs the calling script again on a new virtual display, as
# "<script> --on-display <full path of the program> <args>...", once the program and the
# tools (xvfb-run, xdotool and those named) are there.
# Usage: rerun_on_display <script> <path-to-quillnote> "<more tools>" <args>...
rerun_on_display() {
  local script="$1" bin
  bin="$(readlink -f "$2")"
  [ -x "$bin" ] || fail "no program at $2"
  local tool
  for tool in xvfb-run xdotool $3; do
    command -v "$tool" >/dev/null || fail "$tool is missing (scripts/deps.sh installs it)"
  done
  shift 3
  exec xvfb-run -a -s "$display_server" bash "$script" --on-display "$bin" "$@"
}

# Prints the id of the first visible window of process <pid> (whose name matches the
# pattern <name>, when given), waiting up to <tenths> tenths of a second for it; prints
# nothing when the process ends first or no window shows in time.
# Usage: wait_for_window <pid> <tenths> [name]
wait_for_window() {
  local pid="$1" tenths="$2" found="" search=(xdotool search --onlyvisible --pid "$1")
  [ -n "${3:-}" ] && search+=(--name "$3")
  for _ in $(seq "$tenths"); do
    found="$("${search[@]}" 2>/dev/null | head -n 1 || true)"
    [ -n "$found" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  echo "$found"
}
