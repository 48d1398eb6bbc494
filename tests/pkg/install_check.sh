#!/usr/bin/env bash
# Desktop integration and the Debian package, checked on what is really installed:
#  1. a staging install (DESTDIR, prefix /usr) holds exactly the expected files, the menu entry
#     and the metadata pass their validators, and they name /usr paths, not the staging folder;
#  2. the menu entry, installed into prefixes whose paths hold a space and every character
#     the desktop entry rules reserve, is launched as a desktop launches it (gio launch) and
#     starts the program under Xvfb in the user's notes folder ($XDG_DATA_HOME/quillnote or
#     ~/.local/share/quillnote), keeps notes already there, and its window class is the
#     entry's StartupWMClass;
#  3. cpack packs the program this build made into a .deb whose control data depends on the
#     Qt 6 libraries and whose contents are the same files, owned by root, with /usr paths;
#     lintian reports no error or warning on it, hardening-check passes on its program, which
#     carries no .comment section, and the package, the program, the metadata, the
#     changelogs and the manual pages all give the one project version.
# Usage: install_check.sh <build dir>   (the build dir must hold a built quillnote)
# Checks read "condition && pass ... || fail ...": pass only prints, so fail runs exactly
# when the condition is false.
# shellcheck disable=SC2015
set -euo pipefail

build="$(cd "${1:?usage: install_check.sh <build dir>}" && pwd)"
src="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
id="org.quillnote.Quillnote"
# shellcheck source-path=SCRIPTDIR source=../support/display.sh
. "$src/tests/support/display.sh"

for tool in desktop-file-validate appstreamcli cpack dpkg-deb dpkg-shlibdeps Xvfb xdotool xprop file \
  gio lintian hardening-check readelf; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool missing (run scripts/deps.sh)"; exit 1; }
done

tmp="$(mktemp -d)"
running=""
xvfb=""
cleanup() {
  [ -n "$running" ] && kill "$running" 2>/dev/null
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
  rm -rf "$tmp"
}
trap cleanup EXIT

# The launches get a display of their own, with the arguments every script gives its display
# server. Xvfb picks a free display number itself and writes it to fd 3, so tests running
# side by side never end up sharing one.
# shellcheck disable=SC2086
Xvfb -displayfd 3 $display_server 3>"$tmp/display" >"$tmp/xvfb.log" 2>&1 &
xvfb=$!
for _ in $(seq 100); do
  [ -s "$tmp/display" ] && break
  kill -0 "$xvfb" 2>/dev/null || break
  sleep 0.1
done
[ -s "$tmp/display" ] || { cat "$tmp/xvfb.log"; echo "FAIL: Xvfb did not start"; exit 1; }
DISPLAY=":$(head -n 1 "$tmp/display")"
export DISPLAY

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
pass() { echo "ok: $*"; }

# Files an install puts under its prefix, sorted.
expected="$tmp/expected.txt"
{
  echo bin/quillnote
  echo bin/quillnote-launch
  echo "share/applications/$id.desktop"
  echo "share/metainfo/$id.metainfo.xml"
  for size in 16 32 48 64 128 256; do echo "share/icons/hicolor/${size}x${size}/apps/$id.png"; done
  echo "share/icons/hicolor/scalable/apps/$id.svg"
  for f in copyright changelog.gz changelog.Debian.gz; do echo "share/doc/quillnote/$f"; done
  for page in quillnote quillnote-launch; do echo "share/man/man1/$page.1.gz"; done
  echo share/lintian/overrides/quillnote
} | sort >"$expected"

# The value of a key in a desktop entry.
entry() { sed -n "s/^$2=//p" "$1" | head -n 1; }
# The program the launcher ends in (a path without quotes of its own).
launched() { awk -F "'" '/^exec /{ print $2 }' "$1"; }

# Checks an installed tree under <root>/<prefix>: exact files, validators, paths, icon sizes.
check_tree() {
  local what="$1" root="$2" prefix="$3"
  local base="$root$prefix"
  (cd "$base" && find . -type f | sed 's|^\./||' | sort) >"$tmp/found.txt"
  if diff -u "$expected" "$tmp/found.txt" >"$tmp/diff.txt"; then
    pass "$what: expected files"
  else
    fail "$what: installed files differ from the expected ones"
    cat "$tmp/diff.txt"
  fi
  local desktop="$base/share/applications/$id.desktop"
  local metainfo="$base/share/metainfo/$id.metainfo.xml"
  check_validators "$what" "$desktop" "$metainfo"
  local exec_line icon
  exec_line="$(entry "$desktop" Exec)"
  [ "$exec_line" = "$prefix/bin/quillnote-launch" ] && pass "$what: Exec=$exec_line" ||
    fail "$what: Exec is '$exec_line', expected $prefix/bin/quillnote-launch"
  [ "$(launched "$base/bin/quillnote-launch")" = "$prefix/bin/quillnote" ] &&
    pass "$what: launcher starts $prefix/bin/quillnote" ||
    fail "$what: launcher starts '$(launched "$base/bin/quillnote-launch")'"
  icon="$(entry "$desktop" Icon)"
  [ "$icon" = "$id" ] && pass "$what: Icon=$icon" || fail "$what: Icon is '$icon', expected $id"
  grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" &&
    pass "$what: metadata launches $id.desktop" || fail "$what: metadata does not launch $id.desktop"
  local size png
  for size in 16 32 48 64 128 256; do
    png="$base/share/icons/hicolor/${size}x${size}/apps/$id.png"
    [ -f "$png" ] || continue
    file -b "$png" | grep -q "PNG image data, $size x $size," ||
      fail "$what: icon ${size}x${size} is $(file -b "$png")"
  done
}

# The menu entry and the metadata pass their validators, pedantic ones included.
check_validators() {
  local what="$1" desktop="$2" metainfo="$3" out
  if out="$(desktop-file-validate "$desktop" 2>&1)" && [ -z "$out" ]; then
    pass "$what: desktop-file-validate"
  else
    fail "$what: desktop-file-validate: $out"
  fi
  if out="$(appstreamcli validate --no-net --pedantic "$metainfo" 2>&1)"; then
    pass "$what: appstreamcli validate --pedantic"
  else
    fail "$what: appstreamcli validate --pedantic: $out"
  fi
}

echo "== staging install (DESTDIR, prefix /usr)"
# Without an installed tree nothing below means anything: stop at the first failed install.
DESTDIR="$tmp/stage" cmake --install "$build" --prefix /usr >"$tmp/install.log" 2>&1 ||
  { cat "$tmp/install.log"; echo "FAIL: cmake --install into DESTDIR (is quillnote built?)"; exit 1; }
check_tree "staging" "$tmp/stage" /usr

echo "== menu entry launches"
note="Lg_Delphi/1/topic1.txt"

# Launches the menu entry <desktop file> as the desktop does, from an empty folder with the
# given environment, and checks the window and the notes folder it must use:
# launch <name> <desktop file> <notes folder> [VAR=value...]
launch() {
  local name="$1" desktop="$2" folder="$3"
  shift 3
  local cwd="$tmp/cwd-$name" window="" pid="" class wm_class
  wm_class="$(entry "$desktop" StartupWMClass)"
  mkdir -p "$cwd"
  if ! (cd "$cwd" && exec env -u XDG_DATA_HOME "$@" gio launch "$desktop") >"$tmp/$name.log" 2>&1; then
    fail "$name: gio launch failed: $(cat "$tmp/$name.log")"
    return
  fi
  for _ in $(seq 300); do
    window="$(xdotool search --onlyvisible --name '^Quillnote$' 2>/dev/null | head -n 1 || true)"
    [ -n "$window" ] && break
    sleep 0.1
  done
  if [ -z "$window" ]; then
    fail "$name: no window appeared"
    cat "$tmp/$name.log"
    return
  fi
  pid="$(xdotool getwindowpid "$window")"
  running="$pid"
  class="$(xprop -id "$window" WM_CLASS | sed -n 's/.*= "[^"]*", "\([^"]*\)"/\1/p')"
  [ "$class" = "$wm_class" ] && pass "$name: window class $class matches StartupWMClass" ||
    fail "$name: window class '$class', StartupWMClass '$wm_class'"
  # The languages after the first are made just after the window shows.
  for _ in $(seq 100); do
    [ -f "$folder/Data/Lg_Html/15/topics.txt" ] && break
    sleep 0.05
  done
  # The program was started by gio, not by this shell: it is waited for by its process id.
  kill "$pid" 2>/dev/null || true
  for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
  done
  running=""
  [ -f "$folder/Data/Lg_Html/15/topics.txt" ] && pass "$name: notes tree in $folder" ||
    fail "$name: no notes tree in $folder"
  [ -z "$(ls -A "$cwd")" ] && pass "$name: nothing written where launched" ||
    fail "$name: the launch wrote into its starting folder: $(ls -A "$cwd")"
}

# Installs into <prefix>; the menu entry and metadata must pass their validators there too.
install_to() {
  cmake --install "$build" --prefix "$1" >"$tmp/install-prefix.log" 2>&1 ||
    { cat "$tmp/install-prefix.log"; echo "FAIL: cmake --install --prefix $1"; exit 1; }
  check_validators "install to '$1'" "$1/share/applications/$id.desktop" \
    "$1/share/metainfo/$id.metainfo.xml"
}

# A prefix with a space, as in "/tmp/with space".
run="$tmp/with space"
install_to "$run"
desktop="$run/share/applications/$id.desktop"
# Case table: name | XDG_DATA_HOME ("-" for unset) | notes folder the launch must use.
# The home under test is $tmp/<name>; a relative XDG_DATA_HOME is not valid and falls back.
cases=(
  "xdg|@/xdg|@/xdg/quillnote"
  "default|-|@/.local/share/quillnote"
  "relative|rel|@/.local/share/quillnote"
  "kept|-|@/.local/share/quillnote"
)
for row in "${cases[@]}"; do
  IFS='|' read -r name xdg folder <<<"$row"
  home="$tmp/$name"
  folder="${folder//@/$home}"
  mkdir -p "$home"
  if [ "$name" = kept ]; then
    mkdir -p "$folder/Data/$(dirname "$note")"
    printf 'written before the launch\r\n' >"$folder/Data/$note"
  fi
  envs=(HOME="$home")
  [ "$xdg" = "-" ] || envs+=(XDG_DATA_HOME="${xdg//@/$home}")
  launch "$name" "$desktop" "$folder" "${envs[@]}"
  if [ "$name" = kept ]; then
    [ "$(cat "$folder/Data/$note")" = $'written before the launch\r' ] &&
      pass "$name: note written before the launch is unchanged" ||
      fail "$name: note written before the launch changed"
  fi
done
[ "$(stat -c %a "$tmp/xdg/xdg/quillnote")" = 700 ] && pass "new notes folder is private" ||
  fail "new notes folder has mode $(stat -c %a "$tmp/xdg/xdg/quillnote")"

# A prefix holding the characters the desktop entry rules reserve, and a single quote,
# which the launcher's shell quoting has to carry. Left out: a semicolon and a backslash,
# since CMake itself cannot install into such a prefix, and a percent sign, which the
# entry writes as "%%" but GLib's launcher looks for literally before it expands it.
odd="$tmp/odd 'q' \"d\" \$x #(1) ~&|*?<>\`"
install_to "$odd"
mkdir -p "$tmp/odd-home"
launch "reserved characters" "$odd/share/applications/$id.desktop" \
  "$tmp/odd-home/.local/share/quillnote" HOME="$tmp/odd-home"

echo "== Debian package"
if cpack --config "$build/CPackConfig.cmake" -B "$tmp/deb" >"$tmp/cpack.log" 2>&1; then
  pass "cpack"
else
  cat "$tmp/cpack.log"
  fail "cpack"
fi
deb="$(find "$tmp/deb" -maxdepth 1 -name 'quillnote_*.deb' | head -n 1)"
if [ -z "$deb" ]; then
  fail "no quillnote_*.deb built"
else
  echo "built $(basename "$deb")"
  info="$(dpkg-deb -I "$deb")"
  [ "$(dpkg-deb -f "$deb" Package)" = quillnote ] && pass "Package: quillnote" || fail "Package name"
  depends="$(dpkg-deb -f "$deb" Depends)"
  for lib in libqt6core6 libqt6gui6 libqt6widgets6; do
    grep -q "\b$lib\b" <<<"$depends" && pass "Depends on $lib" || fail "Depends lacks $lib: $depends"
  done
  grep -q '^ Description:' <<<"$info" || fail "no Description in the control data"
  dpkg-deb -c "$deb" >"$tmp/contents.txt"
  awk '$1 !~ /^d/ {print $6}' "$tmp/contents.txt" | sed 's|^\./usr/||' | sort >"$tmp/deb-files.txt"
  diff -u "$expected" "$tmp/deb-files.txt" && pass "package holds the expected files" ||
    fail "package files differ from the expected ones"
  owners="$(awk '{print $2}' "$tmp/contents.txt" | sort -u)"
  [ "$owners" = root/root ] && pass "package files owned by root" || fail "package owners: $owners"
  dpkg-deb -x "$deb" "$tmp/unpacked"
  check_tree "package" "$tmp/unpacked" /usr
  usr="$tmp/unpacked/usr"
  program="$usr/bin/quillnote"

  # One version everywhere: the package's, with its Debian revision, is the program's own.
  version="$("$program" --version | sed -n 's/^Quillnote //p')"
  debversion="$(dpkg-deb -f "$deb" Version)"
  [[ -n "$version" && "$debversion" == "$version"-[1-9]* ]] &&
    pass "package version $debversion is the program's $version with a Debian revision" ||
    fail "package version '$debversion', program version '$version'"
  first_line() { zcat "$1" | head -n 1; }
  [ "$(first_line "$usr/share/doc/quillnote/changelog.Debian.gz")" = \
    "quillnote ($debversion) unstable; urgency=medium" ] &&
    pass "changelog.Debian.gz starts with $debversion" ||
    fail "changelog.Debian.gz starts with '$(first_line "$usr/share/doc/quillnote/changelog.Debian.gz")'"
  [[ "$(first_line "$usr/share/doc/quillnote/changelog.gz")" == "Quillnote $version ("* ]] &&
    pass "changelog.gz starts with $version" ||
    fail "changelog.gz starts with '$(first_line "$usr/share/doc/quillnote/changelog.gz")'"
  release="$(grep -o '<release version="[^"]*"' "$usr/share/metainfo/$id.metainfo.xml" | head -n 1)"
  [ "$release" = "<release version=\"$version\"" ] && pass "metadata's newest release is $version" ||
    fail "metadata's newest release: '$release'"
  for page in quillnote quillnote-launch; do
    [[ "$(first_line "$usr/share/man/man1/$page.1.gz")" == *"\"Quillnote $version\""* ]] &&
      pass "manual page $page(1) is of $version" ||
      fail "manual page $page(1) starts with '$(first_line "$usr/share/man/man1/$page.1.gz")'"
  done
  head -n 1 "$usr/share/doc/quillnote/copyright" | grep -q '^Format: .*copyright-format/1.0/' &&
    pass "copyright is machine-readable" || fail "copyright lacks its Format line"

  # Built with Debian's hardening flags, stripped of the compiler's identification. The
  # control-flow protection line is not required: Debian 12's C start-up files carry no
  # IBT/SHSTK property, so no program linked there has it (dpkg's own lacks it too).
  if out="$(hardening-check --nocfprotection "$program" 2>&1)"; then
    pass "hardening-check"
  else
    fail "hardening-check"
  fi
  echo "$out"
  if readelf -S --wide "$program" | grep -q ' \.comment '; then
    fail "the packaged program keeps a .comment section"
  else
    pass "no .comment section in the packaged program"
  fi

  # The checks of a Debian maintainer: no error or warning, except the tags the package's
  # own overrides file names with their reason.
  if lintian --fail-on error,warning --tag-display-limit 0 "$deb" >"$tmp/lintian.txt" 2>&1 &&
    ! grep -qE '^[EW]: ' "$tmp/lintian.txt"; then
    pass "lintian: no error, no warning"
  else
    fail "lintian"
  fi
  cat "$tmp/lintian.txt"
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "all packaging checks passed"
