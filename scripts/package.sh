#!/usr/bin/env bash
# Builds the Debian package of Quillnote: installs what building and packing need when it is
# missing (scripts/deps.sh build package), builds the program in Release mode with Debian's
# hardening flags, packs it with CPack and prints the path of the .deb. Install it with
#   sudo apt install ./build-package/quillnote_<version>-<revision>_<arch>.deb
set -euo pipefail
src="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$src/scripts/deps.sh" build package
build="$src/build-package"
cmake -S "$src" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILLNOTE_TESTS=OFF >/dev/null
cmake --build "$build" --target quillnote
rm -f "$build"/quillnote_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb="$(find "$build" -maxdepth 1 -name 'quillnote_*.deb' -print -quit)"
[ -n "$deb" ] || { echo "package.sh: cpack made no .deb" >&2; exit 1; }
echo "$deb"
