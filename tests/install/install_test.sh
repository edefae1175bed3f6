#!/usr/bin/env bash
# Installs into a scratch prefix, checks the desktop files, runs the installed kavi with a scratch HOME
# until its main window is up, stops it with SIGTERM and checks where it kept its files.
set -euo pipefail
build=$1
built_kavi=$2
scratch=$(mktemp -d)
kavi_pid=
cleanup() {
  if [ -n "$kavi_pid" ]; then kill -KILL "$kavi_pid" 2>/dev/null || true; fi
  rm -rf "$scratch"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

prefix=$scratch/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
share=$prefix/share
for f in bin/kavi bin/kavi-cover bin/kavi-filter bin/kavi-transform bin/kavi-jpeg share/kavi/kavi-installed \
         share/kavi/alert.wav share/kavi/about.bmp share/kavi/Kavi4.chm/index.html \
         share/icons/hicolor/scalable/apps/example.kavi_covers.Kavi.svg; do
  [ -e "$prefix/$f" ] || fail "$f was not installed"
done
desktop-file-validate "$share/applications/example.kavi_covers.Kavi.desktop" || fail "desktop entry"
appstreamcli validate --no-net "$share/metainfo/example.kavi_covers.Kavi.metainfo.xml" >/dev/null || fail "metainfo"

home=$scratch/home
mkdir -p "$home/.config" "$home/Pictures"
echo 'XDG_PICTURES_DIR="$HOME/Pictures"' > "$home/.config/user-dirs.dirs"
run_env=(env -u XDG_CONFIG_HOME -u XDG_CACHE_HOME -u XDG_RUNTIME_DIR HOME="$home" QT_QPA_PLATFORM=offscreen)

# --help and --version answer without a display: they open no window.
version=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM= "$prefix/bin/kavi" --version) || fail "--version failed"
[ "$version" = "Kavi 4.0.0" ] || fail "--version said: $version"
env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM= "$prefix/bin/kavi" --help | grep -q "^Usage: kavi" || fail "--help"

# The file locations it reports: the settings under HOME, the help pages in the share folder.
help=$("${run_env[@]}" "$prefix/bin/kavi" --help)
grep -qxF "  settings    $home/.config/kavi/kavi4.ini" <<<"$help" || fail "settings location: $help"
grep -qxF "  help pages  $prefix/share/kavi/Kavi4.chm" <<<"$help" || fail "help location: $help"
grep -qxF "  scan file   $home/.cache/kavi/temp.bmp" <<<"$help" || fail "scan file location: $help"
[ ! -e "$home/.config/kavi" ] || fail "--help made the settings folder"

# The installed kavi reads user-dirs.dirs when its main window starts: its access time tells when.
touch -a -d 2000-01-01 "$home/.config/user-dirs.dirs"
before=$(stat -c %X "$home/.config/user-dirs.dirs")
"${run_env[@]}" "$prefix/bin/kavi" &
kavi_pid=$!
for _ in $(seq 1 2400); do
  [ "$(stat -c %X "$home/.config/user-dirs.dirs")" != "$before" ] && break
  kill -0 "$kavi_pid" 2>/dev/null || fail "kavi ended on its own"
  sleep 0.1
done
[ "$(stat -c %X "$home/.config/user-dirs.dirs")" != "$before" ] || fail "the main window never started"
kill -TERM "$kavi_pid"
status=0
wait "$kavi_pid" || status=$?
kavi_pid=
[ "$status" -eq 0 ] || fail "kavi ended with $status"
ini=$home/.config/kavi/kavi4.ini
[ -f "$ini" ] || fail "no settings written under HOME/.config/kavi"
grep -q "^Dir=$home/Pictures\$" "$ini" || fail "picking did not start in the pictures folder: $(cat "$ini")"
[ ! -e "$prefix/bin/kavi4.ini" ] || fail "settings written beside the installed executable"

# The build folder's kavi still keeps everything beside itself.
help=$(HOME="$home" QT_QPA_PLATFORM=offscreen "$built_kavi" --help)
grep -qxF "  settings    $build/kavi4.ini" <<<"$help" || fail "built kavi's settings location: $help"
grep -qxF "  help pages  $build/Kavi4.chm" <<<"$help" || fail "built kavi's help location: $help"
echo "installed kavi keeps its files in the user's folders"
