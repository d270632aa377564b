#!/bin/sh
# Runs every fuzz target for SECONDS seconds from its seed corpus and reports
# executions per second and in all. Usage: fuzz/run.sh BUILD_DIR SECONDS
# Findings go to BUILD_DIR/findings/<target>/; the committed seeds are not touched.
set -u
build=$(cd "$1" && pwd)
seconds=$2
root=$(cd "$(dirname "$0")" && pwd)
status=0
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# Every save flushes to disk; in memory that costs nothing, and the runs see more inputs.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi
# Each target runs for a fixed time, so FUZZ_JOBS of them at once (default one per core)
# take that time together; the reports keep the targets' order.
jobs=${FUZZ_JOBS:-$(nproc 2>/dev/null || echo 1)}

fuzz_one() {
    exe=$1
    target=${exe##*/fuzz_}
    # A slower "_full" variant of a target shares its seeds.
    seeds="$root/corpus/${target%_full}"
    work="$build/work/$target"
    findings="$build/findings/$target"
    mkdir -p "$work" "$findings"
    log="$build/log-$target.txt"
    report="$build/report-$target.txt"
    # The targets change their working folder: give them absolute paths only.
    (cd "$findings" && "$exe" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2560 -malloc_limit_mb=1024 \
        -max_len=40000 -print_final_stats=1 -artifact_prefix="$findings/" "$work" "$seeds") >"$log" 2>&1
    rc=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    secs=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log" | tail -1)
    [ -n "$secs" ] && [ "$secs" -gt 0 ] || secs=$seconds
    if [ "$rc" -eq 0 ]; then
        echo "fuzz_$target: ${runs:-0} executions in ${secs} s, $(( ${runs:-0} / secs )) per second: no failure" >"$report"
    else
        {
            echo "fuzz_$target: FAILED (exit $rc) after ${runs:-?} executions; see $log and $findings"
            grep -E "^(==[0-9]+==ERROR|SUMMARY|invariant broken|.*runtime error)" "$log" | head -5
        } >"$report"
        echo "$rc" >"$build/failed-$target"
    fi
}

targets=""
for exe in "$build"/fuzz_*; do
    [ -x "$exe" ] || continue
    targets="$targets $exe"
    rm -f "$build/failed-${exe##*/fuzz_}"
done
running=0
for exe in $targets; do
    fuzz_one "$exe" &
    running=$((running + 1))
    if [ "$running" -ge "$jobs" ]; then
        wait
        running=0
    fi
done
wait
for exe in $targets; do
    target=${exe##*/fuzz_}
    cat "$build/report-$target.txt"
    [ -e "$build/failed-$target" ] && status=1
done
exit $status
