#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the .deb from the build tree and checks its name, contents and control fields.
#   check_deb.sh BUILD_DIR VERSION HAS_GUI
set -euo pipefail
build=$1 version=$2 has_gui=$3
if [ "$has_gui" != 1 ]; then
  echo "SKIP: the desktop program songloader is not built yet (src/gui/main.cpp), so no .deb is made"
  exit 77
fi
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$tmp" >/dev/null || fail "cpack failed"
deb=$tmp/songloader_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "no $(basename "$deb"); made: $(ls "$tmp")"

contents=$(dpkg-deb -c "$deb")
for f in ./usr/bin/songloader ./usr/bin/songloader-cli ./usr/libexec/songloader/songloader-cli-qt.so \
         ./usr/share/applications/org.songloader.SongLoader.desktop \
         ./usr/share/icons/hicolor/scalable/apps/org.songloader.SongLoader.svg \
         ./usr/share/songloader/help/index.html ./usr/share/man/man1/songloader.1.gz \
         ./usr/share/songloader/translations/songloader_es.qm ./usr/share/songloader/translations/songloader_fil.qm; do
  grep -q " $f\$" <<<"$contents" || fail "$f not in the package"
done
depends=$(dpkg-deb -f "$deb" Depends)
for d in libqt6widgets6 libc6 qt6-qpa-plugins libcurl4 libavformat libsqlite3 ffmpeg; do
  grep -q "$d" <<<"$depends" || fail "Depends lacks $d: $depends"
done
# Only --demo serves HTTP, from its helper program: a user's window needs no HTTP server library.
! grep -q "httplib" <<<"$depends" || fail "Depends has the HTTP server library: $depends"
grep -q " ./usr/libexec/songloader/songloader-demo-cloud\$" <<<"$contents" || fail "no demo cloud helper"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "Version: $(dpkg-deb -f "$deb" Version)"
dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/doc/songloader/copyright | grep -q "^License: GPL-3.0-or-later" ||
  fail "copyright names no GPL-3.0-or-later"
[ "$(dpkg-deb -f "$deb" Section)" = sound ] || fail "Section: $(dpkg-deb -f "$deb" Section)"
if command -v lintian >/dev/null; then
  errors=$(lintian "$deb" 2>/dev/null | grep -E '^(E|W):' || true)
  [ -z "$errors" ] || fail "lintian: $errors"
fi
echo "$(basename "$deb") built and checked"
