#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The picture tools load and write pictures only: they must not pull in the printing, scanning or
# sound libraries. Usage: tool_links_test.sh TOOL...
set -euo pipefail
status=0
for tool in "$@"; do
  links=$(ldd "$tool")
  for lib in libcups libsane libasound; do
    if grep -q "$lib" <<<"$links"; then
      echo "$(basename "$tool") links $lib:"; grep "$lib" <<<"$links"
      status=1
    fi
  done
  # The check must see a real link map: a Qt library is always there.
  grep -q libQt6 <<<"$links" || { echo "$(basename "$tool"): ldd showed no Qt library"; status=1; }
done
exit $status
