#!/usr/bin/env bash
# The two player engines and the mpv program side by side under Xvfb, on clips made with ffmpeg
# (1080p30 H.264/AAC MP4 at 4 Mbit/s, 720p30 VP9/Opus WebM, 720p30 H.264/AAC MKV) served by
# tunova-server on loopback: for the page and the mpv engine, double-click to playing, the round
# trip while playing, CPU (the player and its helper processes) and resident memory over SECONDS
# in the normal and the big-video view and in big video with the window maximised on a 1920x1080
# screen; for the mpv program (software decoding, X11 output, no sound) and for a bare page (a
# QWebEngineView with only the video), CPU and resident memory over SECONDS at the same sizes.
# Run by hand.
#
# usage: bench/playback/run-engine-bench.sh [SECONDS]   (per view, default 20)
# (the player draws offscreen unless TUNOVA_BENCH_QPA=xcb puts it on the Xvfb display too)
# (a release build in build-bench, unless TUNOVA_BENCH_BUILD names a build folder configured with
# -DTUNOVA_BENCH=ON to use as it is)
# (TUNOVA_BENCH_CLIPS="h264-1080p.mp4 ..." measures only the clips it names)
set -euo pipefail
cd "$(dirname "$0")/../.."
build="${TUNOVA_BENCH_BUILD:-build-bench}"
seconds="${1:-20}"
read -r -a measured <<<"${TUNOVA_BENCH_CLIPS:-h264-1080p.mp4 vp9-720p.webm h264-720p.mkv}"

if [[ -z "${TUNOVA_BENCH_BUILD:-}" ]]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTUNOVA_BENCH=ON \
        -DTUNOVA_TESTS=OFF >/dev/null
fi
ninja -C "$build" -j2 tunova-server playback_bench bare_page_bench

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

length=$((2 * seconds + 30))
mkdir -p "$work/lib" "$work/data" "$work/home/config/tunova"
source=(-f lavfi -i "testsrc2=size=1920x1080:rate=30:duration=$length"
        -f lavfi -i "sine=frequency=440:duration=$length")
ffmpeg -nostdin -v error -y "${source[@]}" -c:v libx264 -preset veryfast -b:v 4M -maxrate 4M \
    -bufsize 8M -pix_fmt yuv420p -c:a aac "$work/lib/h264-1080p.mp4"
source[3]="testsrc2=size=1280x720:rate=30:duration=$length"
ffmpeg -nostdin -v error -y "${source[@]}" -c:v libvpx-vp9 -deadline realtime -cpu-used 8 \
    -b:v 2M -c:a libopus "$work/lib/vp9-720p.webm"
ffmpeg -nostdin -v error -y "${source[@]}" -c:v libx264 -preset veryfast -b:v 2M \
    -pix_fmt yuv420p -c:a aac "$work/lib/h264-720p.mkv"
# Each clip listed as it is (its length declared), found by its own word.
{
    printf 'file\ttitle\tdescription\tlanguage\trating\traters\tpublished\tseconds\n'
    for clip in h264-1080p.mp4 vp9-720p.webm h264-720p.mkv; do
        word="bench${clip//[^a-z0-9]/}"
        printf '%s\t%s\t%s\tko\t4.5\t10\t2026-12-01T00:00:00Z\t%s\n' "$clip" "$clip" "$word" "$length"
    done
} >"$work/lib/metadata.tsv"

"$build/bin/tunova-server" --host 127.0.0.1 --port 0 --port-file "$work/port" --player-version 1 \
    --library "$work/lib" --db "$work/catalogue.sqlite" --media-cache "$work/cache" \
    2>"$work/server.log" &
pids+=($!)
for _ in $(seq 300); do [[ -s "$work/port" ]] && break; sleep 0.1; done
[[ -s "$work/port" ]] || { echo "tunova-server did not start; see $work/server.log" >&2; exit 1; }
host="127.0.0.1:$(cat "$work/port")"

display=":$((90 + RANDOM % 9))"
Xvfb "$display" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
sleep 1

chmod 700 "$work/home"
printf '[SOFTWARE\\tunova]\ntunova_ver=1\npid=tunova\n' >"$work/home/config/tunova/registry.ini"
ln -s "$PWD/$build/bin/you.html" "$work/data/you.html"
ln -s "$PWD/$build/bin/skin" "$work/data/skin"
# The offscreen platform's screen as large as the Xvfb one, so the player can be maximised on it.
printf '{"screens": [{"name": "bench", "x": 0, "y": 0, "width": 1920, "height": 1080}]}\n' \
    >"$work/screen.json"
run_player() {  # ENGINE WORD
    printf 'player_engine=%s\n' "$1" >"$work/data/tunova.conf"
    local platform="${TUNOVA_BENCH_QPA:-offscreen:configfile=$work/screen.json}"
    HOME="$work/home" XDG_CONFIG_HOME="$work/home/config" XDG_DATA_HOME="$work/home/share" \
        XDG_STATE_HOME="$work/home/state" XDG_CACHE_HOME="$work/home/cache" \
        XDG_RUNTIME_DIR="$work/home" TUNOVA_DATA_DIR="$work/data" TUNOVA_HOST="$host" \
        DISPLAY="$display" QT_QPA_PLATFORM="$platform" \
        "$build/bin/playback_bench" --clip "$2" "$seconds" 2>"$work/trace"
}
# A bare page (a QWebEngineView with nothing but the video) playing ADDRESS at WIDTHxHEIGHT.
run_bare() {  # ADDRESS WIDTH HEIGHT
    HOME="$work/home" XDG_CONFIG_HOME="$work/home/config" XDG_RUNTIME_DIR="$work/home" \
        DISPLAY="$display" QT_QPA_PLATFORM="${TUNOVA_BENCH_QPA:-offscreen}" \
        "$build/bin/bare_page_bench" "$1" "$2" "$3" "$seconds" 2>>"$work/trace"
}
# CPU (% of one core) and resident MB of the mpv program playing FILE in a WxH window.
run_mpv() {  # FILE WIDTH HEIGHT
    DISPLAY="$display" mpv --no-config --really-quiet --vo=x11 --ao=null --hwdec=no \
        --no-border --geometry="$2x$3+0+0" --autofit="$2x$3" --loop=inf "$1" &
    local pid=$!
    sleep 3
    local ticks before after rss
    ticks=$(getconf CLK_TCK)
    before=$(awk '{print $14 + $15}' "/proc/$pid/stat")
    sleep "$seconds"
    after=$(awk '{print $14 + $15}' "/proc/$pid/stat")
    rss=$(awk '/VmRSS/ {print int($2 / 1024)}' "/proc/$pid/status")
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    awk -v b="$before" -v a="$after" -v t="$ticks" -v s="$seconds" -v r="$rss" -v w="$2x$3" \
        'BEGIN { printf "mpv program, %s window: %.1f %% of one core, resident %d MB\n", w, 100 * (a - b) / t / s, r }'
}

echo "load before: $(uptime | sed 's/.*load average: //')"
for clip in "${measured[@]}"; do
    word="bench${clip//[^a-z0-9]/}"
    sizes=()
    for engine in page mpv; do
        echo "== $clip, engine $engine"
        out=$(run_player "$engine" "$word") || { tail -20 "$work/trace" >&2; exit 1; }
        echo "$out"
        mapfile -t sizes < <(sed -n 's/.*video area \([0-9]*\)x\([0-9]*\)/\1 \2/p' <<<"$out")
    done
    id=$(curl -s "http://$host/feeds/api/videos/-/Music?vq=$word" |
        grep -o 'watch?v=[A-Za-z0-9_-]*' | head -1 | cut -d= -f2)
    echo "== $clip, bare page"
    for size in "${sizes[@]}"; do
        run_bare "http://$host/media/$id" $size || echo "bare page, ${size/ /x}: did not play"
    done
    echo "== $clip, mpv program"
    for size in "${sizes[@]}"; do
        run_mpv "$work/lib/$clip" $size
    done
done
echo "load after: $(uptime | sed 's/.*load average: //')"
