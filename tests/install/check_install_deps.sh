#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# scripts/install-deps: one list with a build part and a --tests part; --print installs nothing.
#   check_install_deps.sh SOURCE_DIR
set -euo pipefail
src=$1
fail() { echo "FAIL: $*" >&2; exit 1; }
deps=$src/scripts/install-deps

build=$("$deps" --print) || fail "--print failed"
all=$("$deps" --print --tests) || fail "--print --tests failed"
[ "$("$deps" --tests --print)" = "$all" ] || fail "the order of the options matters"
[ -n "$build" ] || fail "--print printed nothing"
# One package a line, no blanks.
odd=$(printf '%s\n%s\n' "$build" "$all" | grep -vE '^[a-z0-9][a-z0-9.+-]+$' || true)
[ -z "$odd" ] || fail "not one package a line: $odd"
# The build part is in the whole list, and the test-only tools are not in the build part.
while read -r p; do grep -qx "$p" <<<"$all" || fail "$p is in the build part only"; done <<<"$build"
for p in libgtest-dev libgmock-dev googletest libbenchmark-dev lintian python3-dbusmock exfat-fuse \
         exfatprogs fonts-wqy-microhei fonts-tlwg-loma-otf poppler-utils; do
  ! grep -qx "$p" <<<"$build" || fail "test-only $p is in the build part"
  grep -qx "$p" <<<"$all" || fail "$p is missing from --tests"
done
for p in libavformat-dev ffmpeg qt6-base-dev libcurl4-openssl-dev libsqlite3-dev libmount-dev libcli11-dev \
         qt6-tools-dev qt6-l10n-tools; do
  grep -qx "$p" <<<"$build" || fail "$p is missing from the build part"
done
# ./run takes the build part, ./test both.
grep -q 'scripts/install-deps" >&2$' "$src/run" || fail "./run does not call install-deps without --tests"
grep -q '^scripts/install-deps --tests$' "$src/test" || fail "./test does not install the test part"
# Every name is a package apt knows here (Debian 12).
if command -v apt-cache >/dev/null; then
  mapfile -t names <<<"$all"
  known=$(apt-cache policy "${names[@]}" 2>/dev/null | sed -n 's/^\([^ ].*\):$/\1/p')
  for p in "${names[@]}"; do grep -qx "$p" <<<"$known" || fail "apt knows no package $p"; done
fi
echo "install-deps: $(wc -l <<<"$build") build packages, $(wc -l <<<"$all") with the tests"
