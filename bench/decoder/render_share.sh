#!/usr/bin/env bash
# The decoder's share of work inside the plugin's SPUrender, counted in instructions by
# callgrind (stable on a busy machine, unlike wall time), for each demo log.
#   bench/decoder/render_share.sh [BUILD_DIR] [SECONDS]   (default: each whole log)
set -euo pipefail
build=$(realpath "${1:-build}")
limit=()
[ -n "${2:-}" ] && limit=(--seconds "$2")
runtime="$build/runtime"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for log in "$runtime"/demo/*.spu; do
  valgrind --tool=callgrind --callgrind-out-file="$work/cg.out" \
    "$build/kestrel-spu" decode "$log" --plugin "$runtime/plugins/libkestrel_spu.so" \
    -o "$work/out.wav" "${limit[@]}" >/dev/null 2>&1
  callgrind_annotate --inclusive=yes "$work/cg.out" 2>/dev/null | awk -v name="$(basename "$log")" '
    /PROGRAM TOTALS/ { gsub(",", "", $1); total = $1 }
    /plugin_entry.cpp:SPUrender/ && !render { gsub(",", "", $1); render = $1 }
    END { printf "%-22s %6.2f%% of instructions inside SPUrender\n", name, 100 * render / total }'
done
