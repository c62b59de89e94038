#!/usr/bin/env bash
# vaq project on the demo project in folders whose names are no identifiers: the generated Pascal
# library and C++ module name themselves by a valid identifier, keep the folder's name as their
# file name, and are well formed: the C++ module compiles with the system's compiler (skipped
# without one), the Pascal library has the shape of a library with resource directives only.
# --name gives the identifier; a bad one is refused.
# Usage: project_identifiers.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export VAQ_CONFIG_DIR="$work/config"
fail() { echo "FAIL: $*" >&2; exit 1; }

cxx=${CXX:-c++}
command -v "$cxx" >/dev/null || cxx=
[ -n "$cxx" ] || echo "no C++ compiler: the C++ modules are not compiled"

# The C++ module as the IDE compiles it: its headers define USEFORMRES; "#pragma resource" is theirs.
compile_cpp() {
  [ -n "$cxx" ] || return 0
  "$cxx" -std=c++20 -fsyntax-only -Wall -Wextra -Wno-unknown-pragmas -Werror -x c++ -D'USEFORMRES(...)=' "$1" \
    || fail "the C++ module $1 does not compile"
}
# The Pascal library, line by line: "library IDENT;", resource directives, an empty main block.
# Nothing of a folder's name may reach past the line it belongs to.
check_pascal() {
  tr -d '\r' <"$1" | awk '
    NR == 1 { if ($0 !~ /^library [A-Za-z_][A-Za-z0-9_]*;$/) bad = 1; next }
    /^$/ || /^\{\$R \x27[^\x27]*\x27 [A-Za-z_][A-Za-z0-9_]*:[A-Za-z_][A-Za-z0-9_]*(\([A-Za-z_][A-Za-z0-9_]*\))?\}$/ { next }
    $0 == "begin" && !body { body = 1; next }
    $0 == "end." && body == 1 { body = 2; next }
    { bad = 1 }
    END { exit bad || body != 2 }' || fail "the Pascal library $1 is not well formed: $(cat "$1")"
}

# Folder name, then the identifier of the Pascal library and of the C++ module.
check() {
  local folder=$1 pascal=$2 cpp=$3
  local dir="$work/$folder"
  mkdir -p "$dir"
  cp "$source"/examples/demo/*.rux "$source"/examples/demo/*.gox "$source"/examples/demo/*.pas "$dir/"
  "$build/vaq" update "$dir" --lang de-DE --quiet 2>/dev/null || fail "update of '$folder' failed"
  "$build/vaq" project "$dir" --lang de-DE --pascal >/dev/null || fail "Pascal project of '$folder' failed"
  "$build/vaq" project "$dir" --lang de-DE --cpp >/dev/null || fail "C++ project of '$folder' failed"
  local base="$dir/de-DE/${folder}.DEU"
  [ -f "$base.pas" ] && [ -f "$base.cpp" ] || fail "the files are not named after '$folder': $(ls "$dir/de-DE")"
  [ "$(head -n 1 "$base.pas")" = "library $pascal;"$'\r' ] || fail "'$folder': $(head -n 1 "$base.pas")"
  head -n 1 "$base.cpp" | grep -q "^// Resource module of $cpp for " || fail "'$folder': $(head -n 1 "$base.cpp")"
  grep -q "{\$R 'MainForm.rux' MainForm:TForm}" "$base.pas" || fail "'$folder': no directive of the main form"
  compile_cpp "$base.cpp"
  check_pascal "$base.pas"
}

check "Мой проект" Moj_proekt Moj_proekt
check "翻訳プロジェクト" fan_yipurojekuto fan_yipurojekuto
check "Größe & Co" Grosse_Co Grosse_Co
check "2nd demo" _2nd_demo _2nd_demo
check "end" end_ end
check "program" program_ program
check "!!!" Project Project
# A line break in a folder's name ends no comment early.
check $'Zeile 1\nZeile 2' Zeile_1_Zeile_2 Zeile_1_Zeile_2

# --name gives the identifier; the file keeps the folder's name.
"$build/vaq" project "$work/end" --lang de-DE --pascal --name DemoResources >/dev/null || fail "--name failed"
[ "$(head -n 1 "$work/end/de-DE/end.DEU.pas")" = $'library DemoResources;\r' ] || fail "--name not used"
check_pascal "$work/end/de-DE/end.DEU.pas"
# One that is no identifier of the language: a usage error that says why, nothing written.
rm "$work/end/de-DE/end.DEU.pas"
for name in "1st" "Demo Resources" "Begin" "Проект"; do
  set +e
  "$build/vaq" project "$work/end" --lang de-DE --pascal --name "$name" >/dev/null 2>"$work/err"
  status=$?
  set -e
  [ "$status" -eq 2 ] || fail "--name '$name' gave $status"
  grep -q -- "--name: '$name' " "$work/err" || fail "--name '$name': $(cat "$work/err")"
  [ ! -e "$work/end/de-DE/end.DEU.pas" ] || fail "--name '$name' wrote the library"
done
grep -q "is a reserved word of Pascal" <("$build/vaq" project "$work/end" --lang de-DE --pascal --name Begin 2>&1 || true) \
  || fail "no reason for a reserved word"
echo "project identifiers: ok"
