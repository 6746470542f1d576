#!/usr/bin/env bash
# Sets up, builds and runs every test: the normal suite, then the sanitizer suites.
# QUILL_PRESETS overrides which presets run (default: "debug asan tsan").
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

presets=${QUILL_PRESETS:-"debug asan tsan"}
for preset in $presets; do
  echo "== preset $preset" >&2
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset"
done
