#!/usr/bin/env bash
# vaq convert writes its output as the conversion makes it: a form of several pieces comes out
# whole in both directions and back, and a form that fails to convert after the first piece was
# written leaves the old output as it was, with no temporary file behind.
# Usage: convert.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export VAQ_CONFIG_DIR="$work/config"
vaq="$build/vaq"
fail() { echo "FAIL: $*" >&2; exit 1; }

# A form of about 3 MB: many components with texts in Western, Cyrillic and Japanese.
awk 'BEGIN {
  printf "object Big: TForm\r\n  Caption = '\''Gr'\''#246#223'\''e'\''\r\n"
  for (i = 0; i < 20000; i++) {
    printf "  object Label%d: TLabel\r\n    Left = %d\r\n    Caption = '\''Text %d '\''#1056#1072#1079#1084#1077#1088'\'' '\''#26085#26412\r\n", i, i % 500, i
    printf "    Hint = '\''Stra'\''#223'\''e '\''#1087#1086#1076#1089#1082#1072#1079#1082#1072'\'' %d'\''\r\n    Tag = %d\r\n  end\r\n", i, i
  }
  printf "end\r\n"
}' >"$work/big.rux"
[ "$(stat -c %s "$work/big.rux")" -gt 2500000 ] || fail "the generated form is too small"

"$vaq" convert "$work/big.rux" "$work/big.bin" >/dev/null || fail "text to binary failed"
"$vaq" convert "$work/big.bin" "$work/big.txt" >/dev/null || fail "binary to text failed"
"$vaq" convert "$work/big.txt" "$work/again.bin" >/dev/null || fail "text to binary again failed"
cmp -s "$work/big.bin" "$work/again.bin" || fail "the binary form changed on its way through text"
"$vaq" convert "$work/big.bin" "$work/big.res" --to resource >/dev/null || fail "to resource failed"
"$vaq" convert "$work/big.res" "$work/res.txt" >/dev/null || fail "resource to text failed"
cmp -s "$work/big.txt" "$work/res.txt" || fail "the resource form gave other text"
"$vaq" convert "$work/big.rux" "$work/text.txt" --to text >/dev/null || fail "text to text failed"
cmp -s "$work/big.txt" "$work/text.txt" || fail "text to text differs"
for form in "$source"/examples/demo/*.rux "$source"/examples/demo/*.gox; do
  name=$(basename "$form")
  "$vaq" convert "$form" "$work/$name.bin" >/dev/null || fail "$name to binary failed"
  "$vaq" convert "$work/$name.bin" "$work/$name.txt" >/dev/null || fail "$name to text failed"
  "$vaq" convert "$work/$name.txt" "$work/$name.again" >/dev/null || fail "$name back failed"
  cmp -s "$work/$name.bin" "$work/$name.again" || fail "$name changed on its way through text"
done

# Failures after the first piece: the last "end" missing, the binary form cut short.
head -c -5 "$work/big.rux" >"$work/cut.rux"
head -c -1 "$work/big.bin" >"$work/cut.bin"
echo old >"$work/out"
for input in cut.rux cut.bin; do
  set +e
  "$vaq" convert "$work/$input" "$work/out" >/dev/null 2>"$work/err"
  status=$?
  set -e
  [ "$status" -eq 1 ] || fail "$input gave $status"
  grep -q "$input" "$work/err" || fail "the message does not name $input: $(cat "$work/err")"
  [ "$(cat "$work/out")" = old ] || fail "$input replaced the old output"
  [ -z "$(ls "$work" | grep '^out\.tmp')" ] || fail "$input left a temporary file: $(ls "$work")"
done
grep -q "Line 120002: .end. expected but end of file found" <("$vaq" convert "$work/cut.rux" "$work/out" 2>&1 || true) || fail "the parse error names no line"
echo "convert: ok"
