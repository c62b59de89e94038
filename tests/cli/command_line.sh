#!/usr/bin/env bash
# The real vaq on real-world cases: a form with a second root pasted behind its end, values in the
# code pages of Russian, Greek and Japanese notes printed and searched on a UTF-8 terminal, progress
# on a terminal versus a pipe, the registry file left alone by commands that change nothing, stale
# notes that only an explicit refresh writes, and temporaries of killed saves cleared away.
# Usage: command_line.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$2
vaq=$build/vaq
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export VAQ_CONFIG_DIR="$work/config"
unset LC_ALL LC_CTYPE LANG  # the terminal speaks UTF-8
fail() { echo "FAIL: $*" >&2; exit 1; }
# Bytes of a UTF-8 text in a code page.
in_cp() { printf '%s' "$1" | iconv -f UTF-8 -t "$2"; }

# --- A second root behind the form's final end: converted, with a warning naming file and line ---
printf 'object A: TA\r\n  Caption = %s\r\nend\r\n' "'One'" >"$work/one.rux"
{ cat "$work/one.rux"; printf '\r\nobject A: TA\r\n  Caption = %s\r\nend\r\n' "'Two'"; } >"$work/twice.rux"
"$vaq" convert "$work/one.rux" "$work/one.bin" >/dev/null
"$vaq" convert "$work/twice.rux" "$work/twice.bin" >/dev/null 2>"$work/err" || fail "convert refused the pasted root"
[ "$(cat "$work/err")" = "$work/twice.rux: Line 5: text after the form's final 'end' is not part of the form and is ignored" ] ||
  fail "unexpected warning: $(cat "$work/err")"
cmp -s "$work/one.bin" "$work/twice.bin" || fail "the first root is not the form"
printf 'hello world\r\n' >"$work/garbage.rux"
if "$vaq" convert "$work/garbage.rux" "$work/garbage.bin" 2>/dev/null; then fail "garbage converted"; fi

# --- Code pages: Russian source, Greek target; Japanese source, Russian target ---------------------
make_project() {  # folder, caption bytes
  mkdir -p "$1"
  printf 'unit Orders;\ninterface\ntype\n  TOrders = class(TForm)\n  end;\nimplementation\nend.\n' >"$1/Orders.pas"
  { printf "object Orders: TOrders\r\n  Caption = '"; printf '%s' "$2"; printf "'\r\n"
    printf "  object lblName: TLabel\r\n    Caption = 'Name'\r\n  end\r\nend\r\n"; } >"$1/Orders.rux"
}
ru=$(in_cp 'Заказы' CP1251)
el=$(in_cp 'Παραγγελίες' CP1253)
ja=$(in_cp '注文の一覧' CP932)
make_project "$work/ru" "$ru"
"$vaq" update "$work/ru" --source ru-RU --lang el-GR --quiet 2>/dev/null
notes=$work/ru/el-GR/Orders.ruz
LC_ALL=C sed -i "s/Status:0\x04Curr:'$ru'/Status:1\x04Curr:'$el'/" "$notes"
"$vaq" records "$notes" >"$work/out"
grep -q "'Заказы'	'Παραγγελίες'" "$work/out" || fail "records: $(cat "$work/out")"
"$vaq" search 'заказы' "$notes" >"$work/out" 2>&1
grep -q "^1 hits" "$work/out" && grep -q "Original value	2	O:Orders.Caption	'Заказы'" "$work/out" ||
  fail "search in 1251: $(cat "$work/out")"
"$vaq" search 'ΠΑΡΑΓΓΕΛΊΕΣ' "$notes" >"$work/out" 2>&1
grep -q "^1 hits" "$work/out" && grep -q "'Παραγγελίες'" "$work/out" || fail "search in 1253: $(cat "$work/out")"
# Greek is not held by the Russian column, nor Russian by the Greek one.
"$vaq" search 'Заказы' "$notes" --columns Curr 2>&1 | grep -q "^0 hits" || fail "Russian found in Greek values"
"$vaq" extract "$work/ru/Orders.rux" --lang ru-RU | grep -q "O:Orders.Caption	'Заказы'" || fail "extract in 1251"
"$vaq" repository add "$notes" --repository "$work/r.db" >/dev/null 2>&1
"$vaq" repository list --repository "$work/r.db" | grep -q "ru-RU	el-GR	'Заказы'	'Παραγγελίες'" ||
  fail "repository list: $("$vaq" repository list --repository "$work/r.db")"

make_project "$work/ja" "$ja"
"$vaq" update "$work/ja" --source ja-JP --lang ru-RU --quiet 2>/dev/null
notes=$work/ja/ru-RU/Orders.ruz
LC_ALL=C sed -i "s/Status:0\x04Curr:'$ja'/Status:1\x04Curr:'$ru'/" "$notes"
"$vaq" records "$notes" | grep -q "'注文の一覧'	'Заказы'" || fail "records in 932: $("$vaq" records "$notes")"
"$vaq" search '一覧' "$notes" --columns Orig >"$work/out" 2>&1
grep -q "^1 hits" "$work/out" && grep -q "Original value	8	O:Orders.Caption	'注文の一覧'" "$work/out" ||
  fail "search in 932: $(cat "$work/out")"

# --- Stale notes: statistics change no file unless asked to refresh ---------------------------------
# The notes above were edited behind vaq's back, so their header is stale.
form=$work/ja/ru-RU/Orders.rux
state() { stat -c '%n %s %Y' "$notes" "$form"; md5sum "$notes" "$form"; }
before=$(state)
"$vaq" stats "$notes" | grep -q 'translated 0, untranslated 2' || fail "stats as recorded: $("$vaq" stats "$notes")"
[ "$(state)" = "$before" ] || fail "reading the statistics of stale notes wrote a file"
"$vaq" stats "$notes" --refresh | grep -q 'translated 1, untranslated 1' ||
  fail "stats --refresh: $("$vaq" stats "$notes")"
"$vaq" stats "$notes" --refresh >/dev/null
[ "$(state)" != "$before" ] || fail "the refresh wrote nothing"
after=$(state)
"$vaq" stats "$notes" --refresh >/dev/null
[ "$(state)" = "$after" ] || fail "a refresh of fresh notes wrote again"

# --- Registry: the window's options are written at exit only when they differ from the file (a missing
# value counts as off), so commands without a window leave it alone; an unwritable one is no problem --
registry=$VAQ_CONFIG_DIR/registry.ini
registry_state() { if [ -e "$registry" ]; then stat -c '%i %Y' "$registry"; cat "$registry"; else echo none; fi; }
before=$(registry_state)
sleep 1
"$vaq" stats "$work/ja/ru-RU/Orders.ruz" >/dev/null
sed -i "s/'Name'/'Name:'/" "$work/ja/Orders.rux"
"$vaq" update "$work/ja" --lang ru-RU 2>/dev/null
[ "$(registry_state)" = "$before" ] || fail "vaq stats or vaq update changed the registry file"
grep -q 'ShowXlatForm' "$registry" 2>/dev/null && fail "window options were stored by commands without a window"
touch "$work/plain"
VAQ_CONFIG_DIR=$work/plain/config "$vaq" stats "$work/ja/ru-RU/Orders.ruz" >/dev/null 2>"$work/err" ||
  fail "an unwritable configuration folder failed the command: $(cat "$work/err")"
[ ! -s "$work/err" ] || fail "a command that stores nothing warned: $(cat "$work/err")"

# --- Progress: a status line on a terminal, plain lines in a pipe, --quiet ---------------------------
for copy in tty pipe quiet; do
  cp -r "$source/examples/demo" "$work/$copy"
  "$vaq" update "$work/$copy" --lang de-DE --quiet 2>/dev/null
  sed -i "s/'Orders'/'All orders'/" "$work/$copy/MainForm.rux"
  touch -d '+1 hour' "$work/$copy/BaseDialog.rux"  # processed again, but nothing in it changed
done
# A temporary of a save that was killed goes with the next save in its folder; one that a living
# writer holds stays.
stale=$work/tty/de-DE/MainForm.ruz.~vaq0badf00d
held=$work/tty/de-DE/MainForm.rux.~vaq0c0ffee0
: >"$stale"
(flock 9; sleep 20) 9>"$held" &
holder=$!
while flock -n "$held" true 2>/dev/null; do sleep 0.05; done  # until the writer holds it
script -qec "'$vaq' update '$work/tty' --lang de-DE" /dev/null </dev/null >"$work/tty.out"
[ ! -e "$stale" ] || fail "a stale temporary was left"
[ -e "$held" ] || fail "a temporary a living writer holds was removed"
kill "$holder"
wait "$holder" 2>/dev/null || true
rm -f "$held"
grep -q $'\r' "$work/tty.out" && grep -q $'\e\\[K' "$work/tty.out" || fail "no status line on a terminal"
grep -aq '/5  ' "$work/tty.out" || fail "the status line shows no count: $(cat -v "$work/tty.out")"
grep -aq 'MainForm.rux: new 0, changed [1-9]' "$work/tty.out" || fail "the changed form's line is missing on a terminal"
grep -aq 'BaseDialog.rux: new' "$work/tty.out" && fail "an unchanged form kept its line on a terminal"
grep -aq 'en-US -> de-DE: 2 of 5 forms updated' "$work/tty.out" || fail "no summary: $(cat -v "$work/tty.out")"
"$vaq" update "$work/pipe" --lang de-DE 2>"$work/pipe.err"
grep -q $'\r\|\e' "$work/pipe.err" && fail "control characters in a pipe"
[ "$(grep -c ': new ' "$work/pipe.err")" = 2 ] || fail "a pipe gets a line per form: $(cat "$work/pipe.err")"
"$vaq" update "$work/quiet" --lang de-DE --quiet 2>"$work/quiet.err"
[ "$(wc -l <"$work/quiet.err")" = 1 ] && grep -q '2 of 5 forms updated' "$work/quiet.err" ||
  fail "--quiet: $(cat "$work/quiet.err")"
printf 'unit Empty;\ninterface\nimplementation\nend.\n' >"$work/quiet/Empty.pas"
: >"$work/quiet/Empty.rux"
if "$vaq" update "$work/quiet" --lang de-DE --quiet 2>"$work/quiet.err"; then fail "an empty form did not fail the update"; fi
grep -q "Empty.rux is not a form file, or it cannot be read." "$work/quiet.err" || fail "$(cat "$work/quiet.err")"
[ ! -e "$work/quiet/de-DE/Empty.rux" ] || fail "an empty form got a translated copy"
"$vaq" stats "$work/tty/de-DE/OptionsDialog.ruz" | grep -q '^  form files OptionsDialog.rux;BaseDialog.rux$' ||
  fail "stats of an inherited form: $("$vaq" stats "$work/tty/de-DE/OptionsDialog.ruz")"
script -qec "'$vaq' pseudo '$work/tty/de-DE/MainForm.ruz' '$work/tty/de-DE/BaseDialog.ruz'" /dev/null </dev/null >"$work/tty.out"
grep -q $'\e\\[K' "$work/tty.out" && grep -aq 'vaq pseudo: 2 of 2 files done' "$work/tty.out" ||
  fail "pseudo on a terminal: $(cat -v "$work/tty.out")"
ls -aR "$work" | grep -q '~vaq' && fail "temporary files left: $(ls -aR "$work" | grep '~vaq')"
echo "command-line test passed"
