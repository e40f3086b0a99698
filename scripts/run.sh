#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds everything and starts the desktop player in the
# ready-to-run folder build/runtime, on the bundled plugin and demo logs. Without a display
# it says so and plays the first demo log on the command line instead.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
./scripts/build.sh release
cd build/runtime

# The first start lists the demo logs with our plugin selected; a config.ini that is
# already there holds the user's settings and is left alone.
if [ ! -e config.ini ]; then
  printf '[Kestrel SPU Player]\nSPUFileFolder=%s\nSelectedSPUPlugin=0\n' "$PWD/demo" > config.ini
fi

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec ../kestrel-spu-player
fi

shopt -s nullglob
demos=(demo/*.spu demo/*.gz)
[ ${#demos[@]} -gt 0 ] || { echo "No demo logs in build/runtime/demo." >&2; exit 1; }
echo "No display (DISPLAY and WAYLAND_DISPLAY are unset): playing ${demos[0]} with kestrel-spu instead." >&2
echo "Space pauses, left/right seek, up/down change the tempo, q or Ctrl-C ends." >&2
exec ../kestrel-spu play "${demos[0]}" --plugin plugins/libkestrel_spu.so
