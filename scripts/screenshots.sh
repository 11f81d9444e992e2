#!/usr/bin/env bash
# Regenerates the README's pictures (docs/main-window.png, docs/preview.png) from the program's
# own windows on the offscreen platform, listing this repository's src folder.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${BUILD_DIR:-build}
cmake --build "$dir" --target tarn_screenshots
"$dir/tests/app/tarn_screenshots" src docs
