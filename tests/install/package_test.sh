#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks a kavi .deb that dpkg-buildpackage made (tests/install/debian_package_test.sh builds it with
# scripts/package-deb.sh): what it holds, that its dependencies cover every library its programs
# link, its desktop entry and metainfo; has apt simulate its installation on this machine, and, as
# root, installs it into a scratch root with dpkg and removes it again there. The machine's own
# packages are not changed.
# Usage: package_test.sh DEB
set -euo pipefail
deb=$(realpath "$1")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

[ -f "$deb" ] || fail "no package $deb"
version=$(dpkg-deb -f "$deb" Version)
upstream=${version%-*}
[ "$upstream" != "$version" ] || fail "the version $version has no Debian revision"
arch=$(dpkg --print-architecture)
[ "$(basename "$deb")" = "kavi_${version}_${arch}.deb" ] || fail "package named $(basename "$deb")"
# The outputs are read whole before grep looks at them: with pipefail, a grep -q that stops at the
# first match would fail the check through the writer's broken pipe.
info=$(dpkg-deb -I "$deb")
grep -qx " Package: kavi" <<<"$info" || fail "dpkg-deb -I: $info"

# Contents: the programs executable, the desktop files, help, sound and the installed marker, all
# owned by root and nothing outside /usr.
listing=$(dpkg-deb -c "$deb")
for program in kavi kavi-cover kavi-filter kavi-transform kavi-jpeg; do
  grep -qE "^-rwxr-xr-x root/root .* \./usr/bin/$program\$" <<<"$listing" || fail "no executable usr/bin/$program"
done
for f in applications/example.kavi_covers.Kavi.desktop icons/hicolor/scalable/apps/example.kavi_covers.Kavi.svg \
         metainfo/example.kavi_covers.Kavi.metainfo.xml kavi/Kavi4.chm/index.html kavi/alert.wav kavi/kavi-installed \
         doc/kavi/copyright doc/kavi/changelog.gz doc/kavi/changelog.Debian.gz; do
  grep -qE " \./usr/share/$f\$" <<<"$listing" || fail "the package lacks usr/share/$f"
done
# A manual page, compressed, for every program, and the icon at every pixel size.
for program in kavi kavi-cover kavi-filter kavi-transform kavi-jpeg; do
  grep -qE "^-rw-r--r-- root/root .* \./usr/share/man/man1/$program\.1\.gz\$" <<<"$listing" ||
    fail "no manual page usr/share/man/man1/$program.1.gz"
done
for size in 48 64 128 256; do
  grep -qE " \./usr/share/icons/hicolor/${size}x${size}/apps/example\.kavi_covers\.Kavi\.png\$" <<<"$listing" ||
    fail "no ${size} x ${size} icon"
done
outside=$(awk '{print $6}' <<<"$listing" | grep -vE '^\./(usr(/.*)?)?$' || true)
[ -z "$outside" ] || fail "files outside /usr: $outside"
foreign=$(awk '$2 != "root/root"' <<<"$listing")
[ -z "$foreign" ] || fail "files not owned by root: $foreign"

# Depends names the package of every library a program links directly, as dpkg-shlibdeps found them.
depends=$(dpkg-deb -f "$deb" Depends)
depends_names=" $(sed -E 's/\([^)]*\)//g; s/[,|]/ /g' <<<"$depends" | xargs) "
grep -qE 'libc6 \(>= [0-9.]+\)' <<<"$depends" || fail "no versioned libc6 in Depends: $depends"
extract=$scratch/extract
dpkg-deb -x "$deb" "$extract"
for program in "$extract"/usr/bin/*; do
  libraries=$(ldd "$program")
  while read -r needed; do
    path=$(awk -v lib="$needed" '$1 == lib {print $3}' <<<"$libraries")
    [ -n "$path" ] || fail "$(basename "$program") links $needed, which is not found"
    owner=$(dpkg -S "$path" 2>/dev/null || dpkg -S "$(realpath "$path")" 2>/dev/null || true)
    owner=${owner%%:*}
    [ -n "$owner" ] || fail "no package holds $path"
    # A library's shlibs may name a package that depends on the one holding the file (TagLib's
    # libtag1v5 on its flavour libtag1v5-vanilla); that package then brings it.
    if [[ "$depends_names" != *" $owner "* ]]; then
      brought=no
      for name in $depends_names; do
        pulls=" $(dpkg-query -W -f='${Depends}' "$name" 2>/dev/null | sed -E 's/\([^)]*\)//g; s/[,|]/ /g' | xargs) "
        if [[ "$pulls" == *" $owner "* ]]; then brought=yes; break; fi
      done
      [ "$brought" = yes ] || fail "$(basename "$program") links $needed of $owner, not in Depends: $depends"
    fi
  done < <(objdump -p "$program" | awk '$1 == "NEEDED" {print $2}' | grep -v '^ld-linux')
done

# The desktop files as packaged; the menu entry starts a packaged program and names the packaged icon.
entry=$extract/usr/share/applications/example.kavi_covers.Kavi.desktop
desktop-file-validate "$entry" || fail "desktop entry"
appstreamcli validate --no-net "$extract/usr/share/metainfo/example.kavi_covers.Kavi.metainfo.xml" >/dev/null || fail "metainfo"
exec_program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
[ -x "$extract/usr/bin/$exec_program" ] || fail "the menu entry starts $exec_program, which the package does not hold"
icon=$(sed -n 's/^Icon=//p' "$entry")
[ -f "$extract/usr/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "the menu entry's icon $icon is not packaged"
for size in 48 64 128 256; do
  png=$extract/usr/share/icons/hicolor/${size}x${size}/apps/$icon.png
  png_size=$(file -b "$png")
  [[ "$png_size" == "PNG image data, $size x $size,"* ]] || fail "the ${size} x ${size} icon is: $png_size"
done
[ "$("$extract/usr/bin/kavi" --version)" = "Kavi $upstream" ] || fail "the packaged kavi does not run"
# The programs carry the hardening dpkg-buildflags asks for: full RELRO with immediate binding, and
# position-independent executables.
for program in "$extract"/usr/bin/*; do
  headers=$(readelf -d -l -h "$program")
  grep -q 'GNU_RELRO' <<<"$headers" || fail "$(basename "$program") has no RELRO"
  grep -qE '\(FLAGS_1\).*NOW' <<<"$headers" || fail "$(basename "$program") is not bound at once (no BIND_NOW)"
  grep -qE 'Type: +DYN' <<<"$headers" || fail "$(basename "$program") is not position-independent"
done
# The copyright file is the source package's, and names the licence the tree is under.
cmp -s "$extract/usr/share/doc/kavi/copyright" "$(dirname "$0")/../../debian/copyright" ||
  fail "usr/share/doc/kavi/copyright is not debian/copyright"

# apt, asked to simulate installing the file, finds every dependency on this machine or in its lists.
if command -v apt-get >/dev/null; then
  (cd "$(dirname "$deb")" && apt-get install -s --no-install-recommends "./$(basename "$deb")") >"$scratch/apt.log" 2>&1 ||
    { cat "$scratch/apt.log" >&2; fail "apt-get cannot install the package"; }
  grep -q '^Inst kavi ' "$scratch/apt.log" || { cat "$scratch/apt.log" >&2; fail "apt-get would not install kavi"; }
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "package built and checked; installing it into a scratch root needs root, skipped"
  exit 0
fi
# Installed into and removed from a scratch root: dpkg's own database there, the machine's untouched.
# The scratch root holds none of the dependencies, so dpkg is told not to check them.
root=$scratch/root
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates" "$root/var/lib/dpkg/triggers"
touch "$root/var/lib/dpkg/status" "$root/var/lib/dpkg/available"
in_root=(dpkg --root="$root" --log=/dev/null)
"${in_root[@]}" --force-depends -i "$deb" >"$scratch/dpkg.log" 2>&1 || { cat "$scratch/dpkg.log" >&2; fail "dpkg -i"; }
[ "$(dpkg-query --root="$root" -W -f='${Status}' kavi)" = "install ok installed" ] || fail "not installed"
[ -x "$root/usr/bin/kavi" ] || fail "usr/bin/kavi not installed"
[ -f "$root/usr/share/applications/example.kavi_covers.Kavi.desktop" ] || fail "menu entry not installed"
"${in_root[@]}" --purge kavi >"$scratch/dpkg.log" 2>&1 || { cat "$scratch/dpkg.log" >&2; fail "dpkg --purge"; }
left=$(find "$root/usr" -mindepth 1 2>/dev/null || true)
[ -z "$left" ] || fail "left behind after removal: $left"
echo "package $(basename "$deb") built, checked, installed and removed cleanly"
