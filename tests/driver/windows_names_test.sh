#!/usr/bin/env bash
# Windows build only, under Wine with Czech code pages (LANG=cs_CZ.UTF-8 in a fresh WINEPREFIX:
# ANSI 1250, OEM and console 852). Checks that names in Czech letters work piped in any of the
# encodings a Windows user's tools write, and typed at a real console (a pseudo-terminal, which
# Wine takes for one); that quoted paths with spaces work; and that a drawing reached through a
# link from an output name is refused and left unchanged; that device names, bare volumes and
# paths into the pipe namespace are never opened (a pipe of that name is served meanwhile, and
# must not be connected to); and that a drawing another program holds locked is reported as
# unreadable.
# Usage: windows_names_test.sh EMULATOR HOLD_FILE PROGRAM [ARGS...]
#   (HOLD_FILE: the helper that holds a file locked, run through EMULATOR)
set -u
holder=("$1" "$(realpath "$2")")
shift 2
source "$(dirname "$0")/../support/program_args.sh"
source "$(dirname "$0")/../support/expect.sh"
type_at_console="$(dirname "$(realpath "$0")")/type_at_console.py"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
drawing=$'&L P 1 2 L 3 4 &E\r\n'

# Lays out a fresh case directory holding the drawing at each path given.
fresh() {
  rm -rf "$work/case"
  mkdir -p "$work/case"
  local path
  for path in "$@"; do
    mkdir -p "$work/case/$(dirname "$path")"
    printf '%s' "$drawing" > "$work/case/$path"
  done
}

piped() {  # encoding name
  (cd "$work/case" && printf '%s\r\n' "$2" | iconv -f UTF-8 -t "$1" | "${program[@]}" 2>/dev/null)
}

typed() {  # name
  (cd "$work/case" && python3 "$type_at_console" "$1" "${program[@]}" 2>/dev/null)
}

# The vertex file beside the drawing at $2 (given without its extension), CR LF folded.
converted() {  # label stem
  expect "$1: vertex file" $'x\n1 2\n3 4\n.' "$(tr -d '\r' < "$work/case/$2dat" 2>&1; echo .)"
  expect "$1: SVG file" 1 "$(grep -c '<line x1="2.00"' "$work/case/$2svg" 2>&1)"
}

for encoding in CP852 CP1250 UTF-8; do
  fresh Třebíč.txt
  piped "$encoding" Třebíč.txt > /dev/null
  converted "piped in $encoding" Třebíč.
done

# Typing needs python3 for the pseudo-terminal.
if command -v python3 > /dev/null; then
  fresh Třebíč.txt
  expect "typed: console" "Zadej nazev souboru: Třebíč.txt"$'\n'"Pracuji..." "$(typed Třebíč.txt)"
  converted "typed" Třebíč.

  fresh 'Území/plan.txt'
  typed 'Území\plan.txt' > /dev/null
  converted "typed with a folder" 'Území/plan.'

  fresh 'Mapy obce/plán.txt'
  expect "typed in quotes: console" 'Zadej nazev souboru: "Mapy obce\plán.txt" rest'$'\n''Pracuji...' \
    "$(typed '"Mapy obce\plán.txt" rest')"
  converted "typed in quotes" 'Mapy obce/plán.'
else
  skip "python3 is missing: the names typed at a console are left out"
fi
fresh 'Mapy obce/plán.txt'
piped CP852 '  "Mapy obce\plán.txt"' > /dev/null
converted "piped in quotes" 'Mapy obce/plán.'

# An output name that is a link to the drawing, symbolic or hard: refused, drawing untouched.
for link in "ln -s Třebíč.txt Třebíč.svg" "ln Třebíč.txt Třebíč.dat"; do
  fresh Třebíč.txt
  (cd "$work/case" && $link)
  console=$(piped CP852 Třebíč.txt)
  expect "$link: message" "Zadej nazev souboru: !!! Vstupni soubor by byl prepsan !!!" "$console"
  expect "$link: drawing unchanged" "$drawing." "$(cat "$work/case/Třebíč.txt"; echo .)"
  expect "$link: no vertex file written" "" "$(find "$work/case" -name '*.trd')"
done

# A piped name whose console-code-page reading names a folder: the ANSI reading names the drawing.
fresh Třebíč.txt
mkdir "$work/case/$(printf 'Třebíč.txt' | iconv -t CP1250 | iconv -f CP852 -t UTF-8)"
piped CP1250 Třebíč.txt > /dev/null
converted "folder in the console's reading" Třebíč.

# The dots and spaces Windows drops from the end of a name are dropped from the outputs' names.
for name in plan.txt. '"plan.txt "'; do
  fresh plan.txt
  piped CP852 "$name" > /dev/null
  converted "name $name" plan.
done

# Device names: the missing-file message at once, and nothing written.
for name in con con.txt aux.txt COM1.txt nul Lpt1.txt; do
  fresh
  console=$(cd "$work/case" && printf '%s\r\n' "$name" | timeout 60 "${program[@]}" 2>/dev/null)
  expect "device $name: console" "Zadej nazev souboru: !!! Vstupni soubor neexistuje !!!" "$console"
  expect "device $name: files" "" "$(ls "$work/case")"
done

# A serial port, which Wine maps to a link under dosdevices: here COM7 points at a drawing, so
# that opening the port would convert it. Every form of the port's name is refused at once.
prefix=${WINEPREFIX:-$HOME/.wine}
printf '%s' "$drawing" > "$work/port.txt"
ln -sfn "$work/port.txt" "$prefix/dosdevices/com7"
for name in COM7 com7.txt '\\.\COM7' '\\?\COM7'; do
  fresh
  console=$(cd "$work/case" && printf '%s\r\n' "$name" | timeout 60 "${program[@]}" 2>/dev/null)
  expect "port $name: console" "Zadej nazev souboru: !!! Vstupni soubor neexistuje !!!" "$console"
  expect "port $name: files" "" "$(ls "$work/case")"
done
# The port as the drawing's folder: COM7 now points at a folder that holds a drawing, which no
# form of a path through the port may reach.
mkdir -p "$work/port"
printf '%s' "$drawing" > "$work/port/plan.txt"
ln -sfn "$work/port" "$prefix/dosdevices/com7"
for name in '\\.\COM7\plan.txt' '\\?\COM7\plan.txt' '\\.\com7.\plan.txt' '\\.\COM7\.\plan.txt'; do
  fresh
  console=$(cd "$work/case" && printf '%s\r\n' "$name" | timeout 60 "${program[@]}" 2>/dev/null)
  expect "port folder $name: console" "Zadej nazev souboru: !!! Vstupni soubor neexistuje !!!" "$console"
  expect "port folder $name: files" "plan.txt" "$(ls "$work/port")"
done
rm -f "$prefix/dosdevices/com7"

# Starts the holder on a file of the case folder, as coprocess `keeper`, and waits until it says
# it holds the file; `state` is what it said. A holder under Wine has now and then been seen to
# end without holding the file, so one that does is started again, three times in all.
hold() {  # holder-args...
  local input
  for _ in 1 2 3; do
    coproc keeper { cd "$work/case" && "${holder[@]}" "$@" 2>/dev/null; }
    input=${keeper[0]:-}
    state=
    [[ -n $input ]] && read -r -t 60 state <&"$input"
    state=${state%$'\r'}
    [[ $state == held ]] && return
    wait
  done
}

# Closes the holder's input, so that it lets the file go and ends; `told` is what it said then.
release() {
  local input=${keeper[1]:-} output=${keeper[0]:-}
  told=
  [[ -n $input ]] && exec {input}>&-
  [[ -n $output ]] && read -r -t 60 told <&"$output"
  told=${told%$'\r'}
  wait
}

# A bare volume, and names that climb out of a drive or a share into the pipe namespace: the
# missing-file message, with a pipe of that name served meanwhile and never connected to.
for name in '\\.\C:' '\\.\C:\..\pipe\x' '//./C:/../pipe/x' '\\.\UNC\..\pipe\x'; do
  fresh
  hold --pipe x
  console=$(cd "$work/case" && printf '%s\r\n' "$name" | timeout 60 "${program[@]}" 2>/dev/null)
  release
  expect "$name: console" "Zadej nazev souboru: !!! Vstupni soubor neexistuje !!!" "$console"
  expect "$name: the pipe" untouched "$told"
done

# An existing output another program holds: the SVG with no sharing, the vertex file shared for
# writing but not reading, so that it could be written but not read back. Refused before the
# progress word, and nothing written or created.
for held in "plan.svg" "--sharing-write plan.dat"; do
  fresh plan.txt
  printf 'old' > "$work/case/${held#* }"
  hold $held
  console=$(cd "$work/case" && printf 'plan.txt\r\n' | timeout 60 "${program[@]}" 2>/dev/null)
  expect "held $held: console" "Zadej nazev souboru: !!! Vystupni soubor nelze vytvorit !!!" "$console"
  expect "held $held: files" "${held#* } plan.txt" "$(ls "$work/case" | tr '\n' ' ' | sed 's/ $//')"
  expect "held $held: unchanged" old "$(cat "$work/case/${held#* }")"
  release
done

# A drawing another program holds, locked or still being written with others allowed to read
# it: unreadable, not missing, and not converted in part; nothing written.
for how in "" --writing; do
  fresh locked.txt
  hold $how locked.txt
  expect "held drawing $how: held" held "$state"
  console=$(cd "$work/case" && printf 'locked.txt\r\n' | timeout 60 "${program[@]}" 2>/dev/null)
  expect "held drawing $how: console" "Zadej nazev souboru: !!! Vstupni soubor nelze precist !!!" \
    "$console"
  expect "held drawing $how: files" "locked.txt" "$(ls "$work/case")"
  release
done

# A drawing named by its short name gets outputs named from its long name, and an output name
# that is the short name of another file is refused. Wine makes short names from a hash, so the
# second case is laid out with a drawing named like the other file's short name.
fresh planovani.txt
printf 'keep' > "$work/case/planovani.data"
short=$(cd "$work/case" && "${holder[@]}" --short planovani.txt | tr -d '\r')
piped CP852 "$short" > /dev/null
converted "short name $short" planovani.
rm -f "$work/case/planovani."{dat,trd,svg}
piped CP852 "\\\\?\\Z:${work//\//\\}\\case\\$short" > /dev/null
converted "short name $short after \\\\?\\" planovani.
alias=$(cd "$work/case" && "${holder[@]}" --short planovani.data | tr -d '\r')
fresh "${alias%.*}.txt"
printf 'keep' > "$work/case/planovani.data"
console=$(piped CP852 "${alias%.*}.txt")
expect "output $alias aliases another file: console" \
  "Zadej nazev souboru: !!! Vystupni soubor nelze vytvorit !!!" "$console"
expect "output $alias aliases another file: kept" keep "$(cat "$work/case/planovani.data")"

# A drawing in a folder whose path is 400 characters long converts again over its own
# outputs; a link gets outputs named after itself, and its target's neighbours are left alone.
deep=$(printf 'd%.0s' $(seq 1 200))/$(printf 'e%.0s' $(seq 1 200))
fresh "$deep/plan.txt"
for round in first second; do
  piped CP852 "${deep//\//\\}\\plan.txt" > /dev/null
  converted "long folder path, $round run" "$deep/plan."
done
fresh other/real.txt
for old in real.dat real.trd real.svg; do printf 'keep' > "$work/case/$old"; done
ln -s other/real.txt "$work/case/plan.txt"
piped CP852 plan.txt > /dev/null
converted "a link's outputs" plan.
expect "a link's outputs: real.* unchanged" "keep keep keep" \
  "$(cd "$work/case" && echo "$(cat real.dat) $(cat real.trd) $(cat real.svg)")"

# The Czech guide's loops over a folder, typed at cmd and saved in a .bat file, with the program
# on the PATH: a drawing with a space, one with Czech letters, and one whose SVG name is a folder,
# which fails without stopping the others.
guide="$(dirname "$0")/../../docs/navod.txt"
typed_loop=$(sed -n 's/^    \(for %f .*\)$/\1/p' "$guide")
batch=$(sed -n 's/^    \(@echo off\|for %%f .*\)$/\1\r/p' "$guide")
mkdir -p "$work/bin"
cp "${program[-1]}" "$work/bin/lines2svg.exe"
export WINEPATH="Z:${work//\//\\}\\bin"
for form in typed batch; do
  fresh "mapa obce.txt" Třebíč.txt chybi.txt
  mkdir "$work/case/chybi.svg"
  if [[ $form == typed ]]; then
    console=$(cd "$work/case" && printf '%s\r\n' "$typed_loop" | timeout 120 "${program[0]}" cmd 2>/dev/null)
  else
    printf '%s\n' "$batch" > "$work/case/prevod.bat"
    console=$(cd "$work/case" && timeout 120 "${program[0]}" cmd /c prevod.bat 2>/dev/null)
  fi
  expect "guide's loop, $form: converted" "./Třebíč.dat ./mapa obce.dat " \
    "$(cd "$work/case" && find . -name '*.dat' | LC_ALL=C sort | tr '\n' ' ')"
  expect "guide's loop, $form: the failing drawing named" 1 \
    "$(grep -c 'nelze vytvorit !!! chybi.txt' <<< "$console")"
done
unset WINEPATH

# A name list saved as UTF-16 with its mark, and a \\.\ path naming a disk file.
for encoding in UTF-16LE UTF-16BE; do
  fresh Třebíč.txt
  (cd "$work/case" && printf '\uFEFFTřebíč.txt\r\n' | iconv -f UTF-8 -t "$encoding" |
    "${program[@]}" > /dev/null 2>&1)
  converted "name list in $encoding" Třebíč.
done
fresh plan.txt
piped CP852 "\\\\.\\Z:${work//\//\\}\\case\\plan.txt" > /dev/null
converted "a \\\\.\\ path" plan.

finish windows_names
