#!/usr/bin/env bash
# Runs one fuzz target for QF_FUZZ_SECONDS seconds (5 when unset), starting
# from the committed seeds, and prints one line of what it did. On a crash,
# a sanitizer report, a broken property or a hang it prints the report and
# where the failing input was written, and fails.
#
# usage: run_fuzz_target.sh TARGET SEEDS FOUND ARTIFACTS
#   SEEDS      committed seed corpus (only read)
#   FOUND      folder for the inputs this and earlier runs found
#   ARTIFACTS  folder for failing inputs and the run's log
set -uo pipefail
target=$1 seeds=$2 found=$3 artifacts=$4
seconds=${QF_FUZZ_SECONDS:-5}
name=$(basename "$target")
log=$artifacts/$name.log
mkdir -p "$found" "$artifacts"

# -timeout bounds one input; the outer timeout bounds a run that stops
# making progress without one slow input (loading a huge corpus, say).
timeout --kill-after=10 $((seconds + 300)) "$target" \
    -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$artifacts/$name-" "$found" "$seeds" >"$log" 2>&1
status=$?

statistic() { sed -n "s/^stat::$1: *//p" "$log"; }
if [ $status -ne 0 ]; then
    # The report without libFuzzer's progress lines.
    grep -Ev '^#[0-9]+[[:space:]]' "$log" | tail -n 150
    [ $status -eq 124 ] && echo "$name: still running after $((seconds + 300)) s, stopped"
    echo "$name: FAILED (exit status $status); full log: $log"
    exit 1
fi
echo "$name: $(statistic number_of_executed_units) inputs in ${seconds} s," \
     "$(statistic new_units_added) new, corpus $(find "$found" -type f | wc -l) found" \
     "+ $(find "$seeds" -type f | wc -l) seeds, peak memory $(statistic peak_rss_mb) MB"
