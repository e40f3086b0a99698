#!/usr/bin/env bash
# Installs Kestrel SPU Player for the current user (into ~/.local, or PREFIX=...), building the
# optimised build first when there is none, and brings the desktop's menu, file-type and icon
# caches up to date, so the player shows in the menu and opens logs from the file manager.
#   scripts/install-user.sh            PREFIX=/opt/kestrel scripts/install-user.sh
set -euo pipefail
cd "$(dirname "$0")/.."

prefix=${PREFIX:-$HOME/.local}
if [ ! -x build/kestrel-spu-player ] || [ ! -f build/build.ninja ]; then
  echo "Building (scripts/build.sh release) ..."
  ./scripts/build.sh release
else
  cmake --build build >/dev/null   # brings an existing build up to date
fi

echo "Installing into $prefix ..."
log=$(cmake --install build --prefix "$prefix")
echo "  $(grep -c '^-- Installing' <<<"$log" || true) files written, $(grep -c '^-- Up-to-date' <<<"$log" || true) up to date:"
echo "  the programs in $prefix/bin, the plugin in $prefix/lib/kestrel-spu-player,"
echo "  demo logs and background in $prefix/share/kestrel-spu-player, the menu entry, file type and icons"

share=$prefix/share
update() {
  if command -v "$1" >/dev/null; then
    "$@" >/dev/null 2>&1 && echo "Updated: $*" || echo "Not updated (it failed): $*"
  else
    echo "Skipped: $1 is not installed"
  fi
}
update update-mime-database "$share/mime"
update update-desktop-database "$share/applications"
if command -v gtk-update-icon-cache >/dev/null; then
  update gtk-update-icon-cache -f -t "$share/icons/hicolor"
else
  update xdg-icon-resource forceupdate
fi

echo "Done. Start it from the desktop's menu (\"Kestrel SPU Player\"), or with:"
echo "  $prefix/bin/kestrel-spu-player --user-folder"
data=${XDG_DATA_HOME:-}
[ "${data#/}" != "$data" ] || data=$HOME/.local/share   # only an absolute XDG_DATA_HOME counts
echo "Started from the menu, it keeps its settings in $data/kestrel-spu-player."
case ":$PATH:" in *":$prefix/bin:"*) ;; *) echo "Note: $prefix/bin is not on PATH; the menu entry works without it." ;; esac
