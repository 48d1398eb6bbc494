#!/usr/bin/env bash
# Installs what building, running, packaging and testing need when it is missing
# (scripts/deps.sh build run package test), builds Quillnote with its tests and runs every
# test.
set -euo pipefail
src="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$src/scripts/deps.sh" build run package test
build="$src/build-test"
cmake -S "$src" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build"
ctest --test-dir "$build" --output-on-failure -j2
