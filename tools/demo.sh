#!/usr/bin/env bash
# The main job on a fresh Debian machine: builds the headless runner and the
# sample generator, generates a fresh sample game and the sample mod, and
# installs the mod into the game. The install log appears line by line as
# the runner writes it; the exit status is the runner's.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build-demo"

bash "$root/tools/install_packages.sh" cmake g++ ninja-build googletest attr libattr1-dev

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build "$build" -j2 --target quarn quarn-samplegen

sample="$build/sample"
rm -rf "$sample"
mkdir -p "$sample"
"$build/quarn-samplegen" game "$sample/game"
"$build/quarn-samplegen" mod "$sample/mod"

echo
echo "== quarn install --dir $sample/mod --game $sample/game"
exec "$build/quarn" install --dir "$sample/mod" --game "$sample/game"
