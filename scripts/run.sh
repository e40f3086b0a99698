#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds the player and runs it on the bundled plugin
# and demo logs, from the ready-to-run folder build/runtime.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
./scripts/build.sh release
cd build/runtime

shopt -s nullglob
demos=(demo/*.spu demo/*.gz)
../kestrel-spu plugins
../kestrel-spu info "${demos[@]}"

# Plays each demo in turn: space pauses, left/right seek, up/down change the tempo,
# q goes to the next demo, Ctrl-C ends.
for demo in "${demos[@]}"; do
  ../kestrel-spu play "$demo" --plugin plugins/libkestrel_spu.so || [ $? -ne 130 ] || break
done
