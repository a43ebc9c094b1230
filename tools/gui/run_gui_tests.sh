#!/usr/bin/env bash
# Runs the GUI scenarios of the Windows build: its own virtual X display
# (Xvfb), its own Wine prefix set up for windows on a display without a
# window manager, sample data made fresh for every scenario, and the driver
# program for each scenario. Screenshots land in BUILD/gui-shots.
#
#   run_gui_tests.sh --build DIR [SCENARIO...]
#
# Scenarios: welcome install scripted buttons restore quit preview undo
# unfinished drive wheel (default: all);
# "bench" times the log view instead of testing.
set -uo pipefail

usage() {
  echo "usage: run_gui_tests.sh --build DIR [SCENARIO...]" >&2
  exit 64
}

build=""
while [[ $# -gt 0 ]]; do
  case "$1" in
    --build) build="${2:-}"; shift 2 || usage ;;
    -*) usage ;;
    *) break ;;
  esac
done
[[ -n "$build" ]] || usage
build=$(realpath "$build")
scenarios=("$@")
[[ ${#scenarios[@]} -gt 0 ]] ||
  scenarios=(welcome install scripted buttons restore quit preview undo unfinished drive wheel)

for program in QuarnInstaller.exe gui_driver.exe quarn-samplegen.exe quarn.exe; do
  [[ -x "$build/$program" ]] || { echo "missing $build/$program" >&2; exit 1; }
done

export WINEPREFIX="$build/wineprefix-gui"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;winedbg.exe=d"
export LC_ALL=C.UTF-8
work="$build/gui"
shots="$build/gui-shots"
rm -rf "$work"
mkdir -p "$work" "$shots"

xvfb_pid=""
watcher_pid=""
cleanup() {
  [[ -n "$watcher_pid" ]] && kill "$watcher_pid" 2>/dev/null
  wineserver -k </dev/null >/dev/null 2>&1
  [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null
}
trap cleanup EXIT

start_display() {
  Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp 5>"$work/display" \
    </dev/null >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do
    [[ -s "$work/display" ]] && break
    sleep 0.1
  done
  [[ -s "$work/display" ]] || { echo "Xvfb did not start" >&2; return 1; }
  export DISPLAY=":$(tr -d '\n' <"$work/display")"
}

# No window manager runs: unmanaged windows end dialogs at once, and the
# theme off keeps appends to the log view fast.
make_prefix() {
  [[ -e "$WINEPREFIX/.quarn-gui-ready" ]] && return 0
  rm -rf "$WINEPREFIX"
  {
    timeout 600 wineboot --init &&
      wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f &&
      wine reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\ThemeManager' \
        /v ThemeActive /d 0 /f &&
      timeout 120 wineserver -w
  } </dev/null >"$build/wineprefix-gui.log" 2>&1 || {
    echo "creating the GUI Wine prefix failed; see $build/wineprefix-gui.log" >&2
    return 1
  }
  touch "$WINEPREFIX/.quarn-gui-ready"
}

# The driver asks for a screenshot by writing SCENARIO/shot.request.
watch_screenshots() {
  while true; do
    for request in "$work"/*/shot.request; do
      [[ -e "$request" ]] || continue
      local name
      name=$(cat "$request")
      rm -f "$request"
      import -window root "$shots/$name.png" 2>/dev/null
      touch "$(dirname "$request")/shot.done"
    done
    sleep 0.05
  done
}

windows_path() {
  local path="$1"
  echo "Z:${path//\//\\}"
}

crlf() { printf '%s\r\n' "$@"; }

# make_mod INSTDIR FOLDER NAME SCRIPT-LINE...
make_mod() {
  local dir="$1/$2"
  mkdir -p "$dir"
  [[ -n "$3" ]] && crlf "$3" >"$dir/InsName.txt"
  shift 3
  crlf "$@" >"$dir/QuarnInstall.txt"
}

remember_game() {
  printf 'game path: %s\\\r\n 0 \r\n 0 \r\n 0 \r\n' "$(windows_path "$2")" >"$1/saved.dat"
}

# quarn_exe WORK ARG...: the headless runner, its output kept in WORK.
quarn_exe() {
  local dir="$1"
  shift
  timeout 120 wine "$build/quarn.exe" "$@" </dev/null >>"$dir/quarn.txt" 2>&1
}

prepare_welcome() {
  local inst="$1/inst"
  make_mod "$inst" X1 "" "PRINT hello"
  convert -size 160x220 gradient:steelblue-white BMP3:"$inst/welcome.bmp"
  crlf ">TITLE1 Welcome to the sample mods" "  >title2   Choose the mods ;comment" \
    ">OPTIONS OFF" ">SCRPATH OFF" ">PICTURE welcome.bmp" ">WELCOME TEXT START" \
    "  Read me first; please." "Second line" ">welcome text end" >"$inst/Setup.ini"
}

prepare_install() {
  local inst="$1/inst"
  make_mod "$inst" X1 "First mod" "PRINT First mod runs" 'COPY "one.txt" TO "one.txt"'
  crlf "from the first mod" >"$inst/X1/one.txt"
  make_mod "$inst" X2 "Second mod" "PRINT Second mod runs" "DIR SELECT models" \
    "IMG OPENDEF" "IMG ADD gui_new.dff" "IMG CLOSE"
  mkdir -p "$inst/X2/models"
  head -c 5000 /dev/urandom >"$inst/X2/models/gui_new.dff"
  make_mod "$inst" X3 "Unticked *** mod" "PRINT never"
  remember_game "$inst" "$1/game"
  mkdir -p "$1/second"
}

prepare_scripted() {
  make_mod "$1/inst" X1 "" "PRINT Scripted run"
}

prepare_buttons() {
  local inst="$1/inst" tree="$1/tree" n
  for n in $(seq 14); do make_mod "$inst" "X$n" "Mod $n" "PRINT $n"; done
  mkdir -p "$tree/plain" "$tree/backuponly/data/backup" \
    "$tree/backuponly/models/backup" "$tree/half/data/backup"
  touch "$tree/plain/gta-vc.exe" "$tree/half/gta-vc.exe"
  remember_game "$inst" "$tree"
  # A game with an undo journal, from an installer folder of its own.
  mkdir -p "$tree/journaled"
  touch "$tree/journaled/gta-vc.exe"
  make_mod "$1/other" X1 "" 'COPY "a.txt" TO "a.txt"'
  crlf "a" >"$1/other/X1/a.txt"
  quarn_exe "$1" install --dir "$(windows_path "$1/other")" \
    --game "$(windows_path "$tree/journaled")"
}

prepare_restore() {
  local inst="$1/inst" game="$1/game"
  make_mod "$inst" X1 "" "PRINT restore"
  remember_game "$inst" "$game"
  rm -rf "$game/models/backup" "$game/data/backup"
  mkdir -p "$game/models/backup" "$game/data/backup/maps" "$game/data/backup/paths"
  # Twenty pieces of the progress copy: "&Cancel" lands between two.
  cp "$game/models/gta3.img" "$game/models/backup/gta3.img"
  truncate -s 1000000000 "$game/models/backup/gta3.img"
  cp "$game/models/gta3.dir" "$game/models/backup/gta3.dir"
  cp "$game/data/gta_vc.dat" "$game/data/backup/gta_vc.dat"
  crlf "# placements" >"$game/data/backup/maps/x.ipl"
}

prepare_quit() {
  local inst="$1/inst" lines=() n
  lines+=("DIR SELECT models")
  for n in $(seq 1 2000); do lines+=("PRINT line $n"); done
  lines+=("IMG OPENDEF" "IMG ADD gui_long.dff" "IMG CLOSE")
  for n in $(seq 2001 2400); do lines+=('COPY "big.bin" TO "big.bin"' "PRINT line $n"); done
  lines+=("PRINT line 39999")
  make_mod "$inst" X1 "" "${lines[@]}"
  mkdir -p "$inst/X1/models"
  head -c 20000 /dev/urandom >"$inst/X1/models/gui_long.dff"
  head -c 8000000 /dev/urandom >"$inst/X1/big.bin"
  remember_game "$inst" "$1/game"
}

# X1 installed before the page opens, its file edited since; X1 and X2
# write the same file; X3 fails. The runner's dry-run reports are what the previews must show.
prepare_preview() {
  local inst="$1/inst" game
  game=$(windows_path "$1/game")
  make_mod "$inst" X1 "First mod" 'COPY "a.txt" TO "shared.txt"'
  make_mod "$inst" X2 "Second mod" 'COPY "b.txt" TO "shared.txt"' \
    "DIR SELECT models" "IMG OPENDEF" "IMG ADD gui_new.dff" "IMG CLOSE"
  make_mod "$inst" X3 "Broken *** mod" 'COPY "missing.txt" TO "gone.txt"'
  crlf "first" >"$inst/X1/a.txt"
  crlf "second" >"$inst/X2/b.txt"
  mkdir -p "$inst/X2/models"
  head -c 5000 /dev/urandom >"$inst/X2/models/gui_new.dff"
  quarn_exe "$1" install --dir "$(windows_path "$inst")" --game "$game" --mods X1
  rm -f "$inst/QuarnInstall-log.txt"
  # Edited since, so that X1 changes the file again and X2 after it.
  crlf "edited" >"$1/game/shared.txt"
  local mods
  for mods in X1,X2 X1,X2,X3; do
    quarn_exe "$1" install --dry-run --dir "$(windows_path "$inst")" \
      --game "$game" --mods "$mods" \
      --report-file "$(windows_path "$1/report-${mods//,/-}.txt")"
  done
  remember_game "$inst" "$1/game"
}

prepare_undo() {
  prepare_install "$1"
}

prepare_unfinished() {
  prepare_quit "$1"
  crlf "Long mod" >"$1/inst/X1/InsName.txt"
}

prepare_drive() {
  local inst="$1/inst"
  crlf "PRINT never" >"$inst/QuarnInstall.txt"
  convert -size 160x220 gradient:steelblue-white BMP3:"$inst/welcome.bmp"
  crlf ">TITLE1 One script" ">TITLE2 Where is the game?" ">SCRPATH OFF" \
    ">PICTURE welcome.bmp" >"$inst/Setup.ini"
  remember_game "$inst" "$1/game"
}

prepare_wheel() {
  local n
  for n in $(seq 20); do make_mod "$1/inst" "X$n" "Mod $n" "PRINT $n"; done
  remember_game "$1/inst" "$1/game"
}

prepare_bench() {
  local n lines=()
  for n in $(seq 1 10000); do lines+=("PRINT line $n"); done
  make_mod "$1/inst" X1 "" "${lines[@]}"
  remember_game "$1/inst" "$1/game"
}

# shellcheck source=../scenario/same_tree.sh
source "$(dirname "${BASH_SOURCE[0]}")/../scenario/same_tree.sh"

# The window program journals what its run changed: quarn.exe undoes it,
# and the game must be as it was before the window program ran.
undo_check() {
  local dir=$1
  timeout 120 wine "$build/quarn.exe" undo --game "$(windows_path "$dir/game")" \
    </dev/null >"$dir/undo.txt" 2>&1 && same_tree "$dir/game" "$dir/game-before"
}

start_display || exit 1
make_prefix || exit 1
watch_screenshots &
watcher_pid=$!

# One sample game, copied for every scenario.
if ! (cd "$work" && timeout 120 wine "$build/quarn-samplegen.exe" game game \
  </dev/null >samplegen.txt 2>&1); then
  echo "the sample game could not be made:" >&2
  cat "$work/samplegen.txt" >&2
  exit 1
fi

passed=0
failed=0
for scenario in "${scenarios[@]}"; do
  dir="$work/$scenario"
  mkdir -p "$dir/inst"
  cp -r "$work/game" "$dir/game"
  if ! declare -F "prepare_$scenario" >/dev/null; then
    echo "unknown scenario: $scenario" >&2
    failed=$((failed + 1))
    continue
  fi
  "prepare_$scenario" "$dir"
  cp -a "$dir/game" "$dir/game-before"
  began=$SECONDS
  if timeout -k 5 200 wine "$build/gui_driver.exe" "$scenario" \
    "$(windows_path "$build/QuarnInstaller.exe")" "$(windows_path "$dir")" </dev/null; then
    case $scenario in
      install | quit) undo_check "$dir" ;;
      # Previews change nothing; the window program's undo gives the game back.
      preview | undo | unfinished | drive) same_tree "$dir/game" "$dir/game-before" ;;
    esac
    if [[ $? -eq 0 ]]; then
      passed=$((passed + 1))
    else
      echo "FAILED: $scenario: the game is not as it was before:"
      cat "$dir/undo.txt" 2>/dev/null
      failed=$((failed + 1))
    fi
  else
    echo "FAILED: $scenario (see $dir)"
    failed=$((failed + 1))
  fi
  echo "  ($scenario took $((SECONDS - began)) s)"
  wineserver -k </dev/null >/dev/null 2>&1
done
echo "GUI scenarios: $passed passed, $failed failed"
[[ $failed -eq 0 ]]
