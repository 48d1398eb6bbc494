#!/usr/bin/env bash
# Installs what building and running need when it is missing (scripts/deps.sh build run),
# builds Quillnote and starts it in the current directory (its notes live under ./Data there).
set -euo pipefail
src="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$src/scripts/deps.sh" build run
cmake -S "$src" -B "$src/build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILLNOTE_TESTS=OFF >/dev/null
cmake --build "$src/build" --target quillnote
exec "$src/build/quillnote"
