#!/usr/bin/env bash
# vyr.exe under Wine with accented arguments and paths, its standard output piped to a
# file. Each case of CASES (fields separated by "|"): exit code, a part of what vyr writes,
# then the arguments; {dir} is a folder with an accent in its name that holds "mage é.txt",
# "code é.txt" (a plain list with a warning) and "Vyr dégats é.dat".
# Usage: vyr_exe_test.sh WINE_RUN VYR_EXE DATA_FILE CASES
set -uo pipefail
wine_run=$1 vyr=$2 data=$3 cases=$4
dir=$(mktemp -d "${TMPDIR:-/tmp}/vyr-é-XXXXXX")
trap 'rm -rf "$dir"' EXIT
cp "$data" "$dir/Vyr dégats é.dat"
printf 'level = 80\n' >"$dir/mage é.txt"
printf 'B:0 1 0 0 u 1 2 3 4 ' >"$dir/code é.txt"
# Wine makes the UTF-16 command line from the arguments in the locale's encoding.
export LC_ALL=C.UTF-8
failures=0
while IFS="|" read -r -a fields; do
  [[ ${#fields[@]} -lt 3 || ${fields[0]} == \#* ]] && continue
  fields=("${fields[@]//\{dir\}/$dir}")
  code=0
  "$wine_run" "$vyr" "${fields[@]:2}" >"$dir/out" 2>"$dir/err" || code=$?
  # The standard output keeps its exact bytes: no line feed becomes CR LF.
  if [[ $code != "${fields[0]}" ]] || grep -q $'\r' "$dir/out" ||
    ! { [[ -z ${fields[1]} ]] || cat "$dir/out" "$dir/err" | grep -qF -- "${fields[1]}"; }; then
    echo "FAILED (exit $code): vyr ${fields[*]:2}" >&2
    cat "$dir/out" "$dir/err" >&2
    failures=$((failures + 1))
  fi
done <"$cases"
echo "$failures failed"
[[ $failures == 0 ]]
