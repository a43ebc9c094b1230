#!/usr/bin/env bash
# End-to-end check of the headless runner: installs the generated sample mod
# into a freshly generated sample game and checks what a user and a mod
# author rely on: the exit status, the log printed on stdout being the log
# file byte for byte, the closing banner, and the usage errors. A dry run of
# the same install comes first (see dry_run_check.sh).
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

rm -rf "$work"
mkdir -p "$work"
cd "$work" || exit 1

if ! run "$samplegen" game game </dev/null >samplegen.txt 2>&1 ||
  ! run "$samplegen" mod mod </dev/null >>samplegen.txt 2>&1; then
  cat samplegen.txt
  echo "FAILED: the sample generator did not make the game and the mod"
  exit 1
fi

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

mkdir -p not-a-game
expect_usage_error "install without --game or --scripted" install --dir mod
expect_usage_error "--game on a folder without gta-vc.exe" \
  install --dir mod --game not-a-game
expect_usage_error "--game on a folder that does not exist" \
  install --dir mod --game no-such-folder
expect_usage_error "an unknown command" frobnicate

echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
