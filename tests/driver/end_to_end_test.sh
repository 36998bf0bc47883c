#!/usr/bin/env bash
# Runs the built program the way a user does: in a scratch directory, with the name piped to
# standard input. Checks the exact console text, the exit status and every file left behind.
# Usage: end_to_end_test.sh PROGRAM [ARGS...]   (ARGS lets an emulator run a cross-built program)
# With LINES2SVG_CRLF=1 the written files must have CR LF line ends, which are then compared as LF.
set -u
source "$(dirname "$0")/../support/program_args.sh"
source "$(dirname "$0")/../support/expect.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

prompt='Zadej nazev souboru: '
working='Pracuji...'
missing='!!! Vstupni soubor neexistuje !!!'
overwrite='!!! Vstupni soubor by byl prepsan !!!'
cannot='!!! Vystupni soubor nelze vytvorit !!!'

drawing=$'&H 1 2\r\n&L 7 P 1 2 L 3 4 &E\r\n&L P 5 6 L 7 8 L 9 10 &E\r\n&L P 11 12 &E\r\n'
dat=$'x\n1 2\n3 4\nx\n5 6\n7 8\n9 10\nx\n11 12\n'
trd=$'L\nM 3\nP\n'
# The SVG's shapes for that drawing; whole documents are checked in the unit tests.
svg_shapes=$'<line x1="10.00" y1="0.00" x2="8.00" y2="2.00" stroke-width="2" stroke="black"/>
<polyline fill="none" stroke="black" stroke-width="2" points=" 6.00 4.00 4.00 6.00 2.00 8.00"/>'

# Runs the program in directory $1 with standard input $2; sets `console` and `status`.
run() {
  console=$(cd "$1" && printf '%s' "$2" | "${program[@]}" 2>/dev/null)
  status=$?
}

# The content of a written file, with CR LF checked and folded where the platform writes it.
written() {
  if [[ ! -f "$1" ]]; then echo "<no file $1>"; return; fi
  if [[ "${LINES2SVG_CRLF:-0}" == 1 ]]; then
    # Every line end is CR LF; an unterminated last line ("</svg>") has none.
    if [[ $(tr -cd '\n' < "$1" | wc -c) != $(grep -c $'\r$' "$1") ]]; then
      echo "<a line of $1 lacks CR>"
    fi
    tr -d '\r' < "$1"; echo .
  else
    cat "$1"; echo .
  fi
}

listing() { (cd "$1" && find . -mindepth 1 | LC_ALL=C sort | tr '\n' ' '); }

fresh() { rm -rf "$work/case"; mkdir -p "$work/case"; }

# A successful run: name typed, the drawing at $2 relative to the case directory, outputs at $3.
converts() {  # label stdin drawing-path output-stem
  fresh
  mkdir -p "$work/case/$(dirname "$3")"
  printf '%s' "$drawing" > "$work/case/$3"
  run "$work/case" "$2"
  expect "$1: console" "$prompt$working" "$console"
  expect "$1: status" 0 "$status"
  expect "$1: vertex file" "$dat." "$(written "$work/case/$4dat")"
  expect "$1: shape file" "$trd." "$(written "$work/case/$4trd")"
  local svg
  svg=$(written "$work/case/$4svg")
  expect "$1: SVG shapes" "$svg_shapes" "$(grep 'stroke-width="2"' <<< "$svg")"
  expect "$1: SVG ends without a newline" "</svg>." "${svg: -7}"
  expect "$1: drawing untouched" "$drawing." "$(cat "$work/case/$3"; echo .)"
}

converts "plain name" $'plan.txt\n' plan.txt plan.
converts "leading spaces, extra words" $'   plan.txt other words\n' plan.txt plan.
converts "directory part" $'sub/dir/plan.txt\n' sub/dir/plan.txt sub/dir/plan.
converts "no extension" $'plan\n' plan p
converts "three characters" $'abc\n' abc ""
converts "two characters" $'ab\n' ab ab
converts "one character" $'a\n' a a
converts "short name in a folder" $'sub/ab\n' sub/ab sub/ab
converts "short name after ./" $'./ab\n' ab ./ab
# 300 characters: more than any fixed name buffer, within the limits of a file-name component.
long=$(printf 'd%.0s' $(seq 1 150))/$(printf 'n%.0s' $(seq 1 145)).txt
converts "300-character name" "$long"$'\n' "$long" "${long%txt}"
converts "no final newline" 'plan.txt' plan.txt plan.

# A Ctrl-Z byte ends a file read in Windows text mode; the drawing must be read to its real end.
fresh
printf '&H 1
%s' "$drawing" > "$work/case/plan.txt"
run "$work/case" $'plan.txt\n'
expect "Ctrl-Z in the drawing: vertex file" "$dat." "$(written "$work/case/plan.dat")"

# Refusals: the message, status 0, and no file created or changed.
refuses() {  # label stdin message [files to create first]
  fresh
  local name
  for name in "${@:4}"; do
    if [[ "$name" == */ ]]; then mkdir -p "$work/case/$name"; else printf 'keep' > "$work/case/$name"; fi
  done
  local before
  before=$(listing "$work/case"; cat "$work/case"/* 2>/dev/null)
  run "$work/case" "$2"
  expect "$1: console" "$prompt$3" "$console"
  expect "$1: status" 0 "$status"
  expect "$1: files unchanged" "$before" "$(listing "$work/case"; cat "$work/case"/* 2>/dev/null)"
}

refuses "missing drawing" $'nothere.txt\n' "$missing"
refuses "end of input before a name" '' "$missing"
refuses "blank input" $'  \n\n' "$missing"
refuses "drawing is a directory" $'folder\n' "$missing" folder/
refuses "missing .dat drawing" $'nothere.dat\n' "$missing"
refuses "name longer than any path" "$(printf 'n%.0s' $(seq 1 40000))"$'\n' "$missing"
# A NUL byte cuts no name short: "a" exists, but "a<NUL>b" names no file.
fresh
printf 'keep' > "$work/case/a"
console=$(cd "$work/case" && printf 'a\0b\n' | "${program[@]}" 2>/dev/null)
expect "NUL in the name: console" "$prompt$missing" "$console"
expect "NUL in the name: files" "./a " "$(listing "$work/case")"
# Every letter case of every written extension.
for extension in dat trd svg; do
  for ((mask = 0; mask < 8; mask++)); do
    name=plan.
    for ((i = 0; i < 3; i++)); do
      letter=${extension:i:1}
      if ((mask >> i & 1)); then letter=${letter^^}; fi
      name+=$letter
    done
    refuses "refused $name" "$name"$'\n' "$overwrite" "$name"
  done
done
refuses "refused bare extension" $'dat\n' "$overwrite" dat

# A drawing reached through a link whose target an output would replace.
fresh
printf '%s' "$drawing" > "$work/case/plan.dat"
ln -s plan.dat "$work/case/plan.txt"
run "$work/case" $'plan.txt\n'
expect "linked drawing: console" "$prompt$overwrite" "$console"
expect "linked drawing: untouched" "$drawing." "$(cat "$work/case/plan.dat"; echo .)"

# An output that cannot be written: reported after the progress word; earlier outputs stay.
blocked() {  # label directory-in-the-way expected-files
  fresh
  printf '%s' "$drawing" > "$work/case/plan.txt"
  mkdir "$work/case/$2"
  run "$work/case" $'plan.txt\n'
  expect "$1: console" "$prompt$working$cannot" "$console"
  expect "$1: status" 0 "$status"
  expect "$1: files" "$3" "$(listing "$work/case")"
}

blocked "vertex file blocked" plan.dat "./plan.dat ./plan.txt "
blocked "shape file blocked" plan.trd "./plan.dat ./plan.trd ./plan.txt "
blocked "SVG file blocked" plan.svg "./plan.dat ./plan.svg ./plan.trd ./plan.txt "

# Files that fail after they opened. These need Linux's own files, so a cross build skips them.
if [[ -z "${LINES2SVG_EMULATOR:-}" ]]; then
  unreadable='!!! Vstupni soubor nelze precist !!!'
  # Reading /proc/self/mem at offset 0 fails with EIO, as a failing disk or share would.
  fresh
  ln -s /proc/self/mem "$work/case/plan.txt"
  run "$work/case" $'plan.txt\n'
  expect "read error: console" "$prompt$working$unreadable" "$console"
  expect "read error: status" 0 "$status"

  # An output that is created but fails when written.
  fresh
  printf '%s' "$drawing" > "$work/case/plan.txt"
  ln -s /dev/full "$work/case/plan.dat"
  run "$work/case" $'plan.txt\n'
  expect "write error: console" "$prompt$working$cannot" "$console"
  expect "write error: files" "./plan.dat ./plan.txt " "$(listing "$work/case")"

  # A vertex file that can be written but not read back: root reads anything, so the program runs
  # as nobody then.
  fresh
  printf '%s' "$drawing" > "$work/case/plan.txt"
  printf 'old' > "$work/case/plan.dat"
  chmod 0200 "$work/case/plan.dat"
  as_user=("${program[@]}")
  if [[ $(id -u) -eq 0 ]]; then
    # nobody may not reach the build folder: the program runs from a copy in the scratch folder.
    chmod 0777 "$work" "$work/case"
    chown nobody "$work/case/plan.dat"
    cp "${program[-1]}" "$work/lines2svg" && chmod 0755 "$work/lines2svg"
    as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups -- "${program[@]:0:${#program[@]}-1}"
      "$work/lines2svg")
  fi
  console=$(cd "$work/case" && printf 'plan.txt\n' | "${as_user[@]}" 2>/dev/null)
  expect "unreadable vertex file: console" "$prompt$working$cannot" "$console"
  expect "unreadable vertex file: files" "./plan.dat ./plan.txt " "$(listing "$work/case")"
fi

finish end_to_end
