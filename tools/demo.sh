#!/usr/bin/env bash
# The main job on a fresh Debian machine: builds the headless runner and the
# sample generator, generates a fresh sample game and the sample setup (a
# catalogue of mods, one of them unticked), lists the catalogue and installs
# its ticked mods into the game in folder-number order. The install log
# appears line by line as the runner writes it, then the lines the sample
# mod added to the game's lists and, through the IDE and IPL editors, to its
# map files; the exit status is the runner's. The game keeps its backup
# folders, so `quarn restore` can undo it.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build-demo"

bash "$root/tools/install_packages.sh" cmake g++ ninja-build googletest attr libattr1-dev libxxhash-dev nlohmann-json3-dev

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build "$build" -j2 --target quarn quarn-samplegen

sample="$build/sample"
rm -rf "$sample"
mkdir -p "$sample"
"$build/quarn-samplegen" game "$sample/game"
"$build/quarn-samplegen" catalogue "$sample/setup"

echo
echo "== quarn list --dir $sample/setup"
"$build/quarn" list --dir "$sample/setup"
echo
echo "== quarn install --dir $sample/setup --game $sample/game"
status=0
"$build/quarn" install --dir "$sample/setup" --game "$sample/game" || status=$?

# The game's two lists as the sample mod left them: the lines it added.
echo
echo "== $sample/game/data/gta_vc.dat: the mod's lines"
grep -n -i -e 'samplemod' "$sample/game/data/gta_vc.dat" || true
echo "== $sample/game/data/object.dat: its last lines"
tail -n 5 "$sample/game/data/object.dat" | tr '\t' ' '
# The mod's own models are named sm_...; its copied IDE file aside, they
# appear in a map area's files only through the editors.
echo
echo "== lines of the mod's models in the game's map files"
(cd "$sample/game" &&
  grep -rn --include='*.ide' --include='*.ipl' '^[0-9]*, sm_' data/maps |
  grep -v '^data/maps/samplemod/') || true

# Will the game still start after the install?
echo
echo "== quarn check --game $sample/game"
"$build/quarn" check --game "$sample/game" || true
exit "$status"
