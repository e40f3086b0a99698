#!/usr/bin/env bash
# Wall time of kestrel-spu render with --jobs 1 and --jobs 2 over the demo logs and 40
# synthesized logs that keep all 24 voices busy; prints both and the speed-up. Wall time is
# only meaningful on a quiet machine: check `uptime` first. The logs and outputs go under
# $TMPDIR (default /tmp); TMPDIR=/dev/shm leaves the disk's syncs out of the figures.
#   bench/decoder/render_jobs.sh [BUILD_DIR] [LOGS]   (default: build, 40)
set -euo pipefail
build=$(realpath "${1:-build}")
count=${2:-40}
here=$(dirname "$(realpath "$0")")
runtime="$build/runtime"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/logs"
cp "$runtime"/demo/*.spu "$runtime"/demo/*.gz "$work/logs/" 2>/dev/null || true
for i in $(seq 1 "$count"); do
  # Tempos 90..129 so no two logs are the same music.
  sed "s/TEMPO/$((89 + i))/" "$here/busy24.score" >"$work/busy.score"
  "$build/kestrel-logsynth" "$work/busy.score" -o "$(printf '%s/logs/busy%02d.spu' "$work" "$i")" >/dev/null
done
logs=$(ls "$work/logs" | wc -l)
echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
run() {
  rm -rf "$work/out"
  local start end
  start=$(date +%s.%N)
  "$build/kestrel-spu" render "$work/logs" --plugin "$runtime/plugins/libkestrel_spu.so" -o "$work/out" \
    --jobs "$1" >"$work/render.txt"
  end=$(date +%s.%N)
  tail -1 "$work/render.txt" >&2
  awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f", b - a }' 
}
one=$(run 1)
two=$(run 2)
awk -v n="$logs" -v a="$one" -v b="$two" \
  'BEGIN { printf "render of %d logs: --jobs 1 %.2f s, --jobs 2 %.2f s, speed-up %.2fx\n", n, a, b, a / b }' 
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
