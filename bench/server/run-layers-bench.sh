#!/usr/bin/env bash
# Throughput of two tunova-server builds side by side in one run (for example the HTTP layer as
# it is against an earlier build kept as a file): on a generated 10,000-video catalogue, with
# wrk on loopback, 16 connections, feed cache off, each server in turn for two rounds:
# searches (bench/server/search.lua) and the version route. Run by hand.
#
# usage: bench/server/run-layers-bench.sh OTHER_SERVER [SECONDS=15]
# (this tree's release build in build-bench-server unless TUNOVA_BENCH_BUILD names another)
set -euo pipefail
cd "$(dirname "$0")/../.."
other="$1"
seconds="${2:-15}"
build="${TUNOVA_BENCH_BUILD:-build-bench-server}"

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTUNOVA_BENCH=ON -DTUNOVA_TESTS=OFF >/dev/null
ninja -C "$build" -j2 tunova-server tunova-bench-catalogue >/dev/null

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
"$build/bin/tunova-bench-catalogue" "$work/catalogue.sqlite" 10000 >/dev/null

# Requests a second and p99 of `wrk` on `url` with `script` (may be empty).
measure() {
    local url="$1" script=("${@:2}")
    wrk -t2 -c16 -d"${seconds}s" --latency "${script[@]}" "$url" |
        awk '/Requests\/sec/ { rps = $2 } /^ +99%/ { p99 = $2 } END { printf "%s/s p99 %s", rps, p99 }'
}

printf '%-6s %-45s %-28s %s\n' round server "search (cache off)" "version route"
for round in 1 2; do
    for server in "$other" "$build/bin/tunova-server"; do
        rm -f "$work/port"
        "$server" --port 0 --port-file "$work/port" --db "$work/catalogue.sqlite" \
            --threads 16 --cache-entries 0 2>/dev/null &
        server_pid=$!
        for _ in $(seq 100); do [[ -s "$work/port" ]] && break; sleep 0.1; done
        host="http://127.0.0.1:$(cat "$work/port")"
        wrk -t1 -c1 -d2s -s bench/server/search.lua "$host" >/dev/null  # warm up
        search=$(measure "$host" -s bench/server/search.lua)
        version=$(measure "$host/update/player_ver.php")
        printf '%-6s %-45s %-28s %s\n' "$round" "$server" "$search" "$version"
        kill "$server_pid"
        wait "$server_pid" || true
        server_pid=""
    done
done
