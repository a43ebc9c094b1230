#!/usr/bin/env bash
# Makes the release packages in out/, each ready for a player to unpack and
# run, with the player's guide (docs/GUIDE.md) as its read-me:
#   QuarnInstaller-VERSION-windows.zip       QuarnInstaller.exe, quarn.exe
#   QuarnInstaller-VERSION-linux-x86_64.tar.gz  quarn, its man page
#       both also with the screenshots, the sample mod catalogue beside the
#       programs and the sample game those mods are made for;
#   quarn_VERSION_amd64.deb                  /usr/bin/quarn and its man page
#   SHA256SUMS                               of the three
# VERSION is the one the programs were built with. By default it builds what
# it needs in build-release and build-release-win; --native-build DIR and
# --windows-build DIR take release builds that exist instead (tools/test.sh
# passes its own). Installs what is missing first.
#
#   package_release.sh [--native-build DIR] [--windows-build DIR] [--out DIR]
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

native=""
windows=""
out="$root/out"
while [[ $# -gt 0 ]]; do
  case "$1" in
    --native-build) native=$(realpath "$2"); shift 2 ;;
    --windows-build) windows=$(realpath "$2"); shift 2 ;;
    --out) out=$(realpath -m "$2"); shift 2 ;;
    *)
      echo "usage: package_release.sh [--native-build DIR] [--windows-build DIR] [--out DIR]" >&2
      exit 64
      ;;
  esac
done

bash tools/install_packages.sh cmake g++ ninja-build googletest attr libattr1-dev libxxhash-dev \
  nlohmann-json3-dev g++-mingw-w64-x86-64-posix mingw-w64-tools zip dpkg-dev

# A build folder given by the caller must be an optimised build without the
# sanitizers: that is what players get.
require_release_build() {
  local cache="$1/CMakeCache.txt"
  if ! grep -qx 'CMAKE_BUILD_TYPE:STRING=Release' "$cache" 2>/dev/null ||
    grep -qx 'QUARN_SANITIZE:BOOL=ON' "$cache"; then
    echo "package_release: $1 is not a release build" >&2
    exit 1
  fi
}

if [[ -z "$windows" ]]; then
  windows="$root/build-release-win"
  cmake -S . -B "$windows" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >/dev/null
fi
if [[ -z "$native" ]]; then
  native="$root/build-release"
  cmake -S . -B "$native" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
require_release_build "$windows"
require_release_build "$native"
cmake --build "$windows" -j2 --target QuarnInstaller quarn
cmake --build "$native" -j2 --target quarn quarn-samplegen quarn_man_page

version=$("$native/quarn" --version | awk '{ print $NF }')
windows_name="QuarnInstaller-$version-windows"
linux_name="QuarnInstaller-$version-linux-x86_64"
deb_name="quarn_${version}_amd64.deb"

# Every file, and the .deb's own records, get the time of the last commit,
# so that packaging the same builds again gives the same bytes.
epoch=$(git -C "$root" log -1 --format=%ct 2>/dev/null || date +%s)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# What both folder packages hold beside the programs: the guide as the
# read-me (its screenshots in docs/), the sample catalogue and its game.
add_player_files() {
  local stage="$1"
  mkdir -p "$stage/docs"
  sed -E 's/\]\(([A-Za-z0-9_-]+\.png)\)/](docs\/\1)/g' docs/GUIDE.md >"$stage/README.md"
  cp docs/*.png "$stage/docs/"
  "$native/quarn-samplegen" catalogue "$stage" >/dev/null
  "$native/quarn-samplegen" game "$stage/sample-game" >/dev/null
  find "$stage" -exec touch -h -d "@$epoch" {} +
}

mkdir -p "$out"
rm -f "$out/$windows_name.zip" "$out/$linux_name.tar.gz" "$out/$deb_name" "$out/SHA256SUMS"

stage="$work/$windows_name"
mkdir -p "$stage"
cp "$windows/QuarnInstaller.exe" "$windows/quarn.exe" "$stage/"
add_player_files "$stage"
(cd "$work" && find "$windows_name" | LC_ALL=C sort | zip -X -q "$out/$windows_name.zip" -@)

cmake --install "$native" --prefix "$work/installed" --strip >/dev/null
stage="$work/$linux_name"
mkdir -p "$stage"
cp "$work/installed/bin/quarn" "$stage/"
cp docs/quarn.1 "$stage/"
add_player_files "$stage"
tar -C "$work" --sort=name --owner=0 --group=0 --numeric-owner --mtime="@$epoch" \
  -czf "$out/$linux_name.tar.gz" "$linux_name"

(cd "$native" && SOURCE_DATE_EPOCH=$epoch cpack -G DEB -B "$work/cpack" >/dev/null)
cp "$work/cpack/$deb_name" "$out/"

(cd "$out" && sha256sum "$windows_name.zip" "$linux_name.tar.gz" "$deb_name" >SHA256SUMS)
echo "Wrote in $out:"
for file in "$windows_name.zip" "$linux_name.tar.gz" "$deb_name" SHA256SUMS; do
  printf '  %-44s %10d bytes\n' "$file" "$(stat -c %s "$out/$file")"
done
