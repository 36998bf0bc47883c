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

# A successful run: name typed, the drawing at $3 relative to the case directory, outputs at $4,
# the drawing saved with a byte-order mark in encoding $5 if given.
converts() {  # label stdin drawing-path output-stem [encoding]
  fresh
  mkdir -p "$work/case/$(dirname "$3")"
  if [[ -n "${5:-}" ]]; then
    printf '\xEF\xBB\xBF%s' "$drawing" | iconv -f UTF-8 -t "$5" > "$work/case/$3"
  else
    printf '%s' "$drawing" > "$work/case/$3"
  fi
  cp "$work/case/$3" "$work/original"
  run "$work/case" "$2"
  expect "$1: console" "$prompt$working" "$console"
  expect "$1: status" 0 "$status"
  expect "$1: vertex file" "$dat." "$(written "$work/case/$4dat")"
  expect "$1: shape file" "$trd." "$(written "$work/case/$4trd")"
  local svg
  svg=$(written "$work/case/$4svg")
  expect "$1: SVG shapes" "$svg_shapes" "$(grep 'stroke-width="2"' <<< "$svg")"
  expect "$1: SVG ends without a newline" "</svg>." "${svg: -7}"
  expect "$1: drawing untouched" "" "$(cmp "$work/original" "$work/case/$3" 2>&1)"
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
converts "a mark before the name" $'\xEF\xBB\xBF plan.txt\n' plan.txt plan.
for encoding in UTF-8 UTF-16LE UTF-16BE; do
  converts "drawing in $encoding with a mark" $'plan.txt\n' plan.txt plan. "$encoding"
done
if [[ -z "${LINES2SVG_EMULATOR:-}" ]]; then
  # Names counted in characters when they are UTF-8, in bytes otherwise.
  converts "UTF-8 name" $'mapa.\xc4\x8d\xc5\xbe\xc5\x99\n' $'mapa.\xc4\x8d\xc5\xbe\xc5\x99' mapa.
  converts "short UTF-8 name" $'sub/\xc5\xbe\xc5\x99\n' $'sub/\xc5\xbe\xc5\x99' $'sub/\xc5\xbe\xc5\x99'
  converts "name not in UTF-8" $'plan.t\xC3\xA9\xFF\n' $'plan.t\xC3\xA9\xFF' plan.t
fi

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

# An output name that holds a folder: refused before anything is written.
for output in plan.dat plan.trd plan.svg; do
  refuses "$output is a folder" $'plan.txt\n' "$cannot" plan.txt "$output/"
done

# Files that fail after they opened. These need Linux's own files, so a cross build skips them.
if [[ -z "${LINES2SVG_EMULATOR:-}" ]]; then
  unreadable='!!! Vstupni soubor nelze precist !!!'
  # Reading /proc/self/mem at offset 0 fails with EIO, as a failing disk or share would.
  fresh
  ln -s /proc/self/mem "$work/case/plan.txt"
  run "$work/case" $'plan.txt\n'
  expect "read error: console" "$prompt$working$unreadable" "$console"
  expect "read error: status" 0 "$status"

  # A vertex file that can be written but not read back: root reads anything, so the program runs
  # as nobody then.
  fresh
  printf '%s' "$drawing" > "$work/case/plan.txt"
  printf 'old' > "$work/case/plan.dat"
  chmod 0200 "$work/case/plan.dat"
  as_user=("${program[@]}")
  if [[ $(id -u) -eq 0 ]] && ! command -v setpriv > /dev/null; then
    skip "setpriv is missing (util-linux): the permission rows, run as nobody, are left out"
    as_user=()
  elif [[ $(id -u) -eq 0 ]]; then
    # nobody may not reach the build folder: the program runs from a copy in the scratch folder.
    chmod 0777 "$work" "$work/case"
    chown nobody "$work/case/plan.dat"
    cp "${program[-1]}" "$work/lines2svg" && chmod 0755 "$work/lines2svg"
    as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups -- "${program[@]:0:${#program[@]}-1}"
      "$work/lines2svg")
  fi
  if ((${#as_user[@]})); then
    console=$(cd "$work/case" && printf 'plan.txt\n' | "${as_user[@]}" 2>/dev/null)
    expect "write-only vertex file: console" "$prompt$cannot" "$console"
    expect "write-only vertex file: files" "./plan.dat ./plan.txt " "$(listing "$work/case")"
    # A shape file the user may not create in the folder: refused before anything is written.
    printf 'old' > "$work/case/plan.svg"
    chmod 0666 "$work/case/plan.dat" "$work/case/plan.svg"
    chmod 0755 "$work/case"
    [[ $(id -u) -eq 0 ]] || chmod 0555 "$work/case"
    console=$(cd "$work/case" && printf 'plan.txt\n' | "${as_user[@]}" 2>/dev/null)
    expect "shape file not creatable: console" "$prompt$cannot" "$console"
    expect "shape file not creatable: old files" "old old" \
      "$(cd "$work/case" && echo "$(cat plan.dat) $(cat plan.svg)")"
    chmod 0777 "$work/case"
    rm "$work/case/plan.svg"
    # A drawing that exists but may not be read.
    rm "$work/case/plan.dat"
    chmod 0200 "$work/case/plan.txt"
    console=$(cd "$work/case" && printf 'plan.txt\n' | "${as_user[@]}" 2>/dev/null)
    expect "unreadable drawing: console" "$prompt$unreadable" "$console"
    expect "unreadable drawing: files" "./plan.txt " "$(listing "$work/case")"
    # An existing output that may not be written (an approved plan marked read-only): refused
    # before the progress word, with all three old files unchanged.
    fresh
    chmod 0777 "$work/case"
    printf '%s' "$drawing" > "$work/case/plan.txt"
    for old in plan.dat plan.trd plan.svg; do printf 'old' > "$work/case/$old"; done
    chmod 0666 "$work/case/plan.dat" "$work/case/plan.trd"
    chmod 0444 "$work/case/plan.svg"
    console=$(cd "$work/case" && printf 'plan.txt\n' | "${as_user[@]}" 2>/dev/null)
    expect "read-only SVG: console" "$prompt$cannot" "$console"
    expect "read-only SVG: old files" "old old old" \
      "$(cd "$work/case" && echo "$(cat plan.dat) $(cat plan.trd) $(cat plan.svg)")"
  fi

  # The drawing's folder renamed, and a link to another folder put in its place, once the drawing
  # is open: the drawing is a FIFO whose writer makes the swap before it writes. The outputs land
  # beside the drawing, in the renamed folder, and nothing in the link's target.
  fresh
  mkdir -p "$work/case/proj/sub" "$work/case/elsewhere"
  mkfifo "$work/case/proj/sub/plan.txt"
  (cd "$work/case" && exec 3> proj/sub/plan.txt && mv proj/sub proj/moved &&
    ln -s ../elsewhere proj/sub && printf '%s' "$drawing" >&3) &
  run "$work/case" $'proj/sub/plan.txt\n'
  wait
  expect "folder swapped: console" "$prompt$working" "$console"
  expect "folder swapped: vertex file" "$dat." "$(written "$work/case/proj/moved/plan.dat")"
  expect "folder swapped: shape file" "$trd." "$(written "$work/case/proj/moved/plan.trd")"
  expect "folder swapped: SVG" "</svg>" "$(tail -c 6 "$work/case/proj/moved/plan.svg")"
  expect "folder swapped: the link's target" "" "$(listing "$work/case/elsewhere")"

  # The old SVG moved to another folder while pass 1 reads the drawing, a FIFO whose writer
  # moves it once the program has read its first bytes: the moved file keeps what it held, and
  # nothing is written where it now lies.
  fresh
  mkdir "$work/case/archive"
  printf 'old' > "$work/case/plan.svg"
  mkfifo "$work/case/plan.txt"
  (cd "$work/case" && exec 3> plan.txt && printf '%200000s' '' >&3 &&
    mv plan.svg archive/plan-2025.svg && printf '%s' "$drawing" >&3) &
  run "$work/case" $'plan.txt\n'
  wait
  expect "SVG moved away: console" "$prompt$working$cannot" "$console"
  expect "SVG moved away: moved file" old "$(cat "$work/case/archive/plan-2025.svg")"
  expect "SVG moved away: files" "./archive ./archive/plan-2025.svg ./plan.dat ./plan.trd ./plan.txt " \
    "$(listing "$work/case")"

  # Links, special files and limits. $2 sets the case up and may set a limit for the run; the
  # drawing is plan.txt and plan.dat holds "old" unless $2 changes that. Expected: the console
  # after the prompt, and the start of plan.dat afterwards.
  linked() {  # label setup console plan.dat
    fresh
    printf '%s' "$drawing" > "$work/case/plan.txt"
    printf 'old' > "$work/case/plan.dat"
    console=$(cd "$work/case" && eval "$2" && printf 'plan.txt\n' | timeout 20 "${program[@]}" 2>/dev/null)
    status=$?
    expect "$1: console" "$prompt$3" "$console"
    expect "$1: status" 0 "$status"
    local dat="$work/case/plan.dat"
    expect "$1: plan.dat" "$4" "$(if [[ -p "$dat" ]]; then echo FIFO; elif [[ ! -e "$dat" ]]; then
      echo absent; else head -c 3 "$dat"; fi)"
  }
  linked "shape file linked to the vertex file" "ln -s plan.dat plan.trd" "$cannot" old
  # Every output is claimed, so one that is a link to the drawing is told whatever the others are.
  linked "shape file a folder, SVG a link to the drawing" "mkdir plan.trd; ln -s plan.txt plan.svg" \
    "$overwrite" old
  linked "SVG file hard-linked to the vertex file" "ln plan.dat plan.svg" "$cannot" old
  linked "SVG file a link to nowhere" "rm plan.dat; ln -s plan.dat plan.svg" "$cannot" absent
  # Outputs that are not plain files of their own: refused before anything is written, and the
  # file met is unchanged.
  linked "vertex file a link to another folder" \
    "mkdir other && printf own > other/f && rm plan.dat && ln -s other/f plan.dat" "$cannot" own
  linked "vertex file a hard link to another folder" "mkdir other && ln plan.dat other/f" \
    "$cannot" old
  linked "vertex file a FIFO" "rm plan.dat; mkfifo plan.dat" "$cannot" FIFO
  linked "vertex file linked to /dev/null" "rm plan.dat; ln -s /dev/null plan.dat" "$cannot" ""
  linked "shape file linked to /dev/zero" "ln -s /dev/zero plan.trd" "$cannot" old
  linked "vertex file linked to a FIFO drawing" "rm plan.txt; mkfifo plan.txt; ln -sf plan.txt \
    plan.dat; (timeout 20 sh -c 'echo \&L P 1 2 \&E > plan.txt' > /dev/null &)" "$overwrite" FIFO
  vertices=$(printf ' L %s 1' $(seq 100000 100300))
  linked "file-size limit" "printf '&L%s &E' '$vertices' > plan.txt; ulimit -f 1" \
    "$working$cannot" "x"$'\n'"1"

  # A console whose reader has gone: the conversion goes on and ends with status 0.
  fresh
  printf '%s' "$drawing" > "$work/case/plan.txt"
  (cd "$work/case" && printf 'plan.txt\n' | "${program[@]}" 2>/dev/null | (exec 0<&-); \
    echo "${PIPESTATUS[1]}" > "$work/status")
  expect "console reader gone: status" 0 "$(cat "$work/status")"
  expect "console reader gone: SVG file" "</svg>" "$(tail -c 6 "$work/case/plan.svg")"
fi

# The README's recipe for a folder of drawings, run as it stands, with the program on PATH: it
# carries on past the drawing that fails.
if [[ -z "${LINES2SVG_EMULATOR:-}" ]]; then
  fresh
  mkdir "$work/bin"
  printf '#!/bin/sh\nexec %s "$@"\n' "$(printf '%q ' "${program[@]}")" > "$work/bin/lines2svg"
  chmod +x "$work/bin/lines2svg"
  printf '%s' "$drawing" > "$work/case/a.txt"
  printf '%s' "$drawing" > "$work/case/c.txt"
  mkdir "$work/case/b.txt"
  printf '%s' "$drawing" > "$work/case/d e.txt"
  recipe=$(sed -n '/^### POSIX shell/,/^```$/p' "$(dirname "$0")/../../README.md" | sed '1,/^```sh$/d;$d')
  console=$(cd "$work/case" && PATH="$work/bin:$PATH" sh -c "$recipe" 2>&1)
  expect "folder recipe: console" "a.txt: $working"$'\n'"b.txt: $missing"$'\n'"c.txt: $working"$'\n'"d e.txt: skipped, its name holds a space" "$console"
  expect "folder recipe: SVG files" "./a.svg ./c.svg " "$(cd "$work/case" && find . -name '*.svg' | sort | tr '\n' ' ')"
fi

# Input that never ends names no file, and the wait after the message ends too.
endless() {  # label command
  fresh
  console=$(cd "$work/case" && eval "$2" | timeout 20 "${program[@]}" 2>/dev/null)
  status=$?
  expect "$1: console" "$prompt$missing" "$console"
  expect "$1: status" 0 "$status"
}
endless "endless NUL bytes" "cat /dev/zero"
endless "endless line" "yes x | tr -d '\n'"
endless "endless blank lines" "yes ''"

# Short of memory, from too tight to enough: never a crash, never a drawing lost, and every old
# output either untouched or written whole. $2 sets the shortage up for the run. Below some limit
# the loader or the C++ runtime cannot start, and no prompt shows; those runs are passed over.
starved() {  # label setup
  fresh
  printf '%s' "$drawing" > "$work/case/plan.txt"
  printf 'old' > "$work/case/plan.dat"
  printf 'old' > "$work/case/plan.svg"
  console=$(cd "$work/case" && eval "$2" && printf 'plan.txt\n' | "${program[@]}" 2>/dev/null)
  status=$?
  [[ "$console" == "$prompt"* ]] || return 0
  case "${console#"$prompt"}" in
    "$working" | "$out_of_memory" | "$working$out_of_memory") ;;
    *) expect "$1: console" "a known message" "$console" ;;
  esac
  expect "$1: status" 0 "$status"
  expect "$1: drawing" "" "$(printf '%s' "$drawing" | cmp - "$work/case/plan.txt" 2>&1)"
  local dat_now svg_now
  dat_now=$(cat "$work/case/plan.dat"; echo .)
  svg_now=$(cat "$work/case/plan.svg")
  [[ "$dat_now" == "old." || "$dat_now" == "$dat." ]] || expect "$1: plan.dat" "old or whole" "$dat_now"
  [[ "$svg_now" == old || "$svg_now" == *"</svg>" ]] || expect "$1: plan.svg" "old or whole" "$svg_now"
  # Again with the console's reader gone.
  printf 'old' > "$work/case/plan.svg"
  status=$(cd "$work/case" && eval "$2" && printf 'plan.txt\n' | "${program[@]}" 2>/dev/null |
    (exec 0<&-); echo "${PIPESTATUS[1]}")
  [[ "$status" != 134 && "$status" != 141 ]] || expect "$1, reader gone: status" 0 "$status"
  svg_now=$(cat "$work/case/plan.svg")
  [[ "$svg_now" == old || "$svg_now" == *"</svg>" ]] ||
    expect "$1, reader gone: plan.svg" "old or whole" "$svg_now"
}

if [[ ${#program[@]} -eq 1 ]]; then
  # A drawing that exists, with no descriptor left to open it by (stdin, stdout, stderr and the
  # folder take the four): unreadable, not missing. A sanitizer's runtime needs descriptors of its
  # own and cannot start; with no prompt shown, the run is passed over.
  fresh
  printf '%s' "$drawing" > "$work/case/plan.txt"
  printf 'plan.txt\n' > "$work/name"
  console=$(cd "$work/case" && exec < "$work/name" 2> /dev/null && ulimit -n 4 && exec "${program[@]}")
  if [[ -n "$console" ]]; then
    expect "no descriptors left: console" "$prompt!!! Vstupni soubor nelze precist !!!" "$console"
    expect "no descriptors left: files" "./plan.txt " "$(listing "$work/case")"
  fi

  out_of_memory='!!! Nedostatek pameti !!!'
  for ((limit = 4000; limit <= 12000; limit += 16)); do
    starved "memory $limit KiB" "ulimit -v $limit"
  done
  # An allocator that fails from its nth call on, for every n up to a run that needs no more.
  console=
  if cc -shared -fPIC -o "$work/failing_malloc.so" -x c - -ldl 2> /dev/null <<'EOF'
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <stdlib.h>
#include <unistd.h>
static long calls;
void *malloc(size_t size) {
  static void *(*real)(size_t);
  static long failFrom = -1;
  if (real == NULL) {
    real = (void *(*)(size_t))dlsym(RTLD_NEXT, "malloc");
    const char *from = getenv("FAIL_MALLOC_FROM");
    failFrom = from != NULL ? atol(from) : -1;
  }
  if (failFrom >= 0 && ++calls >= failFrom) {
    errno = ENOMEM;
    return NULL;
  }
  return real(size);
}
/* File calls that fail as the environment says, on every file but the standard streams: a read
   with errno FAIL_READ_ERRNO, a close (after closing) with FAIL_CLOSE_ERRNO. */
ssize_t read(int fd, void *to, size_t size) {
  static ssize_t (*real)(int, void *, size_t);
  if (real == NULL) real = (ssize_t (*)(int, void *, size_t))dlsym(RTLD_NEXT, "read");
  const char *error = getenv("FAIL_READ_ERRNO");
  if (error != NULL && fd > 2) {
    errno = atoi(error);
    return -1;
  }
  return real(fd, to, size);
}
int close(int fd) {
  static int (*real)(int);
  if (real == NULL) real = (int (*)(int))dlsym(RTLD_NEXT, "close");
  const int result = real(fd);
  const char *error = getenv("FAIL_CLOSE_ERRNO");
  if (error != NULL && fd > 2 && result == 0) {
    errno = atoi(error);
    return -1;
  }
  return result;
}
EOF
  then
    # A sanitizer's runtime must be loaded first, and refuses the shim: then it is not run.
    starved "a failing allocator that never fails" "export LD_PRELOAD=$work/failing_malloc.so"
  else
    skip "cc could not build the failing-call shim: the rows with failing allocations and file calls are left out"
  fi
  if [[ "$console" == "$prompt$working" ]]; then
    for ((n = 1; n < 5000; n++)); do
      starved "malloc failing from call $n" \
        "export LD_PRELOAD=$work/failing_malloc.so FAIL_MALLOC_FROM=$n"
      [[ "$console" != "$prompt$working" ]] || break
    done
    expect "a failing allocator: a run with enough calls" "$prompt$working" "$console"
    # The system out of memory in a read of the drawing, and a close that reports written bytes
    # lost, as a network share does: each gets its message, and the old vertex file is kept.
    linked "ENOMEM from a read" "export LD_PRELOAD=$work/failing_malloc.so FAIL_READ_ERRNO=12" \
      "$working$out_of_memory" old
    linked "EIO from a close" "export LD_PRELOAD=$work/failing_malloc.so FAIL_CLOSE_ERRNO=5" \
      "$working$cannot" "x"$'\n'"1"
  fi
fi

finish end_to_end
