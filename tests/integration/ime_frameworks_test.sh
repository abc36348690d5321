#!/usr/bin/env bash
# The input method against the real frameworks, headless: a private session bus,
# Xvfb, then IBus and then Fcitx 5, each with the Qorvan table installed for the
# test's private home. For each framework the program's detection finds
# "Qorvan输入法第四版" and switches to it and back, and a Qt line edit receives
# the characters that typing codes with xdotool commits: first candidates with
# Space, others with the selection keys F1 ... F5, on the second page after Page
# Down or "=", and by moving the highlight with Down.
#
# Usage: ime_frameworks_test.sh <trevix-ime-probe> <trevix-ime-lineedit>
#                               <built table folder> <qorvan.txt>
# Exit 0 passed, 1 failed, 77 skipped (a framework cannot start here; never in CI).
set -uo pipefail

probe="$1" lineedit="$2" tables="$3" items="$4"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=../support/ime_session.sh
source "$here/../support/ime_session.sh"
run_inside_private_bus TREVIX_IME_TEST_INNER 160 \
  "dbus-run-session dbus-send Xvfb xdotool ibus-daemon ibus fcitx5 gsettings libime_tabledict" \
  "${BASH_SOURCE[0]}" "$@"

work="${XDG_RUNTIME_DIR:-/tmp}/ime-test"
rm -rf "$work"
mkdir -p "$work"

# --- The texts to type. Under one code both tables list the items in the order of
# the item list (most frequent first), a page of five, F1 ... F5 choosing on the
# page. Typed, in this order:
#   the most frequent character and word that are first for their standard code
#     (Space);
#   a word on the first page but not first (its code, then F2 ... F5);
#   a word on the second page (its code, Page Down, then its key);
#   a character on the second page of a code that longer codes begin with ("=",
#     then its key): under that code the items of exactly that code come first;
#   a character on the first page but not first, after paging on and back ("=",
#     "-", then its key);
#   the word of the second page again, by moving the highlight onto it (Down)
#     and committing the highlighted candidate (Space);
#   the first word again, with a wrong last digit taken back (Backspace);
#   the first candidate of the second-page word's code after F6, which chooses
#     nothing.
# Each is chosen with a frequency strictly between its neighbours' under its code,
# so that its place does not hang on how a framework orders equal frequencies.
python3 - "$items" >"$work/plan" <<'PY' || { echo "FAIL: cannot read $items"; exit 1; }
import sys
PAGE = 5
under = {}  # code -> [(item, frequency)] in the order of the list
standard = {}
for line in open(sys.argv[1], encoding="utf-8"):
    item, code, short, freq = line.rstrip("\n").split("\t")
    standard[item] = code
    for c in [code] + [s for s in short.split(",") if s]:
        under.setdefault(c, []).append((item, int(freq)))
longer = {code[:n] for code in under for n in range(1, len(code))}
def pick(is_word, lowest, highest, extended=None):
    best = None
    for code, row in under.items():
        if extended is not None and (code in longer) != extended:
            continue
        for at in range(lowest, min(highest, len(row)) + 1):
            item, freq = row[at - 1]
            if (len(item) > 1) != is_word or standard[item] != code:
                continue
            before = row[at - 2][1] if at > 1 else float("inf")
            after = row[at][1] if at < len(row) else -1
            if before > freq > after and (best is None or freq > best[0]):
                best = (freq, item, code, at)
    if best is None:
        sys.exit("no item for %r" % ((is_word, lowest, highest, extended),))
    return best[1:]
def by_key(chosen, paging):
    _, code, at = chosen
    return list(code) + paging + (["space"] if at == 1 else ["F%d" % ((at - 1) % PAGE + 1)])
def by_arrows(chosen):
    _, code, at = chosen
    return list(code) + ["Down"] * (at - 1) + ["space"]
def with_a_digit_taken_back(chosen):
    _, code, _ = chosen
    wrong = str((int(code[-1]) + 1) % 10)
    return list(code[:-1]) + [wrong, "BackSpace", code[-1], "space"]
def first_of(code):
    return under[code][0][0], code, 1
first_char = pick(False, 1, 1)
first_word = pick(True, 1, 1)
word_on_page_one = pick(True, 2, PAGE)
word_on_page_two = pick(True, PAGE + 1, 2 * PAGE)
char_on_page_two = pick(False, PAGE + 1, 2 * PAGE, extended=True)
char_on_page_one = pick(False, 2, PAGE, extended=True)
plan = [
    (first_char, by_key(first_char, [])),
    (first_word, by_key(first_word, [])),
    (word_on_page_one, by_key(word_on_page_one, [])),
    (word_on_page_two, by_key(word_on_page_two, ["Next"])),
    (char_on_page_two, by_key(char_on_page_two, ["equal"])),
    (char_on_page_one, by_key(char_on_page_one, ["equal", "minus"])),
    (word_on_page_two, by_arrows(word_on_page_two)),
    (first_word, with_a_digit_taken_back(first_word)),
    (first_of(word_on_page_two[1]), list(word_on_page_two[1]) + ["F6", "space"]),
]
for (item, code, at), keys in plan:
    print(item, code, at, " ".join(keys))
PY
expected="" keys=()
while read -r item code at line; do
  echo "typing $line for $item (candidate $at of $code)"
  expected+="$item"
  # shellcheck disable=SC2206
  keys+=($line)
done <"$work/plan"
[ ${#keys[@]} -gt 0 ] || { echo "FAIL: nothing to type"; exit 1; }

# A custom word handed to the input method after the typing above (the engine has
# looked up the codes typed), under a code that begins the first word's code and
# is no item's own: the framework must forget what it looked up before.
custom_word="学而时习"
# Before the hand-over that code is typed slowly under IBus, so that the engine
# looks it up and keeps its candidates: warm_item, the first of them, is committed.
read -r custom_code warm_item < <(python3 - "$items" "$(sed -n '2p' "$work/plan" | cut -d' ' -f2)" <<'PY'
import sys
rows = []
for line in open(sys.argv[1], encoding="utf-8"):
    item, code, short, freq = line.rstrip("\n").split("\t")
    rows += [(item, c, int(freq)) for c in [code] + [s for s in short.split(",") if s]]
codes = {c for _, c, _ in rows}
typed = sys.argv[2]
custom = next(typed[:n] for n in range(len(typed) - 1, 0, -1) if typed[:n] not in codes)
# IBus lists longer codes the more frequent first, then the shorter code first.
warm = min((r for r in rows if r[1].startswith(custom)), key=lambda r: (-r[2], len(r[1]), r[1]))
print(custom, warm[0])
PY
)

# --- X server
start_xvfb 1024x768x24

# type_into <framework> <QT_IM_MODULE>: runs the line edit, focuses it the way a
# user would, types the codes and checks what arrives.
type_into() {
  local name="$1" module="$2" log="$work/lineedit-$1.log" wid status
  QT_QPA_PLATFORM=xcb QT_IM_MODULE="$module" "$lineedit" --expect "$expected" \
    --then-english 12 --timeout 20000 >"$log" 2>&1 &
  local pid=$!
  pids+=("$pid")
  wid="$(timeout 10 xdotool search --sync --onlyvisible --name '^trevix-ime-lineedit$' |
    head -1)"
  if [ -z "$wid" ]; then
    fail "$name: the line edit window does not appear"
    cat "$log"
    return
  fi
  xdotool mousemove --window "$wid" 60 20
  xdotool windowfocus --sync "$wid"
  if ! wait_for 80 grep -q '^READY' "$log"; then
    fail "$name: the line edit never got the focus"
    cat "$log"
    return
  fi
  grep -E '^(at [0-9]+ ms|open)' "$log"
  local opened
  opened="$(sed -n 's/^open: \([^ ]*\) .*/\1/p' "$log")"
  if [ -n "$opened" ] && wait_for 50 grep -qx "queried: $opened" "$log"; then
    pass "$name: asked without waiting, the active input method is $opened"
  else
    fail "$name: asking without waiting did not give '$opened': $(grep '^queried:' "$log")"
  fi
  sleep 0.3
  xdotool key --delay "${key_delay:-60}" "${keys[@]}"
  # Switched back to English, digits are typed as they are.
  if wait_for 80 grep -qx ENGLISH "$log"; then
    grep '^close:' "$log"
    sleep 0.3
    xdotool key --delay 60 1 2
  fi
  wait_for 100 bash -c "! kill -0 $pid"
  wait "$pid"
  status=$?
  sed -n '/^event:/p' "$log" >"$work/events-$name.log"
  if grep -qx "text: $expected" "$log"; then
    pass "$name: '$expected' committed into the line edit"
  else
    fail "$name: expected '$expected' in the line edit"
    cat "$log"
  fi
  if [ "$status" -eq 0 ] && grep -qx "COMMITTED ${expected}12" "$log"; then
    pass "$name: after switching to English, digits arrive as digits"
  else
    fail "$name: expected '${expected}12' after switching to English (exit $status)"
    cat "$log"
  fi
  echo "--- key and input-method events reaching the line edit under $name:"
  cat "$work/events-$name.log"
}

# add_and_type <framework> <QT_IM_MODULE>: hands the custom word over as the
# program does after adding it, then types its code into a new line edit.
add_and_type() {
  local name="$1" module="$2" out start expected keys key_delay
  if [ "$module" = ibus ]; then
    expected="$warm_item" key_delay=500
    # shellcheck disable=SC2206
    keys=($(echo "$custom_code" | sed 's/./& /g') space)
    echo "typing ${keys[*]} slowly for $warm_item, before the hand-over"
    type_into "$name" "$module"
    key_delay=60
  fi
  start=$(date +%s%N)
  out="$(QT_IM_MODULE="$module" timeout 20 "$probe" --add-word "$custom_word:$custom_code" 2>&1)"
  echo "$out" | grep -E '^(handover|message)'
  if grep -q '^message:' <<<"$out"; then fail "$name: handing the custom word over failed"; fi
  expected="$custom_word"
  # shellcheck disable=SC2206
  keys=($(echo "$custom_code" | sed 's/./& /g') space)
  echo "typing ${keys[*]} for the custom word $custom_word"
  type_into "$name" "$module" && true
  if grep -qx "text: $custom_word" "$work/lineedit-$name.log"; then
    pass "$name: the custom word typed with its code $custom_code," \
      "$(( ($(date +%s%N) - start) / 1000000 )) ms after the hand-over began"
  fi
  if [ "$module" = ibus ]; then
    # The setting turned over to make the engine look up again is back.
    [ "$(gsettings get org.freedesktop.ibus.engine.table:/org/freedesktop/ibus/engine/table/qorvan/ \
      onechar)" = false ] && pass "IBus: the engine's setting onechar is back to false" ||
      fail "IBus: onechar should be false again"
  fi
}

# start_keeper <QT_IM_MODULE>: a second line edit that holds on to the input method
# (its own input context) until the script ends, so that the engine lives on
# between the line edits as it does on a desktop with other programs open.
start_keeper() {
  local log="$work/keeper.log" wid
  QT_QPA_PLATFORM=xcb QT_IM_MODULE="$1" "$lineedit" --expect "never typed" --timeout 120000 \
    --title trevix-ime-keeper >"$log" 2>&1 &
  pids+=($!)
  wid="$(timeout 10 xdotool search --sync --onlyvisible --name '^trevix-ime-keeper$' | head -1)"
  [ -n "$wid" ] && xdotool windowfocus --sync "$wid" && wait_for 80 grep -q '^READY' "$log" ||
    fail "the keeping line edit did not get the input method"
}

# check_probe <framework> <expected ime id> <expected english id> <probe output>
check_probe() {
  local name="$1" ime="$2" english="$3" out="$4"
  echo "$out"
  grep -qx "framework: $name" <<<"$out" || fail "$name: not chosen as the framework"
  grep -qx "handles: $ime $english" <<<"$out" &&
    pass "$name: found Qorvan输入法第四版 as $ime" ||
    fail "$name: expected handles '$ime $english'"
  if grep -q '^message:' <<<"$out"; then fail "$name: the not-installed message was shown"; fi
}

# --- IBus ---------------------------------------------------------------------
run_ibus() {
  echo "== IBus"
  # IBus finds tables in its system folder and in the user's own folder.
  start_ibus "$tables" || return

  local out
  out="$(QT_IM_MODULE=ibus timeout 20 "$probe" --switch 2>&1)"
  check_probe IBus table:qorvan xkb:us::eng "$out"
  grep -qx 'open: table:qorvan' <<<"$out" && pass "IBus: switched to table:qorvan" ||
    fail "IBus: switching to the input method did not read back"
  grep -qx 'close: xkb:us::eng' <<<"$out" && pass "IBus: switched back to English" ||
    fail "IBus: switching to English did not read back"

  start_keeper ibus
  type_into IBus ibus
  add_and_type IBus ibus
  stop_ibus
  cleanup_keep_x
}

# --- Fcitx 5 ------------------------------------------------------------------
run_fcitx() {
  echo "== Fcitx 5"
  # Fcitx 5 reads input methods and tables from the user's data folder too.
  # A user whose group has neither our input method nor the US keyboard: the
  # program adds the input method and switches back to the user's own keyboard.
  mkdir -p "$XDG_CONFIG_HOME/fcitx5"
  printf '%s\n' '[Groups/0]' 'Name=Default' 'Default Layout=gb' 'DefaultIM=keyboard-gb' '' \
    '[Groups/0/Items/0]' 'Name=keyboard-gb' 'Layout=' '' '[GroupOrder]' '0=Default' \
    >"$XDG_CONFIG_HOME/fcitx5/profile"

  start_fcitx "$tables" || return

  local out
  out="$(QT_IM_MODULE=fcitx timeout 20 "$probe" 2>&1)"
  check_probe "Fcitx 5" qorvan keyboard-us "$out"

  # Fcitx switches the focused field: the line edit switches once it has focus,
  # putting the table into the current group first.
  type_into "Fcitx 5" fcitx
  local log="$work/lineedit-Fcitx 5.log"
  cp "$log" "$work/lineedit-first.log"
  add_and_type "Fcitx 5" fcitx
  log="$work/lineedit-first.log"
  grep -q '^open: qorvan ' "$log" && pass "Fcitx 5: switched to qorvan" ||
    fail "Fcitx 5: switching to the input method did not read back"
  grep -qx 'close: keyboard-gb' "$log" && pass "Fcitx 5: switched back to the user's keyboard" ||
    fail "Fcitx 5: switching to English did not read back"
  local group
  group="$(dbus-send --session --print-reply --dest=org.fcitx.Fcitx5 /controller \
    org.fcitx.Fcitx.Controller1.InputMethodGroupInfo string:Default | grep -o '"[^"]*"' | tr '\n' ' ')"
  echo "group: $group"
  grep -q '"keyboard-gb" "" "qorvan"' <<<"$group" && ! grep -q keyboard-us <<<"$group" &&
    pass "Fcitx 5: qorvan added to the group, nothing else" ||
    fail "Fcitx 5: the group should be keyboard-gb, qorvan"
}

run_ibus
run_fcitx
cleanup
if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "all input-method checks passed"
