#!/usr/bin/env bash
# Hostile-client benchmark of tunova-server with its default limits on a 10,000-video catalogue:
# 200 half-requests held open by one client, 50 tricklers, 1,000 keep-alive clients; reports how
# long a normal client's search waits meanwhile. Then slowhttptest's four modes with 1,000
# connections each (run-slowhttp-bench.sh). Run by hand.
#
# usage: bench/server/run-hostile-bench.sh [TRICKLE_SECONDS=15] [KEEPALIVE_SECONDS=10]
#                                          [ATTACK_SECONDS=20]
# (build folder build-bench-server unless TUNOVA_BENCH_BUILD names another; data in
# $TUNOVA_BENCH_DATA, default /tmp/tunova-bench-data)
set -euo pipefail
cd "$(dirname "$0")/../.."
trickle="${1:-15}"
keepalive="${2:-10}"
build="${TUNOVA_BENCH_BUILD:-build-bench-server}"
data="${TUNOVA_BENCH_DATA:-/tmp/tunova-bench-data}/hostile"

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTUNOVA_BENCH=ON -DTUNOVA_TESTS=OFF >/dev/null
ninja -C "$build" -j2 tunova-server tunova-bench-catalogue tunova-bench-hostile >/dev/null
mkdir -p "$data"
[[ -s "$data/catalogue.sqlite" ]] || "$build/bin/tunova-bench-catalogue" "$data/catalogue.sqlite" 10000 >/dev/null

source bench/server/end-server-on-exit.sh

rm -f "$data/port"
"$build/bin/tunova-server" --port 0 --port-file "$data/port" --db "$data/catalogue.sqlite" \
    2>"$data/server.log" &
server_pid=$!
until [[ -s "$data/port" ]]; do sleep 0.01; done
port=$(cat "$data/port")
for run in "idle 200" "trickle 50 $trickle" "keepalive 1000 $keepalive"; do
    # shellcheck disable=SC2086
    "$build/bin/tunova-bench-hostile" "$port" $run
    echo "  (load $(cut -d' ' -f1 /proc/loadavg))"
done
end_server
server_pid=""
TUNOVA_BENCH_DATA="${TUNOVA_BENCH_DATA:-/tmp/tunova-bench-data}" \
    bench/server/run-slowhttp-bench.sh "$build/bin/tunova-server" 1000 "${3:-20}"
