#!/usr/bin/env bash
# Index rebuild benchmark of tunova-server: for each catalogue size, removes the catalogue's
# search index and starts the server, which rebuilds it before it listens; reports the time to
# listening, the server's CPU time, its peak memory, the index's size and the machine's load.
# The catalogues are the scale benchmark's (generated once into the same data folder). Run by
# hand.
#
# usage: bench/server/run-rebuild-bench.sh [SIZES="100000 1000000"] [VOCABULARY=tiny]
set -euo pipefail
cd "$(dirname "$0")/../.."
sizes="${1:-100000 1000000}"
vocabulary="${2:-tiny}"
build="${TUNOVA_BENCH_BUILD:-build-bench-server}"
data="${TUNOVA_BENCH_DATA:-/tmp/tunova-bench-data}"

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTUNOVA_BENCH=ON -DTUNOVA_TESTS=OFF >/dev/null
ninja -C "$build" -j2 tunova-server tunova-bench-catalogue >/dev/null

source bench/server/end-server-on-exit.sh

echo "| vocabulary | videos | rebuild to listening | server CPU | peak RSS | index on disk | load before / after |"
echo "|---|---|---|---|---|---|---|"
for size in $sizes; do
    dir="$data/$vocabulary-$size"
    db="$dir/catalogue.sqlite"
    mkdir -p "$dir"
    if [[ ! -s "$db" ]]; then
        "$build/bin/tunova-bench-catalogue" "$db" "$size" "$vocabulary" "$dir/paths.txt" >/dev/null 2>&1
    fi
    rm -rf "$db.index" "$db.index.new" "$db.index.compact" "$dir/port"
    before=$(cut -d' ' -f1 /proc/loadavg)
    start=$(date +%s%N)
    "$build/bin/tunova-server" --port 0 --port-file "$dir/port" --db "$db" --cache-entries 0 \
        2>"$dir/rebuild.log" &
    server_pid=$!
    until [[ -s "$dir/port" ]]; do sleep 0.05; done
    elapsed=$((($(date +%s%N) - start) / 1000000))
    cpu=$(awk -v hz="$(getconf CLK_TCK)" '{printf "%.1f", ($14 + $15) / hz}' "/proc/$server_pid/stat")
    peak=$(awk '/VmHWM/ {printf "%.0f", $2 / 1024}' "/proc/$server_pid/status")
    kill "$server_pid"
    wait "$server_pid" || true
    server_pid=""
    after=$(cut -d' ' -f1 /proc/loadavg)
    echo "| $vocabulary | $size | $(awk -v ms="$elapsed" 'BEGIN {printf "%.1f", ms / 1000}') s | $cpu s | $peak MB | $(du -sm "$db.index" | cut -f1) MB | $before / $after |"
done
