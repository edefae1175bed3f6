#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
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
# The icon at every pixel size the build renders, and a manual page with this version for every program.
for size in 48 64 128 256; do
  png_size=$(file -b "$share/icons/hicolor/${size}x${size}/apps/example.kavi_covers.Kavi.png")
  [[ "$png_size" == "PNG image data, $size x $size,"* ]] || fail "the ${size} x ${size} icon is: $png_size"
done
for program in kavi kavi-cover kavi-filter kavi-transform kavi-jpeg; do
  page=$share/man/man1/$program.1
  [ -f "$page" ] || fail "no manual page for $program"
  heading=$(sed -n '/^\.TH /p' "$page")
  [[ "$heading" == *'"Kavi 4.0.0"'* ]] || fail "$program.1 is not for this version: $heading"
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "$program.1: $warnings"
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
usage=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM= "$prefix/bin/kavi" --help)
grep -q "^Usage: kavi" <<<"$usage" || fail "--help"

# The file locations it reports: the settings under HOME, the help pages in the share folder.
help=$("${run_env[@]}" "$prefix/bin/kavi" --help)
grep -qxF "  settings    $home/.config/kavi/kavi4.ini" <<<"$help" || fail "settings location: $help"
grep -qxF "  help pages  $prefix/share/kavi/Kavi4.chm" <<<"$help" || fail "help location: $help"
grep -qxF "  scan file   $home/.cache/kavi/temp.bmp" <<<"$help" || fail "scan file location: $help"
[ ! -e "$home/.config/kavi" ] || fail "--help made the settings folder"

# Runs the installed kavi with these arguments until its main window is up, then stops it with
# SIGTERM and expects a normal end. It reads user-dirs.dirs when its main window starts: the file's
# access time tells when. Generous deadlines only keep a hang from stalling the run.
run_until_window_then_stop() {
  touch -a -d 2000-01-01 "$home/.config/user-dirs.dirs"
  local before status=0
  before=$(stat -c %X "$home/.config/user-dirs.dirs")
  "${run_env[@]}" "$prefix/bin/kavi" "$@" 2>"$scratch/kavi.err" &
  kavi_pid=$!
  for _ in $(seq 1 2400); do
    [ "$(stat -c %X "$home/.config/user-dirs.dirs")" != "$before" ] && break
    kill -0 "$kavi_pid" 2>/dev/null || fail "kavi $* ended on its own: $(cat "$scratch/kavi.err")"
    sleep 0.1
  done
  [ "$(stat -c %X "$home/.config/user-dirs.dirs")" != "$before" ] || fail "kavi $*: the main window never started"
  kill -TERM "$kavi_pid"
  for _ in $(seq 1 1200); do
    kill -0 "$kavi_pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$kavi_pid" 2>/dev/null && fail "kavi $* did not end at SIGTERM"
  wait "$kavi_pid" || status=$?
  kavi_pid=
  [ "$status" -eq 0 ] || fail "kavi $* ended with $status"
}
run_until_window_then_stop
ini=$home/.config/kavi/kavi4.ini
[ -f "$ini" ] || fail "no settings written under HOME/.config/kavi"
grep -q "^Dir=$home/Pictures\$" "$ini" || fail "picking did not start in the pictures folder: $(cat "$ini")"
[ ! -e "$prefix/bin/kavi4.ini" ] || fail "settings written beside the installed executable"

# A picture that is not there, or a named pipe that no one writes, still lets the window open and
# end normally; Qt's own options are taken, an unknown option is refused before any window opens.
mkfifo "$scratch/pipe.jpg"
run_until_window_then_stop "$scratch/no-such-picture.jpg"
run_until_window_then_stop -platform offscreen "$scratch/pipe.jpg"
status=0
"${run_env[@]}" "$prefix/bin/kavi" --verison 2>"$scratch/kavi.err" || status=$?
[ "$status" -eq 2 ] && grep -q 'unknown option --verison' "$scratch/kavi.err" || fail "unknown option: $status $(cat "$scratch/kavi.err")"

# The build folder's kavi still keeps everything beside itself.
help=$(HOME="$home" QT_QPA_PLATFORM=offscreen "$built_kavi" --help)
grep -qxF "  settings    $build/kavi4.ini" <<<"$help" || fail "built kavi's settings location: $help"
grep -qxF "  help pages  $build/Kavi4.chm" <<<"$help" || fail "built kavi's help location: $help"
echo "installed kavi keeps its files in the user's folders"
