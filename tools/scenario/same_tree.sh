# Sourced by the end-to-end scripts: same_tree A B is true when the trees
# below folders A and B hold the same names, kinds, permission bits and
# bytes, the undo journal's folder at their roots left out.
same_tree() {
  local listing_a listing_b
  listing_a=$(cd "$1" && find . -path ./QuarnUndo -prune -o -printf '%p %y %m\n' | sort)
  listing_b=$(cd "$2" && find . -path ./QuarnUndo -prune -o -printf '%p %y %m\n' | sort)
  [[ "$listing_a" == "$listing_b" ]] && diff -r --exclude=QuarnUndo "$1" "$2" >/dev/null
}
