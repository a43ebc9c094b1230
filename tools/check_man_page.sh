#!/usr/bin/env bash
# Checks the man page of quarn against groff and against the program:
#
#   bash tools/check_man_page.sh --quarn PATH [--page docs/quarn.1]
#
# (a) The page must render with `groff -ww -man -Tutf8` and with `man -l`
#     (MANWIDTH=80, troff warnings on; when man is present) without a word on
#     standard error, and no line of man's rendering may be wider than 80.
# (b) It must agree with `PATH --help`: every command form of the usage lines
#     appears in SYNOPSIS; every command has its subsection in COMMANDS, which
#     names every option its usage line gives; every option (--xxx) of the
#     help text appears in the page and the page names no other; every number
#     of the help text's "Exit status:" paragraph appears in EXIT STATUS, each
#     "N meaning" of it under the commands it is said of; the version the
#     page names is the program's.
# Prints one line per problem, or "man page: ok"; exits 0 when ok, 1 otherwise.
set -uo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
quarn=""
page="$root/docs/quarn.1"

usage() {
  echo "usage: bash tools/check_man_page.sh --quarn PATH [--page docs/quarn.1]" >&2
  exit 1
}

while [[ $# -gt 0 ]]; do
  case "$1" in
    --quarn) [[ $# -ge 2 ]] || usage; quarn=$2; shift 2 ;;
    --page) [[ $# -ge 2 ]] || usage; page=$2; shift 2 ;;
    -h|--help) usage ;;
    *) echo "check_man_page: unknown argument '$1'" >&2; usage ;;
  esac
done
[[ -n "$quarn" ]] || usage

problems=0
problem() {
  echo "man page: $*"
  problems=$((problems + 1))
}

if [[ ! -f "$page" ]]; then
  problem "no page at $page"
  exit 1
fi
if [[ ! -x "$quarn" ]]; then
  problem "no program at $quarn"
  exit 1
fi
if ! command -v groff >/dev/null; then
  bash "$root/tools/install_packages.sh" groff man-db >&2 || true
fi
if ! command -v groff >/dev/null; then
  problem "groff is missing (bash tools/install_packages.sh groff man-db)"
  exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# --- (a) rendering without warnings ------------------------------------------

groff -ww -man -Tutf8 "$page" >"$work/groff.out" 2>"$work/groff.err" ||
  problem "groff -ww -man -Tutf8 exited with status $?"
while IFS= read -r line; do
  problem "groff: $line"
done <"$work/groff.err"

if command -v man >/dev/null; then
  # MANROFFOPT hands -ww to man's own troff run, with man's own settings.
  MANWIDTH=80 MANROFFOPT=-ww MANPAGER=cat PAGER=cat \
    man -l "$page" >"$work/man.out" 2>"$work/man.err" ||
    problem "man -l exited with status $?"
  while IFS= read -r line; do
    problem "man -l: $line"
  done <"$work/man.err"
  # The width a terminal shows: overstrikes and escape sequences removed.
  col -bx <"$work/man.out" 2>/dev/null |
    sed -E $'s/\x1b\\[[0-9;]*m//g' >"$work/man.txt"
  # Each UTF-8 character counts one column (awk may count bytes).
  LC_ALL=C sed $'s/[\xc0-\xf7][\x80-\xbf]*/?/g' "$work/man.txt" |
    awk -v max=80 'length($0) > max {
      printf "man page: man -l at width 80: line %d is %d wide: %s\n", NR, length($0), $0
    }' >"$work/wide.txt"
  while IFS= read -r line; do
    echo "$line"
    problems=$((problems + 1))
  done <"$work/wide.txt"
fi

# --- (b) consistency with the program ----------------------------------------

if ! "$quarn" --help >"$work/help.txt" 2>"$work/help.err"; then
  problem "$quarn --help did not exit with status 0"
fi
if [[ ! -s "$work/help.txt" ]]; then
  problem "$quarn --help printed nothing"
  exit 1
fi

# The page as plain text, each paragraph on one line (nothing is broken or
# hyphenated), with typographic dashes and quotes as ASCII.
groff -man -Tutf8 -rLL=3000n -P-cbou "$page" 2>/dev/null |
  sed -e 's/‐/-/g; s/‑/-/g; s/−/-/g; s/–/-/g' \
      -e "s/‘/'/g; s/’/'/g" -e 's/“/"/g; s/”/"/g' >"$work/page.txt"

# Lines of section NAME (a heading at column 0) up to the next heading.
section() {
  awk -v name="$1" '
    /^[A-Z][A-Z ]*[A-Z]$/ { inside = ($0 == name); next }
    inside' "$work/page.txt"
}
squeeze() { tr '\n\t' '  ' | tr -s ' ' | sed 's/^ //; s/ $//'; }
escape_ere() { sed 's/[][(){}.*+?^$|\\/]/\\&/g'; }

section "SYNOPSIS" >"$work/synopsis.txt"
section "COMMANDS" >"$work/commands.txt"
section "EXIT STATUS" >"$work/exit.txt"
for name in SYNOPSIS COMMANDS "EXIT STATUS"; do
  grep -q "^$name\$" "$work/page.txt" || problem "no section $name"
done
synopsis=$(squeeze <"$work/synopsis.txt")

# The command forms of the usage lines: "usage:" up to the first blank line,
# a line beginning with "quarn" starting a form, "[" continuing it.
forms=()
while IFS= read -r line; do
  [[ -z "${line// /}" ]] && break
  line=${line#usage:}
  line=$(squeeze <<<"$line")
  if [[ "$line" == quarn* ]]; then
    forms+=("$line")
  elif [[ ${#forms[@]} -gt 0 ]]; then
    forms[-1]+=" $line"
  fi
done <"$work/help.txt"
[[ ${#forms[@]} -gt 0 ]] || problem "no usage lines in $quarn --help"

# The text of the COMMANDS subsection of `word`: from its heading (indented
# less than the body, "quarn WORD" or "WORD") to the next heading.
subsection() {
  awk -v word="$1" '
    { match($0, /^ */) }
    RLENGTH >= 1 && RLENGTH <= 5 && NF > 0 {
      heading = substr($0, RLENGTH + 1)
      n = split(heading, w, " ")
      first = (w[1] == "quarn" && n > 1) ? w[2] : w[1]
      inside = (first == word)
      if (inside) found = 1
      next
    }
    inside { print }
    END { if (!found) exit 1 }' "$work/commands.txt"
}

for form in "${forms[@]}"; do
  grep -qF -- "$form" <<<"$synopsis" || problem "SYNOPSIS lacks the form: $form"
  word=$(awk '{ print $2 }' <<<"$form")
  options=$(grep -oE -- '--[a-z][a-z0-9-]*' <<<"$form" | sort -u)
  if [[ "$word" == -* ]]; then
    scope="$work/page.txt"
    where="the page"
  else
    if ! subsection "$word" >"$work/sub.txt"; then
      problem "COMMANDS has no subsection for the command '$word'"
      continue
    fi
    scope="$work/sub.txt"
    where="COMMANDS, $word"
  fi
  for option in $options; do
    grep -qE -- "(^|[^a-z-])${option}([^a-z-]|\$)" "$scope" ||
      problem "$where does not describe $option of: $form"
  done
done

# The version the page names (its title line, --version's words) is the
# program's.
version=$("$quarn" --version | awk '{ print $NF }')
while IFS= read -r named; do
  [[ "$named" == "$version" ]] ||
    problem "the page names version $named, but quarn is version $version"
done < <(grep -oE 'Quarn Installer\)? [0-9][0-9.]*' "$page" | awk '{ print $NF }')
grep -q "^\.TH .*\"Quarn Installer $version\"" "$page" ||
  problem "the title line does not name version $version"

# Every option of the help text in the page, and no option the help lacks.
grep -oE -- '--[a-z][a-z0-9-]*' "$work/help.txt" | sort -u >"$work/help-options.txt"
grep -oE -- '(^|[^a-z-])--[a-z][a-z0-9-]*' "$work/page.txt" |
  sed -E 's/^[^-]+//' | sort -u >"$work/page-options.txt"
while IFS= read -r option; do
  grep -qxF -- "$option" "$work/page-options.txt" ||
    problem "the page never names $option, which quarn --help gives"
done <"$work/help-options.txt"
while IFS= read -r option; do
  grep -qxF -- "$option" "$work/help-options.txt" ||
    problem "the page names $option, which quarn --help does not know"
done <"$work/page-options.txt"

# The exit statuses: "Exit status:" up to the next blank line, groups
# separated by ";", each "commands N meaning, N meaning".
exit_text=$(awk '/^Exit status:/ { on = 1 } on && !NF { exit } on' "$work/help.txt" |
  squeeze)
exit_text=${exit_text#Exit status:}
exit_text=${exit_text%.}
if [[ -z "${exit_text// /}" ]]; then
  problem "no \"Exit status:\" paragraph in $quarn --help"
fi
exit_section=$(squeeze <"$work/exit.txt")
for number in $(grep -oE '(^|[^0-9A-Za-z])[0-9]+([^0-9A-Za-z]|$)' <<<"$exit_text" |
                tr -cd '0-9\n' | sort -un); do
  grep -qE "(^|[^0-9A-Za-z.])${number}([^0-9A-Za-z]|\$)" <<<"$exit_section" ||
    problem "EXIT STATUS lacks the status $number"
done

# The lines of EXIT STATUS said of `lead`: under a heading line that begins
# with it (to the next line indented as little), else the lines naming it.
exit_block() {
  local lead=$1
  awk -v lead="$lead" '
    NF == 0 { next }
    {
      match($0, /^ */); indent = RLENGTH
      text = substr($0, indent + 1)
      if (inside && indent <= depth) inside = 0
      if (!inside && index(text, lead) == 1 &&
          (length(text) == length(lead) ||
           substr(text, length(lead) + 1, 1) ~ /[ :,.]/)) {
        inside = 1; depth = indent; found = 1
      }
      if (inside) print
    }
    END { if (!found) exit 1 }' "$work/exit.txt" ||
    grep -F -- "$lead" "$work/exit.txt"
}

IFS=';' read -r -a groups <<<"$exit_text"
for group in "${groups[@]}"; do
  group=$(squeeze <<<"$group")
  [[ -z "$group" ]] && continue
  if [[ ! "$group" =~ ^([^0-9]*)([0-9].*)$ ]]; then
    problem "cannot read the exit status sentence: $group"
    continue
  fi
  lead=$(squeeze <<<"${BASH_REMATCH[1]}")
  pairs=${BASH_REMATCH[2]}
  if [[ -n "$lead" ]]; then
    block=$(exit_block "$lead" | squeeze)
    if [[ -z "$block" ]]; then
      problem "EXIT STATUS says nothing of: $lead"
      continue
    fi
  else
    block=$exit_section
  fi
  while IFS= read -r pair; do
    [[ "$pair" =~ ^([0-9]+)\ (.+)$ ]] || continue
    number=${BASH_REMATCH[1]}
    meaning=$(squeeze <<<"${BASH_REMATCH[2]}")
    pattern="(^|[^0-9A-Za-z])${number} +$(escape_ere <<<"$meaning" | sed 's/ / +/g')"
    grep -qiE -- "$pattern" <<<"$block" ||
      problem "EXIT STATUS${lead:+ of $lead} lacks \"$number $meaning\""
  done < <(sed -E 's/, ([0-9]+ )/\n\1/g' <<<"$pairs")
done

if [[ $problems -eq 0 ]]; then
  echo "man page: ok"
  exit 0
fi
exit 1
