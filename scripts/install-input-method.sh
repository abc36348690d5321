#!/usr/bin/env bash
# Builds the Qorvan input method's tables and installs them for every user of the
# machine: the IBus table into /usr/share/ibus-table/tables/ (the only folder IBus
# reads tables from) and the Fcitx 5 input method and table into /usr/share/fcitx5/.
# Then enable "Qorvan输入法第四版" in IBus or Fcitx 5 (see the README).
#
# Usage: scripts/install-input-method.sh [--uninstall] [build directory]
# Build as yourself; the install step asks sudo for root unless you are root.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

uninstall=false
if [ "${1:-}" = "--uninstall" ]; then
  uninstall=true
  shift
fi
build="${1:-$root/build}"
ibus_dir=/usr/share/ibus-table/tables
fcitx_dir=/usr/share/fcitx5
files=("$ibus_dir/qorvan.db" "$fcitx_dir/inputmethod/qorvan.conf" "$fcitx_dir/table/qorvan.main.dict")

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi

refresh() {
  # A system registry cache of IBus, where there is one, would hide the change.
  if [ -e /var/cache/ibus/bus/registry ] && command -v ibus >/dev/null 2>&1; then
    $sudo ibus write-cache --system >/dev/null 2>&1 || true
  fi
  echo "Restart the input-method framework to see the change:"
  echo "  IBus:    ibus restart"
  echo "  Fcitx 5: fcitx5 -r"
}

if $uninstall; then
  $sudo rm -f "${files[@]}"
  echo "Removed the Qorvan input method."
  refresh
  exit 0
fi

missing=()
command -v ibus-table-createdb >/dev/null 2>&1 || missing+=("ibus-table (ibus-table-createdb)")
command -v libime_tabledict >/dev/null 2>&1 || missing+=("libime-bin (libime_tabledict)")
if [ ${#missing[@]} -ne 0 ]; then
  echo "install-input-method: missing ${missing[*]}; scripts/setup-debian.sh installs them" >&2
  exit 1
fi

# The tables come from the build's code data; TREVIX_FCITX5_DATA_DIR puts the
# Fcitx 5 files beside Fcitx 5's own.
cmake -S "$root" -B "$build" -G Ninja -DTREVIX_IBUS_TABLE_DIR="$ibus_dir" \
  -DTREVIX_FCITX5_DATA_DIR="$fcitx_dir" >/dev/null
cmake --build "$build" --target imetables
$sudo cmake --install "$build" --component inputmethod
for f in "${files[@]}"; do
  [ -s "$f" ] || { echo "install-input-method: $f was not installed" >&2; exit 1; }
done
echo "Installed the Qorvan input method (Qorvan输入法第四版):"
printf '  %s\n' "${files[@]}"
refresh
