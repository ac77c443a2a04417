#!/usr/bin/env bash
# Real start-up time the update check costs. Each case runs the built player once, headless, in a
# throw-away home, against a local stand-in for the update server, and reports the time from
# launch to the main window (the trace's "main window shown"), or to the player's exit when the
# server cannot be reached (that path shows no window):
#
#   answering   every request answered at once (the version is 1, as installed)
#   refused     nothing listens on the port
#   silent      a listener that accepts and never answers
#   no-version  the probe is answered, the version request never is
#   probe-only  the probe is answered, the usage count and the version request never are
#
# usage: bench/services/update-check-times.sh [BUILD_DIR]   (default build/, as run-player.sh)
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
player="$build/bin/tunova"
[[ -x "$player" ]] || { echo "no player at $player; build it first" >&2; exit 1; }

work=$(mktemp -d)
server_pid=""
stop_server() {
    if [[ -n "$server_pid" ]]; then
        kill "$server_pid" 2>/dev/null || true
        wait "$server_pid" 2>/dev/null || true
        server_pid=""
    fi
}
trap 'stop_server; rm -rf "$work"' EXIT

export HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/share"
export XDG_STATE_HOME="$work/state" XDG_CACHE_HOME="$work/cache" XDG_RUNTIME_DIR="$work/run"
export TUNOVA_DATA_DIR="$work/data" TUNOVA_TRACE=1 TUNOVA_LOG=info QT_QPA_PLATFORM=offscreen
export QTWEBENGINE_DISABLE_SANDBOX=1 QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu --no-sandbox"
mkdir -p "$XDG_CONFIG_HOME/tunova" "$XDG_RUNTIME_DIR" "$TUNOVA_DATA_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
for f in you.html skin; do
    if [[ -e "$build/bin/$f" ]]; then ln -s "$(realpath "$build/bin/$f")" "$TUNOVA_DATA_DIR/$f"; fi
done

# The update server's stand-in in MODE (answering, silent, no-version, probe-only); sets $host.
serve() {
    local port_file="$work/port"
    : >"$port_file"
    python3 - "$1" "$port_file" <<'PY' &
import socket, sys, threading
mode, port_file = sys.argv[1], sys.argv[2]
listener = socket.socket()
listener.bind(("127.0.0.1", 0))
listener.listen(64)
open(port_file, "w").write(str(listener.getsockname()[1]))
held = []
def answer(conn):
    request = conn.recv(4096).decode("latin-1")
    silent_here = (mode == "no-version" and "/update/player_ver.php" in request) or (
        mode == "probe-only" and "/update/update_tunova.php" not in request)
    if silent_here:
        held.append(conn)
        return
    conn.sendall(b"HTTP/1.1 200 OK\r\nContent-Length: 1\r\nConnection: close\r\n\r\n1")
    conn.close()
while True:
    conn, _ = listener.accept()
    if mode == "silent":
        held.append(conn)
    else:
        threading.Thread(target=answer, args=(conn,), daemon=True).start()
PY
    server_pid=$!
    for _ in $(seq 50); do [[ -s "$port_file" ]] && break; sleep 0.1; done
    host="127.0.0.1:$(cat "$port_file")"
}

run_case() {
    local name=$1 log="$work/$1.log"
    printf '[SOFTWARE\\tunova]\ntunova_ver=1\npid=tunova\n' >"$XDG_CONFIG_HOME/tunova/registry.ini"
    rm -f "$XDG_CONFIG_HOME/tunova/registry.ini.lock"
    local launched ended outcome="ended"
    : >"$log"
    launched=$(date +%s.%N)
    TUNOVA_HOST="$host" "$player" 2>"$log" &
    local pid=$!
    for _ in $(seq 1200); do
        if grep -q "main window shown" "$log"; then outcome="shown"; break; fi
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.05
    done
    ended=$(date +%s.%N)
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    if [[ "$outcome" == "shown" ]]; then
        local start shown
        start=$(awk '$3 == "process" && $4 == "start" {print $2; exit}' "$log")
        shown=$(awk '$3 == "main" && $4 == "window" {print $2; exit}' "$log")
        printf '%-11s window shown %6.2f s after the process started\n' "$name" \
            "$(echo "$shown - $start" | bc -l)"
    else
        printf '%-11s no window: the player ended %6.2f s after launch\n' "$name" \
            "$(echo "$ended - $launched" | bc -l)"
    fi
    grep -E "^tunova (error|info) (update|counter)" "$log" | sed 's/^/    /' | head -6 || true
}

echo "$(uptime)"
serve answering; run_case answering; stop_server
host=127.0.0.1:$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
run_case refused
serve silent; run_case silent; stop_server
serve no-version; run_case no-version; stop_server
serve probe-only; run_case probe-only; stop_server
