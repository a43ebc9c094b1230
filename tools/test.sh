#!/usr/bin/env bash
# Every test on a fresh Debian machine: the native build with its tests, the
# same under AddressSanitizer and UndefinedBehaviorSanitizer, and the Windows
# build with its tests under Wine; each includes the end-to-end runs of the
# real runner and the sweep of failing writes; then the man page, the
# release packages made from those builds, and every fuzzer briefly.
# Installs what is missing first. Exits non-zero if anything failed; the
# last line counts the tests of all three runs and the fuzzers' run.

# The functions below run through step(), which shellcheck cannot follow.
# shellcheck disable=SC2317
set -uo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root" || exit 1
started=$SECONDS

if ! bash tools/install_packages.sh cmake g++ ninja-build googletest attr \
  libattr1-dev libxxhash-dev nlohmann-json3-dev g++-mingw-w64-x86-64-posix mingw-w64-tools wine wine64 xvfb \
  xdotool imagemagick clang libclang-rt-14-dev zip unzip dpkg-dev groff man-db; then
  echo "Could not install the packages the tests need."
  echo "0 passed, 1 failed"
  exit 1
fi

# A sanitizer report ends the program and so fails its test.
export ASAN_OPTIONS="halt_on_error=1:abort_on_error=0:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"

wine_prefix="$root/build-win/wineprefix"
times_record=$(mktemp)
trap 'bash cmake/wine-run.sh --prefix="$wine_prefix" --shutdown; rm -f "$times_record"' EXIT

summary=()
total_passed=0
total_failed=0

# Sets cpu_now to the CPU seconds (user + system) this script's finished
# children used. `times` must run in this shell, not in a subshell.
read_children_cpu() {
  times >"$times_record"
  cpu_now=$(tail -n 1 "$times_record" | awk '{ s = 0
    for (i = 1; i <= NF; i++) { split($i, p, "m"); sub("s", "", p[2]); s += p[1] * 60 + p[2] }
    printf "%d", s }')
}

# Runs one step, records its wall-clock and CPU time and its outcome.
step() {
  local name="$1"
  shift
  local begin=$SECONDS
  read_children_cpu
  local cpu_begin=$cpu_now
  echo
  echo "==== $name: $*"
  local status=0
  "$@" || status=$?
  local took=$((SECONDS - begin))
  read_children_cpu
  local cpu=$((cpu_now - cpu_begin))
  local outcome=ok
  [[ $status -eq 0 ]] || outcome=FAILED
  summary+=("$(printf '%-28s %-7s %4d s  (cpu %4d s)' "$name" "$outcome" "$took" "$cpu")")
  return "$status"
}

# Runs ctest in build folder $1 and adds its counts to the totals.
run_ctest() {
  local build="$1"
  local log="$build/ctest-output.txt"
  ctest --test-dir "$build" -j2 --output-on-failure --timeout 1500 2>&1 | tee "$log"
  local status=${PIPESTATUS[0]}
  local line
  line=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
  if [[ -n "$line" ]]; then
    local failed total
    failed=$(sed -E 's/.* ([0-9]+) tests? failed out of.*/\1/' <<<"$line")
    total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")
    total_passed=$((total_passed + total - failed))
    total_failed=$((total_failed + failed))
  elif [[ $status -ne 0 ]]; then
    total_failed=$((total_failed + 1))
  fi
  return "$status"
}

# Configures and builds one build folder; a failure counts as a failed test.
build() {
  local build="$1"
  shift
  if cmake -S . -B "$build" -G Ninja "$@" && cmake --build "$build" -j2; then
    return 0
  fi
  total_failed=$((total_failed + 1))
  return 1
}

# Counts a check that is one test: passed when status $1 is 0, which it
# returns.
count_outcome() {
  if [[ $1 -eq 0 ]]; then
    total_passed=$((total_passed + 1))
  else
    total_failed=$((total_failed + 1))
  fi
  return "$1"
}

# Every program the cross build makes must run on a bare Windows: it may
# import system DLLs only, never the compiler's runtime DLLs.
check_windows_imports() {
  local bad=0 exe
  for exe in build-win/*.exe; do
    local dlls
    dlls=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' | sort -u)
    echo "$exe imports: $(tr '\n' ' ' <<<"$dlls")"
    if grep -Eiq '^(lib|mingw|msvcp|vcruntime)' <<<"$dlls"; then
      echo "FAILED: $exe needs a runtime DLL that Windows does not ship"
      bad=1
    fi
  done
  count_outcome "$bad"
}

# Optimised and unoptimised builds both compile with -Werror: some warnings
# appear only with optimisation, and the demo makes a native release build.
rm -f build/ctest-output.txt build-asan/ctest-output.txt build-win/ctest-output.txt
status=0
if step "native build" build build -DCMAKE_BUILD_TYPE=Release; then
  step "native tests" run_ctest build || status=1
else
  status=1
fi
if step "sanitizer build" build build-asan -DCMAKE_BUILD_TYPE=Debug -DQUARN_SANITIZE=ON; then
  step "sanitizer tests" run_ctest build-asan || status=1
else
  status=1
fi
if step "windows cross build" build build-win -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake; then
  step "windows imports" check_windows_imports || status=1
  step "windows tests under wine" run_ctest build-win || status=1
else
  status=1
fi

# The man page renders cleanly and names every command and option of the
# runner's help.
check_man_page() {
  bash tools/check_man_page.sh --quarn build/quarn
  count_outcome $?
}
[[ -x build/quarn ]] && step "man page" check_man_page || status=1

# The release packages, made from the release builds above and checked as a
# player meets them.
check_release() {
  bash tools/package_release.sh --native-build build --windows-build build-win \
    --out build/release-packages &&
    bash tools/check_release.sh --out build/release-packages --wine-prefix "$wine_prefix"
  count_outcome $?
}
if [[ -x build/quarn && -f build-win/quarn.exe ]]; then
  step "release packages" check_release || status=1
fi

# Every fuzzer for a short while, so that they keep building and running;
# tools/fuzz.sh SECONDS runs them for longer.
run_fuzzers() {
  bash tools/fuzz.sh 10
  count_outcome $?
}
step "fuzzers, 10 s each" run_fuzzers || status=1

echo
echo "==== Summary"
printf '%s\n' "${summary[@]}"
if prefix_time=$(grep -Eo 'wine_prefix_setup [ .]*Passed +[0-9.]+ sec' \
  build-win/ctest-output.txt 2>/dev/null); then
  echo "  of which Wine prefix set-up: ${prefix_time##*Passed }"
fi
printf '%-28s         %4d s\n' "total" "$((SECONDS - started))"
if [[ $status -ne 0 && $total_failed -eq 0 ]]; then
  total_failed=1
fi
echo "$total_passed passed, $total_failed failed"
exit "$status"
