#!/usr/bin/env bash
# Runs the libFuzzer targets for a bounded time; not part of the normal test run, which
# only replays the checked-in corpora (ctest -R fuzz_).
#
#   scripts/fuzz.sh build                 configure and build the clang "fuzz" preset
#   scripts/fuzz.sh run <target> [secs]   fuzz one target (default 600 s)
#   scripts/fuzz.sh merge <target>        fold what a run found into fuzz/corpus/<target>,
#                                         keeping only inputs that add coverage (up to 2 KiB)
#
# Targets: subtitle, markup (the full engine's markup reader, then its render), font, utf,
# font_name (the "Font"/"Name" setting parser), srt and vtt (quill-render's SRT and WebVTT
# file readers), encoding (its decoder of subtitle files:
# marks, UTF-8, uchardet and iconv). A run starts from fuzz/corpus/<target> and writes new
# inputs to build/fuzz/work/<target>; a fault stops it and leaves the input under
# build/fuzz/findings/<target>/. Replay one with build/fuzz/fuzz/fuzz_<target> <file>.
# After fixing the fault, copy the input into fuzz/corpus/<target>/ as fault-<what> so
# every test run replays it; seed-* files there are the hand-picked seeds (subtitles from
# the samples and test data, fonts subset to a few glyphs). Both survive every merge.
# Run one target at a time: the machine is shared.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/fuzz

max_len_of() {
  case $1 in
    subtitle|markup) echo 4096 ;;
    font) echo 16384 ;;
    utf) echo 1024 ;;
    font_name) echo 256 ;;
    srt|vtt|encoding) echo 8192 ;;
    *) echo "unknown target '$1' (subtitle, markup, font, utf, font_name, srt, vtt, encoding)" >&2; exit 2 ;;
  esac
}

program_of() {
  local program=$build/fuzz/fuzz_$1
  [[ -x $program ]] || { echo "no $program: run '$0 build' first" >&2; exit 2; }
  echo "$program"
}

case ${1:-} in
  build)
    cmake --preset fuzz -S "$root"
    cmake --build --preset fuzz --target fuzz_subtitle fuzz_markup fuzz_font fuzz_utf fuzz_font_name fuzz_srt \
      fuzz_vtt fuzz_encoding
    ;;
  run)
    target=${2:?target}
    seconds=${3:-600}
    max_len=$(max_len_of "$target")
    program=$(program_of "$target")
    mkdir -p "$build/work/$target" "$build/findings/$target"
    # A render is milliseconds; ten seconds on one input is a hang worth keeping.
    dict=()
    [[ -f $root/fuzz/$target.dict ]] && dict=(-dict="$root/fuzz/$target.dict")
    "$program" "${dict[@]}" -max_total_time="$seconds" -max_len="$max_len" -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$build/findings/$target/" \
      "$build/work/$target" "$root/fuzz/corpus/$target"
    ;;
  merge)
    target=${2:?target}
    max_len_of "$target" >/dev/null
    program=$(program_of "$target")
    merged=$(mktemp -d)
    "$program" -merge=1 "$merged" "$root/fuzz/corpus/$target" "$build/work/$target"
    # Seeds and inputs that once found a fault stay whatever their coverage.
    find "$root/fuzz/corpus/$target" -type f ! -name 'seed-*' ! -name 'fault-*' -delete
    # libFuzzer names merged inputs by the SHA-1 of their bytes; skip those already kept.
    kept=$(cd "$root/fuzz/corpus/$target" && sha1sum -- * | cut -d' ' -f1)
    # Larger finds stay in the work folder: the checked-in corpus is kept small (font
    # inputs run to kilobytes, and FreeType's own paths are invisible to the coverage).
    for input in "$merged"/*; do
      (( $(stat -c %s "$input") <= 2048 )) || continue
      grep -qx "$(basename "$input")" <<<"$kept" || cp "$input" "$root/fuzz/corpus/$target/"
    done
    rm -rf "$merged"
    ;;
  *)
    sed -n '2,18p' "$0"
    exit 2
    ;;
esac
