#!/usr/bin/env bash
# Time from Enter in the search box to the rows drawn, through the real main window, on
# loopback against tunova-server with a generated 10,000-video catalogue: 20 searches, each
# timed from the player's TUNOVA_TRACE lines ("search sent" to "rows drawn"); prints every time
# and the median in milliseconds. Run by hand.
#
# usage: bench/search_latency/run-enter-to-rows.sh
# (the build folder is build-bench-server unless TUNOVA_BENCH_BUILD names another)
set -euo pipefail
cd "$(dirname "$0")/../.."
build="${TUNOVA_BENCH_BUILD:-build-bench-server}"

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTUNOVA_BENCH=ON -DTUNOVA_TESTS=OFF >/dev/null
ninja -C "$build" -j2 tunova-server tunova-bench-catalogue enter_to_rows

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
"$build/bin/tunova-server" --port 0 --port-file "$work/port" --db "$work/catalogue.sqlite" \
    2>"$work/server.log" &
server_pid=$!
for _ in $(seq 100); do [[ -s "$work/port" ]] && break; sleep 0.1; done
[[ -s "$work/port" ]] || { echo "tunova-server did not start; see $work/server.log" >&2; exit 1; }

words=(love night dream heart summer rain dance light forever baby fire star home blue young
    magic road city moon party)
mkdir -p "$work/data" "$work/home/config/tunova"
chmod 700 "$work/home"
# What an installer writes: the installed version matches the server's, so the player starts.
printf '[SOFTWARE\\tunova]\ntunova_ver=1\npid=tunova\n' >"$work/home/config/tunova/registry.ini"
ln -s "$PWD/$build/bin/you.html" "$work/data/you.html"
HOME="$work/home" XDG_CONFIG_HOME="$work/home/config" XDG_DATA_HOME="$work/home/share" \
    XDG_STATE_HOME="$work/home/state" XDG_CACHE_HOME="$work/home/cache" \
    XDG_RUNTIME_DIR="$work/home" TUNOVA_DATA_DIR="$work/data" \
    TUNOVA_HOST="127.0.0.1:$(cat "$work/port")" TUNOVA_TRACE=1 QT_QPA_PLATFORM=offscreen \
    "$build/bin/enter_to_rows" "${words[@]}" >"$work/rows" 2>"$work/trace"

echo "load: $(uptime | sed 's/.*load average: //')"
paste -d' ' <(awk '/ search sent$/ { print $2 }' "$work/trace") \
    <(awk '/ rows drawn$/ { print $2 }' "$work/trace") "$work/rows" >"$work/joined"
awk '{ printf "%-10s %3d rows %8.2f ms\n", $5, $4, ($2 - $1) * 1000 }' "$work/joined"
awk '{ print ($2 - $1) * 1000 }' "$work/joined" | sort -n | awk '{ t[NR] = $1 } END {
    if (NR == 0) { print "no searches timed"; exit 1 }
    m = NR % 2 ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2
    printf "searches: %d  median Enter to rows drawn: %.2f ms  (min %.2f, max %.2f)\n", NR, m, t[1], t[NR]
}'
