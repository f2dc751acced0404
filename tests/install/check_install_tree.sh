#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a temporary prefix and checks what a desktop and a shell find there.
#   check_install_tree.sh BUILD_DIR VERSION HAS_GUI
set -euo pipefail
build=$1 version=$2 has_gui=$3
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
prefix=$tmp/usr
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null

id=org.songloader.SongLoader
expected=(bin/songloader-cli libexec/songloader/songloader-cli-qt.so share/man/man1/songloader-cli.1.gz
          share/bash-completion/completions/songloader-cli
          share/doc/songloader/copyright share/doc/songloader/changelog.gz
          share/songloader/translations/songloader_es.qm share/songloader/translations/songloader_fil.qm)
if [ "$has_gui" = 1 ]; then
  expected+=(bin/songloader share/man/man1/songloader.1.gz share/applications/$id.desktop
             share/metainfo/$id.metainfo.xml share/icons/hicolor/scalable/apps/$id.svg
             share/icons/hicolor/48x48/apps/$id.png share/icons/hicolor/128x128/apps/$id.png
             share/icons/hicolor/256x256/apps/$id.png share/songloader/help/index.html
             share/songloader/help/style.css libexec/songloader/songloader-demo-cloud)
fi
for f in "${expected[@]}"; do [ -s "$prefix/$f" ] || fail "missing or empty: $f"; done

if [ "$has_gui" = 1 ]; then
  desktop-file-validate "$prefix/share/applications/$id.desktop" || fail "desktop entry invalid"
  metainfo=$prefix/share/metainfo/$id.metainfo.xml
  # --pedantic: the one note allowed is the capitals of the application id the desktop uses.
  report=$(appstreamcli validate --pedantic --no-net "$metainfo") || fail "AppStream metadata invalid: $report"
  notes=$(grep -E '^[EWIP]: ' <<<"$report" | grep -v "^P: $id:[0-9]*: cid-contains-uppercase-letter" || true)
  [ -z "$notes" ] || fail "appstreamcli validate --pedantic: $notes"
  grep -q "<project_license>GPL-3.0-or-later</project_license>" "$metainfo" || fail "no project_license"
  grep -q "<metadata_license>CC0-1.0</metadata_license>" "$metainfo" || fail "no metadata_license"
  grep -q "<release version=\"$version\" date=\"[0-9-]*\"" "$metainfo" || fail "no release $version"
  grep -q '<content_rating type="oars-1.1"' "$metainfo" || fail "no content rating"
  for b in songloader songloader-cli; do grep -q "<binary>$b</binary>" "$metainfo" || fail "provides lacks $b"; done
  grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" || fail "no launchable"
  # Docks match the window to its entry by the class of WM_CLASS, which is the application name.
  grep -qx "StartupWMClass=songloader" "$prefix/share/applications/$id.desktop" || fail "StartupWMClass is not songloader"
  # The menu and the software centre speak Spanish and Filipino too.
  for lang in es fil; do
    grep -q "^Comment\[$lang\]=" "$prefix/share/applications/$id.desktop" || fail "desktop entry has no Comment[$lang]"
    grep -q "<summary xml:lang=\"$lang\">" "$metainfo" || fail "no AppStream summary in $lang"
  done
  # The window's options: one version, usage errors exit 2.
  gui=$prefix/bin/songloader
  [ "$("$gui" --version)" = "songloader $version" ] || fail "songloader --version: $("$gui" --version)"
  [ "$("$gui" -v)" = "songloader $version" ] || fail "songloader -v: $("$gui" -v)"
  "$gui" -h | grep -q "^usage: songloader" || fail "songloader -h"
  set +e
  message=$(env -u DISPLAY -u WAYLAND_DISPLAY "$gui" --cloud-url 2>&1 >/dev/null); status=$?
  set -e
  [ "$status" = 2 ] || fail "songloader --cloud-url without a URL exits $status"
  [ "$(head -1 <<<"$message")" = "songloader: --cloud-url needs a URL" ] || fail "songloader --cloud-url: $message"
  # Neither the window nor the demo cloud's helper loads the HTTP server library.
  for program in "$gui" "$prefix/libexec/songloader/songloader-demo-cloud"; do
    ! ldd "$program" | grep -q httplib || fail "$program links the HTTP server library"
  done
  # The installed window finds its installed helper: a demo starts and serves its cloud.
  export XDG_RUNTIME_DIR=$tmp/run TMPDIR=$tmp/tmp XDG_CONFIG_HOME=$tmp/config
  mkdir -m 700 "$XDG_RUNTIME_DIR" && mkdir "$TMPDIR"
  QT_QPA_PLATFORM=offscreen "$gui" --demo >"$tmp/demo.out" 2>&1 &
  demo=$!
  for _ in $(seq 200); do grep -q '^demo cloud: ' "$tmp/demo.out" && break; sleep 0.1; done
  url=$(sed -n 's/^demo cloud: //p' "$tmp/demo.out")
  [ -n "$url" ] && curl -sf -o /dev/null "${url}MgList.dat" || { kill "$demo"; fail "the installed demo: $(cat "$tmp/demo.out")"; }
  kill -TERM "$demo"; wait "$demo" || true
  [ -z "$(ls "$TMPDIR")" ] || fail "the demo left $(ls "$TMPDIR")"
  # Every page the help links to is installed.
  for link in $(grep -oh 'href="[^"#:]*"' "$prefix"/share/songloader/help/*.html | sed 's/href="//;s/"//' | sort -u); do
    [ -f "$prefix/share/songloader/help/$link" ] || fail "help links to missing $link"
  done
fi

cli=$prefix/bin/songloader-cli
for program in "$prefix"/bin/* "$prefix"/libexec/songloader/*; do
  if ldd "$program" | grep -q 'not found'; then fail "$program: $(ldd "$program" | grep 'not found')"; fi
done
usage=$(LANGUAGE= LC_ALL=C "$cli" --help) || fail "songloader-cli --help failed"
# The installed CLI finds its installed translations.
LANGUAGE=es "$cli" --help | grep -q "^usage: songloader-cli" || fail "songloader-cli --help in Spanish failed"
[ "$(LANGUAGE=es "$cli" --help)" != "$usage" ] || fail "songloader-cli --help is not translated into Spanish"
[ "$("$cli" --version)" = "songloader-cli $version" ] || fail "songloader-cli --version: $("$cli" --version)"

# The man page and the completion name every command the program has.
commands=$(sed -n 's/^  \([a-z][a-z0-9-]*\)  .*/\1/p' <<<"$usage")
[ -n "$commands" ] || fail "no commands in songloader-cli --help"
man_page=$(gzip -dc "$prefix/share/man/man1/songloader-cli.1.gz")
completion=$prefix/share/bash-completion/completions/songloader-cli
bash -n "$completion" || fail "bash completion does not parse"
for c in $commands; do
  grep -q "^\.BI \"$c " <<<"$man_page" || fail "songloader-cli(1) does not describe '$c'"
  grep -q "^        $c) options=" "$completion" || fail "bash completion lacks '$c'"
done
# print opens the installed Qt part (the build tree's lies beside the program, not here).
mkdir -p "$tmp/stick/songs"
QT_QPA_PLATFORM=offscreen "$cli" print "$tmp/stick" "$tmp/list.pdf" >/dev/null || fail "songloader-cli print failed"
[ "$(head -c 5 "$tmp/list.pdf")" = "%PDF-" ] || fail "songloader-cli print wrote no PDF"

echo "install tree complete in $prefix"
