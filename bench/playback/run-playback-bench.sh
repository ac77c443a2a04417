#!/usr/bin/env bash
# Playback figures through the real main window, the real player page and tunova-server serving
# the demo library on loopback: script round trips idle and playing, double-click to playing,
# navigation to the page's first ready answer, and the CPU of the player and of the web engine
# while the playlist plays (normal and big-video view). Run by hand; prints the machine's load.
#
# usage: bench/playback/run-playback-bench.sh [SECONDS]   (CPU window per view, default 60)
# (the build folder is build-bench-server unless TUNOVA_BENCH_BUILD names another; TUNOVA_SERVER
# names a tunova-server already built to serve the media instead of building one; the demo
# library is made once in ${XDG_DATA_HOME:-~/.local/share}/tunova/demo-library)
set -euo pipefail
cd "$(dirname "$0")/../.."
build="${TUNOVA_BENCH_BUILD:-build-bench-server}"
seconds="${1:-60}"

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTUNOVA_BENCH=ON -DTUNOVA_TESTS=OFF >/dev/null
server="${TUNOVA_SERVER:-}"
if [[ -z "$server" ]]; then
    ninja -C "$build" -j2 tunova-server
    server="$build/bin/tunova-server"
fi
ninja -C "$build" -j2 playback_bench

library="${XDG_DATA_HOME:-$HOME/.local/share}/tunova/demo-library"
tools/demo-library/make-demo-library.sh "$library" >/dev/null

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

"$server" --host 127.0.0.1 --port 0 --port-file "$work/port" \
    --player-version 1 --library "$library" --db "$work/catalogue.sqlite" 2>"$work/server.log" &
server_pid=$!
for _ in $(seq 300); do [[ -s "$work/port" ]] && break; sleep 0.1; done
[[ -s "$work/port" ]] || { echo "tunova-server did not start; see $work/server.log" >&2; exit 1; }

mkdir -p "$work/data" "$work/home/config/tunova"
chmod 700 "$work/home"
printf '[SOFTWARE\\tunova]\ntunova_ver=1\npid=tunova\n' >"$work/home/config/tunova/registry.ini"
ln -s "$PWD/$build/bin/you.html" "$work/data/you.html"
ln -s "$PWD/$build/bin/skin" "$work/data/skin"
echo "load before: $(uptime | sed 's/.*load average: //')"
HOME="$work/home" XDG_CONFIG_HOME="$work/home/config" XDG_DATA_HOME="$work/home/share" \
    XDG_STATE_HOME="$work/home/state" XDG_CACHE_HOME="$work/home/cache" \
    XDG_RUNTIME_DIR="$work/home" TUNOVA_DATA_DIR="$work/data" \
    TUNOVA_HOST="127.0.0.1:$(cat "$work/port")" TUNOVA_TRACE=1 \
    QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}" \
    "$build/bin/playback_bench" demo "$seconds" 2>"$work/trace" ||
    { tail -20 "$work/trace" >&2; exit 1; }
echo "load after: $(uptime | sed 's/.*load average: //')"
