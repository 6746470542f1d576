#!/bin/sh
# Peak memory and rate of quill-render over a generated file, for -j 1 and -j 2, with the
# images written and with --discard (rendering alone). Best of REPEATS runs each, since
# the rate moves with whatever else the machine is doing; the CPU time per event (user
# and system time of the whole process, divided by the events) moves far less with it.
#
#   bench/tools/measure-render.sh [BUILD_DIR [KIND [COUNT [REPEATS]]]]
#
# BUILD_DIR defaults to build/release (with quill-render and quill_srt_corpus built);
# KIND is a corpus name of quill_srt_corpus (default ordinary), COUNT the events (2000).
set -eu
build=${1:-build/release}
kind=${2:-ordinary}
count=${3:-2000}
repeats=${4:-3}
render="$build/tools/quill-render"
corpus="$build/bench/tools/quill_srt_corpus"
for program in "$render" "$corpus" /usr/bin/time; do
  [ -x "$program" ] || { echo "missing $program (build the release preset first)" >&2; exit 2; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A face cache of its own, made before the first measured run: a cold folder scan is not
# what is measured here.
export XDG_DATA_HOME="$work/data"
"$corpus" "$kind" "$count" >"$work/input.srt"
"$render" --discard --out "$work/out" --text warm-up >/dev/null 2>&1

load() { cut -d' ' -f1-3 /proc/loadavg; }
echo "quill-render over $count '$kind' events; load average before: $(load)"
echo "mode      jobs  peak RSS   events/s   CPU ms/event (best of $repeats)"
for mode in images discard; do
  for jobs in 1 2; do
    best_rate=0 peak=0 best_cpu=""
    i=0
    while [ "$i" -lt "$repeats" ]; do
      i=$((i + 1))
      rm -rf "$work/out"
      extra=""
      [ "$mode" = discard ] && extra="--discard"
      /usr/bin/time -v "$render" -j "$jobs" $extra --out "$work/out" "$work/input.srt" \
        >/dev/null 2>"$work/err"
      rss=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$work/err")
      rate=$(sed -n 's/.*: \([0-9.]*\) events\/s$/\1/p' "$work/err")
      cpu=$(awk -v n="$count" '/User time|System time/ { s += $NF } END { printf "%.3f", s * 1000 / n }' "$work/err")
      [ "$rss" -gt "$peak" ] && peak=$rss
      best_rate=$(echo "$rate $best_rate" | awk '{ print ($1 > $2) ? $1 : $2 }')
      best_cpu=$(echo "$cpu ${best_cpu:-$cpu}" | awk '{ print ($1 < $2) ? $1 : $2 }')
    done
    printf '%-9s %4s  %5d MB   %8s   %s\n' "$mode" "$jobs" $(((peak + 1023) / 1024)) "$best_rate" "$best_cpu"
  done
done
echo "load average after: $(load)"
