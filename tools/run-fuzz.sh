#!/bin/sh
# Runs each fuzz harness built in FUZZ_DIR for SECONDS on a scratch copy of its seed corpus in
# tests/fuzz/corpus (new inputs never go into the repository), one after another. Prints each
# run's last figures; on a finding, the end of its log and where the input was kept, and fails.
# usage: tools/run-fuzz.sh FUZZ_DIR SECONDS [TARGET...]
set -eu
cd "$(dirname "$0")/.."
dir=$1
seconds=$2
shift 2
targets=${*:-cheby options almanac_args render_args usplaces worldplaces server_list time_replies}
mkdir -p "$dir/logs" "$dir/findings"
# Undefined behaviour ends the run (the harnesses are built not to recover) with its stack.
export UBSAN_OPTIONS=print_stacktrace=1
status=0
for target in $targets; do
    work="$dir/corpus/$target"
    rm -rf "$work"
    mkdir -p "$work"
    cp tests/fuzz/corpus/"$target"/* "$work"/
    log="$dir/logs/$target.log"
    # Harness output (the reader's messages) is dropped; libFuzzer's and the sanitizers' is kept.
    if "$dir/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -close_fd_mask=3 -print_final_stats=1 -artifact_prefix="$dir/findings/$target-" \
        "$work" >"$log" 2>&1; then
        # The last status line has the coverage: "#runs KIND cov: N ft: N corp: ...".
        last=$(grep -E '^#[0-9]+.* cov: ' "$log" | tail -1 | sed -E 's/^(#[0-9]+)[^c]*(cov: [0-9]+ ft: [0-9]+).*/\1 \2/')
        echo "fuzz_$target: $(grep -E '^Done ' "$log" | tail -1); last $last; $(ls "$work" | wc -l) inputs in the corpus"
    else
        status=1
        echo "fuzz_$target: FAILED; the end of $log:"
        tail -n 60 "$log"
        echo "input kept in $dir/findings/; rerun with: $dir/fuzz_$target FILE"
    fi
done
exit $status
