#!/usr/bin/env bash
# Sets up, builds (release) and runs the main job: rendering the bundled sample subtitles.
# Until the command-line host lands, it builds everything and says what was built.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release
if [ -x build/release/tools/quill-render ]; then
  build/release/tools/quill-render --frames --out build/sample samples/sample.srt
  echo "Images are in build/sample/"
else
  echo "Quill: a text-subtitle rasteriser plug-in module. Built so far:"
  find build/release -maxdepth 3 \( -name '*.a' -o -name '*.so' \) -printf '  %P\n' | sort
fi
