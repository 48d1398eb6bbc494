#!/bin/sh
# Rebuilds every picture of the program: resources/pictures/*.png, resources/icons/*.
# Usage: resources/draw/draw.sh   (from anywhere)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
resources=$(dirname "$here")
build=$(mktemp -d "${TMPDIR:-/tmp}/drawpictures.XXXXXX")
trap 'rm -rf "$build"' EXIT
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" >/dev/null
XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$build}" QT_QPA_PLATFORM=offscreen "$build/drawpictures" "$resources"
