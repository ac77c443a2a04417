#!/usr/bin/env bash
# The demo library as a first run makes it: 66 clips of the lengths the metadata promises, each
# with a picture and a sound, the first full size, no two alike, nothing hidden left behind; a second run makes no
# clip again, and a lost clip is made again alone.
#
# usage: demo_library_test.sh   (needs ffmpeg and ffprobe)
set -euo pipefail
cd "$(dirname "$0")/../.."

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
library="$work/library with spaces #1"

tools/demo-library/make-demo-library.sh "$library" >/dev/null 2>"$work/first.err" ||
    { cat "$work/first.err" >&2; exit 1; }

clips=("$library"/clip-*.webm)
[[ ${#clips[@]} -eq 66 ]] || fail "${#clips[@]} clips instead of 66"
# Four clips are described by a yt-dlp .info.json or a Kodi .nfo instead of a row.
rows=$(($(wc -l <"$library/metadata.tsv") - 1))
[[ $rows -eq 62 ]] || fail "$rows metadata rows instead of 62"
for clip in 59.info.json 60.info.json 61.nfo 62.nfo; do
    [[ -s "$library/clip-$clip" ]] || fail "no clip-$clip"
    ! grep -q "^clip-${clip%%.*}.webm" "$library/metadata.tsv" || fail "clip-$clip has a row too"
done
leftovers=$(find "$library" -mindepth 1 ! -name 'clip-*.webm' ! -name 'clip-*.info.json' \
    ! -name 'clip-*.nfo' ! -name metadata.tsv ! -name .clip-kind)
[[ -z "$leftovers" ]] || fail "left behind: $leftovers"

# Clip number `n` (from 1) has a picture, a sound and its length of 20 to 40 seconds.
check_clip() {
    local n="$1" file want probe streams seconds
    printf -v file '%s/clip-%02d.webm' "$library" "$n"
    want=$((20 + ((n - 1) * 7) % 21))
    # One line per stream ("video", "audio"), then the container's duration.
    probe=$(ffprobe -v error -show_entries stream=codec_type:format=duration -of csv=p=0 "$file")
    streams=$(head -n -1 <<<"$probe" | sort | tr '\n' ' ')
    seconds=$(tail -n 1 <<<"$probe")
    [[ "$streams" == "audio video " ]] || fail "$(basename "$file"): streams '$streams'"
    awk -v s="$seconds" -v w="$want" 'BEGIN { exit !(s >= w - 0.5 && s <= w + 0.5) }' ||
        fail "$(basename "$file"): $seconds s instead of $want s"
}

for ((n = 1; n <= 66; n++)); do
    check_clip "$n"
done
# Clip 1 is full size, larger than the socket buffers.
size=$(stat -c %s "$library/clip-01.webm")
((size > 20000000)) || fail "clip-01.webm has $size bytes, not over 20 MB"
frame=$(ffprobe -v error -select_streams v -show_entries stream=width,height,r_frame_rate -of csv=p=0 \
    "$library/clip-01.webm")
[[ "$frame" == "1280,720,30/1" ]] || fail "clip-01.webm is $frame, not 1280x720 at 30/s"

distinct=$(md5sum "${clips[@]}" | awk '{print $1}' | sort -u | wc -l)
[[ $distinct -eq 66 ]] || fail "only $distinct different clips"

# A second run rewrites the metadata only; a lost clip is made again, the others stay.
touch -d '2001-01-01' "${clips[@]}"
rm "$library/clip-07.webm"
tools/demo-library/make-demo-library.sh "$library" >/dev/null 2>"$work/second.err" ||
    { cat "$work/second.err" >&2; exit 1; }
[[ -s "$library/clip-07.webm" ]] || fail "clip-07.webm was not made again"
remade=$(find "$library" -name 'clip-*.webm' -newermt '2002-01-01' | wc -l)
[[ $remade -eq 1 ]] || fail "$remade clips made again instead of 1"
check_clip 7

if ((failures > 0)); then
    echo "demo library: $failures failures" >&2
    exit 1
fi
echo "demo library: 66 clips checked"
