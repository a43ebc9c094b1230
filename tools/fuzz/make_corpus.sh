#!/usr/bin/env bash
# Makes the fuzzers' seed corpora and the script keyword dictionary:
#
#   make_corpus.sh SAMPLEGEN OUT [REALDATA]
#
# SAMPLEGEN is the sample generator; OUT receives corpus/<fuzzer>/ and
# script.dict. The seeds are the generated sample game and mod, the files
# of a real game folder REALDATA when that folder exists (default
# ../shared/realdata/vc beside the repository), and the kept regression
# inputs. Nothing here is committed: the corpora are remade at every build.
set -euo pipefail

[[ $# -ge 2 ]] || { echo "usage: make_corpus.sh SAMPLEGEN OUT [REALDATA]" >&2; exit 64; }
samplegen=$1
out=$2
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
realdata=${3:-$root/../shared/realdata/vc}

mkdir -p "$out/corpus"
sample="$out/sample"
rm -rf "$sample"
for size in "--img-entries 8 --ide-files 2 --ide-definitions 20" ""; do
  name=game${size:+-small}
  # shellcheck disable=SC2086 # the options are words on purpose
  "$samplegen" game "$sample/$name" $size --no-backup >/dev/null
  # shellcheck disable=SC2086
  "$samplegen" mod "$sample/mod${size:+-small}" $size >/dev/null
done
"$samplegen" catalogue "$sample/catalogue" >/dev/null

# Copies every file under $2... matching the name pattern $1 into corpus $3,
# named by a hash of its bytes so that the same seed is kept once.
seed() {
  local pattern=$1 target=$2
  shift 2
  mkdir -p "$out/corpus/$target"
  local dir file
  for dir in "$@"; do
    [[ -d "$dir" ]] || continue
    while IFS= read -r -d '' file; do
      cp "$file" "$out/corpus/$target/$(sha1sum <"$file" | cut -c1-16)"
    done < <(find "$dir" -type f -iname "$pattern" -print0)
  done
}

sources=("$sample")
if [[ -d "$realdata" ]]; then
  sources+=("$realdata")
else
  echo "make_corpus: no real game folder at $realdata; generated seeds only"
fi
seed 'QuarnInstall.txt' script_fuzzer "$sample"
seed 'gta3.dir' img_directory_fuzzer "${sources[@]}"
seed 'gta_vc.dat' gta_vc_dat_fuzzer "${sources[@]}"
seed 'object.dat' object_dat_fuzzer "${sources[@]}"
seed '*.ide' ide_fuzzer "${sources[@]}"
seed '*.ipl' ipl_fuzzer "${sources[@]}"
seed '*.col' col_fuzzer "${sources[@]}"
seed 'Setup.ini' setup_ini_fuzzer "$sample"
seed 'saved.dat' saved_dat_fuzzer "$sample"
seed 'InsName.txt' ins_name_fuzzer "$sample"
# The catalogue fuzzer makes one folder per line of its input.
mkdir -p "$out/corpus/catalogue_fuzzer"
find "$sample/catalogue" -mindepth 1 -maxdepth 1 -type d -printf '%f\n' |
  sort >"$out/corpus/catalogue_fuzzer/sample-folders"
for kept in "$here"/regressions/*/; do
  [[ -d "$kept" ]] && seed '*' "$(basename "$kept")" "$kept"
done

# Every keyword of the dispatch table, as the script fuzzer's dictionary,
# and the words the game's files are made of.
{
  sed -n 's/^ *{"\([A-Z0-9_. ]*\)", M::.*/"\1"/p' "$root/run/dispatch_table.cpp"
  cat <<'WORDS'
"objs"
"tobj"
"path"
"2dfx"
"peds"
"cars"
"weap"
"hier"
"inst"
"cull"
"pick"
"end"
"IDE"
"IPL"
"COLFILE"
"SPLASH"
"COLL"
" TO "
" FROM "
"\\"
"\""
";"
".."
":"
WORDS
} >"$out/script.dict"
echo "make_corpus: $(find "$out/corpus" -type f | wc -l) seeds, $(wc -l <"$out/script.dict") dictionary words"
