#!/usr/bin/env bash
# Pictures of the desktop program: each page, the analyzer while playing, each dialog, a
# message box and the debug window, at scale 1 and 2, into docs/screenshots/. The program
# runs under Xvfb on a runtime folder of its own with the bundled plugin and demo logs.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
./scripts/build.sh release
out="$PWD/docs/screenshots"
mkdir -p "$out"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for scale in 1 2; do
  runtime="$work/runtime$scale"
  mkdir -p "$runtime/plugins" "$runtime/logs"
  cp build/runtime/plugins/libkestrel_spu.so "$runtime/plugins/"
  cp build/runtime/demo/* "$runtime/logs/"
  printf '[Kestrel SPU Player]\nSPUFileFolder=%s\nSelectedSPUPlugin=0\n' "$runtime/logs" > "$runtime/config.ini"
  mkdir -p "$out/x$scale"
  # Xvfb's screen is large enough for the window at twice its size.
  QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=$scale SDL_AUDIODRIVER=dummy \
    xvfb-run -a -s "-screen 0 2400x1800x24" build/tools/screenshots/kestrel-screenshots "$runtime" "$out/x$scale"
done
echo "Screenshots in $out"
