#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts Kavi under a virtual X server and takes screenshots: the splash after one second and the
# main window after the splash has gone; then, from the test build's picking_screenshots (programs in screenshots/) beside the
# executable, a selected cover, the notice after picking a file that is no picture, the main window
# with the CD case's covers loaded (in place of the empty one) and the Cover Manipulator; from its
# preview_screenshot, the print preview of a DVD cover with cut marks; from its cover_screenshots, a
# cover in its real proportions and the Crop window; from its text_window_screenshot, the cover
# text window, and the same window with a title that runs past the cover's edge, marked; from its
# manipulator_screenshot, the Cover Manipulator resized on a portrait picture; from its disc_screenshots,
# the Disc tab with a photograph and a curved title, and the Label Stock window on a two-up stock with
# the second label used; from its design_screenshots, an album's back card in the cover's layout
# window and a DVD cover with a logo, bleed and cut marks in the print preview.
# Usage: scripts/screenshot.sh [KAVI-EXECUTABLE] [OUT-DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
exe=${1:-build/kavi}
out=${2:-docs}
mkdir -p "$out"
export XDG_RUNTIME_DIR=$(mktemp -d)
chmod 700 "$XDG_RUNTIME_DIR"
xvfb-run -a -s "-screen 0 1024x640x24" bash -c '
  "$0" & pid=$!
  sleep 1.5; /usr/bin/import -window root "$1/splash.png"
  sleep 4.5; /usr/bin/import -window root "$1/main-window.png"
  kill $pid; wait $pid 2>/dev/null || true
' "$exe" "$out"
picking=$(dirname "$exe")/picking_screenshots
if [ -x "$picking" ]; then
  ASAN_OPTIONS=detect_leaks=0 xvfb-run -a -s "-screen 0 1024x640x24" "$picking" "$out/selected-cover.png" \
    "$out/unreadable-file-notice.png" "$out/main-window.png" "$out/manipulator.png"
else
  echo "No $picking (a build with -DKAVI_TESTS=ON makes it): selected-cover.png, unreadable-file-notice.png and manipulator.png not taken"
fi
preview=$(dirname "$exe")/preview_screenshot
if [ -x "$preview" ]; then
  # A sanitizer build would count the display connection's buffers as leaks.
  ASAN_OPTIONS=detect_leaks=0 xvfb-run -a -s "-screen 0 1024x768x24" "$preview" "$out/print-preview.png"
else
  echo "No $preview (a build with -DKAVI_TESTS=ON makes it): print-preview.png not taken"
fi
covers=$(dirname "$exe")/cover_screenshots
if [ -x "$covers" ]; then
  ASAN_OPTIONS=detect_leaks=0 xvfb-run -a -s "-screen 0 1024x640x24" "$covers" "$out/cover-real-proportions.png" "$out/crop-window.png"
else
  echo "No $covers (a build with -DKAVI_TESTS=ON makes it): cover-real-proportions.png and crop-window.png not taken"
fi
textwindow=$(dirname "$exe")/text_window_screenshot
if [ -x "$textwindow" ]; then
  ASAN_OPTIONS=detect_leaks=0 xvfb-run -a -s "-screen 0 1280x800x24" "$textwindow" "$out/cover-text-window.png" \
    "$out/cover-text-overhang.png"
else
  echo "No $textwindow (a build with -DKAVI_TESTS=ON makes it): cover-text-window.png and cover-text-overhang.png not taken"
fi
manipulator=$(dirname "$exe")/manipulator_screenshot
if [ -x "$manipulator" ]; then
  ASAN_OPTIONS=detect_leaks=0 xvfb-run -a -s "-screen 0 1024x640x24" "$manipulator" "$out/manipulator-resized.png"
else
  echo "No $manipulator (a build with -DKAVI_TESTS=ON makes it): manipulator-resized.png not taken"
fi
discs=$(dirname "$exe")/disc_screenshots
if [ -x "$discs" ]; then
  ASAN_OPTIONS=detect_leaks=0 xvfb-run -a -s "-screen 0 1024x768x24" "$discs" "$out/disc-tab.png" "$out/label-stock.png"
else
  echo "No $discs (a build with -DKAVI_TESTS=ON makes it): disc-tab.png and label-stock.png not taken"
fi
design=$(dirname "$exe")/design_screenshots
if [ -x "$design" ]; then
  ASAN_OPTIONS=detect_leaks=0 xvfb-run -a -s "-screen 0 1280x800x24" "$design" "$out/design-album-back.png" \
    "$out/design-dvd-bleed.png"
else
  echo "No $design (a build with -DKAVI_TESTS=ON makes it): design-album-back.png and design-dvd-bleed.png not taken"
fi
# The help's pages on composing and on designing a cover show these.
for shot in cover-real-proportions.png crop-window.png cover-text-window.png design-album-back.png design-dvd-bleed.png; do
  if [ -f "$out/$shot" ]; then cp "$out/$shot" resources/help/; fi
done
echo "Screenshots in $out"
