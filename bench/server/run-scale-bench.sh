#!/usr/bin/env bash
# Scale benchmark of tunova-server: for each vocabulary and catalogue size, generates the
# catalogue (once; kept in the data folder), then reports ingest time, start-to-listening time,
# index and catalogue size, server memory, and uncached searches/s with p50/p99 for 16
# connections and p50/p99 for one, with the machine's load beside them. Run by hand.
#
# usage: bench/server/run-scale-bench.sh [SIZES="10000 100000 1000000"] [VOCABULARIES="tiny zipf"]
#                                        [SECONDS=20]
# The data folder is $TUNOVA_BENCH_DATA (default /tmp/tunova-bench-data): a million-video
# catalogue with its index takes about 2 GB. The build folder is build-bench-server unless
# TUNOVA_BENCH_BUILD names another.
set -euo pipefail
cd "$(dirname "$0")/../.."
sizes="${1:-10000 100000 1000000}"
vocabularies="${2:-tiny zipf}"
seconds="${3:-20}"
build="${TUNOVA_BENCH_BUILD:-build-bench-server}"
data="${TUNOVA_BENCH_DATA:-/tmp/tunova-bench-data}"

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTUNOVA_BENCH=ON -DTUNOVA_TESTS=OFF >/dev/null
ninja -C "$build" -j2 tunova-server tunova-bench-catalogue >/dev/null

source bench/server/end-server-on-exit.sh

load() { cut -d' ' -f1 /proc/loadavg; }
# The server's CPU time so far, in clock ticks.
cpu() { awk '{print $14 + $15}' "/proc/$1/stat"; }
ticks=$(getconf CLK_TCK)
field() { sed -n "s/^$1: *//p" "$2" | head -1; }

echo "| vocabulary | videos | ingest | start to listening | RSS after load (peak) | index on disk | catalogue on disk | searches/s, 16 conn. | server CPU per search | p50 / p99, 16 conn. | p50 / p99, 1 conn. | load |"
echo "|---|---|---|---|---|---|---|---|---|---|---|---|"
for vocabulary in $vocabularies; do
    for size in $sizes; do
        dir="$data/$vocabulary-$size"
        mkdir -p "$dir"
        db="$dir/catalogue.sqlite"
        if [[ ! -s "$dir/ingest.txt" ]]; then
            rm -rf "$db" "$db-wal" "$db-shm" "$db.index"
            before=$(load)
            /usr/bin/time -f "%U %S" -o "$dir/ingest-cpu.txt" \
                "$build/bin/tunova-bench-catalogue" "$db" "$size" "$vocabulary" "$dir/paths.txt" 2>/dev/null |
                sed -n 's/.* indexed in \(.*\) s$/\1/p' >"$dir/ingest.txt"
            echo "$before" >"$dir/ingest-load.txt"
        fi
        rm -f "$dir/port"
        start=$(date +%s%N)
        "$build/bin/tunova-server" --port 0 --port-file "$dir/port" --db "$db" --cache-entries 0 \
            2>"$dir/server.log" &
        server_pid=$!
        until [[ -s "$dir/port" ]]; do sleep 0.002; done
        port=$(cat "$dir/port")
        until curl -sf -o /dev/null "http://127.0.0.1:$port/update/update_tunova.php"; do sleep 0.002; done
        listening=$((($(date +%s%N) - start) / 1000000))
        export TUNOVA_BENCH_PATHS="$dir/paths.txt"
        wrk -t1 -c1 -d2s -s bench/server/search.lua "http://127.0.0.1:$port" >/dev/null
        before=$(cpu "$server_pid")
        wrk -t2 -c16 -d"${seconds}s" --latency -s bench/server/search.lua \
            "http://127.0.0.1:$port" >"$dir/wrk16.txt"
        load16=$(load)
        used=$(($(cpu "$server_pid") - before))
        requests=$(sed -n 's/^requests: \([0-9]*\).*/\1/p' "$dir/wrk16.txt")
        per_search=$(awk -v t="$used" -v hz="$ticks" -v n="$requests" 'BEGIN {printf "%.2f", t * 1000 / hz / n}')
        wrk -t1 -c1 -d"${seconds}s" --latency -s bench/server/search.lua \
            "http://127.0.0.1:$port" >"$dir/wrk1.txt"
        rss=$(awk '/VmRSS/ {printf "%.0f", $2 / 1024}' "/proc/$server_pid/status")
        peak=$(awk '/VmHWM/ {printf "%.0f", $2 / 1024}' "/proc/$server_pid/status")
        kill "$server_pid"
        wait "$server_pid" || true
        server_pid=""
        index=$(du -sm "$db.index" | cut -f1)
        catalogue=$(du -cm "$db"* --exclude='*.index' | tail -1 | cut -f1)
        errors=$(field requests "$dir/wrk16.txt" | sed 's/.*errors: \([0-9]*\), non-2xx: \([0-9]*\)/\1+\2/')
        echo "| $vocabulary | $size | $(cat "$dir/ingest.txt") s, CPU $(awk '{printf "%.0f", $1 + $2}' "$dir/ingest-cpu.txt") s (load $(cat "$dir/ingest-load.txt")) | ${listening} ms | ${rss} MB (${peak} MB) | ${index} MB | ${catalogue} MB | $(field throughput "$dir/wrk16.txt" | cut -d' ' -f1) (errors $errors) | $per_search ms | $(field 'latency p50' "$dir/wrk16.txt") / $(field 'latency p99' "$dir/wrk16.txt") | $(field 'latency p50' "$dir/wrk1.txt") / $(field 'latency p99' "$dir/wrk1.txt") | $load16 |"
    done
done
