#!/usr/bin/env bash
# Runs a cross-built Windows program under Wine in a private prefix; CTest
# uses it as the cross-compiling emulator.
#
#   wine-run.sh --prefix=DIR PROGRAM [ARGS...]   run PROGRAM, pass its exit status
#   wine-run.sh --prefix=DIR --setup             only create the prefix
#   wine-run.sh --prefix=DIR --shutdown          end every Wine process of DIR
#
# The prefix is created once, under a lock, so parallel tests share it. It is
# set up for programs without a display: windows can be created but are
# never shown. Environment: QUARN_WINE_TIMEOUT (seconds a program may run,
# default 1200), QUARN_WINE_PERSIST (seconds the idle server stays, default 30).
set -euo pipefail

usage() {
  echo "usage: wine-run.sh --prefix=DIR (--setup | --shutdown | PROGRAM [ARGS...])" >&2
  exit 64
}

prefix=""
case "${1:-}" in
  --prefix=*) prefix="${1#--prefix=}"; shift ;;
  *) usage ;;
esac
[[ -n "$prefix" && $# -gt 0 ]] || usage
# Wine wants an absolute prefix.
prefix=$(realpath -m "$prefix")

export WINEPREFIX="$prefix"
export WINEDEBUG=-all
# A crashing program must end, not wait for a debugger nobody sees.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;winedbg.exe=d"
# Wine picks the ANSI code page from the locale; C.UTF-8 gives 1252.
export LC_ALL=C.UTF-8
unset DISPLAY WAYLAND_DISPLAY

ready_marker="$prefix/.quarn-prefix-ready"
setup_log="$prefix.setup.log"

# Every Wine process below gets /dev/null or a file for its standard
# streams: background processes that inherit a test runner's pipe make the
# runner wait for them.
create_prefix() {
  local started=$SECONDS
  rm -rf "$prefix"
  mkdir -p "$prefix"
  {
    timeout 600 wineboot --init &&
      timeout 120 wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f &&
      timeout 120 wineserver -w
  } </dev/null >"$setup_log" 2>&1 || {
    echo "wine-run: creating the Wine prefix $prefix failed; see $setup_log" >&2
    shutdown_prefix
    return 1
  }
  touch "$ready_marker"
  echo "wine-run: created Wine prefix $prefix in $((SECONDS - started)) s" >&2
}

ensure_prefix() {
  [[ -e "$ready_marker" ]] && return 0
  mkdir -p "$(dirname "$prefix")"
  exec 9>"$prefix.lock"
  if ! flock -w 900 9; then
    echo "wine-run: timed out waiting for the lock on $prefix" >&2
    return 1
  fi
  [[ -e "$ready_marker" ]] || create_prefix
  exec 9>&-
}

# Starts the server and Wine's own services detached, so the program run
# next finds them running. When they are already up this costs a few ms.
warm_up() {
  wineserver -p"${QUARN_WINE_PERSIST:-30}" </dev/null >/dev/null 2>&1 || true
  timeout --foreground -k 5 120 wine cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
}

shutdown_prefix() {
  [[ -d "$prefix" ]] || return 0
  wineserver -k </dev/null >/dev/null 2>&1 || true
  timeout 60 wineserver -w </dev/null >/dev/null 2>&1 || true
}

case "$1" in
  --setup)
    ensure_prefix
    ;;
  --shutdown)
    shutdown_prefix
    ;;
  *)
    ensure_prefix
    warm_up
    limit="${QUARN_WINE_TIMEOUT:-1200}"
    status=0
    timeout --foreground -k 10 "$limit" wine "$@" || status=$?
    if [[ $status -eq 124 ]]; then
      echo "wine-run: $1 did not finish within $limit s" >&2
    fi
    exit "$status"
    ;;
esac
