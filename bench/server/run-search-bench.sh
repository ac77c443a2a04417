#!/usr/bin/env bash
# Search throughput and latency of tunova-server on loopback: builds a release tree with the
# benchmarks, generates a 10,000-video catalogue, starts the server on a free port with request
# logging to a file, and runs wrk for a bounded time against it. Run by hand.
#
# usage: bench/server/run-search-bench.sh [SECONDS=20] [CONNECTIONS=16] [THREADS=2]
# (the build folder is build-bench-server unless TUNOVA_BENCH_BUILD names another)
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds="${1:-20}"
connections="${2:-16}"
threads="${3:-2}"
build="${TUNOVA_BENCH_BUILD:-build-bench-server}"

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTUNOVA_BENCH=ON -DTUNOVA_TESTS=OFF >/dev/null
ninja -C "$build" -j2 tunova-server tunova-bench-catalogue

work=$(mktemp -d)
server_pid=""
cleanup() {
    if [[ -n "$server_pid" ]]; then
        kill "$server_pid" 2>/dev/null || true
        wait "$server_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

"$build/bin/tunova-bench-catalogue" "$work/catalogue.sqlite" 10000
# Once as deployed (rendered feeds cached for 60 s), once with every request searched afresh.
for cache in 1024 0; do
    rm -f "$work/port"
    "$build/bin/tunova-server" --port 0 --port-file "$work/port" --db "$work/catalogue.sqlite" \
        --threads "$connections" --cache-entries "$cache" 2>"$work/server.log" &
    server_pid=$!
    for _ in $(seq 100); do [[ -s "$work/port" ]] && break; sleep 0.1; done
    port=$(cat "$work/port")
    echo "== feed cache entries: $cache"
    # Warm the page cache and prepared statements, then measure.
    wrk -t1 -c1 -d2s -s bench/server/search.lua "http://127.0.0.1:$port" >/dev/null
    wrk -t"$threads" -c"$connections" -d"${seconds}s" --latency -s bench/server/search.lua \
        "http://127.0.0.1:$port" | sed -n '/^requests:/,$p'
    echo "log lines written: $(wc -l <"$work/server.log")"
    kill "$server_pid"
    wait "$server_pid" || true
    server_pid=""
done
