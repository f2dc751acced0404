#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A real case-insensitive stick: a small exFAT image mounted with mount.exfat-fuse. The same
# commands (add, revise, delete, cloud-sync, fetch, rebuild, verify) run on it and on a plain
# folder; every file and every catalogue row must come out the same.
#   exfat_stick.sh SONGLOADER_CLI DEMO_CLOUD_HELPER [sglist]
# With "sglist", the list is stored as songs/SGLIST.DAT (as other programs on such sticks write
# it): it must be read, never taken for an empty device, and the next add writes SgList.dat.
# Skipped (exit 77, the reason printed) where FUSE or the exFAT tools are not usable.
set -euo pipefail
cli=$1 helper=$2 case=${3:-commands}
skip() { echo "SKIP: $*"; exit 77; }
fail() { echo "FAIL: $*" >&2; exit 1; }

for tool in mount.exfat-fuse mkfs.exfat fusermount sqlite3 losetup; do
  command -v "$tool" >/dev/null || PATH=$PATH:/usr/sbin:/sbin command -v "$tool" >/dev/null ||
    skip "$tool is not installed (scripts/install-deps --tests installs exfat-fuse, exfatprogs, sqlite3)"
done
export PATH=$PATH:/usr/sbin:/sbin
[ -c /dev/fuse ] || skip "/dev/fuse is missing"
{ exec 3<>/dev/fuse; } 2>/dev/null || skip "/dev/fuse cannot be opened by this user"
exec 3>&-

tmp=$(mktemp -d)
mounted=""
loop=""
cloud_pid=""
cleanup() {
  [ -n "$cloud_pid" ] && { exec 4>&- || true; wait "$cloud_pid" 2>/dev/null || true; }
  [ -n "$mounted" ] && { fusermount -u "$mounted" 2>/dev/null || umount "$mounted" 2>/dev/null || true; }
  [ -n "$loop" ] && { losetup -d "$loop" 2>/dev/null || true; }
  rm -rf "$tmp"
}
trap cleanup EXIT

truncate -s 64M "$tmp/stick.img"
mkfs.exfat -L KARAOKE "$tmp/stick.img" >/dev/null 2>&1 || skip "mkfs.exfat cannot make an image here"
mkdir "$tmp/exfat" "$tmp/plain"
# As root the driver wants a block device: the image through a loop device then.
source=$tmp/stick.img
if [ "$(id -u)" = 0 ]; then
  loop=$(losetup --find --show "$tmp/stick.img" 2>"$tmp/loop.err") || skip "no loop device: $(cat "$tmp/loop.err")"
  source=$loop
fi
mount.exfat-fuse "$source" "$tmp/exfat" >/dev/null 2>"$tmp/mount.err" ||
  skip "mount.exfat-fuse failed: $(cat "$tmp/mount.err")"
mounted=$tmp/exfat
# Case-insensitive indeed: the test means nothing otherwise.
touch "$tmp/exfat/probe"; [ -e "$tmp/exfat/PROBE" ] || fail "the exFAT mount is case-sensitive"; rm "$tmp/exfat/probe"

# The user's clips and a published cloud of three songs, served by the demo cloud's file server.
mkdir "$tmp/clips"
# Real media (the player's copies are checked): a small MP4 padded by a "free" box of its own size.
fixture=$(dirname "$0")/../fixtures/media/untagged.mp4
for n in 1 2 3 4; do
  pad=$((3000 + n * 777))
  { cat "$fixture"
    printf "$(printf '\\x%02x\\x%02x\\x%02x\\x%02x' $((pad >> 24 & 255)) $((pad >> 16 & 255)) $((pad >> 8 & 255)) $((pad & 255)))free"
    head -c $((pad - 8)) /dev/urandom
  } >"$tmp/clips/clip$n.mp4"
done
printf '%s\t%s\t%s\t%s\t%s\t%s\t%s\n' \
  100001 EG "River Road" "Ana Reyes" "Ben Cruz" "Carla Diaz" "$tmp/clips/clip1.mp4" \
  100002 ES "Golden Heart" "Dan Lim" "Ella Santos" "Frank Uy" "$tmp/clips/clip2.mp4" \
  890003 OPM "Blue Island" "Gina Tan" "Hugo Ramos" "Ana Reyes" "$tmp/clips/clip3.mp4" >"$tmp/songs.tsv"
"$cli" publish "$tmp/songs.tsv" "$tmp/cloud" >/dev/null
# It serves until its standard input (here fd 4) is closed.
mkfifo "$tmp/cloud.in"
"$helper" "$tmp/cloud" <"$tmp/cloud.in" >"$tmp/cloud.url" &
cloud_pid=$!
exec 4>"$tmp/cloud.in"
for _ in $(seq 100); do grep -q / "$tmp/cloud.url" && break; sleep 0.1; done
url=$(head -1 "$tmp/cloud.url")
[ -n "$url" ] || fail "the cloud file server did not start"
export SONGLOADER_CLOUD_URL=$url XDG_CONFIG_HOME=$tmp/config

run() {  # run DEVICE ARGS... ; the output is kept for comparison
  local device=$1; shift
  "$cli" "$@" >>"$device.log" 2>&1 || { cat "$device.log" >&2; fail "songloader-cli $* on $device"; }
}
run_on() {
  local d=$1
  : >"$d.log"
  if [ "$case" = sglist ]; then
    mkdir -p "$d/songs"
    run "$d" add "$d" "$tmp/clips/clip1.mp4" --title "Alpha" --number 900001 --language EG
    run "$d" add "$d" "$tmp/clips/clip2.mp4" --title "Beta" --number 900002 --language ES
    run "$d" add "$d" "$tmp/clips/clip3.mp4" --title "Gamma" --number 900003 --language OPM
    # The list under another case of its name.
    mv "$d/songs/SgList.dat" "$d/songs/SGLIST.tmp" && mv "$d/songs/SGLIST.tmp" "$d/songs/SGLIST.DAT"
    "$cli" list "$d" >"$d.listed" 2>&1 || { cat "$d.listed" >&2; fail "list with SGLIST.DAT on $d"; }
    [ "$(wc -l <"$d.listed")" = 3 ] || fail "SGLIST.DAT on $d was not read: $(cat "$d.listed")"
    run "$d" add "$d" "$tmp/clips/clip4.mp4" --title "Delta" --number 900004 --language EG
    names=$(ls "$d/songs" | grep -ix sglist.dat)
    [ "$names" = SgList.dat ] || fail "the list on $d is stored as: $names"
  else
    mkdir -p "$d/songs"
    run "$d" add "$d" "$tmp/clips/clip1.mp4" --title "Alpha" --number 900001 --language EG --artist Ann
    run "$d" add "$d" "$tmp/clips/clip2.mp4" --title "Beta" --number 900002 --language ES
    run "$d" add "$d" "$tmp/clips/clip3.mp4" --title "Gamma" --number 900003 --language OPM
    run "$d" revise "$d" 900001 --number 900010 --title "Alpha Two"
    run "$d" delete "$d" 900002
    run "$d" cloud-sync "$d"
    run "$d" fetch "$d" 100001 890003
    run "$d" rebuild "$d"
    run "$d" verify "$d"
  fi
  run "$d" list "$d"
}
run_on "$tmp/plain"
run_on "$tmp/exfat"
sync

# The same files, byte for byte; the databases row for row.
(cd "$tmp/plain" && find . -type f | LC_ALL=C sort) >"$tmp/plain.files"
(cd "$tmp/exfat" && find . -type f | LC_ALL=C sort) >"$tmp/exfat.files"
diff "$tmp/plain.files" "$tmp/exfat.files" >&2 || fail "the devices hold different files"
[ -s "$tmp/plain.files" ] || fail "no files written"
while read -r f; do
  if [[ $f == *.db ]]; then
    diff <(sqlite3 -readonly "$tmp/plain/$f" .dump) <(sqlite3 -readonly "$tmp/exfat/$f" .dump) >&2 ||
      fail "$f: the rows differ"
  else
    cmp "$tmp/plain/$f" "$tmp/exfat/$f" >&2 || fail "$f differs"
  fi
done <"$tmp/plain.files"
sed "s|$tmp/plain|DEVICE|g" "$tmp/plain.log" >"$tmp/plain.out"
sed "s|$tmp/exfat|DEVICE|g" "$tmp/exfat.log" >"$tmp/exfat.out"
diff "$tmp/plain.out" "$tmp/exfat.out" >&2 || fail "the commands said different things"
echo "exFAT ($case): $(wc -l <"$tmp/plain.files") files and the catalogue rows the same as on a plain folder"
