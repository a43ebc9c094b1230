#!/usr/bin/env bash
# Installs those of the Debian packages named as arguments that are missing.
# Runs apt-get only when something is missing, so a set-up machine is left
# alone and needs no network. Works as root, or through sudo otherwise.
set -euo pipefail

missing=()
for package in "$@"; do
  state=$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null || true)
  [[ "$state" == installed ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

as_root=()
if [[ $(id -u) -ne 0 ]]; then
  if ! command -v sudo >/dev/null; then
    echo "install_packages: not root and no sudo; please install: ${missing[*]}" >&2
    exit 1
  fi
  as_root=(sudo)
fi

echo "Installing missing packages: ${missing[*]}"
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
  apt-get install -y -q "${missing[@]}" </dev/null
