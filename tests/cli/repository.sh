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
