#!/usr/bin/env bash
# The test window end to end, through the real input-method frameworks, headless: a
# private session bus, Xvfb, then IBus and then Fcitx 5, each with the Qorvan table
# installed for the test's private home (as tests/integration/ime_frameworks_test.sh
# sets them up). The
# program's main window opens the test window, a text file is opened through the
# open-file dialog and the test is started; the Qorvan input method must then be
# on. The codes of the text's items are typed with xdotool (one of them the code of
# another character); the result dialog must show the expected figures, the test
# record the expected counts, and KeyPressCount the number of keys sent. The text
# also holds letters and a digit, kept by the open-file dialog and typed as plain
# keys: the test window must switch to the English keyboard for them and back to
# the Qorvan input method for the Chinese after them. After the test the window
# saves the statistics report, the word list and the text as an example through
# its real file dialogs; the files must hold the test's figures, and the example,
# opened again through "打开分词例文(&E)…", must give the same text and the same
# result in a second test. Before the text is opened the window adds a custom word
# with a new code through its dialog; the text holds that word, typed with that
# code: the input method must know it at once.
#
# Usage: test_window_e2e.sh <trevix-test-window-driver> <built table folder> <app dir>
# With TREVIX_E2E_RESULT_SHOT=<prefix> the screen with each first result dialog is
# saved as <prefix>-ibus.png and <prefix>-fcitx.png, to look at.
# Exit 0 passed, 1 failed, 77 skipped (a framework cannot start here; never in CI).
set -uo pipefail

driver="$1" tables="$2" appdata="$3"
items="$appdata/qorvan.txt"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=../support/ime_session.sh
source "$here/../support/ime_session.sh"
run_inside_private_bus TREVIX_WINDOW_TEST_INNER 380 \
  "dbus-run-session dbus-send Xvfb xdotool ibus-daemon ibus fcitx5 python3" \
  "${BASH_SOURCE[0]}" "$@"

work="${XDG_RUNTIME_DIR:-/tmp}/window-test"
rm -rf "$work"
mkdir -p "$work/app"

# --- The text and what to type --------------------------------------------------
# Items that the table gives first for their own standard code (and that no longer
# code starting with it outranks): five two-character words and ten characters,
# alternating, twenty characters in all, and before the fourth word two letters and
# a digit. The eighth item is typed with the code of another character: one wrong
# character.
python3 - "$items" "$work" <<'PY' || { echo "FAIL: cannot read $items"; exit 1; }
import sys, json
items_file, work = sys.argv[1], sys.argv[2]
rows = []
for line in open(items_file, encoding="utf-8"):
    item, code, _, freq = line.rstrip("\n").split("\t")
    rows.append((item, code, int(freq)))
best_under = {}  # the highest frequency of any other item whose code starts with a prefix
for item, code, freq in rows:
    for n in range(1, len(code) + 1):
        best_under.setdefault(code[:n], []).append((freq, item, code))
def first_for(item, code, freq):
    rivals = [f for f, i, c in best_under[code] if i != item]
    return all(f < freq for f in rivals)
words, chars, used = [], [], set()
for item, code, freq in rows:
    if any(ch in used for ch in item) or not item.isalpha():
        continue
    if len(item) == 2 and len(words) < 5 and first_for(item, code, freq):
        words.append((item, code)); used.update(item)
    elif len(item) == 1 and len(chars) < 11 and first_for(item, code, freq):
        chars.append((item, code)); used.add(item)
    if len(words) == 5 and len(chars) == 11:
        break
spare = chars.pop()
plan = []
for i in range(5):
    plan += [words[i], chars[2 * i], chars[2 * i + 1]]
# Letters and digits: typed on the English keyboard, one key each (no Space), in
# one burst; the digit would start a code under the Qorvan input method.
plan.insert(9, ("ab1", None))
# A custom word that the window adds before it opens the text: three characters
# that are no item, under a new code (no item's code begins with it), typed as
# one word after the first.
items = {item for item, _, _ in rows}
codes = {code for _, code, _ in rows}
pool = [item for item, code, freq in rows
        if len(item) == 1 and item.isalpha() and item not in used]
custom = next(w for w in ("".join(pool[i:i + 3]) for i in range(0, len(pool) - 2, 3))
              if w not in items)
new_code = next(c for c in ("%06d" % n for n in range(999999, 0, -1))
                if c not in best_under and not any(c.startswith(k) for k in codes))
plan.insert(1, (custom, new_code))
text = "".join(item for item, _ in plan)
typed = list(plan)
typed[plan.index(chars[4])] = spare  # a character, typed wrong
keys = [list(item) if code is None else list(code) + ["space"] for item, code in typed]
bursts = [0] * 5
for item, _ in typed[:-1]:  # the burst in progress at the end is not counted
    bursts[min(len(item), 5) - 1] += 1
hz = sum(len(item) for item, code in plan if code is not None)
json.dump({"text": text, "keys": keys, "custom": custom + ":" + new_code, "nkeys": sum(len(k) for k in keys),
           "total": len(text), "hz": hz,
           "accuracy": "%.2f%%" % (100 * (len(text) - 1) / len(text)),
           "right": len(text) - 1, "bursts": ",".join(map(str, bursts)),
           "typed": "".join(item for item, _ in plan)},
          open(work + "/plan.json", "w", encoding="utf-8"), ensure_ascii=False)
open(work + "/text.txt", "w", encoding="utf-8").write(text + "\n")
PY
plan() { python3 -c "import json,sys; print(json.load(open('$work/plan.json'))['$1'])"; }
text="$(plan text)"
nkeys="$(plan nkeys)"
right="$(plan right)"
bursts="$(plan bursts)"
total="$(plan total)"
hz="$(plan hz)"
accuracy="$(plan accuracy)"
custom="$(plan custom)"
echo "text: $text ($nkeys keys to send; the custom word ${custom%%:*}, code ${custom##*:})"

# --- X server ----------------------------------------------------------------------
start_xvfb 1280x1024x24

# drive <framework> <QT_IM_MODULE> <id of the Qorvan input method>: runs the
# program, types the text and checks what the test window made of it.
drive() {
  local name="$1" module="$2" ime="$3" log="$work/driver-$2.log" keys="$nkeys" status wid
  echo "== $name"
  rm -rf "$work/app" "$work/files" && mkdir -p "$work/app" "$work/files"
  # Each framework gets the custom word from this run's add alone.
  rm -f "$XDG_DATA_HOME/ibus-table/tables/qorvan-user.db"* "$XDG_DATA_HOME/ibus-table/tables/qorvan.cache" \
    "$XDG_DATA_HOME/fcitx5/table/qorvan.user.dict" "$XDG_DATA_HOME/Trevix2006/history.sqlite"
  QT_QPA_PLATFORM=xcb QT_IM_MODULE="$module" "$driver" --app-dir "$work/app" \
    --data-dir "$appdata" --text "$work/text.txt" --keep-alnum --files "$work/files" \
    --add-word "$custom" --timeout 150000 \
    ${TREVIX_E2E_RESULT_SHOT:+--result-screenshot "$TREVIX_E2E_RESULT_SHOT-$module.png"} >"$log" 2>&1 &
  local driver_pid=$!
  pids+=("$driver_pid")

  if wait_for 300 grep -q "^ADDED ${custom/:/ } " "$log" &&
    grep -q "^message: 自定义词：${custom%%:*}  成功加入自定义词库！" "$log"; then
    pass "$name: the custom word ${custom%%:*} was added in $(sed -n 's/^ADDED .* //p' "$log") ms"
  else
    fail "$name: the custom word was not added"
  fi
  if ! wait_for 300 grep -q '^STARTED ' "$log"; then
    fail "$name: the test did not start"
    cat "$log"
    return
  fi
  grep -qx "TEXT $text" "$log" && pass "$name: the text arrived through the open-file dialog" ||
    fail "$name: the test window does not show '$text'"
  wid="$(sed -n 's/^STARTED //p' "$log")"
  xdotool windowfocus --sync "$wid"
  if wait_for 100 grep -qx "READY $ime" "$log"; then
    pass "$name: the test switched the Qorvan input method on"
  else
    fail "$name: the Qorvan input method was not switched on"
    cat "$log"
    return
  fi
  sleep 0.3
  # F2 with the input method on reaches the box: the code of the first word.
  xdotool key F2
  if wait_for 30 grep -q "^STATUS '${text:0:1}[^']*'的编码为:[0-9]" "$log"; then
    pass "$name: F2 shows the code of the first word"
  else
    fail "$name: F2 should show the code of the word at '${text:0:1}'"
  fi
  keys=$((keys + 1))
  sleep 0.3
  type_plan

  # The files of the test, then the example for a second test.
  if wait_for 200 bash -c "[ \$(grep -c '^STARTED ' '$log') -ge 2 ]"; then
    check_files "$name"
    grep -qx "TEXT $text" <(grep '^TEXT ' "$log" | sed -n 2p) &&
      pass "$name: the saved example opened again with its text" ||
      fail "$name: the example should show '$text'"
    xdotool windowfocus --sync "$(grep '^STARTED ' "$log" | sed -n '2s/^STARTED //p')"
    if wait_for 100 bash -c "[ \$(grep -c '^READY $ime\$' '$log') -ge 2 ]"; then
      sleep 0.3
      type_plan
    else
      fail "$name: the input method was not switched on for the second test"
    fi
  else
    fail "$name: the example was not opened for a second test"
    grep -E '^(SAVED|message|TEXT|TIMEOUT)' "$log"
  fi

  wait_for 200 bash -c "! kill -0 $driver_pid"
  wait "$driver_pid"
  status=$?
  grep -vE '^(STATUS|message)' "$log"
  [ "$status" -eq 0 ] || fail "$name: the driver ended with $status"

  [ "$(grep -c "^RESULT total=$total hz=$hz time=0:00:[0-9][0-9] accuracy=$accuracy " "$log")" -eq 2 ] &&
    pass "$name: both results show $total characters ($hz Chinese) and $accuracy" ||
    fail "$name: both results should show total=$total hz=$hz accuracy=$accuracy"
  [ "$(grep -c "^COUNTS right=$right err=1 keys=$nkeys " "$log")" -eq 1 ] &&
    pass "$name: the second test on the example counts $right right, 1 wrong, $nkeys keys" ||
    fail "$name: the second test should count right=$right err=1 keys=$nkeys"
  grep -q "^HISTORY tests=2 right=$right err=1 keys=$nkeys mistakes=1\$" "$log" &&
    pass "$name: both tests are in the results history, the last with its figures and its mistake" ||
    fail "$name: the history should hold 2 tests, the last right=$right err=1 keys=$nkeys"
  grep -q "^COUNTS right=$right err=1 " "$log" && pass "$name: $right characters right, 1 wrong" ||
    fail "$name: expected right=$right err=1"
  grep -q "^COUNTS .* words=$bursts " "$log" && pass "$name: bursts by length: $bursts" ||
    fail "$name: expected the bursts $bursts"
  grep -q "^COUNTS .* keys=$keys " "$log" && pass "$name: KeyPressCount is the $keys keys sent" ||
    fail "$name: expected KeyPressCount $keys"
  grep -q "^COUNTS .* typed=$(plan typed) " "$log" &&
    pass "$name: TypedText holds the typed positions" ||
    fail "$name: expected TypedText $(plan typed)"
  if grep -q '^COUNTS .* ime=.' "$log" && ! grep -q "^COUNTS .* ime=$ime\$" "$log"; then
    pass "$name: the end switched away from the input method"
  else
    fail "$name: the input method was still on at the end"
  fi
}

# type_plan: the keys of the plan, item by item.
type_plan() {
  python3 -c "
import json
for k in json.load(open('$work/plan.json'))['keys']:
    print(' '.join(k))" | while read -r line; do
    # shellcheck disable=SC2086
    xdotool key --delay 60 $line
    sleep 0.4
  done
}

# check_files <name>: the report, the word list and the example that the window
# saved after the first test.
check_files() {
  local name="$1" files="$work/files"
  if python3 - "$files" "$text" "$accuracy" "$total" <<'PY'
import sys, os
files, text, accuracy, total = sys.argv[1:5]
def lines(name):
    data = open(os.path.join(files, name), "rb").read()
    assert data.endswith(b"\r\n"), name + " does not end in CR LF"
    return data.decode("gb18030").split("\r\n")[:-1]
report = lines("report.txt")
assert report[0] == "以下是关于文本和用户技术的基本信息：", report[0]
assert "文本中的总字数：" + total in report, "no total in the report"
assert "正确率：" + accuracy in report, "no accuracy in the report"
words = lines("words.fcr")
assert words and all(w.startswith('"') and w.endswith('"') for w in words), words
assert all(w.strip('"') in text for w in words), "a word of the list is not in the text"
assert open(os.path.join(files, "example.sav"), "rb").read().startswith(b"{\\rtf1")
tags = open(os.path.join(files, "example.ext"), "rb").read()
assert tags.startswith(b'"') and tags.endswith(b'"\r\n') and len(tags) == len(text) + 4, tags
PY
  then
    pass "$name: the report, the word list and the example were saved through the file dialogs"
  else
    fail "$name: the saved files are not right"
    grep -E '^(SAVED|message)' "$work/driver-"*.log
  fi
}

# --- IBus ---------------------------------------------------------------------------
run_ibus() {
  start_ibus "$tables" || return
  drive IBus ibus table:qorvan
  stop_ibus
}

# --- Fcitx 5 ------------------------------------------------------------------------
run_fcitx() {
  start_fcitx "$tables" || return
  drive "Fcitx 5" fcitx qorvan
}

run_ibus
run_fcitx
if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "the test window passed end to end under IBus and Fcitx 5"
