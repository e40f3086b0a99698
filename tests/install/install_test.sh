#!/usr/bin/env bash
# Installs a build into a temporary prefix and checks it as a desktop sees it: the launcher,
# the software-centre description and the log file type validate, logs are known by name and
# content (and other gzip and binary files are not), and the installed programs run from the
# installed tree. Nothing outside the temporary folder is touched: HOME and XDG_DATA_HOME point
# into it.
#   install_test.sh BUILD_DIR
set -euo pipefail
build=$1
id=org.kestrel.SpuPlayer

tmp=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; done
  rm -rf "$tmp"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
for tool in desktop-file-validate appstreamcli update-mime-database xdg-mime mimetype; do
  command -v "$tool" >/dev/null || fail "$tool is missing; scripts/install-deps.sh installs it"
done

prefix=$tmp/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
export HOME=$tmp/home XDG_DATA_HOME=$tmp/empty-data XDG_CONFIG_HOME=$tmp/home/.config
mkdir -p "$HOME" "$XDG_DATA_HOME"

share=$prefix/share
plugin=$(find "$prefix" -path '*/kestrel-spu-player/plugins/libkestrel_spu.so')
demo=$share/kestrel-spu-player/demo
[ -n "$plugin" ] || fail "the plugin is not installed"
for f in bin/kestrel-spu-player bin/kestrel-spu share/kestrel-spu-player/image/default.bmp \
         share/icons/hicolor/scalable/apps/kestrel-spu-player.svg \
         share/kestrel-spu-player/demo/old_arcade.spu share/kestrel-spu-player/demo/harbour_lights.gz; do
  [ -e "$prefix/$f" ] || fail "$f is not installed"
done
for size in 16 32 48 64 128 256; do
  [ -e "$share/icons/hicolor/${size}x$size/apps/kestrel-spu-player.png" ] || fail "no ${size}x$size icon"
done
for f in "$prefix"/bin/* "$plugin"; do
  readelf -d "$f" | grep -E 'RPATH|RUNPATH' | grep -qF "$(cd "$build" && pwd)" && fail "$f looks into the build tree"
done

# Validation: errors fail, and so do warnings (hints are fine).
out=$(desktop-file-validate "$share/applications/$id.desktop" 2>&1) || fail "desktop entry: $out"
grep -q "error\|warning" <<<"$out" && fail "desktop entry: $out"
grep -q "^Exec=\"$prefix/bin/kestrel-spu-player\" --user-folder %F$" "$share/applications/$id.desktop" ||
  fail "the launcher does not start the installed program with --user-folder"
appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml" >"$tmp/as.txt" 2>&1 ||
  fail "metainfo: $(cat "$tmp/as.txt")"

# The file type, by xdg-mime's desktop-neutral query (which reads the whole database,
# content rules at any offset included).
XDG_DATA_DIRS="$share:/usr/share" update-mime-database "$share/mime"
files=$tmp/files
mkdir "$files"
cp "$demo/night_drive.spu" "$files/night_drive.spu"
cp "$demo/harbour_lights.gz" "$files/harbour_lights.spu.gz"
cp "$demo/old_arcade.spu" "$files/old_format_renamed"     # old format: the fixed discriminator,
printf '\0\0\0\0' | dd of="$files/old_format_renamed" conv=notrunc status=none  # without titles
cp "$demo/lanterns.spu" "$files/titled_renamed"           # new format with its title block
head -c 1000 "$demo/lanterns.spu" >"$files/cut_short"     # starts like one, but is no log
echo "just text" | gzip >"$files/ordinary.gz"
cp "$prefix/bin/kestrel-spu" "$files/ordinary_binary"
head -c 600000 /dev/urandom >"$files/random_data"
query() {
  env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION -u KDE_FULL_SESSION -u GNOME_DESKTOP_SESSION_ID \
    XDG_DATA_DIRS="$share:/usr/share" xdg-mime query filetype "$1"
}
for f in night_drive.spu harbour_lights.spu.gz old_format_renamed titled_renamed; do
  [ "$(query "$files/$f")" = application/x-kestrel-spu-log ] || fail "$f is $(query "$files/$f"), not a log"
done
for f in cut_short ordinary.gz ordinary_binary random_data; do
  [ "$(query "$files/$f")" != application/x-kestrel-spu-log ] || fail "$f is taken for a log"
done

# The installed command line decodes with the installed plugin.
"$prefix/bin/kestrel-spu" decode "$demo/old_arcade.spu" --plugin "$plugin" -o "$tmp/out.wav" --seconds 1 >/dev/null
[ "$(stat -c %s "$tmp/out.wav")" -ge $((44 + 44100 * 4)) ] || fail "the decode wrote $(stat -c %s "$tmp/out.wav") bytes"

# Starts the installed desktop program in folder $1 with XDG_DATA_HOME $2 and the launcher's
# option, until it has read its settings (it adds its keys to config.ini in its folder $3), then ends it.
# --new-instance: a player already running on this session bus would otherwise take the start.
start_player() {
  (cd "$1" && XDG_DATA_HOME=$2 QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy \
     exec "$prefix/bin/kestrel-spu-player" --user-folder --new-instance >"$tmp/player.txt" 2>&1) &
  pids+=($!)
  for _ in $(seq 300); do
    grep -qs EnableConsoleWindow "$3/config.ini" && break
    kill -0 "${pids[-1]}" 2>/dev/null || fail "the program ended: $(cat "$tmp/player.txt")"
    sleep 0.1
  done
  kill "${pids[-1]}"; wait "${pids[-1]}" 2>/dev/null || true
  grep -qs EnableConsoleWindow "$3/config.ini" || fail "the program did not start in $3"
}
mkdir "$tmp/started-in" "$tmp/data"
start_player "$tmp/started-in" "$tmp/data" "$tmp/data/kestrel-spu-player"
user=$tmp/data/kestrel-spu-player
[ "$(readlink -f "$user/plugins/libkestrel_spu.so")" = "$(readlink -f "$plugin")" ] || fail "no plugin link in $user"
cmp -s "$user/image/default.bmp" "$share/kestrel-spu-player/image/default.bmp" || fail "no background in $user"
grep -qx "SPUFileFolder=$(readlink -f "$demo")" "$user/config.ini" || fail "config.ini: $(cat "$user/config.ini")"
[ -z "$(ls -A "$tmp/started-in")" ] || fail "the program wrote into the folder it was started in"

# A per-user folder that cannot be made: the program runs in the folder it was started in.
touch "$tmp/data-file"
start_player "$tmp/started-in" "$tmp/data-file" "$tmp/started-in"
echo "install tree OK"
