#!/usr/bin/env bash
# run_target.sh TARGET WORK SEED_DIR... : runs one libFuzzer target for TAVO_FUZZ_SECONDS seconds
# (30 when unset), growing the corpus in WORK from the seed folders that exist. A crash, a leak,
# a sanitizer report, a broken invariant, an input slower than 25 s or one that needs more than
# 2 GB fails the run; the input that caused it is kept beside WORK as <target>-crash-... and the
# whole output as <target>.log.
set -uo pipefail
target=$1
work=$2
shift 2
seconds=${TAVO_FUZZ_SECONDS:-30}
mkdir -p "$work"
seeds=()
for dir in "$@"; do
    [ -d "$dir" ] && seeds+=("$dir")
done
name=$(basename "$target")
log="$(dirname "$work")/$name.log"
max_len=${TAVO_FUZZ_MAX_LEN:+-max_len=$TAVO_FUZZ_MAX_LEN}
"$target" -max_total_time="$seconds" -timeout=25 -rss_limit_mb=2048 -print_final_stats=1 $max_len \
    -artifact_prefix="$(dirname "$work")/$name-" "$work" "${seeds[@]}" >"$log" 2>&1
status=$?
if [ "$status" -ne 0 ]; then
    grep -v '^qt\.' "$log" | tail -n 80
fi
grep -E '^stat::(number_of_executed_units|new_units_added|peak_rss_mb)' "$log"
exit "$status"
