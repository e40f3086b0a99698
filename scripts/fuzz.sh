#!/usr/bin/env bash
# Runs every libFuzzer target of a sanitizer build for a bounded time each.
#   scripts/fuzz.sh BUILD_DIR SECONDS
set -uo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build-asan}
seconds=${2:-30}
shopt -s nullglob
for fuzzer in "$dir"/fuzz/*_fuzz; do
  corpus="$dir/fuzz/corpus/$(basename "$fuzzer")"
  mkdir -p "$corpus"
  # Inputs that once crashed or hung a target start its run (read, never written to).
  seeds=(); [ -d "fuzz/seeds/$(basename "$fuzzer")" ] && seeds=("fuzz/seeds/$(basename "$fuzzer")")
  echo "== $(basename "$fuzzer"): ${seconds}s"
  "$fuzzer" -max_total_time="$seconds" -max_len=65536 -print_final_stats=1 "$corpus" "${seeds[@]}" 2>&1 | tail -n 4
  [ "${PIPESTATUS[0]}" -eq 0 ] || { echo "fuzzer $(basename "$fuzzer") found a fault" >&2; exit 1; }
done
