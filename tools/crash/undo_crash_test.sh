#!/usr/bin/env bash
# Kills a real install of the sample mod into a 1 GiB sample game (6,000
# archive entries; the mod replaces and deletes early entries, so nearly the
# whole archive moves in place) with SIGKILL at many moments spread over the
# run, and checks after each that `quarn undo` gives back the game exactly
# as it was: every name, kind, permission and byte.
#
#   undo_crash_test.sh --quarn PROGRAM --samplegen PROGRAM [--work DIR]
#                      [--points N] [--megabytes M]
#
# Prints, for each kill, the moment and the step the log had reached, and a
# summary; exits 0 only when every undo gave back the game.
set -uo pipefail

quarn="" samplegen="" work="${TMPDIR:-/tmp}/quarn-crash-test" points=40
megabytes=1024
usage() {
  echo "usage: undo_crash_test.sh --quarn PROGRAM --samplegen PROGRAM [--work DIR] [--points N] [--megabytes M]" >&2
  exit 64
}
while [[ $# -gt 0 ]]; do
  case "$1" in
    --quarn) quarn=$(realpath "${2:-}"); shift 2 || usage ;;
    --samplegen) samplegen=$(realpath "${2:-}"); shift 2 || usage ;;
    --work) work="${2:-}"; shift 2 || usage ;;
    --points) points="${2:-}"; shift 2 || usage ;;
    --megabytes) megabytes="${2:-}"; shift 2 || usage ;;
    *) usage ;;
  esac
done
[[ -x "$quarn" && -x "$samplegen" ]] || usage

# Names, kinds and permissions, then a hash of every file's bytes; the undo
# journal's own folder left out.
tree_state() {
  (cd "$1" && find . -path ./QuarnUndo -prune -o -printf '%p %y %m %s\n' | sort &&
    find . -path ./QuarnUndo -prune -o -type f -print0 | sort -z |
    xargs -0 md5sum)
}

# The step the partial log shows.
step_reached() {
  local log=$1
  if [[ ! -s "$log" ]]; then echo "before the first line"
  elif grep -aq 'All done' "$log"; then echo "after the run"
  elif grep -aq 'Rebuilding done' "$log"; then echo "after the rebuild"
  elif grep -aq 'Filling in objects' "$log"; then echo "filling in the archive"
  elif grep -aq 'Rebuilding IMG' "$log"; then echo "moving the archive's data"
  else echo "editing the lists"; fi
}

rm -rf "$work"
mkdir -p "$work"
cd "$work" || exit 1
options=(--img-entries 6000 --img-megabytes "$megabytes" --no-backup)
echo "generating a ${megabytes} MiB sample game..."
if ! "$samplegen" game game "${options[@]}" >/dev/null ||
  ! "$samplegen" mod mod "${options[@]}" >/dev/null; then
  echo "FAILED: the sample generator"
  exit 1
fi
sync
tree_state game >before.txt

# One whole run first, timed, then undone: the kills spread over its length.
start=$(date +%s.%N)
"$quarn" install --dir mod --game game </dev/null >/dev/null 2>&1
finished=$(date +%s.%N)
run_seconds=$(echo "$finished - $start" | bc -l)
"$quarn" undo --game game >/dev/null 2>undo-err.txt || { cat undo-err.txt; exit 1; }
if ! tree_state game | cmp -s - before.txt; then
  echo "FAILED: undoing the whole run did not give back the game"
  exit 1
fi
printf 'a whole run takes %.2f s; killing it at %d moments\n' "$run_seconds" "$points"

failed=0
declare -A steps=()
for ((i = 1; i <= points; i++)); do
  delay=$(echo "$run_seconds * $i / ($points + 1)" | bc -l)
  rm -f mod/QuarnInstall-log.txt
  "$quarn" install --dir mod --game game </dev/null >/dev/null 2>&1 &
  pid=$!
  sleep "$delay"
  kill -KILL "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  step=$(step_reached mod/QuarnInstall-log.txt)
  steps[$step]=$((${steps[$step]:-0} + 1))
  undo_status=0
  "$quarn" undo --game game >undo-out.txt 2>undo-err.txt || undo_status=$?
  if [[ $undo_status -eq 0 ]] && tree_state game | cmp -s - before.txt; then
    printf 'ok: killed at %.2f s (%s); undo gave back the game\n' "$delay" "$step"
  else
    printf 'FAILED: killed at %.2f s (%s); undo exited %d\n' "$delay" "$step" "$undo_status"
    cat undo-out.txt undo-err.txt
    failed=$((failed + 1))
    break
  fi
done

echo "kills by step reached:"
for step in "${!steps[@]}"; do echo "  $step: ${steps[$step]}"; done
echo "$((points - failed)) of $points kill points undone exactly"
rm -rf "$work"
[[ $failed -eq 0 ]]
