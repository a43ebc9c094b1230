#!/usr/bin/env bash
# Checks the release packages that tools/package_release.sh wrote, as a
# player would meet them: each is unpacked in an empty folder and the sample
# install runs from there (the Linux runner natively with nothing of the
# build machine's, quarn.exe under Wine), the sample game is put
# back by undo, the Linux runner needs no library beyond the C library, the
# versions agree, the .deb holds the runner and its man page and dpkg
# installs it into an empty root, and SHA256SUMS matches. Prints a line per problem and "release check: ok" at the end;
# exits 0 when all is well, 1 otherwise.
#
#   check_release.sh [--out DIR] [--wine-prefix DIR]
set -uo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out="$root/out"
wine_prefix="$root/build-release-win/wineprefix-check"
while [[ $# -gt 0 ]]; do
  case "$1" in
    --out) out=$(realpath "$2"); shift 2 ;;
    --wine-prefix) wine_prefix=$(realpath -m "$2"); shift 2 ;;
    *)
      echo "usage: check_release.sh [--out DIR] [--wine-prefix DIR]" >&2
      exit 64
      ;;
  esac
done

# shellcheck source=tools/scenario/same_tree.sh
source "$root/tools/scenario/same_tree.sh"

problems=0
problem() {
  echo "release check: $*"
  problems=$((problems + 1))
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cd "$out" || exit 1
if ! sha256sum --quiet -c SHA256SUMS; then
  problem "SHA256SUMS does not match the packages"
fi
mapfile -t listed < <(awk '{ print $2 }' SHA256SUMS | sort)
deb=$(printf '%s\n' "${listed[@]}" | grep -E '^quarn_.*_amd64\.deb$')
version=${deb#quarn_}
version=${version%_amd64.deb}
windows_name="QuarnInstaller-$version-windows"
linux_name="QuarnInstaller-$version-linux-x86_64"
expected=$(printf '%s\n' "$windows_name.zip" "$linux_name.tar.gz" "$deb" | sort)
if [[ "$(printf '%s\n' "${listed[@]}")" != "$expected" ]]; then
  problem "SHA256SUMS lists ${listed[*]}, not the three packages of version $version"
fi
echo "release check: version $version"

# The names a folder package holds at its top, given its programs.
check_top_level() {
  local folder="$1"
  shift
  local want have
  want=$(printf '%s\n' "$@" README.md docs X1 X2 X3 x10_Last sample-game | sort)
  have=$(find "$folder" -mindepth 1 -maxdepth 1 -printf '%f\n' | sort)
  if [[ "$have" != "$want" ]]; then
    problem "$(basename "$folder") holds $(tr '\n' ' ' <<<"$have"), not $(tr '\n' ' ' <<<"$want")"
  fi
  # Every screenshot the read-me shows is in the package.
  local image
  while read -r image; do
    [[ -f "$folder/$image" ]] || problem "$(basename "$folder")/README.md shows $image, which is missing"
  done < <(grep -oE '\]\([^)]+\.png\)' "$folder/README.md" | sed -E 's/^\]\((.*)\)$/\1/')
  if grep -qiE 'cmake|ctest|tools/test\.sh' "$folder/README.md"; then
    problem "$(basename "$folder")/README.md speaks of building or testing"
  fi
}

# $1: the unpacked package folder; the rest: how to run its quarn there.
# Installs the sample catalogue into the sample game, checks the game,
# and undoes the install, which must give back the game as unpacked.
sample_install_and_undo() {
  local folder="$1"
  shift
  local name
  name=$(basename "$folder")
  cp -a "$folder/sample-game" "$work/$name-game-before"
  local status=0
  (cd "$folder" && "$@" install --game sample-game >"$work/$name-install.txt" \
    2>"$work/$name-install-errors.txt") || status=$?
  if [[ $status -ne 0 ]]; then
    problem "$name: the sample install exited with $status:"
    tail -n 5 "$work/$name-install.txt" "$work/$name-install-errors.txt"
    return
  fi
  grep -q 'All done\.' "$folder/QuarnInstall-log.txt" ||
    problem "$name: the sample install's log does not say All done."
  cmp -s "$work/$name-install.txt" "$folder/QuarnInstall-log.txt" ||
    problem "$name: what the sample install printed is not its log"
  status=0
  (cd "$folder" && "$@" check --game sample-game >"$work/$name-check.txt" 2>&1) || status=$?
  [[ $status -eq 0 ]] || problem "$name: quarn check of the installed sample game exited with $status"
  status=0
  (cd "$folder" && "$@" undo --game sample-game >"$work/$name-undo.txt" 2>&1) || status=$?
  [[ $status -eq 0 ]] || problem "$name: the undo exited with $status"
  same_tree "$folder/sample-game" "$work/$name-game-before" ||
    problem "$name: the undo did not give back the sample game as unpacked"
  echo "release check: $name: sample install, check and undo ran"
}

# The Linux package.
mkdir "$work/linux"
tar -C "$work/linux" -xzf "$linux_name.tar.gz"
linux="$work/linux/$linux_name"
check_top_level "$linux" quarn quarn.1
needed=$(readelf -d "$linux/quarn" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p' | sort)
echo "release check: the Linux quarn needs $(paste -sd ' ' - <<<"${needed:-no shared library}")"
if [[ -n "$needed" ]] &&
  grep -vqE '^(libc|libm|libpthread|libdl|librt|ld-linux-x86-64)\.so\.[0-9]+$' <<<"$needed"; then
  problem "the Linux quarn needs a library beyond the C library"
fi
# As root, the unpacked folder becomes the whole file system the runner
# sees, so that nothing of this machine's can help it; otherwise it gets an
# empty environment.
if [[ $(id -u) -eq 0 ]] && command -v chroot >/dev/null; then
  linux_quarn=(env -i "$(command -v chroot)" "$linux" /quarn)
  echo "release check: the Linux quarn runs in a root that holds only its package"
else
  linux_quarn=(env -i PATH=/usr/bin:/bin HOME="$work" "$linux/quarn")
fi
if [[ "$("${linux_quarn[@]}" --version)" != "quarn (Quarn Installer) $version" ]]; then
  problem "the Linux quarn says it is $("$linux/quarn" --version), not $version"
fi
sample_install_and_undo "$linux" "${linux_quarn[@]}"

# The Windows package under Wine; the version resources name the version.
mkdir "$work/windows"
(cd "$work/windows" && unzip -q "$out/$windows_name.zip")
windows="$work/windows/$windows_name"
check_top_level "$windows" QuarnInstaller.exe quarn.exe
for exe in QuarnInstaller.exe quarn.exe; do
  strings -el -n 3 "$windows/$exe" | grep -qx "$version" ||
    problem "$exe has no version resource of version $version"
done
wine=(bash "$root/cmake/wine-run.sh" --prefix="$wine_prefix")
if [[ "$("${wine[@]}" "$windows/quarn.exe" --version | tr -d '\r')" != "quarn (Quarn Installer) $version" ]]; then
  problem "quarn.exe does not say it is version $version"
fi
sample_install_and_undo "$windows" "${wine[@]}" ./quarn.exe
"${wine[@]}" --shutdown

# The Debian package: its fields, its files, and the runner it installs.
for field in Package:quarn Version:"$version" Architecture:amd64; do
  have=$(dpkg-deb -f "$deb" "${field%%:*}")
  [[ "$have" == "${field#*:}" ]] || problem "$deb: ${field%%:*} is $have, not ${field#*:}"
done
depends=$(dpkg-deb -f "$deb" Depends)
echo "release check: $deb depends on ${depends:-nothing}"
if [[ -n "$depends" ]] && grep -qvE '^libc6( \(>= [0-9.]+\))?$' <<<"$depends"; then
  problem "$deb depends on more than libc6: $depends"
fi
files=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $NF }' | sort)
want=$(printf '%s\n' ./usr/bin/quarn ./usr/share/man/man1/quarn.1.gz | sort)
[[ "$files" == "$want" ]] || problem "$deb holds $(tr '\n' ' ' <<<"$files"), not $(tr '\n' ' ' <<<"$want")"
# dpkg installs it into an empty root of its own, with a package database
# there, and then verifies what it installed.
deb_root="$work/deb-root"
mkdir -p "$deb_root/var/lib/dpkg/info" "$deb_root/var/lib/dpkg/updates"
touch "$deb_root/var/lib/dpkg/status" "$deb_root/var/lib/dpkg/available"
dpkg=(dpkg --root="$deb_root" --log=/dev/null --force-not-root)
if ! "${dpkg[@]}" -i "$deb" >"$work/dpkg.txt" 2>&1 || ! "${dpkg[@]}" --verify quarn; then
  problem "dpkg could not install $deb into an empty root:"
  cat "$work/dpkg.txt"
fi
[[ "$(env -i "$deb_root/usr/bin/quarn" --version)" == "quarn (Quarn Installer) $version" ]] ||
  problem "the packaged /usr/bin/quarn does not say it is version $version"
if ! cmp -s <(zcat "$deb_root/usr/share/man/man1/quarn.1.gz") "$linux/quarn.1"; then
  problem "the man pages of the .deb and of the Linux package differ"
fi
warnings=$(zcat "$deb_root/usr/share/man/man1/quarn.1.gz" | groff -ww -man -Tutf8 2>&1 >/dev/null)
[[ -z "$warnings" ]] || problem "the packaged man page renders with warnings: $warnings"

if [[ $problems -ne 0 ]]; then
  echo "release check: $problems problem(s)"
  exit 1
fi
echo "release check: ok"
