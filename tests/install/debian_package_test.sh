#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package as a packager and a user meet it. Checks that LICENSE, debian/copyright, the
# metainfo, the README and the sources' SPDX lines name one licence; builds the source and binary
# packages with scripts/package-deb.sh (dpkg-buildpackage); has lintian check them, failing on any
# error or warning; checks the .deb with package_test.sh; then, as root, installs it with apt, runs
# the installed programs and the autopkgtest smoke test, purges it and checks that none of its
# files is left. CI runs it after the test suite.
# Usage: tests/install/debian_package_test.sh [OUT-DIR]   (OUT-DIR keeps the .deb; default: scratch)
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
scratch=$(mktemp -d)
installed_by_us=
cleanup() {
  if [ -n "$installed_by_us" ]; then apt-get purge -y -qq kavi >/dev/null 2>&1 || true; fi
  rm -rf "$scratch"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
out_dir=${1:-$scratch/out}

# One licence everywhere: the GNU GPL version 3 or later. Every output is read whole before grep
# looks at it (pipefail and an early-stopping grep -q do not mix).
cd "$source_dir"
license_head=$(head -n 2 LICENSE)
[[ "$license_head" == *"GNU GENERAL PUBLIC LICENSE"*"Version 3, 29 June 2007"* ]] ||
  fail "LICENSE is not the GNU GPL version 3: $license_head"
if [ -f /usr/share/common-licenses/GPL-3 ]; then
  cmp -s LICENSE /usr/share/common-licenses/GPL-3 || fail "LICENSE differs from /usr/share/common-licenses/GPL-3"
fi
copyright=$(cat debian/copyright)
# Each Files paragraph as "PATTERNS => LICENCE": the whole tree is GPL-3+, the AppStream metadata
# alone has the metainfo's own metadata licence.
files_licenses=$(awk '/^Files:/ {files = substr($0, 8)} /^$/ {files = ""}
                      files != "" && /^License:/ {print files " => " $2}' <<<"$copyright")
expected_licenses="* => GPL-3+
resources/desktop/example.kavi_covers.Kavi.metainfo.xml => CC0-1.0"
[ "$files_licenses" = "$expected_licenses" ] || fail "debian/copyright gives the files the licences: $files_licenses"
grep -qx "License: GPL-3+" <<<"$copyright" || fail "debian/copyright has no GPL-3+ licence paragraph"
grep -qF 'either version 3 of the License, or' <<<"$copyright" || fail "debian/copyright's GPL-3+ is not 'or later'"
grep -qF '"/usr/share/common-licenses/GPL-3"' <<<"$copyright" || fail "debian/copyright does not point to the GPL-3 text"
metainfo=$(cat resources/desktop/example.kavi_covers.Kavi.metainfo.xml)
grep -qF '<project_license>GPL-3.0-or-later</project_license>' <<<"$metainfo" || fail "the metainfo's project licence"
grep -qF '<metadata_license>CC0-1.0</metadata_license>' <<<"$metainfo" || fail "the metainfo's metadata licence"
readme=$(cat README.md)
grep -qF 'GNU General Public License, version 3 or later' <<<"$readme" || fail "the README does not name the licence"
other_spdx=$(grep -rInE --exclude-dir='build*' --exclude-dir=.git 'SPDX-License-Identifier: ?[A-Za-z]' . |
  grep -v 'SPDX-License-Identifier: GPL-3.0-or-later' || true)
[ -z "$other_spdx" ] || fail "files under another licence than debian/copyright names: $other_spdx"

# The packages, built as a packager builds them, and lintian's verdict on all of them.
start=$(date +%s)
deb=$(bash scripts/package-deb.sh "$out_dir" | tail -n 1)
echo "dpkg-buildpackage built $(basename "$deb") in $(($(date +%s) - start)) s"
changes=$(ls "$source_dir"/build-deb/kavi_*.changes)
lintian_status=0
lintian --fail-on error,warning "$changes" "$deb" >"$scratch/lintian.log" 2>&1 || lintian_status=$?
cat "$scratch/lintian.log"
[ "$lintian_status" -eq 0 ] || fail "lintian found errors or warnings (status $lintian_status)"

bash "$source_dir/tests/install/package_test.sh" "$deb"

if [ "$(id -u)" -ne 0 ]; then
  echo "package built and checked; installing it with apt needs root, skipped"
  exit 0
fi
if [ "$(dpkg-query -W -f='${Status}' kavi 2>/dev/null || true)" != "" ] &&
   [ "$(dpkg-query -W -f='${Status}' kavi 2>/dev/null)" != "unknown ok not-installed" ]; then
  fail "kavi is already known to dpkg on this machine; the test installs and purges its own"
fi

# Installed with apt as a user installs it, run, and purged again.
export DEBIAN_FRONTEND=noninteractive
installed_by_us=yes
apt-get install -y -qq --no-install-recommends "$deb" >"$scratch/apt.log" 2>&1 ||
  { cat "$scratch/apt.log" >&2; fail "apt-get install"; }
[ "$(dpkg-query -W -f='${Status}' kavi)" = "install ok installed" ] || fail "kavi is not installed"
owned=$(dpkg-query -L kavi)
run_env=(env -u DISPLAY -u WAYLAND_DISPLAY HOME="$scratch/home" QT_QPA_PLATFORM=offscreen)
mkdir -p "$scratch/home"
version=$("${run_env[@]}" kavi --version) || fail "kavi --version"
[ "$version" = "Kavi $(dpkg-query -W -f='${Version}' kavi | sed 's/-[^-]*$//')" ] || fail "kavi --version said $version"
cover_help=$("${run_env[@]}" kavi-cover --help) || fail "kavi-cover --help"
grep -q '^usage: kavi-cover' <<<"$cover_help" || fail "kavi-cover --help said: $cover_help"
pages=$(man -w kavi kavi-cover) || fail "man -w kavi kavi-cover"
[ "$pages" = "$(printf '%s\n' /usr/share/man/man1/kavi.1.gz /usr/share/man/man1/kavi-cover.1.gz)" ] ||
  fail "man -w found: $pages"
"${run_env[@]}" AUTOPKGTEST_TMP="$scratch/smoke" bash -c 'mkdir -p "$AUTOPKGTEST_TMP" && exec "$1"' smoke \
  "$source_dir/debian/tests/smoke" >"$scratch/smoke.log" 2>&1 || { cat "$scratch/smoke.log" >&2; fail "the autopkgtest smoke test"; }
[ -z "$(ls -A "$scratch/home")" ] || fail "the installed programs wrote into HOME: $(ls -A "$scratch/home")"

apt-get purge -y -qq kavi >"$scratch/apt.log" 2>&1 || { cat "$scratch/apt.log" >&2; fail "apt-get purge"; }
installed_by_us=
[ "$(dpkg-query -W -f='${Status}' kavi 2>/dev/null || true)" = "" ] ||
  [ "$(dpkg-query -W -f='${Status}' kavi)" = "unknown ok not-installed" ] || fail "kavi is still known to dpkg"
left=()
while IFS= read -r path; do
  [ -n "$path" ] && [ "$path" != "/." ] || continue
  # Folders such as /usr/bin belong to other packages too; only kavi's own files and folders count.
  if [ -d "$path" ] && [ ! -L "$path" ]; then
    owners=$(dpkg-query -S "$path" 2>/dev/null || true)
    [ -n "$owners" ] && continue
  fi
  if [ -e "$path" ] || [ -L "$path" ]; then left+=("$path"); fi
done <<<"$owned"
[ ${#left[@]} -eq 0 ] || fail "left behind after purge: ${left[*]}"
for folder in /usr/share/kavi /usr/share/doc/kavi; do
  [ ! -e "$folder" ] || fail "$folder is left after purge"
done
echo "kavi $(basename "$deb") built, lintian-clean, installed, run and purged without a trace"
