#!/usr/bin/env bash
# Installs the Debian packages Quill builds, tests and renders with, when any is missing,
# so that a fresh machine needs nothing done by hand.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  dpkg-dev   # dpkg-shlibdeps: the Debian package's dependencies
  libfreetype-dev libsqlite3-dev libboost-thread-dev libpng-dev
  libharfbuzz-dev libfribidi-dev libicu-dev   # the full layout: shaping, bidi, line breaking
  libuchardet-dev   # quill-render: the character set of subtitle files without a mark
  libspng-dev       # the PNG benchmark weighs libspng against libpng
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-dejavu-core fonts-dejavu-extra fonts-wqy-zenhei
  fonts-noto-core fonts-liberation2   # a folder of a few hundred real fonts for the face-cache benchmark
  python3 python3-fonttools
  # the quilloverlay element and its tests: GStreamer's development files and check library,
  # and the plug-ins the test pipelines use (subparse, videotestsrc, appsink, png*)
  libgstreamer1.0-dev libgstreamer-plugins-base1.0-dev
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-tools
  clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ "${#missing[@]}" -gt 0 ]; then
  echo "setup: installing ${missing[*]}" >&2
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
