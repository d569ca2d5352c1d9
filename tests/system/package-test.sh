#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The install tree and the Debian package of a built program:
#   tests/system/package-test.sh BUILD_DIR
# installs into a staging folder and validates the menu entry, AppStream
# metadata, manual page and icons; builds the .deb, checks its control data
# and contents, runs lintian, simulates installing it on this system with
# apt, installs it into a scratch root with dpkg, runs the installed
# `orbel --version` and removes it again. Leaves BUILD_DIR/lintian.txt.
# Exits non-zero with a FAIL line on the first check that fails.
set -euo pipefail
[ $# -eq 1 ] || { echo "usage: $0 BUILD_DIR" >&2; exit 2; }
build="$(cd "$1" && pwd)"
work=$(mktemp -d /tmp/orbel-package.XXXXXX)
# What runs in the background (cpack, lintian, apt) is stopped on an early end.
pending=()
stop_pending() {
  for pid in "${pending[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait
}
trap 'stop_pending; rm -rf "$work"' EXIT

fail() { echo "FAIL  $*" >&2; exit 1; }
ok() { echo "ok    $*"; }

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ -n "$version" ] || fail "no project version in $build/CMakeCache.txt"
app=org.orbel.orbel
icon_sizes=(16 32 48 64 128 256)
files=(
  usr/bin/orbel
  "usr/share/applications/$app.desktop"
  "usr/share/metainfo/$app.metainfo.xml"
  usr/share/icons/hicolor/scalable/apps/orbel.svg
  usr/share/man/man1/orbel.1.gz
  usr/share/man/ru/man1/orbel.1.gz
  usr/share/orbel/translations/orbel_en.qm
  usr/share/orbel/translations/orbel_ru.qm
  usr/share/doc/orbel/copyright
  usr/share/doc/orbel/changelog.gz
)
for size in "${icon_sizes[@]}"; do
  files+=("usr/share/icons/hicolor/${size}x${size}/apps/orbel.png")
done

echo "-- install tree"
stage=$work/stage
DESTDIR=$stage cmake --install "$build" --prefix /usr >/dev/null
# The package is built meanwhile (cpack installs into a tree of its own).
cpack --config "$build/CPackConfig.cmake" -B "$work/deb" >"$work/cpack.txt" 2>&1 &
cpack_pid=$!
pending+=("$cpack_pid")
for f in "${files[@]}"; do
  [ -f "$stage/$f" ] || fail "not installed: $f"
done
ok "${#files[@]} files installed"
desktop-file-validate "$stage/usr/share/applications/$app.desktop" || fail "desktop-file-validate"
ok "desktop-file-validate"
appstreamcli validate --no-net "$stage/usr/share/metainfo/$app.metainfo.xml" >"$work/appstream.txt" 2>&1 ||
  { cat "$work/appstream.txt"; fail "appstreamcli validate --no-net"; }
ok "appstreamcli validate --no-net"
grep -q "<release version=\"$version\"" "$stage/usr/share/metainfo/$app.metainfo.xml" ||
  fail "metadata names no release $version"
for size in "${icon_sizes[@]}"; do
  got=$(identify -format '%wx%h' "$stage/usr/share/icons/hicolor/${size}x${size}/apps/orbel.png")
  [ "$got" = "${size}x${size}" ] || fail "icon in ${size}x${size} is $got"
done
xmllint --noout "$stage/usr/share/icons/hicolor/scalable/apps/orbel.svg" || fail "SVG icon is not well-formed"
ok "icons at ${icon_sizes[*]} px and scalable"
for page in man1/orbel.1.gz ru/man1/orbel.1.gz; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$stage/usr/share/man/$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "manual page $page: $warnings"
done
ok "manual pages (English and Russian) format without warnings"
# The installed program finds its translations from its own place.
ru_help=$(env -u DISPLAY -u WAYLAND_DISPLAY LANGUAGE= LC_ALL= LANG=ru_RU.UTF-8 "$stage/usr/bin/orbel" --help)
[[ $ru_help == "Использование: orbel "* ]] || fail "installed orbel --help is not Russian under ru_RU"
ok "installed translations load"
"$stage/usr/bin/orbel" --version | grep -q "GPL-3.0-or-later" || fail "orbel --version names no licence"
grep -q "^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" \
  "$stage/usr/share/doc/orbel/copyright" || fail "copyright file is not machine-readable"
grep -q "^License: GPL-3+" "$stage/usr/share/doc/orbel/copyright" || fail "copyright file grants no GPL-3+"
grep -q "<project_license>GPL-3.0-or-later</project_license>" "$stage/usr/share/metainfo/$app.metainfo.xml" ||
  fail "metadata names no project licence"
zgrep -q "GPL" "$stage/usr/share/man/man1/orbel.1.gz" || fail "manual page names no licence"
zgrep -q "GPL" "$stage/usr/share/man/ru/man1/orbel.1.gz" || fail "Russian manual page names no licence"
ok "licence: copyright file, --version, metadata and manual pages"
installed_version=$("$stage/usr/bin/orbel" --version | head -n 1)
[ "$installed_version" = "orbel $version" ] || fail "staged orbel --version says '$installed_version'"

echo "-- Debian package"
wait "$cpack_pid" || { cat "$work/cpack.txt"; fail "cpack"; }
deb=$work/deb/orbel_${version}_amd64.deb
[ -f "$deb" ] || fail "no package $(basename "$deb")"
ok "built $(basename "$deb")"
# lintian and apt's simulated install take their time and only read the
# package: they run beside the checks below and are judged at the end.
lintian --fail-on error "$deb" >"$build/lintian.txt" 2>&1 &
lintian_pid=$!
# Every dependency can be met from this system's package sources.
apt-get install --simulate -qq "$deb" >"$work/apt.txt" 2>&1 &
apt_pid=$!
pending+=("$lintian_pid" "$apt_pid")
dpkg-deb --info "$deb" >"$work/info.txt"
grep -q "^ Package: orbel$" "$work/info.txt" || fail "control: package name"
grep -q "^ Version: $version$" "$work/info.txt" || fail "control: version"
depends=$(sed -n 's/^ Depends: //p' "$work/info.txt")
for dep in libqt6widgets6 libqt6core6 libpulse0 libstdc++6 fonts-dejavu-core fonts-dejavu-extra fonts-liberation2; do
  [[ ", $depends," == *", $dep "* || ", $depends," == *", $dep,"* ]] || fail "Depends lacks $dep: $depends"
done
ok "Depends: $depends"
dpkg-deb --contents "$deb" | awk '{print $6}' | sed 's|^\./||' >"$work/contents.txt"
for f in "${files[@]}"; do
  grep -qx "$f" "$work/contents.txt" || fail "package lacks $f"
done
ok "package holds every installed file"

echo "-- install into a scratch root"
root=$work/root
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
touch "$root/var/lib/dpkg/status"
# The scratch root has no package database of its own, so the dependencies
# (present on this system, as apt just showed) are not looked up there.
force=--force-depends
[ "$(id -u)" -eq 0 ] || force="$force,not-root"
dpkg --root="$root" "$force" -i "$deb" >"$work/dpkg.txt" 2>&1 || { cat "$work/dpkg.txt"; fail "dpkg -i"; }
dpkg --root="$root" -s orbel | grep -q "^Status: install ok installed" || fail "dpkg does not list orbel as installed"
installed_version=$(env -u DISPLAY -u WAYLAND_DISPLAY "$root/usr/bin/orbel" --version | head -n 1)
[ "$installed_version" = "orbel $version" ] || fail "installed orbel --version says '$installed_version'"
ok "installed orbel --version: $installed_version"
dpkg --root="$root" "$force" -r orbel >"$work/dpkg.txt" 2>&1 || { cat "$work/dpkg.txt"; fail "dpkg -r"; }
left=$( (find "$root/usr" -type f 2>/dev/null || true) | head -5)
[ -z "$left" ] || fail "files left after removal: $left"
ok "removed, nothing left"

echo "-- lintian and apt"
wait "$lintian_pid" || { cat "$build/lintian.txt"; fail "lintian reports errors"; }
grep -v "^running with root" "$build/lintian.txt" || true
ok "lintian: no errors"
wait "$apt_pid" || { cat "$work/apt.txt"; fail "apt-get install --simulate"; }
ok "apt can install it"
