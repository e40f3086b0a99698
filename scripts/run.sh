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
if [ ${#demos[@]} -gt 0 ]; then
  ../kestrel-spu info "${demos[@]}"
fi
