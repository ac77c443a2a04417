#!/usr/bin/env bash
# The package on this machine as a user gets it: installs the .deb with apt, checks the user
# units with systemd-analyze and that the socket is enabled for every user, then as a new user
# (a fresh home with a videos folder of three small ffmpeg clips) starts tunova-server through
# systemd-socket-activate, as the socket unit would, and the installed `tunova` under Xvfb on a
# private session bus, and reads the player's window over AT-SPI: the main window must show and
# its chart list the clips. Afterwards the user, the package and what apt installed with it are
# removed again, so the machine is left as it was found. Needs root (CI runs as root).
#
# usage: tools/package/check-install.sh DEB
set -euo pipefail
cd "$(dirname "$0")/../.."
deb=$(readlink -f "$1")
started=$(date +%s)
step() { echo "check-install: $1 ($(( $(date +%s) - started )) s)"; }
fail() { echo "check-install: $1" >&2; exit 1; }

[[ $(id -u) -eq 0 ]] || fail "needs root (apt install, a new user)"
if dpkg-query -W -f='${Status}' tunova 2>/dev/null | grep -q "install ok installed"; then
    fail "tunova is installed already; this check needs a machine without it"
fi

user="tunova-check-$$"
work=$(mktemp -d)
chmod 755 "$work"
home="$work/home"
packages_before=$(dpkg-query -W -f='${Package}\n' | sort)
pids=()
cleanup() {
    local status=$?
    for pid in "${pids[@]}"; do
        kill -TERM "$pid" 2>/dev/null || true
    done
    for pid in "${pids[@]}"; do
        wait "$pid" 2>/dev/null || true
    done
    if id "$user" >/dev/null 2>&1; then
        # Anything the check's own user still runs (a helper its session bus started).
        for pid in $(ps -o pid= -u "$user"); do
            kill -KILL "$pid" 2>/dev/null || true
        done
        userdel --remove "$user" 2>/dev/null || true
    fi
    if dpkg-query -W -f='${Status}' tunova 2>/dev/null | grep -q "ok installed\|config-files"; then
        DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq tunova >/dev/null || true
    fi
    # What apt brought in for the package goes too.
    local added
    added=$(comm -13 <(echo "$packages_before") <(dpkg-query -W -f='${Package}\n' | sort))
    if [[ -n "$added" ]]; then
        # shellcheck disable=SC2086
        DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq $added >/dev/null || true
    fi
    rm -rf "$work"
    exit "$status"
}
trap cleanup EXIT

DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >"$work/apt.log" 2>&1 ||
    { cat "$work/apt.log" >&2; fail "apt could not install $deb"; }
step "installed with apt"

systemd-analyze verify /usr/lib/systemd/user/tunova-server.socket \
    /usr/lib/systemd/user/tunova-server.service ||
    fail "systemd-analyze verify found faults in the user units"
[[ -L /etc/systemd/user/sockets.target.wants/tunova-server.socket ]] ||
    fail "tunova-server.socket is not enabled for every user"
listen=$(sed -n 's/^ListenStream=//p' /usr/lib/systemd/user/tunova-server.socket)
[[ "$listen" == "127.0.0.1:8080" ]] || fail "the socket unit listens on '$listen'"
step "user units verified, socket enabled for every user on $listen"

# A new user with a fresh home and a few small clips in the videos folder.
useradd --create-home --home-dir "$home" --shell /bin/bash "$user"
titles=("봄날의 사랑" "밤하늘의 별" "첫눈 오는 날")
as_user() {
    runuser -u "$user" -- env -i HOME="$home" USER="$user" LANG=C.UTF-8 PATH=/usr/bin:/bin "$@"
}
as_user mkdir -p "$home/Videos"
for i in "${!titles[@]}"; do
    as_user ffmpeg -nostdin -v error -f lavfi -i "testsrc=size=160x120:rate=15:duration=3" \
        -f lavfi -i "sine=frequency=$((440 + i * 110)):duration=3" -shortest \
        -c:v libvpx -deadline realtime -b:v 100k -c:a libvorbis "$home/Videos/${titles[$i]}.webm"
done
step "user $user with ${#titles[@]} clips in ~/Videos"

# The socket unit's address would be 127.0.0.1:8080; another program of this machine may hold
# that port, so the check takes a free one and tells the player (TUNOVA_HOST).
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
mkdir -p /tmp/.X11-unix && chmod 1777 /tmp/.X11-unix  # where Xvfb puts its socket
cat >"$work/session.sh" <<SESSION
set -u
systemd-socket-activate -l 127.0.0.1:$port /usr/bin/tunova-server 2>"\$HOME/server.log" &
server=\$!
Xvfb -displayfd 3 -screen 0 1280x900x24 -nolisten tcp 3>"\$HOME/display" 2>/dev/null &
xvfb=\$!
for _ in \$(seq 100); do [ -s "\$HOME/display" ] && break; sleep 0.1; done
export DISPLAY=:\$(cat "\$HOME/display") TUNOVA_HOST=127.0.0.1:$port QT_QPA_PLATFORM=xcb
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QTWEBENGINE_DISABLE_SANDBOX=1
export QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu --no-sandbox"
tunova >"\$HOME/player.log" 2>&1 &
player=\$!
python3 $work/read-player-tree.py --rows ${#titles[@]} --timeout 90
status=\$?
kill -TERM \$player \$server \$xvfb 2>/dev/null
wait \$player \$server \$xvfb 2>/dev/null
[ \$status -eq 0 ] || { echo "--- server log"; cat "\$HOME/server.log"; echo "--- player log"; cat "\$HOME/player.log"; } >&2
exit \$status
SESSION
install -m 644 tools/package/read-player-tree.py "$work/read-player-tree.py"
chmod 644 "$work/session.sh"
as_user dbus-run-session -- bash "$work/session.sh" | tee "$work/tree.txt"
for title in "${titles[@]}"; do
    grep -q "^row: [0-9]*, $title, 00:0[2-4]$" "$work/tree.txt" ||
        fail "the chart does not list \"$title\""
done
step "a new user's first start shows the main window with the chart of their ${#titles[@]} clips"
