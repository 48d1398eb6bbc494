#!/usr/bin/env bash
# Installs the Debian packages that a task needs, when they are missing. Each argument names
# a set:
#   build    compiling the program: compiler, CMake, Ninja, Qt 6 and fontconfig headers
#   run      what the program uses at run time beside the Qt libraries: the editor's font
#   test     the test suite: GoogleTest, a virtual X display and the tools that drive and
#            photograph it, the menu-entry and metadata validators, gio (launches the menu
#            entry as a desktop does) and the Debian package checks (lintian, hardening-check)
#   package  building the Debian package (dpkg-shlibdeps, file)
#   bench    the benchmarks: Google Benchmark, X and xcb headers, a virtual X display and
#            valgrind (counts the instructions of a benchmark, README.md)
#   fuzz     clang with its fuzzing and sanitizer runtime (fuzz/run.sh, .ci/run)
#   format   clang-format, which CI runs on every C++ file first (.ci/run)
# Usage: scripts/deps.sh SET...    (as root, or through sudo otherwise)
set -euo pipefail

packages=()
for set in "$@"; do
  case "$set" in
    build) packages+=(build-essential cmake ninja-build pkg-config
                      qt6-base-dev qt6-base-dev-tools libgl-dev libfontconfig-dev) ;;
    run) packages+=(fonts-crosextra-carlito fonts-dejavu-core) ;;
    test) packages+=(libgtest-dev libgmock-dev xvfb xauth xdotool x11-utils imagemagick
                     desktop-file-utils appstream libglib2.0-bin lintian devscripts) ;;
    package) packages+=(dpkg-dev file) ;;
    bench) packages+=(libbenchmark-dev libx11-dev libxcb1-dev xvfb xdotool valgrind) ;;
    fuzz) packages+=(clang libclang-rt-14-dev) ;;
    format) packages+=(clang-format) ;;
    *) echo "deps.sh: unknown set '$set' (build, run, test, package, bench, fuzz, format)" >&2; exit 2 ;;
  esac
done
[ ${#packages[@]} -gt 0 ] || { echo "usage: scripts/deps.sh SET..." >&2; exit 2; }

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
# sudo clears the environment, so the variable is passed through env.
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
