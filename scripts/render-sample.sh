#!/usr/bin/env bash
# Sets up, builds (release) the module and the command-line host, and renders the bundled
# sample subtitles with it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release --target quill-render quill_rasterizer
build/release/tools/quill-render --frames --out build/sample samples/sample.srt
echo "Images are in build/sample/"
