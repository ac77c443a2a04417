#!/usr/bin/env bash
# The one command that brings the player up on this machine: installs what is missing, builds the
# player and the server (nothing else) in the release tree build/, generates the demo library
# (clips once, metadata every run), starts tunova-server on a free loopback port, points the
# player at it (build/bin/tunova.conf), writes the values an installer would write (tunova_ver,
# pid) into the settings store, runs the player (under Xvfb when there is no display) and stops
# the server when the player exits.
#
# usage: tools/run-player.sh [PLAYER ARGUMENTS...]
#   TUNOVA_SERVER_ONLY=1 tools/run-player.sh   starts the server and waits (no player), for tests
set -euo pipefail
cd "$(dirname "$0")/.."

data_dir="${XDG_DATA_HOME:-$HOME/.local/share}/tunova"
state_dir="${XDG_STATE_HOME:-$HOME/.local/state}/tunova"
config_dir="${XDG_CONFIG_HOME:-$HOME/.config}/tunova"
library="$data_dir/demo-library"
player_version=1
mkdir -p "$data_dir" "$state_dir" "$config_dir"

tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTUNOVA_TESTS=OFF >/dev/null
ninja -C build -j2 tunova tunova-server
tools/demo-library/make-demo-library.sh "$library"

port_file=$(mktemp)
server_pid=""
player_pid=""
stop_server() {
    if [[ -n "$player_pid" ]] && kill -0 "$player_pid" 2>/dev/null; then
        kill -TERM "$player_pid"
        wait "$player_pid" 2>/dev/null || true
    fi
    if [[ -n "$server_pid" ]] && kill -0 "$server_pid" 2>/dev/null; then
        kill -TERM "$server_pid"
        wait "$server_pid" 2>/dev/null || true
    fi
    rm -f "$port_file"
}
trap stop_server EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

: >"$port_file"
build/bin/tunova-server --host 127.0.0.1 --port 0 --port-file "$port_file" \
    --library "$library" --db "$data_dir/catalogue.sqlite" --player-version "$player_version" \
    2>>"$state_dir/server.log" &
server_pid=$!
for _ in $(seq 600); do
    [[ -s "$port_file" ]] && break
    kill -0 "$server_pid" 2>/dev/null || { echo "tunova-server failed; see $state_dir/server.log" >&2; exit 1; }
    sleep 0.1
done
[[ -s "$port_file" ]] || { echo "tunova-server did not start; see $state_dir/server.log" >&2; exit 1; }
host="127.0.0.1:$(cat "$port_file")"
echo "tunova-server on http://$host/ (log: $state_dir/server.log)"

cat >build/bin/tunova.conf <<CONF
# Written by tools/run-player.sh: the local companion server.
feed_host=$host
update_host=$host
web_host=$host
CONF

# What an installer writes: the installed version and the partner id, in the settings store's
# [SOFTWARE\tunova] section. Other sections and values are kept; the file is replaced atomically.
store="$config_dir/registry.ini"
touch "$store"
awk -v ver="$player_version" -v pid="tunova" '
    function emit() { if (!done) { print "tunova_ver=" ver; print "pid=" pid; done = 1 } }
    /^\[/ { if (inside) emit(); inside = ($0 == "[SOFTWARE\\tunova]") ; seen = seen || inside }
    inside && /^(tunova_ver|pid)=/ { next }
    { print }
    END { if (inside) emit(); else if (!seen) { print "[SOFTWARE\\tunova]"; emit() } }
' "$store" >"$store.tmp"
mv "$store.tmp" "$store"

if [[ -n "${TUNOVA_SERVER_ONLY:-}" ]]; then
    echo "server only: press Ctrl-C to stop"
    wait "$server_pid"
    exit 0
fi

if [[ "$(id -u)" -eq 0 ]]; then
    export QTWEBENGINE_DISABLE_SANDBOX=1
    export QTWEBENGINE_CHROMIUM_FLAGS="${QTWEBENGINE_CHROMIUM_FLAGS:-} --no-sandbox"
fi
# The player runs in the background so that a signal to this script stops it and the server at
# once; its exit ends the script, and the EXIT trap stops the server.
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    xvfb-run -a -s "-screen 0 1280x800x24" build/bin/tunova "$@" &
else
    build/bin/tunova "$@" &
fi
player_pid=$!
status=0
wait "$player_pid" || status=$?
player_pid=""
exit "$status"
