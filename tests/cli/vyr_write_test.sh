#!/usr/bin/env bash
# Usage: vyr_write_test.sh VYR DATA_FILE. Under a file-size limit (a full disk, a quota) a write fails midway:
# the previous file stays byte for byte, no temporary file is left; without the limit the file is replaced whole.
set -u
vyr=$1 data=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Each case: a name, the file written (-o or --svg) and the command, which writes more than the limit of 8 KB.
check() {
    local name=$1 target=$2
    shift 2
    rm -rf "$dir/work" && mkdir "$dir/work"
    printf 'le fichier précédent\n' > "$dir/work/$target"
    cp "$dir/work/$target" "$dir/previous"
    (ulimit -f 8 && "$@") > /dev/null 2> "$dir/stderr"
    local code=$?
    [ "$code" = 2 ] || fail "$name: exit code $code under the limit, expected 2"
    cmp -s "$dir/previous" "$dir/work/$target" || fail "$name: the previous file changed"
    [ "$(ls -A "$dir/work")" = "$target" ] || fail "$name: left beside it: $(ls -A "$dir/work" | tr '\n' ' ')"
    grep -q "^vyr [a-z]* : $dir/work/$target : fichier trop grand (rien n'est écrit ; le fichier précédent reste" \
        "$dir/stderr" || fail "$name: message: $(cat "$dir/stderr")"
    "$@" > /dev/null 2> "$dir/stderr" || fail "$name: without the limit: $(cat "$dir/stderr")"
    [ "$(stat -c %s "$dir/work/$target")" -gt 8192 ] || fail "$name: not replaced whole without the limit"
    [ "$(ls -A "$dir/work")" = "$target" ] || fail "$name: left beside it: $(ls -A "$dir/work" | tr '\n' ' ')"
}

sweep=(sweep --data "$data" --index 0 --vary level=1..100000)
check sweep-o sortie.csv "$vyr" "${sweep[@]}" --csv -o "$dir/work/sortie.csv"
check sweep-svg courbe.svg "$vyr" "${sweep[@]}" --svg "$dir/work/courbe.svg"
seq 1 40000 | sed 's/^/{"index": 0, "level": /; s/$/}/' > "$dir/lines.jsonl"
check batch-o sortie.jsonl "$vyr" batch --data "$data" --json "$dir/lines.jsonl" -o "$dir/work/sortie.jsonl"

[ "$failures" = 0 ] && echo "vyr_write_test: every write kept the previous file" || exit 1
