#!/usr/bin/env bash
# Real slow-HTTP attacks (Debian's slowhttptest) against tunova-server on loopback, one fresh
# server per mode: slow headers and slow body against the search route, slow read and the range
# attack against a 20 MB media file. Meanwhile a normal client searches from 127.0.0.2 (another
# client, so the per-address cap does not count it) on a fresh connection every 100 ms.
# Per mode: the normal client's search latency (p50 / p99, failures), the server's peak
# memory, and whether it is alive and answering after. Exits 1 when the server dies, stops
# answering after a mode, or a normal search fails.
#
# usage: run-slowhttp-bench.sh SERVER CONNECTIONS SECONDS [SERVER_ARGS...]
#   bench/server/run-hostile-bench.sh runs it with 1,000 connections; the test build runs a
#   bounded form (200 connections, 10 s a mode) as the ctest test SlowHttpAttacks.
# (media in $TUNOVA_BENCH_DATA/slowhttp, default /tmp/tunova-bench-data; needs ffmpeg, curl)
set -euo pipefail
server="$1"
connections="$2"
seconds="$3"
shift 3
data="${TUNOVA_BENCH_DATA:-/tmp/tunova-bench-data}/slowhttp"
library="$data/library"
mkdir -p "$library"

# A 1280x720 clip of 20 s, about 20 MB: a noisy 2-second piece repeated by copying.
if [[ ! -s "$library/full-size.webm" ]]; then
    ffmpeg -nostdin -v error -y -f lavfi -i testsrc2=size=1280x720:rate=30:duration=2 \
        -vf noise=alls=25:allf=t -c:v libvpx -deadline realtime -cpu-used 8 -b:v 9M \
        -minrate 9M -maxrate 9M -bufsize 4M "$data/piece.webm"
    ffmpeg -nostdin -v error -y -stream_loop -1 -i "$data/piece.webm" -t 20 -c copy \
        "$library/full-size.part.webm"
    mv "$library/full-size.part.webm" "$library/full-size.webm"
    rm -f "$data/piece.webm"
fi
printf 'file\ttitle\tdescription\tlanguage\trating\traters\tpublished\n%s\n' \
    "full-size.webm	Full-size clip	slowhttp attack target	en	4.5	10	2026-12-01T00:00:00Z" \
    >"$library/metadata.tsv"

server_pid=""
attack_pid=""
cleanup() {
    for pid in $attack_pid $server_pid; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    attack_pid=""
    server_pid=""
}
trap cleanup EXIT

search_path="/feeds/api/videos/-/Music?vq=clip&orderby=relevance&max-results=30&start-index=1"

# One normal search from 127.0.0.2: "STATUS SECONDS".
probe() {
    curl -s -o /dev/null --interface 127.0.0.2 --max-time 10 -w '%{http_code} %{time_total}\n' \
        "http://127.0.0.1:$port$search_path" || echo "000 10"
}

failed=0
printf '%-13s %-6s %-10s %-10s %-8s %-10s %-7s %s\n' mode conns "p50 ms" "p99 ms" failed \
    "peak MB" alive "slowhttptest says"
for mode in headers body read range; do
    rm -rf "$data/port" "$data/catalogue.sqlite"*
    "$server" --port 0 --port-file "$data/port" --library "$library" \
        --db "$data/catalogue.sqlite" "$@" 2>"$data/server-$mode.log" &
    server_pid=$!
    for _ in $(seq 300); do [[ -s "$data/port" ]] && break; sleep 0.1; done
    port=$(cat "$data/port")
    media_id=$(curl -s "http://127.0.0.1:$port/feeds/api/videos/-/Music?vq=attack&orderby=relevance&max-results=1&start-index=1" |
        grep -o 'watch?v=[A-Za-z0-9_-]*' | head -n 1 | cut -d= -f2)
    media="http://127.0.0.1:$port/media/$media_id"
    case "$mode" in
    headers) args=(-H -i 5 -u "http://127.0.0.1:$port$search_path") ;;
    body) args=(-B -i 5 -s 8192 -u "http://127.0.0.1:$port/feeds/api/videos/-/Music") ;;
    read) args=(-X -k 1 -n 1 -w 1 -y 512 -z 5 -u "$media") ;;
    range) args=(-R -t GET -a 5 -b 1000 -u "$media") ;;
    esac
    slowhttptest "${args[@]}" -c "$connections" -r 200 -l "$seconds" -p 5 \
        >"$data/slowhttptest-$mode.log" 2>&1 &
    attack_pid=$!
    sleep 1
    : >"$data/probes-$mode"
    end=$((SECONDS + seconds - 1))
    while ((SECONDS < end)) && kill -0 "$server_pid" 2>/dev/null; do
        probe >>"$data/probes-$mode"
        sleep 0.1
    done
    wait "$attack_pid" 2>/dev/null || true
    attack_pid=""
    alive=no
    if kill -0 "$server_pid" 2>/dev/null && [[ "$(probe | cut -d' ' -f1)" == 200 ]]; then
        alive=yes
    fi
    peak=$(awk '/^VmHWM:/ { printf "%.1f", $2 / 1024 }' "/proc/$server_pid/status" 2>/dev/null || echo "?")
    count=$(wc -l <"$data/probes-$mode")
    bad=$(awk '$1 != "200"' "$data/probes-$mode" | wc -l)
    awk '$1 == "200" { printf "%.1f\n", $2 * 1000 }' "$data/probes-$mode" | sort -n >"$data/ms-$mode"
    answered=$(wc -l <"$data/ms-$mode")
    p50=$(sed -n "$(((answered - 1) * 50 / 100 + 1))p" "$data/ms-$mode")
    p99=$(sed -n "$(((answered - 1) * 99 / 100 + 1))p" "$data/ms-$mode")
    # The attack's own last count: connections it holds, and whether its probe got answers.
    said=$(sed 's/\x1b\[[0-9;]*m//g' "$data/slowhttptest-$mode.log" | awk '
        /^connected:/ { held = $2 } /^closed:/ { closed = $2 } /^service available:/ { up = $3 }
        END { printf "held %s, closed %s, service available %s", held, closed, up }')
    printf '%-13s %-6s %-10s %-10s %-8s %-10s %-7s %s\n' "slow $mode" "$connections" "$p50" "$p99" \
        "$bad/$count" "$peak" "$alive" "${said:-?}"
    if [[ "$alive" != yes || "$bad" != 0 || "$count" == 0 ]]; then
        failed=1
        tail -n 5 "$data/server-$mode.log" >&2
    fi
    cleanup
done
exit "$failed"
