#!/usr/bin/env bash
# Checks the Debian packages that scripts/package.sh made, without root and without
# installing anything:
#  - lintian reports no error on either package;
#  - each package holds the files it must, and the control fields name the packages
#    that the program needs (every linked library's among them);
#  - unpacked into a temporary tree (dpkg-deb -x), trevix-seg and trevix-analyse work
#    on a small text with the unpacked data (TREVIX_DATA_DIR), and fail without it;
#  - Fcitx 5 finds the unpacked input method; the program, started by its desktop
#    entry's command under Xvfb, finds it, writes only into the user's data directory,
#    opens its help file, and quits through its own menu, leaving nothing behind.
#
# Usage: scripts/check-package.sh DEBDIR
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
if [ $# -ne 1 ] || [ ! -d "$1" ]; then
  echo "usage: scripts/check-package.sh DEBDIR" >&2
  exit 2
fi
debdir="$(cd "$1" && pwd)"

# The program's run needs a session bus of its own (for Fcitx 5): run inside one.
if [ -z "${TREVIX_CHECK_PACKAGE_BUS:-}" ]; then
  for tool in lintian dpkg-deb readelf file python3 iconv libime_tabledict Xvfb xdotool fcitx5 \
    dbus-run-session dbus-send desktop-file-validate appstreamcli; do
    command -v "$tool" >/dev/null 2>&1 || {
      echo "check-package: $tool is missing; scripts/setup-debian.sh installs it" >&2
      exit 2
    }
  done
  export TREVIX_CHECK_PACKAGE_BUS=1
  exec timeout --kill-after=10 600 dbus-run-session -- bash "${BASH_SOURCE[0]}" "$debdir"
fi

version="$(sed -n 's/^project(Trevix VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")"
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
pass() { echo "ok: $*"; }

work="$(mktemp -d "${TMPDIR:-/tmp}/trevix-check-package.XXXXXX")"
pids=()
cleanup() {
  local pid
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do
    for _ in $(seq 30); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$pid" 2>/dev/null || true
  done
  rm -rf "$work"
}
trap cleanup EXIT

# wait_for <tenths of a second> <command...>: true once the command succeeds.
wait_for() {
  local tenths="$1"
  shift
  for _ in $(seq "$tenths"); do
    "$@" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  return 1
}

shopt -s nullglob
program_debs=("$debdir"/trevix_"$version"_*.deb)
tables_debs=("$debdir"/trevix-inputmethod_"$version"_all.deb)
if [ ${#program_debs[@]} -ne 1 ] || [ ${#tables_debs[@]} -ne 1 ]; then
  echo "check-package: $debdir must hold one trevix_${version}_<arch>.deb and one" \
    "trevix-inputmethod_${version}_all.deb" >&2
  exit 1
fi
program_deb="${program_debs[0]}"
tables_deb="${tables_debs[0]}"

echo "== lintian"
for deb in "$program_deb" "$tables_deb"; do
  if lintian --fail-on error --tag-display-limit 0 --display-info "$deb" >"$work/lintian.txt" 2>&1; then
    pass "lintian: no error in $(basename "$deb")"
  else
    fail "lintian: errors in $(basename "$deb")"
  fi
  grep -E '^[EWIP]: ' "$work/lintian.txt" | sed 's/^/    /' || true
done

echo "== contents"
# contains <list file> <path...>: every path is a regular file of the package.
contains() {
  local list="$1" path
  shift
  for path in "$@"; do
    if grep -qxF "./$path" "$list"; then
      pass "$(basename "$list" .files) holds /$path"
    else
      fail "$(basename "$list" .files) lacks /$path"
    fi
  done
}
for deb in "$program_deb" "$tables_deb"; do
  name="$(dpkg-deb -f "$deb" Package)"
  dpkg-deb --fsys-tarfile "$deb" | tar -t >"$work/$name.all"
  dpkg-deb -c "$deb" | awk '$1 ~ /^-/ {print $6}' >"$work/$name.files"
  outside="$(grep -v -e '^\./$' -e '^\./usr/' "$work/$name.all" || true)"
  [ -z "$outside" ] || fail "$name installs outside /usr: $outside"
  grep -q '^\./usr/local/' "$work/$name.all" && fail "$name installs into /usr/local"
  contains "$work/$name.files" "usr/share/doc/$name/copyright" "usr/share/doc/$name/changelog.gz"
  echo "   $name: $(wc -l <"$work/$name.files") files, $(($(stat -c %s "$deb") / 1024)) KB," \
    "Installed-Size $(dpkg-deb -f "$deb" Installed-Size) KB"
done
datadir=usr/share/trevix
contains "$work/trevix.files" usr/bin/trevix usr/bin/trevix-seg usr/bin/trevix-analyse \
  "$datadir/jtdb.dat" "$datadir/marvik.dic" "$datadir/Trevix2002.chm" "$datadir/filter.dat" \
  "$datadir/qorvan.txt" usr/share/applications/org.trevix.Trevix.desktop \
  usr/share/metainfo/org.trevix.Trevix.metainfo.xml \
  usr/share/icons/hicolor/48x48/apps/trevix.png usr/share/icons/hicolor/128x128/apps/trevix.png \
  usr/share/icons/hicolor/256x256/apps/trevix.png \
  usr/share/man/man1/trevix.1.gz usr/share/man/man1/trevix-seg.1.gz \
  usr/share/man/man1/trevix-analyse.1.gz
contains "$work/trevix-inputmethod.files" usr/share/ibus-table/tables/qorvan.db \
  usr/share/fcitx5/inputmethod/qorvan.conf usr/share/fcitx5/table/qorvan.main.dict
if grep -qE '^\./usr/(bin|share/trevix)/' "$work/trevix-inputmethod.files"; then
  fail "trevix-inputmethod holds files of the program"
fi

echo "== unpacked"
tree="$work/root"
mkdir -p "$tree"
dpkg-deb -x "$program_deb" "$tree"
dpkg-deb -x "$tables_deb" "$tree"
touch "$work/unpacked"
sleep 1 # so that a file written later is newer than the marker

echo "== control fields"
depends="$(dpkg-deb -f "$program_deb" Depends)"
recommends="$(dpkg-deb -f "$program_deb" Recommends)"
# has_relation <field value> <package>: the field names the package.
has_relation() { tr ',|' '\n\n' <<<"$1" | sed 's/(.*//; s/[[:space:]]//g' | grep -qxF "$2"; }
for p in libqt6sql6-sqlite qt6-qpa-plugins fonts-arphic-ukai; do
  has_relation "$depends" "$p" && pass "trevix depends on $p" || fail "trevix does not depend on $p"
done
grep -qF "trevix-inputmethod (= $version)" <<<"$recommends" &&
  pass "trevix recommends trevix-inputmethod (= $version)" ||
  fail "trevix does not recommend trevix-inputmethod (= $version): $recommends"
for p in ibus-table fcitx5 fcitx5-table; do
  has_relation "$(dpkg-deb -f "$tables_deb" Recommends)" "$p" &&
    pass "trevix-inputmethod recommends $p" || fail "trevix-inputmethod does not recommend $p"
done
[ "$(dpkg-deb -f "$tables_deb" Architecture)" = all ] || fail "trevix-inputmethod is not Architecture: all"
# package_of <file>: the package that holds it (as linked, resolved, with or without /usr).
package_of() {
  local real candidate
  real="$(readlink -f "$1")"
  for candidate in "$1" "$real" "${1#/usr}" "${real#/usr}" "/usr$1" "/usr$real"; do
    dpkg -S "$candidate" 2>/dev/null | head -1 | cut -d: -f1 | grep . && return 0
  done
  return 0
}
# Every library that a binary links comes from a package that trevix depends on.
for exe in trevix trevix-seg trevix-analyse; do
  bin="$tree/usr/bin/$exe"
  if file -b "$bin" | grep -q 'not stripped'; then fail "$exe is not stripped"; fi
  ldd "$bin" >"$work/ldd" 2>&1 || fail "ldd $exe: $(cat "$work/ldd")"
  for lib in $(readelf -d "$bin" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'); do
    path="$(awk -v l="$lib" '$1 == l {print $3}' "$work/ldd")"
    pkg="$(package_of "$path")"
    if [ -z "$pkg" ]; then
      fail "$exe: no package holds $lib ($path)"
    elif ! has_relation "$depends" "$pkg"; then
      fail "$exe links $lib of $pkg, which trevix does not depend on"
    fi
  done
done
pass "trevix depends on the packages of every library that its binaries link"
# The data directory compiled into the binaries is where the package puts the data
# (Qt's string literals are UTF-16).
LC_ALL=C grep -qaF "/$datadir" "$tree/usr/bin/trevix-seg" &&
  pass "trevix-seg looks for its dictionary in /$datadir" ||
  fail "trevix-seg does not look in /$datadir"
utf16="$(printf '/%s' "$datadir" | sed 's/./&\\x00/g')"
for exe in trevix trevix-analyse; do
  LC_ALL=C grep -qaP "$utf16" "$tree/usr/bin/$exe" &&
    pass "$exe looks for its data in /$datadir" || fail "$exe does not look in /$datadir"
done

echo "== desktop entry, metadata, input method"
desktop-file-validate "$tree/usr/share/applications/org.trevix.Trevix.desktop" &&
  pass "desktop entry valid" || fail "desktop-file-validate"
appstreamcli validate --no-net "$tree/usr/share/metainfo/org.trevix.Trevix.metainfo.xml" \
  >"$work/appstream.txt" 2>&1 && pass "AppStream metadata valid" ||
  fail "appstreamcli validate: $(cat "$work/appstream.txt")"
exec_line="$(sed -n 's/^Exec=//p' "$tree/usr/share/applications/org.trevix.Trevix.desktop" | head -1)"
exec_cmd="${exec_line%% *}"
[ -x "$tree/usr/bin/$exec_cmd" ] && pass "the desktop entry runs /usr/bin/$exec_cmd" ||
  fail "the desktop entry's Exec=$exec_line is not a program of the package"
icon="$(sed -n 's/^Icon=//p' "$tree/usr/share/applications/org.trevix.Trevix.desktop" | head -1)"
[ -f "$tree/usr/share/icons/hicolor/48x48/apps/$icon.png" ] && pass "the desktop entry's icon is installed" ||
  fail "no icon $icon in the package"
conf_name="$(sed -n 's/^Name=//p' "$tree/usr/share/fcitx5/inputmethod/qorvan.conf" | head -1)"
if ibus_phrases="$(python3 - "$tree/usr/share/ibus-table/tables/qorvan.db" "$conf_name" <<'EOF'
import sqlite3, sys
db = sqlite3.connect("file:" + sys.argv[1] + "?mode=ro", uri=True)
name = db.execute("SELECT val FROM ime WHERE attr = 'name'").fetchone()
count = db.execute("SELECT COUNT(*) FROM phrases").fetchone()[0]
print(count)
sys.exit(0 if name and name[0] == sys.argv[2] and count > 0 else 1)
EOF
)"; then
  pass "the IBus table and the Fcitx 5 input method are both \"$conf_name\"; $ibus_phrases phrases"
else
  fail "the IBus table is not \"$conf_name\" or holds no phrases"
fi
# The Fcitx 5 table decodes, with the IBus table's items.
if libime_tabledict -d "$tree/usr/share/fcitx5/table/qorvan.main.dict" "$work/fcitx.txt" &&
  grep -qx 'KeyCode=0123456789' "$work/fcitx.txt"; then
  fcitx_items="$(sed '1,/^\[Data\]$/d' "$work/fcitx.txt" | wc -l)"
  [ "$fcitx_items" = "${ibus_phrases:-}" ] &&
    pass "the Fcitx 5 table decodes, with the IBus table's $fcitx_items items" ||
    fail "the Fcitx 5 table holds $fcitx_items items, the IBus table ${ibus_phrases:-none}"
else
  fail "libime_tabledict cannot read the Fcitx 5 table"
fi

# The user's own folders, empty; the data come from the unpacked tree.
home="$work/home"
mkdir -p "$home" "$work/runtime"
chmod 700 "$work/runtime"
export HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share" \
  XDG_CACHE_HOME="$home/.cache" XDG_RUNTIME_DIR="$work/runtime" LANG=C.UTF-8
export TREVIX_DATA_DIR="$tree/$datadir"
unset TREVIX_APP_DIR QT_IM_MODULE XMODIFIERS GTK_IM_MODULE IBUS_ADDRESS WAYLAND_DISPLAY DISPLAY
mkdir -p "$work/nodata"

echo "== trevix-seg"
seg="$tree/usr/bin/trevix-seg"
text="我们学习分词输入，这是一个很好的方法。学习学习再学习，练习打字。"
if words="$(printf '%s\n' "$text" | "$seg" 2>"$work/seg.err")"; then
  [ "${words// /}" = "$text" ] && [ "$words" != "$text" ] &&
    pass "trevix-seg splits the text into words: $words" ||
    fail "trevix-seg: \"$words\" is not the text split into words"
else
  fail "trevix-seg failed: $(cat "$work/seg.err")"
fi
tags="$(printf '%s\n' "$text" | "$seg" --tags 2>&1)" || true
[[ "$tags" =~ ^[0124]+$ ]] && [ ${#tags} -eq ${#text} ] &&
  pass "trevix-seg --tags gives a tag a character: $tags" || fail "trevix-seg --tags: $tags"
gbk="$(printf '%s\n' "$text" | iconv -f UTF-8 -t GBK | "$seg" 2>&1)" || true
[ "$gbk" = "${words:-}" ] && pass "trevix-seg reads GBK alike" || fail "trevix-seg on GBK: $gbk"
status=0
printf '%s\n' "$text" | TREVIX_DATA_DIR="$work/nodata" "$seg" >/dev/null 2>&1 || status=$?
[ "$status" -eq 2 ] && pass "trevix-seg without the data directory exits with 2" ||
  fail "trevix-seg without the data directory exited with $status"

echo "== trevix-analyse"
analyse="$tree/usr/bin/trevix-analyse"
printf '%s\n' "$text" >"$work/lesson.txt"
han="$(grep -oP '[\x{4E00}-\x{9FFF}]' <<<"$text" | wc -l)" # CJK unified ideographs
if "$analyse" --plan "$work/lesson.txt" >"$work/analyse.out" 2>"$work/analyse.err"; then
  sed 's/^/    /' "$work/analyse.out" | head -4
  grep -qxF "文本中的汉字数：$han" "$work/analyse.out" &&
    pass "trevix-analyse counts the $han Chinese characters" ||
    fail "trevix-analyse does not count $han Chinese characters"
  grep -qE '^最少键数：[1-9][0-9]*$' "$work/analyse.out" &&
    pass "trevix-analyse --plan finds the fewest keys in the code database" ||
    fail "trevix-analyse --plan gives no fewest keys"
else
  fail "trevix-analyse failed: $(cat "$work/analyse.err")"
fi
status=0
TREVIX_DATA_DIR="$work/nodata" "$analyse" "$work/lesson.txt" >/dev/null 2>&1 || status=$?
[ "$status" -eq 2 ] && pass "trevix-analyse without the data directory exits with 2" ||
  fail "trevix-analyse without the data directory exited with $status"

echo "== the program"
exec 3>"$work/display"
Xvfb -displayfd 3 -nolisten tcp -screen 0 1024x768x24 >"$work/xvfb.log" 2>&1 &
pids+=($!)
exec 3>&-
wait_for 100 test -s "$work/display" || {
  echo "check-package: Xvfb does not start: $(tail -3 "$work/xvfb.log")" >&2
  exit 1
}
export DISPLAY=":$(head -1 "$work/display")"
# Fcitx 5 reads the unpacked input method through XDG_DATA_DIRS.
XDG_DATA_DIRS="$tree/usr/share:${XDG_DATA_DIRS:-/usr/local/share:/usr/share}" \
  fcitx5 -d >"$work/fcitx5.log" 2>&1
bus_has_fcitx() {
  dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner string:org.fcitx.Fcitx5 | grep -q 'boolean true'
}
wait_for 100 bus_has_fcitx || {
  echo "check-package: fcitx5 does not start: $(tail -3 "$work/fcitx5.log")" >&2
  exit 1
}
fcitx_pid="$(dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
  org.freedesktop.DBus.GetConnectionUnixProcessID string:org.fcitx.Fcitx5 | awk '/uint32/ {print $2}')"
[ -n "$fcitx_pid" ] && pids+=("$fcitx_pid")
dbus-send --session --print-reply --dest=org.fcitx.Fcitx5 /controller \
  org.fcitx.Fcitx.Controller1.AvailableInputMethods >"$work/ims" 2>&1 || true
also=""
[ -e /usr/share/fcitx5/inputmethod/qorvan.conf ] && also=" (this system has a copy of its own too)"
grep -qF "string \"$conf_name\"" "$work/ims" && pass "Fcitx 5 finds \"$conf_name\"$also" ||
  fail "Fcitx 5 does not list \"$conf_name\""

window() { xdotool search --name "$1" 2>/dev/null | head -1; }
has_window() { [ -n "$(window "$1")" ]; }
# The main window wears the program's Chinese name, the help window the help file's title,
# the main window's questions the title of its messages.
title="$(sed -n 's/^Name\[zh_CN\]=//p' "$tree/usr/share/applications/org.trevix.Trevix.desktop")"
help_title="$(sed -n 's/^Title=//p' "$root/data/help/trevix2002.hhp" | tr -d '\r')"
question_title="$(sed -n 's/.*kMessageTitle = QStringLiteral("\(.*\)");/\1/p' "$root/src/app/frmmain.h")"
(cd "$home" && PATH="$tree/usr/bin:$PATH" exec "$exec_cmd") >"$work/trevix.out" 2>"$work/trevix.err" &
app=$!
pids+=("$app")
if wait_for 300 has_window "^$title\$"; then
  pass "the program shows its main window"
  main="$(window "^$title\$")"
  # The start writes the window pictures: into the user's data directory.
  pictures="$(find "$XDG_DATA_HOME" -name '10[123].jpg' | wc -l)"
  [ "$pictures" -eq 3 ] && pass "the start wrote its pictures into the user's data directory" ||
    fail "the start wrote $pictures of its 3 pictures below $XDG_DATA_HOME"
  # F1: the help file, read from the data directory (the window wears its title).
  xdotool windowfocus --sync "$main" key F1 || true
  if wait_for 100 has_window "^$help_title\$"; then
    pass "F1 opens the help file"
  else
    fail "F1 does not open the help file"
  fi
  # 退出 on the menu bar (Alt, then Left to the last entry), then 是 to the question.
  xdotool windowfocus --sync "$main" || true
  for key in alt Left Return; do
    sleep 0.3
    xdotool key "$key" || true
  done
  if wait_for 100 has_window "^$question_title\$"; then
    xdotool windowfocus --sync "$(window "^$question_title\$")" key Return || true
  else
    fail "退出 asks no question"
  fi
  if wait_for 150 bash -c "! kill -0 $app"; then
    status=0
    wait "$app" || status=$?
    [ "$status" -eq 0 ] && pass "the program quits through its menu, exit status 0" ||
      fail "the program quit with exit status $status"
    left="$(find "$XDG_DATA_HOME" -name '10[123].jpg')"
    [ -z "$left" ] && pass "quitting removed the pictures again" || fail "left behind: $left"
  else
    fail "the program does not quit through its menu"
  fi
else
  fail "the program shows no main window within 30 s"
fi
if [ -s "$work/trevix.err" ]; then
  echo "   the program's messages:"
  sed 's/^/    /' "$work/trevix.err"
  if grep -qiE 'driver not loaded|cannot load|could not load|no such file' "$work/trevix.err"; then
    fail "the program misses something it needs"
  fi
fi

echo "== nothing written into the package's files"
changed="$(find "$tree" -newer "$work/unpacked" -print)"
[ -z "$changed" ] && pass "the unpacked tree is unchanged" || fail "written into the tree: $changed"

if [ "$failures" -ne 0 ]; then
  echo "check-package: $failures failure(s)"
  exit 1
fi
echo "check-package: both packages are fine"
