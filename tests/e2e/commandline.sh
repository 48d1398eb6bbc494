#!/usr/bin/env bash
# The program's command line: --help and --version answer and exit 0, anything else is a
# usage error with status 2, and none of them opens a display or writes anything: each case
# runs in an empty folder with no display at all, which must still be empty afterwards.
# (Starting without arguments is tested by startup.sh.)
# Usage: commandline.sh <path-to-quillnote>; QUILLNOTE_EXPECTED_VERSION is the project's.
set -euo pipefail

bin="$(readlink -f "${1:?usage: commandline.sh <path-to-quillnote>}")"
version="${QUILLNOTE_EXPECTED_VERSION:?the project version, set by the test registration}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# Case table: arguments (one string, split on spaces) | exit status | stream that must hold
# the answer (out or err; the other must be empty) | text the answer must contain.
cases=(
  "--help|0|out|Usage: $bin [options]"
  "-h|0|out|-v, --version"
  "--version|0|out|Quillnote $version"
  "-v|0|out|Quillnote $version"
  "--bogus|2|err|Unknown option 'bogus'."
  "-x|2|err|Unknown option 'x'."
  "notes.txt|2|err|Unexpected argument 'notes.txt'."
  "--help --bogus|2|err|Unknown option 'bogus'."
  "--version=2|2|err|Unexpected value after '--version'."
)
for row in "${cases[@]}"; do
  IFS='|' read -r args want_status stream want <<<"$row"
  dir="$work/case"
  rm -rf "$dir"
  mkdir "$dir"
  status=0
  # shellcheck disable=SC2086
  (cd "$dir" && exec env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$bin" $args) \
    >"$work/out" 2>"$work/err" || status=$?
  [ "$status" -eq "$want_status" ] || fail "'$args': exit status $status, expected $want_status"
  grep -qF -- "$want" "$work/$stream" || fail "'$args': $stream lacks '$want': $(cat "$work/$stream")"
  if [ "$stream" = err ]; then
    # A usage error names the error, then shows how the program is used.
    grep -qF -- "Usage: $bin [options]" "$work/err" || fail "'$args': no usage after the error"
    other=out
  else
    other=err
  fi
  [ ! -s "$work/$other" ] || fail "'$args': unexpected $other: $(cat "$work/$other")"
  [ -z "$(ls -A "$dir")" ] || fail "'$args': wrote into the folder it ran in: $(ls -A "$dir")"
done
# The version line is the whole answer.
[ "$(cd "$work" && env -u DISPLAY "$bin" --version)" = "Quillnote $version" ] ||
  fail "--version prints more than 'Quillnote $version'"

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "PASS: ${#cases[@]} command lines answered without a display and without writing"
