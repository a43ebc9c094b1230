#!/usr/bin/env bash
# Makes the release package: out/QuarnInstaller-1.1.zip holding
# QuarnInstaller.exe and quarn.exe (cross-built, release), the README, the
# sample mod catalogue (X1, X2, X3, x10_Last beside the installer, so the
# folder is ready to run) and the sample game those mods are made for.
# Installs what is missing first.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
bash tools/install_packages.sh cmake g++ ninja-build googletest attr libattr1-dev libxxhash-dev nlohmann-json3-dev \
  g++-mingw-w64-x86-64-posix mingw-w64-tools zip

cmake -S . -B build-release-win -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >/dev/null
cmake --build build-release-win -j2 --target QuarnInstaller quarn
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-release -j2 --target quarn-samplegen

name=QuarnInstaller-1.1
stage="out/$name"
rm -rf "$stage" "out/$name.zip"
mkdir -p "$stage"
cp build-release-win/QuarnInstaller.exe build-release-win/quarn.exe README.md "$stage/"
mkdir -p "$stage/docs"
cp docs/*.png "$stage/docs/" 2>/dev/null || true
build-release/quarn-samplegen catalogue "$stage"
build-release/quarn-samplegen game "$stage/sample-game"
(cd out && zip -qr "$name.zip" "$name")
echo "Wrote out/$name.zip:"
unzip -l "out/$name.zip" | tail -n 1
