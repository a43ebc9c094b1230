#!/usr/bin/env bash
# End-to-end check of the headless runner: installs the generated sample mod
# into a freshly generated sample game and checks what a user and a mod
# author rely on: the exit status, the log printed on stdout being the log
# file byte for byte, the closing banner, and the usage errors. Then the
# sample catalogue: its ticked mods install into a second game in folder
# number order, the unticked one is left alone, `quarn list` shows the
# rows and `quarn restore` puts the game's archive back. Each install is
# first run as a dry run (see dry_run_check.sh), and afterwards undone:
# `quarn undo` must give back the game as it was, byte for byte.
#
#   sample_install.sh --work DIR --quarn PROGRAM --samplegen PROGRAM [-- RUNNER...]
#
# RUNNER (for example the Wine wrapper) is put in front of both programs.
set -uo pipefail

scenarios=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

usage() {
  echo "usage: sample_install.sh --work DIR --quarn PROGRAM --samplegen PROGRAM [-- RUNNER...]" >&2
  exit 64
}

work="" quarn="" samplegen=""
runner=()
while [[ $# -gt 0 ]]; do
  case "$1" in
    --work) work="${2:-}"; shift 2 || usage ;;
    --quarn) quarn="${2:-}"; shift 2 || usage ;;
    --samplegen) samplegen="${2:-}"; shift 2 || usage ;;
    --) shift; runner=("$@"); break ;;
    *) usage ;;
  esac
done
[[ -n "$work" && -n "$quarn" && -n "$samplegen" ]] || usage

passed=0
failed=0
pass() { echo "ok: $*"; passed=$((passed + 1)); }
fail() { echo "FAILED: $*"; failed=$((failed + 1)); }
run() { "${runner[@]}" "$@"; }

# Runs the runner with the given arguments; leaves its exit status in
# $status, its stdout in out.bin and its stderr in err.txt.
run_quarn() {
  status=0
  run "$quarn" "$@" </dev/null >out.bin 2>err.txt || status=$?
}

expect_usage_error() {
  local what="$1"
  shift
  run_quarn "$@"
  if [[ $status -eq 64 && -s err.txt ]]; then
    pass "$what: exit 64 with a message"
  else
    fail "$what: exit $status (expected 64 with a message on stderr)"
    cat err.txt
  fi
}

# shellcheck source=same_tree.sh
source "$scenarios/same_tree.sh"

rm -rf "$work"
mkdir -p "$work"
cd "$work" || exit 1

if ! run "$samplegen" game game </dev/null >samplegen.txt 2>&1 ||
  ! run "$samplegen" mod mod </dev/null >>samplegen.txt 2>&1 ||
  ! run "$samplegen" game cgame </dev/null >>samplegen.txt 2>&1 ||
  ! run "$samplegen" catalogue setup </dev/null >>samplegen.txt 2>&1; then
  cat samplegen.txt
  echo "FAILED: the sample generator did not make the games, the mod and the catalogue"
  exit 1
fi

cp -a game game-before
cp -a cgame cgame-before
if bash "$scenarios/dry_run_check.sh" --tree game --tree mod --keep real -- \
  "${runner[@]}" "$quarn" install --dir mod --game game; then
  pass "a dry run changes nothing and prints the real run's log"
else
  fail "the dry run differs from the real run or changed the disk"
fi
status=$(cat real.status 2>/dev/null || echo 255)
mv real.out out.bin 2>/dev/null
mv real.err err.txt 2>/dev/null
log=mod/QuarnInstall-log.txt
if [[ $status -eq 0 ]]; then
  pass "install exits 0"
else
  fail "install exited $status (expected 0)"
  cat err.txt
fi
if [[ ! -f "$log" ]]; then
  fail "no log file $log"
elif cmp out.bin "$log"; then
  pass "stdout is the log file byte for byte"
else
  fail "stdout differs from the log file"
fi

hyphens=$(printf '%43s' '' | tr ' ' '-')
printf ' \r\n%s\r\n%16sAll done.\r\n%s\r\n \r\n' "$hyphens" '' "$hyphens" >banner.bin
banner_size=$(stat -c %s banner.bin)
if [[ -f "$log" ]] && tail -c "$banner_size" "$log" | cmp -s - banner.bin; then
  pass "the log ends with the All done. banner"
else
  fail "the log does not end with the All done. banner; its last lines:"
  [[ -f "$log" ]] && tail -n 6 "$log" | cat -A
fi

run_quarn undo --game game
if [[ $status -eq 0 ]] && tail -n 1 out.bin | grep -q '^Undone: 1 mod; ' &&
  same_tree game game-before; then
  pass "undo puts the sample game back as it was, byte for byte"
else
  fail "undo exited $status, or the game differs from before the install:"
  cat out.bin err.txt
fi

# A reader that stops early must not stop the installation.
mkdir -p early
for i in $(seq 1 3000); do printf 'PRINT line %d\r\n' "$i"; done >early/QuarnInstall.txt
printf 'COPY QuarnInstall.txt TO early-reader.txt\r\n' >>early/QuarnInstall.txt
run "$quarn" install --dir early --game game </dev/null 2>/dev/null | head -c 10 >/dev/null
if [[ -f game/EARLY-READER.TXT ]] &&
  tail -c "$banner_size" early/QuarnInstall-log.txt | cmp -s - banner.bin; then
  pass "a reader that stops early does not stop the installation"
else
  fail "the installation stopped with its reader"
fi

# The catalogue: X1 (the sample mod), X2 and x10_Last ticked, X3 unticked.
run_quarn list --dir setup
printf '%s\n' "[x] X1  Kiosk area (the sample mod)" "[x] X2  Road signs" \
  "[ ] X3   Night sky (unfinished, not installed by default)" \
  "[x] X10_LAST  Last touches" >list.txt
if [[ $status -eq 0 ]] && cmp -s out.bin list.txt; then
  pass "list shows the catalogue's rows in order with their ticks"
else
  fail "list exited $status with:"
  cat out.bin err.txt
fi

cp cgame/models/gta3.img original.img
if bash "$scenarios/dry_run_check.sh" --tree cgame --tree setup --keep real -- \
  "${runner[@]}" "$quarn" install --dir setup --game cgame; then
  pass "a dry run of the catalogue changes nothing and prints the real run's log"
else
  fail "the catalogue's dry run differs from the real run or changed the disk"
fi
status=$(cat real.status 2>/dev/null || echo 255)
mv real.out out.bin 2>/dev/null
mv real.err err.txt 2>/dev/null
clog=setup/QuarnInstall-log.txt
if [[ $status -eq 0 && -f "$clog" ]] && cmp -s out.bin "$clog" &&
  tail -c "$banner_size" "$clog" | cmp -s - banner.bin; then
  pass "the catalogue installs with the All done. banner, stdout the log file"
else
  fail "the catalogue install exited $status"
  cat err.txt
fi
order=$(grep -a -n -e 'Sample mod installed\.' -e '^X2 done\.' -e '^x10_Last done\.' "$clog" | cut -d: -f2 | tr -d '\r' | tr '\n' '|')
if [[ "$order" == "Sample mod installed.|X2 done.|x10_Last done.|" ]] &&
  [[ "$(tr -d '\r' <"cgame/install order.txt")" == "X10" ]]; then
  pass "the ticked mods ran in folder-number order (X1, X2, X10)"
else
  fail "mods ran in the order '$order'"
fi
if [[ ! -e "cgame/Night Sky.txt" ]] && ! grep -aq 'Night' "$clog"; then
  pass "the unticked mod was not touched"
else
  fail "the unticked mod X3 ran"
fi
if [[ ! -e setup/saved.dat ]]; then
  pass "saved.dat is written only with --save"
else
  fail "saved.dat was written without --save"
fi

run_quarn restore --game cgame
if [[ $status -eq 0 ]] && cmp -s cgame/models/gta3.img original.img &&
  cmp -s cgame/models/gta3.dir cgame/models/backup/gta3.dir &&
  tail -n 1 out.bin | grep -q '^Copied: gta3.img, gta3.dir, '; then
  pass "restore copies the backups back and lists them"
else
  fail "restore exited $status with:"
  cat out.bin
fi
run_quarn restore --game mod
if [[ $status -eq 1 ]] && [[ "$(cat out.bin)" == "Please locate your GTA install first." ]]; then
  pass "restore without backup folders asks for the game and exits 1"
else
  fail "restore without backup folders exited $status"
fi

# restore changed what the install left, so undo stops until it is forced.
run_quarn undo --game cgame
if [[ $status -eq 1 ]] && grep -q 'gta3.img' err.txt && [[ ! -s out.bin ]]; then
  pass "undo refuses files changed since the install and changes nothing"
else
  fail "undo after restore exited $status with:"
  cat out.bin err.txt
fi
run_quarn undo --game cgame --force
if [[ $status -eq 0 ]] && tail -n 1 out.bin | grep -q '^Undone: 3 mods; ' &&
  same_tree cgame cgame-before; then
  pass "undo --force puts the catalogue's game back as it was, byte for byte"
else
  fail "undo --force exited $status, or the game differs from before:"
  cat out.bin err.txt
fi

mkdir -p not-a-game
expect_usage_error "--mods naming a folder not in the catalogue" \
  install --dir setup --game cgame --mods X1,X9 --save
if [[ ! -e setup/saved.dat ]]; then
  pass "a refused call writes no saved.dat"
else
  fail "a refused call wrote saved.dat"
fi
expect_usage_error "install without --game or --scripted" install --dir mod
expect_usage_error "--game on a folder without gta-vc.exe" \
  install --dir mod --game not-a-game
expect_usage_error "--game on a folder that does not exist" \
  install --dir mod --game no-such-folder
expect_usage_error "an unknown command" frobnicate

echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
