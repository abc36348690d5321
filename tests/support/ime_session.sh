# Shared by the tests that run the real input-method frameworks headless
# (tests/integration/ime_frameworks_test.sh, tests/typing/test_window_e2e.sh):
# a private session bus, Xvfb, and IBus or Fcitx 5 with the Qorvan table installed
# for the test's private home. Sourced, not run. Each test sets `work` (its own
# folder) before it starts the X server or a framework.

# Exit 77 (skipped) when something cannot run on this machine; in CI a skip fails.
skip() {
  if [ "${CI:-}" = true ]; then
    echo "FAIL (CI must be able to run this): $*"
    exit 1
  fi
  echo "SKIP: $*"
  exit 77
}

# run_inside_private_bus <marker variable> <seconds> <tools> <script> <args...>:
# unless the marker is set, checks that the tools are installed and runs the script
# again inside a private session bus, bounded in time. Returns when already inside.
run_inside_private_bus() {
  local marker="$1" seconds="$2" tools="$3" script="$4" tool
  shift 4
  [ -n "${!marker:-}" ] && return 0
  for tool in $tools; do
    command -v "$tool" >/dev/null 2>&1 ||
      skip "$tool is not installed (scripts/setup-debian.sh installs it)"
  done
  export "$marker=1"
  exec timeout --kill-after=5 "$seconds" dbus-run-session -- bash "$script" "$@"
}

# Nothing of the caller's own input-method session may leak in.
unset IBUS_ADDRESS IBUS_ADDRESS_FILE WAYLAND_DISPLAY XMODIFIERS GTK_IM_MODULE QT_IM_MODULE

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
pass() { echo "ok: $*"; }

# Every process the test starts goes into pids; all end when the script does.
pids=()
cleanup() {
  local pid
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  for pid in "${pids[@]}"; do
    for _ in $(seq 20); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$pid" 2>/dev/null
  done
  pids=()
}
trap cleanup EXIT

# Ends every process but the first one started (the X server).
cleanup_keep_x() {
  local keep="${pids[0]}" pid
  for pid in "${pids[@]:1}"; do kill "$pid" 2>/dev/null; done
  pids=("$keep")
}

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

bus_has_owner() {
  dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner "string:$1" 2>/dev/null | grep -q 'boolean true'
}

# start_xvfb <width>x<height>x<depth>: an X server of that size; sets DISPLAY.
start_xvfb() {
  exec 3>"$work/display"
  Xvfb -displayfd 3 -nolisten tcp -screen 0 "$1" >"$work/xvfb.log" 2>&1 &
  pids+=($!)
  exec 3>&-
  wait_for 50 test -s "$work/display" || skip "Xvfb does not start: $(tail -3 "$work/xvfb.log")"
  export DISPLAY=":$(head -1 "$work/display")"
  echo "Xvfb on $DISPLAY"
}

# start_ibus <built table folder>: the Qorvan table in the user's own folder
# (XDG_DATA_HOME/ibus-table/byo-tables, which ~/.ibus/byo-tables mirrors), then
# ibus-daemon; sets ibus_daemon. False when the table cannot be built.
start_ibus() {
  local tables="$1" db="$1/qorvan.db" start=$SECONDS
  if [ ! -s "$db" ]; then
    command -v ibus-table-createdb >/dev/null || skip "ibus-table-createdb is not installed"
    db="$work/qorvan.db"
    ibus-table-createdb -n "$db" -s "$tables/qorvan.ibus.txt" >/dev/null ||
      { fail "IBus: ibus-table-createdb failed"; return 1; }
  fi
  # No user phrases or looked-up codes of an earlier run.
  rm -rf "$XDG_DATA_HOME/ibus-table/tables"
  mkdir -p "$XDG_DATA_HOME/ibus-table/byo-tables" "$HOME/.ibus/byo-tables"
  cp "$db" "$XDG_DATA_HOME/ibus-table/byo-tables/qorvan.db"
  cp "$db" "$HOME/.ibus/byo-tables/qorvan.db"
  # --cache=refresh: a registry cache (the user's or the system's) made before the
  # table was put in place would hide it.
  ibus-daemon --panel=disable --emoji-extension=disable --cache=refresh >"$work/ibus.log" 2>&1 &
  ibus_daemon=$!
  pids+=("$ibus_daemon")
  if ! wait_for 100 bash -c 'a="$(ibus address 2>/dev/null)" && [ -n "$a" ] &&
                              [ "$a" != "(null)" ] && ibus list-engine --name-only'; then
    kill "$ibus_daemon" 2>/dev/null
    skip "ibus-daemon does not start: $(tail -3 "$work/ibus.log")"
  fi
  echo "ibus-daemon up after $((SECONDS - start)) s at $(ibus address)"
}

stop_ibus() {
  ibus exit >/dev/null 2>&1 || kill "$ibus_daemon" 2>/dev/null
  wait_for 30 bash -c "! kill -0 $ibus_daemon"
}

# start_fcitx <built table folder>: the Qorvan input method and table in the
# user's data folder, then fcitx5; sets fcitx_daemon. False when the table cannot
# be built.
start_fcitx() {
  local tables="$1" dict="$1/qorvan.main.dict" start=$SECONDS
  if [ ! -s "$dict" ]; then
    command -v libime_tabledict >/dev/null || skip "libime_tabledict is not installed"
    dict="$work/qorvan.main.dict"
    libime_tabledict "$tables/qorvan.fcitx.txt" "$dict" ||
      { fail "Fcitx 5: libime_tabledict failed"; return 1; }
  fi
  rm -f "$XDG_DATA_HOME/fcitx5/table/qorvan.user.dict" # no user phrases of an earlier run
  mkdir -p "$XDG_DATA_HOME/fcitx5/inputmethod" "$XDG_DATA_HOME/fcitx5/table"
  cp "$tables/qorvan.conf" "$XDG_DATA_HOME/fcitx5/inputmethod/qorvan.conf"
  cp "$dict" "$XDG_DATA_HOME/fcitx5/table/qorvan.main.dict"
  fcitx5 -d >"$work/fcitx5.log" 2>&1
  wait_for 100 bus_has_owner org.fcitx.Fcitx5 ||
    skip "fcitx5 does not start: $(tail -3 "$work/fcitx5.log")"
  fcitx_daemon="$(dbus-send --session --print-reply --dest=org.freedesktop.DBus \
    /org/freedesktop/DBus org.freedesktop.DBus.GetConnectionUnixProcessID \
    string:org.fcitx.Fcitx5 | awk '/uint32/ {print $2}')"
  [ -n "$fcitx_daemon" ] && pids+=("$fcitx_daemon")
  echo "fcitx5 up after $((SECONDS - start)) s (pid $fcitx_daemon)"
}
