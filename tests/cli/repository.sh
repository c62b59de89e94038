#!/usr/bin/env bash
# The translation repository through the real vaq on a copy of the demo project: the German notes
# added, suggestions asked, a translation replaced and found in the history, on a file and on the
# PostgreSQL cluster of the tests when one is given (VAQ_TEST_POSTGRES). A server that cannot be
# reached stops an update at once with exit 1, before any file changes, also when the option names
# it; its password is never printed.
# Usage: repository.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$2
vaq=$build/vaq
work=$(mktemp -d)
database=
cleanup() {
  [ -n "$database" ] && psql "$VAQ_TEST_POSTGRES" -q -c "DROP DATABASE IF EXISTS $database WITH (FORCE)" >/dev/null 2>&1
  rm -rf "$work"
}
trap cleanup EXIT
export VAQ_CONFIG_DIR="$work/config"
unset LC_ALL LC_CTYPE LANG PGCONNECT_TIMEOUT  # the terminal speaks UTF-8
fail() { echo "FAIL: $*" >&2; exit 1; }

cp -r "$source/examples/demo" "$work/demo"
"$vaq" update "$work/demo" --lang de-DE --quiet 2>/dev/null
notes=$work/demo/de-DE/MainForm.ruz
tab=$'\t'

# --- The same session against each store -------------------------------------------------------
check_store() {  # location, name
  local repo=$1 out
  "$vaq" repository add "$notes" --repository "$repo" >/dev/null 2>&1 || fail "$2: add failed"
  out=$("$vaq" repository suggest "Save order and close" --lang de-DE --repository "$repo")
  [ "$out" = "85%${tab}'Save the order and close'${tab}'Bestellung speichern und schließen'" ] ||
    fail "$2: suggest printed: $out"
  # A literal as list prints it is read too; the threshold and the limit bound the answer.
  out=$("$vaq" repository suggest "'&Orders'" --lang de-DE --source en-US --min 100 --limit 1 --repository "$repo")
  [ "$out" = "100%${tab}'Orders'${tab}'Bestellungen'" ] || fail "$2: suggest of a literal printed: $out"
  "$vaq" repository suggest "Export" --lang de-DE --repository "$repo" 2>"$work/err" >/dev/null ||
    fail "$2: no suggestion is no failure"
  grep -q "no stored translation of a source 75% similar or more" "$work/err" || fail "$2: $(cat "$work/err")"
  if "$vaq" repository suggest "Orders" --lang de-DE --min 0 --repository "$repo" 2>/dev/null; then
    fail "$2: --min 0 accepted"
  fi

  # Another translation of 'First' replaces the stored one, which goes to the history.
  sed -i "s/'Erste'/'Zuerst'/" "$notes"
  "$vaq" repository add "$notes" --repository "$repo" >/dev/null 2>&1 || fail "$2: second add failed"
  sed -i "s/'Zuerst'/'Erste'/" "$notes"
  out=$("$vaq" repository list --lang de-DE --repository "$repo" | cut -f3,4)
  [ "$out" = "'First'$tab'Zuerst'
'Orders'$tab'Bestellungen'
'Save the order and close'$tab'Bestellung speichern und schließen'" ] || fail "$2: list printed: $out"
  out=$("$vaq" repository list --history --repository "$repo" | cut -f1-4)
  [ "$out" = "en-US${tab}de-DE$tab'First'$tab'Erste'" ] || fail "$2: history printed: $out"
  [ "$("$vaq" repository remove --source en-US --lang de-DE "'First'" --repository "$repo")" = "1 translations removed" ] ||
    fail "$2: remove"
}

check_store "$work/repository.db" file
if [ -n "${VAQ_TEST_POSTGRES:-}" ]; then
  database=vaq_cli_$$
  psql "$VAQ_TEST_POSTGRES" -q -c "CREATE DATABASE $database ENCODING 'UTF8' TEMPLATE template0" >/dev/null
  check_store "${VAQ_TEST_POSTGRES/\/postgres\?//$database?}" server
else
  echo "server store skipped: no PostgreSQL cluster given (VAQ_TEST_POSTGRES)"
fi

# --- Sources and translations in code pages: Japanese (932) to Russian (1251), on a UTF-8 terminal
# and on a KOI8-R one ---------------------------------------------------------------------------------
mkdir -p "$work/ja"
printf 'unit Files;\ninterface\ntype\n  TFiles = class(TForm)\n  end;\nimplementation\nend.\n' >"$work/ja/Files.pas"
ja=$(printf '%s' 'ファイルを開く' | iconv -f UTF-8 -t CP932)
ru=$(printf '%s' 'Открыть файл' | iconv -f UTF-8 -t CP1251)
{ printf "object Files: TFiles\r\n  Caption = '"; printf '%s' "$ja"; printf "'\r\nend\r\n"; } >"$work/ja/Files.rux"
"$vaq" update "$work/ja" --source ja-JP --lang ru-RU --quiet 2>/dev/null
# The translator's work: the caption translated.
JA="$ja" RU="$ru" perl -pi -e 's/Status:0\x04Curr:\x27\Q$ENV{JA}\E\x27/Status:1\x04Curr:\x27$ENV{RU}\x27/ if /Files.Caption/' \
  "$work/ja/ru-RU/Files.ruz"
"$vaq" repository add "$work/ja/ru-RU/Files.ruz" --repository "$work/repository.db" >/dev/null 2>&1
out=$("$vaq" repository suggest "ファイルを開きます" --source ja-JP --lang ru-RU --min 60 --repository "$work/repository.db")
[ "$out" = "66%${tab}'ファイルを開く'${tab}'Открыть файл'" ] || fail "Japanese suggest printed: $out"
# A KOI8-R terminal cannot type or show Japanese: the text is asked as a literal of its codes.
out=$(LC_ALL=ru_RU.KOI8-R "$vaq" repository suggest "#12501#12449#12452#12523" --source ja-JP --lang ru-RU --min 50 \
  --repository "$work/repository.db" | iconv -f KOI8-R -t UTF-8)
[ "$out" = "57%${tab}'???????'${tab}'Открыть файл'" ] || fail "suggest on a KOI8-R terminal printed: $out"

# --- A server that is away: exit 1 at once, nothing written, no password shown -------------------
away="postgresql://anna:s3cret@/vaq?host=$work/nowhere"
sed -i "s/'Orders'/'All orders'/" "$work/demo/MainForm.rux"  # an update would write notes now
snapshot() { (cd "$work/demo" && find . -type f -exec md5sum {} + | sort); }
before=$(snapshot)
status=0
"$vaq" update "$work/demo" --lang de-DE --use-repository --repository "$away" 2>"$work/err" || status=$?
[ "$status" = 1 ] || fail "update with an unreachable repository exited with $status"
grep -q "^vaq update: Cannot connect to the translation repository postgresql://anna:\*\*\*@/vaq" "$work/err" ||
  fail "update said: $(cat "$work/err")"
grep -q "s3cret" "$work/err" && fail "the password was printed"
[ "$(snapshot)" = "$before" ] || fail "a file changed although the repository could not be reached"

# The same through the option, which shows the password masked and warns that it is stored.
"$vaq" options Repository "$away" >"$work/out" 2>"$work/err"
grep -q "password is stored as plain text" "$work/err" || fail "no warning about the stored password"
[ "$(cat "$work/out")" = "33${tab}Repository${tab}postgresql://anna:***@/vaq?host=$work/nowhere" ] ||
  fail "options printed: $(cat "$work/out")"
"$vaq" options | grep -q s3cret && fail "options printed the password"
status=0
"$vaq" update "$work/demo" --lang de-DE --use-repository 2>"$work/err" || status=$?
[ "$status" = 1 ] || fail "update through the option exited with $status"
[ "$(snapshot)" = "$before" ] || fail "a file changed although the option's repository could not be reached"
status=0
"$vaq" repository list 2>"$work/err" || status=$?
[ "$status" = 1 ] && grep -q "Cannot connect" "$work/err" || fail "list: $status $(cat "$work/err")"
"$vaq" options Repository "" >/dev/null

# Without the repository the same update goes through: the snapshot above did have work to do.
"$vaq" update "$work/demo" --lang de-DE --quiet 2>/dev/null
[ "$(snapshot)" != "$before" ] || fail "the update had nothing to do"
echo "repository: all checks passed"
