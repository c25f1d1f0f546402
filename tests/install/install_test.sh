#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks an installation as a desktop and a package manager see it.
#   install_test.sh STEP BUILD_DIR WORK_DIR
# STEP is one of:
#   install   cmake --install into WORK_DIR/prefix (the fixture of the others)
#   layout    the files land where the desktop looks, nothing else beside the
#             programs, and the programs run from a moved copy of the prefix
#   desktop   desktop entry, file type, metainfo and completion pass their checks
#   man       the man pages render without warnings and tell what --help tells
#   deb       the .deb carries the files and its Depends, and runs unpacked
#   reproducible
#             the .deb of the deb step packed again with the same
#             SOURCE_DATE_EPOCH is the same bytes, every entry dated then,
#             and lintian finds nothing
set -euo pipefail
step="$1"
build="$(cd "$2" && pwd)"
work="$3"
prefix="$work/prefix"
id=org.seaclone.Seaclone
failures=0
# The packages' date: any fixed moment will do. Packing takes seconds, so
# files dated at the time of packing would differ between two packings.
epoch=1765324800  # 2025-12-10 00:00:00 UTC

fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
need() { command -v "$1" >/dev/null || { echo "FAIL: $1 is missing (scripts/setup installs it)" >&2; exit 1; }; }
finish() { [ "$failures" -eq 0 ] || { echo "$failures check(s) failed" >&2; exit 1; }; }

# A clone data file as the program writes it (CR LF), and a .dat of someone else's.
make_samples() {
  local dir="$1"
  mkdir -p "$dir"
  cp "$prefix/share/seaclone/TB58_00_USA.DAT" "$dir/boat.dat"
  cp "$prefix/share/seaclone/TB58_00_USA.DAT" "$dir/no-extension"
  printf '58160001\n#Comment=\n#MapRev=1\n' >"$dir/lf-only.dat"
  printf 'VERSION 3\nlevel=12\n' >"$dir/game-save.dat"
  printf '58160002\r\n#Comment=\r\n' >"$dir/other-extra.dat"
}

# Starts the installed simulator at root (a prefix) and sets sim_pid and link.
start_sim() {
  local root="$1"
  link="$work/radio-$$"
  rm -f "$link"
  "$root/bin/seaclone-radio-sim" --model 0 --link "$link" --once >"$work/sim.out" 2>"$work/sim.err" &
  sim_pid=$!
  for _ in $(seq 100); do [ -e "$link" ] && return 0; sleep 0.05; done
  fail "the simulator did not start: $(cat "$work/sim.err")"
  return 1
}
stop_sim() { kill "$sim_pid" 2>/dev/null || true; wait "$sim_pid" 2>/dev/null || true; }

case "$step" in
install)
  rm -rf "$work"
  mkdir -p "$work"
  cmake --install "$build" --prefix "$prefix" >"$work/install.log"
  ;;

layout)
  expected=(
    bin/seaclone bin/seaclone-cli bin/seaclone-radio-sim
    share/seaclone/TB58.OVL share/seaclone/TB58H.OVL share/seaclone/TB58_00_USA.DAT
    share/seaclone/TB58_12_EXPORT.DAT share/seaclone/icons/imgIcon_Bar_File_Open.png
    share/applications/$id.desktop share/mime/packages/$id.xml share/metainfo/$id.metainfo.xml
    share/icons/hicolor/scalable/apps/$id.svg
    share/man/man1/seaclone.1.gz share/man/man1/seaclone-cli.1.gz share/man/man1/seaclone-radio-sim.1.gz
    share/bash-completion/completions/seaclone-cli
  )
  for size in 16 22 24 32 48 64 128 256; do expected+=("share/icons/hicolor/${size}x${size}/apps/$id.png"); done
  for f in "${expected[@]}"; do [ -f "$prefix/$f" ] || fail "not installed: $f"; done
  extra="$(find "$prefix/bin" -mindepth 1 ! -name seaclone ! -name seaclone-cli ! -name seaclone-radio-sim)"
  [ -z "$extra" ] || fail "beside the programs: $extra"
  # Each PNG really has its size, so the theme does not scale a wrong one.
  for size in 16 48 256; do
    png="$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png"
    dims="$(od -An -tu1 -j16 -N8 "$png" | awk '{print $3*256+$4 "x" $7*256+$8}')"
    [ "$dims" = "${size}x${size}" ] || fail "$png is $dims"
  done

  # A moved copy: the programs must find their data through the prefix alone,
  # never through the build tree.
  moved="$work/moved"
  rm -rf "$moved"
  cp -a "$prefix" "$moved"
  make_samples "$work/samples"
  "$moved/bin/seaclone-cli" --help >"$work/help.txt" || fail "seaclone-cli --help: status $?"
  grep -q '^Usage: seaclone-cli' "$work/help.txt" || fail "--help printed no usage"
  "$moved/bin/seaclone-cli" check "$work/samples/boat.dat" 2>"$work/check.err" ||
    fail "seaclone-cli check of an initial file: status $? $(cat "$work/check.err")"
  status=0
  "$moved/bin/seaclone-cli" check "$work/samples/game-save.dat" 2>/dev/null || status=$?
  [ "$status" -eq 6 ] || fail "seaclone-cli check of a foreign file: status $status, not 6"
  if start_sim "$moved"; then
    "$moved/bin/seaclone-cli" read --quiet --device "$link" --output "$work/read.dat" 2>"$work/read.err" ||
      fail "read from the simulator: status $? $(cat "$work/read.err")"
    "$moved/bin/seaclone-cli" check "$work/read.dat" 2>/dev/null || fail "the file read does not check"
    stop_sim
  fi
  # The words of that refusal came from the moved prefix's overlay: with it
  # gone, the tool has none to say it with.
  mv "$moved/share/seaclone/TB58.OVL" "$moved/share/seaclone/TB58.OVL.away"
  status=0
  "$moved/bin/seaclone-cli" check "$work/samples/game-save.dat" 2>/dev/null || status=$?
  [ "$status" -ne 6 ] || fail "seaclone-cli found an overlay outside its prefix"
  finish
  ;;

desktop)
  need desktop-file-validate; need appstreamcli; need update-mime-database; need xmllint; need gio
  desktop-file-validate "$prefix/share/applications/$id.desktop" || fail "desktop-file-validate"
  grep -q '^Exec=seaclone %f$' "$prefix/share/applications/$id.desktop" || fail "Exec line"
  grep -q '^MimeType=application/x-seaclone-clone;$' "$prefix/share/applications/$id.desktop" || fail "MimeType line"
  appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" || fail "appstreamcli validate"
  xmllint --noout "$prefix/share/mime/packages/$id.xml" || fail "xmllint on the MIME package"
  bash -n "$prefix/share/bash-completion/completions/seaclone-cli" || fail "completion syntax"

  # A private MIME database built from the installed package alone.
  data="$work/xdg"
  rm -rf "$data"
  mkdir -p "$data/mime/packages"
  cp /usr/share/mime/packages/freedesktop.org.xml "$data/mime/packages/"
  cp "$prefix/share/mime/packages/$id.xml" "$data/mime/packages/"
  XDG_DATA_DIRS="$data" update-mime-database "$data/mime" 2>"$work/umd.err" || fail "update-mime-database: $(cat "$work/umd.err")"
  [ -s "$work/umd.err" ] && fail "update-mime-database warned: $(cat "$work/umd.err")"
  make_samples "$work/samples"
  while read -r file want; do
    got="$(XDG_DATA_HOME="$data" XDG_DATA_DIRS="$data" gio info -a standard::content-type "$work/samples/$file" |
           sed -n 's/^ *standard::content-type: //p')"
    [ "$got" = "$want" ] || fail "$file is $got, not $want"
  done <<'CASES'
boat.dat application/x-seaclone-clone
no-extension application/x-seaclone-clone
lf-only.dat application/x-seaclone-clone
game-save.dat text/plain
other-extra.dat text/plain
CASES
  finish
  ;;

man)
  need man
  for page in seaclone seaclone-cli seaclone-radio-sim; do
    out="$(MANWIDTH=80 man -l --warnings -E UTF-8 "$prefix/share/man/man1/$page.1.gz" 2>&1 >/dev/null)" ||
      fail "man -l $page.1"
    [ -z "$out" ] || fail "man -l $page.1 warned: $out"
  done
  # What --help names, the man page names too: every command and option.
  manpage="$prefix/share/man/man1/seaclone-cli.1.gz"
  rendered="$(MANWIDTH=200 man -l -E ascii "$manpage" 2>/dev/null | col -b)"
  "$prefix/bin/seaclone-cli" --help >"$work/help.txt"
  options="$(grep -oE -- '(^| )-(-[a-z][a-z-]*|[a-z])\b' "$work/help.txt" | tr -d ' ' | sort -u)"
  commands="$(sed -n '/^Commands:/,/^Options:/p' "$work/help.txt" | grep -oE '^  [a-z]+' | tr -d ' ' | sort -u)"
  [ -n "$options" ] && [ -n "$commands" ] || fail "no options or commands found in --help"
  for o in $options; do grep -qe "$o" <<<"$rendered" || fail "--help names $o, the man page does not"; done
  for c in $commands; do grep -qE "seaclone-cli $c\b" <<<"$rendered" || fail "--help names the command $c, the man page does not"; done
  # The exit statuses of --help each appear in the man page.
  for s in $(sed -n '/^Exit status:/,$p' "$work/help.txt" | grep -oE '^  [0-9]+(\.\.[0-9]+)?' | tr -d ' '); do
    grep -q "^ *$s\b" <<<"$rendered" || fail "exit status $s is not in the man page"
  done
  finish
  ;;

deb)
  need cpack; need dpkg-deb; need dpkg-shlibdeps
  (cd "$build" && SOURCE_DATE_EPOCH=$epoch cpack -G DEB -B "$work/package" >"$work/cpack.log" 2>&1) ||
    { cat "$work/cpack.log" >&2; exit 1; }
  deb="$(ls "$work"/package/seaclone_*.deb)"
  dpkg-deb --info "$deb" >"$work/deb-info.txt"
  depends="$(dpkg-deb -f "$deb" Depends)"
  for lib in libqt6core6 libqt6widgets6 libqt6serialport6 libc6; do
    grep -q "$lib" <<<"$depends" || fail "Depends lacks $lib: $depends"
  done
  [ -n "$(dpkg-deb -f "$deb" Description)" ] || fail "no Description"
  dpkg-deb -c "$deb" >"$work/deb-list.txt"
  for f in ./usr/bin/seaclone ./usr/share/applications/$id.desktop ./usr/share/mime/packages/$id.xml \
           ./usr/share/metainfo/$id.metainfo.xml ./usr/share/man/man1/seaclone-cli.1.gz ./usr/share/seaclone/TB58.OVL; do
    grep -q " $f\$" "$work/deb-list.txt" || fail "the package lacks $f"
  done
  root="$work/root"
  rm -rf "$root"
  dpkg-deb -x "$deb" "$root"
  make_samples "$work/samples"
  "$root/usr/bin/seaclone-cli" --help >/dev/null || fail "the unpacked seaclone-cli --help"
  "$root/usr/bin/seaclone-cli" check "$root/usr/share/seaclone/TB58_01_EUR.DAT" || fail "the unpacked check"
  if start_sim "$root/usr"; then
    "$root/usr/bin/seaclone-cli" info --device "$link" >"$work/info.txt" 2>"$work/info.err" ||
      fail "info from the unpacked tool: $(cat "$work/info.err")"
    "$root/usr/bin/seaclone-cli" read --quiet --device "$link" --output "$work/deb-read.dat" 2>"$work/read.err" ||
      fail "read from the unpacked tool: $(cat "$work/read.err")"
    "$root/usr/bin/seaclone-cli" write --quiet --device "$link" "$work/deb-read.dat" 2>"$work/write.err" ||
      fail "write from the unpacked tool: $(cat "$work/write.err")"
    stop_sim
  fi
  finish
  ;;

reproducible)
  need cpack; need dpkg-deb; need lintian
  first="$(ls "$work"/package/seaclone_*.deb 2>/dev/null || true)"
  [ -n "$first" ] || { echo "FAIL: no package of the deb step in $work/package" >&2; exit 1; }
  rm -rf "$work/repack"
  (cd "$build" && SOURCE_DATE_EPOCH=$epoch cpack -G DEB -B "$work/repack" >"$work/repack.log" 2>&1) ||
    { cat "$work/repack.log" >&2; exit 1; }
  second="$(ls "$work"/repack/seaclone_*.deb)"
  if ! cmp -s "$first" "$second"; then
    fail "two packings differ: $(cmp "$first" "$second" | head -1)"
    diff <(dpkg-deb -c "$first") <(dpkg-deb -c "$second") | head -20 >&2
    diff <(dpkg-deb -I "$first") <(dpkg-deb -I "$second") | head -20 >&2
  fi
  # Every entry carries the epoch's time, none the time of the packing.
  when="$(date -u -d "@$epoch" '+%Y-%m-%d %H:%M')"
  stray="$(TZ=UTC dpkg-deb -c "$first" | grep -v " $when " | head -5 || true)"
  [ -z "$stray" ] || fail "entries not dated $when: $stray"
  # Errors and warnings fail; infos and pedantic notes do not.
  if ! lintian --fail-on error,warning --tag-display-limit 0 "$first" >"$work/lintian.txt" 2>&1; then
    fail "lintian: $(cat "$work/lintian.txt")"
  fi
  finish
  ;;

*)
  echo "usage: install_test.sh install|layout|desktop|man|deb|reproducible BUILD_DIR WORK_DIR" >&2
  exit 64
  ;;
esac
