#!/usr/bin/env bash
# Generates the demo media library for tunova-server: 66 WebM clips of 20 to 40 seconds, each
# with a test picture and a little arpeggio to hear (made once), and their metadata sidecar,
# metadata.tsv (rewritten on every run, so that the dates stay recent).
# Only 17 pieces are encoded: 6 pictures in different hues and 11 arpeggios from different notes,
# 40 seconds each. Clip n takes picture n mod 6 and arpeggio n mod 11 (6 and 11 share no factor,
# so the 66 clips are 66 different pairs) and is cut to its length by copying, not encoding, the
# pieces' streams: a first run costs about a fifth of encoding every clip.
# Clip 1 alone is full size (1280x720 at 30 frames a second, about 9 Mbit/s, some 20 MB): larger
# than the socket buffers, so serving it meets partial writes and viewers who skip away mid-file.
# Its picture is a noisy 2-second piece repeated by copying.
# Titles are Korean, English, Japanese and Chinese; 50 Korean-language clips are dated within the
# last month (the chart query's answer) and every description holds the word "뮤직비디오", so a
# search for it pages through more than 60 results.
# Four Japanese clips show the other ways a library describes its files: two have a yt-dlp
# .info.json beside them, two a Kodi .nfo, instead of a metadata.tsv row (their language comes
# from the kana of their titles).
#
# usage: make-demo-library.sh [OUT_DIR]   (default: ${XDG_DATA_HOME:-~/.local/share}/tunova/demo-library)
set -euo pipefail

case "${1:-}" in
-h | --help)
    cat <<'HELP'
Usage: tunova-demo-library [OUT_DIR]
Makes a demo media library for tunova-server: 66 short WebM clips with a test picture and an
arpeggio, and their metadata: metadata.tsv, and a few .info.json and .nfo files. Needs ffmpeg.

  OUT_DIR      where the library goes (default: ~/.local/share/tunova/demo-library)
  -h, --help   print this help and exit

Serve it with: tunova-server --library OUT_DIR
HELP
    exit 0
    ;;
esac

out="${1:-${XDG_DATA_HOME:-$HOME/.local/share}/tunova/demo-library}"
mkdir -p "$out"
command -v ffmpeg >/dev/null || { echo "make-demo-library: ffmpeg is missing" >&2; exit 1; }

# language|title|artist — 54 Korean-language clips first, then 4 each in English, Japanese, Chinese.
catalogue=(
"ko|봄날의 사랑|하늘빛" "ko|첫사랑 이야기|윤슬" "ko|사랑을 말해요|별무리" "ko|밤하늘의 별|하늘빛"
"ko|너에게 가는 길|온새미로" "ko|바람이 불어오는 곳|윤슬" "ko|Summer Love|블루문" "ko|그리운 바다|은하수"
"ko|비 오는 날의 노래|별무리" "ko|사랑해 사랑해|블루문" "ko|다시 만난 세계|소녀들" "ko|눈꽃|은하수"
"ko|벚꽃 엔딩|봄바람" "ko|내 마음의 노래|온새미로" "ko|Dream High|소녀들" "ko|가을 편지|윤슬"
"ko|우리의 여름|블루문" "ko|달빛 소나타|하늘빛" "ko|이별의 노래|봄바람" "ko|Love Story 사랑 이야기|별무리"
"ko|새벽 세 시|은하수" "ko|그대라는 시|온새미로" "ko|파도 소리|윤슬" "ko|너의 목소리|소녀들"
"ko|Happy Day|블루문" "ko|꽃길만 걷자|봄바람" "ko|오늘 밤|하늘빛" "ko|기억의 습작|별무리"
"ko|서울의 밤|은하수" "ko|Starlight 별빛|소녀들" "ko|노을 지는 강가|온새미로" "ko|작은 사랑 노래|윤슬"
"ko|눈물의 왈츠|봄바람" "ko|시간을 달려서|소녀들" "ko|푸른 하늘|하늘빛" "ko|Goodbye 안녕|블루문"
"ko|겨울 아이|은하수" "ko|사랑의 인사|별무리" "ko|너를 만나|온새미로" "ko|Magic Night|소녀들"
"ko|바다의 노래|윤슬" "ko|빗속의 여인|봄바람" "ko|하루 끝|하늘빛" "ko|Paradise 낙원|블루문"
"ko|꿈꾸는 소년|은하수" "ko|행복한 나를|별무리" "ko|작별 인사|온새미로" "ko|Forever Young|소녀들"
"ko|별이 빛나는 밤|윤슬" "ko|한여름 밤의 꿈|봄바람" "ko|옛사랑|하늘빛" "ko|추억 속으로|블루문"
"ko|고향의 봄|은하수" "ko|아리랑 판타지|별무리"
"en|Midnight City Lights|Blue Harbor" "en|Love Me Tender Tonight|The Wanderers"
"en|Ocean Eyes & Rain|Blue Harbor" "en|Run to the Hills <Live>|The Wanderers"
"ja|桜の季節|月光" "ja|夏の終わりのハーモニー|ひかり" "ja|東京ラブストーリー|月光" "ja|夜空ノムコウ|ひかり"
"zh|月亮代表我的心|星河" "zh|甜蜜蜜|花语" "zh|青花瓷|星河" "zh|小幸运|花语"
)

# Days before today per clip: the first 50 Korean clips within the last 25 days (today and this
# week included), the rest of each language spread over older dates.
ko_old=(45 90 200 400)
other_days=(1 10 40 100 2 15 60 300 3 20 80 500)

now=$(date -u +%s)
count=${#catalogue[@]}

# Clips of an earlier, shorter and silent-ish kind are made again once; of the kind before the
# full-size first clip, only that clip.
clip_kind="arpeggio-20-40s-full-size-first"
made_kind="$(cat "$out/.clip-kind" 2>/dev/null || true)"
if [[ "$made_kind" == "arpeggio-20-40s" ]]; then
    rm -f "$out/clip-01.webm"
elif [[ "$made_kind" != "$clip_kind" ]]; then
    rm -f "$out"/clip-*.webm
fi

# A major arpeggio from `tone` Hz, one note every half second, each note fading.
arpeggio() {
    local tone="$1" seconds="$2" n='floor(mod(t*2,4))'
    printf "aevalsrc='0.3*sin(2*PI*t*%s*pow(2,(4*eq(%s,1)+7*eq(%s,2)+12*eq(%s,3))/12))*exp(-4*mod(t,0.5))':s=22050:d=%s" \
        "$tone" "$n" "$n" "$n" "$seconds"
}

pictures=6
arpeggios=11
piece_seconds=40
pieces="$out/.pieces"  # hidden: the server does not serve it

make_picture() {
    local file="$pieces/picture-$1.webm"
    [[ -s "$file" ]] && return 0
    ffmpeg -nostdin -v error -y -f lavfi -i "testsrc2=size=160x90:rate=15:duration=$piece_seconds" \
        -vf "hue=h=$(($1 * 60 + 20))" -c:v libvpx -deadline realtime -cpu-used 8 -b:v 80k \
        "$file.part.webm" && mv "$file.part.webm" "$file"
}

make_full_size_picture() {
    local file="$pieces/picture-full-size.webm"
    [[ -s "$file" ]] && return 0
    ffmpeg -nostdin -v error -y -f lavfi -i "testsrc2=size=1280x720:rate=30:duration=2" \
        -vf "hue=h=20,noise=alls=25:allf=t" -c:v libvpx -deadline realtime -cpu-used 8 \
        -b:v 9M -minrate 9M -maxrate 9M -bufsize 4M "$file.part.webm" && mv "$file.part.webm" "$file"
}

make_arpeggio() {
    local file="$pieces/arpeggio-$1.webm"
    [[ -s "$file" ]] && return 0
    ffmpeg -nostdin -v error -y -f lavfi -i "$(arpeggio $((220 + $1 * 20)) "$piece_seconds")" \
        -c:a libvorbis -ac 1 -ar 22050 "$file.part.webm" && mv "$file.part.webm" "$file"
}

make_clip() {
    local file="$1" seconds="$2" picture="$3" tone="$4" loop=()
    [[ -s "$file" ]] && return 0
    [[ "$picture" == full-size ]] && loop=(-stream_loop -1)
    ffmpeg -nostdin -v error -y "${loop[@]}" -i "$pieces/picture-$picture.webm" \
        -i "$pieces/arpeggio-$tone.webm" -map 0:v -map 1:a -c copy -t "$seconds" "$file.part.webm" &&
        mv "$file.part.webm" "$file"
}

# Runs "$@" in the background, at most two at a time.
pending=0
in_background() {
    "$@" &
    pending=$((pending + 1))
    if ((pending >= 2)); then
        wait -n
        pending=$((pending - 1))
    fi
}

# Only the pieces that missing clips are cut from are made.
missing=0
declare -A needed_pictures=() needed_arpeggios=()
for ((i = 0; i < count; i++)); do
    printf -v file '%s/clip-%02d.webm' "$out" $((i + 1))
    if [[ ! -s "$file" ]]; then
        missing=$((missing + 1))
        if ((i == 0)); then needed_pictures[full-size]=1; else needed_pictures[$((i % pictures))]=1; fi
        needed_arpeggios[$((i % arpeggios))]=1
    fi
done
if ((missing > 0)); then
    echo "demo library: making $missing clips in $out (once)" >&2
    mkdir -p "$pieces"
    for p in "${!needed_pictures[@]}"; do
        if [[ "$p" == full-size ]]; then
            in_background make_full_size_picture
        else
            in_background make_picture "$p"
        fi
    done
    for a in "${!needed_arpeggios[@]}"; do in_background make_arpeggio "$a"; done
    wait
    pending=0
    for ((i = 0; i < count; i++)); do
        printf -v file '%s/clip-%02d.webm' "$out" $((i + 1))
        picture=$((i % pictures))
        ((i == 0)) && picture=full-size
        in_background make_clip "$file" $((20 + (i * 7) % 21)) "$picture" $((i % arpeggios))
    done
    wait
    rm -rf "$pieces"
fi
for ((i = 0; i < count; i++)); do
    printf -v file '%s/clip-%02d.webm' "$out" $((i + 1))
    [[ -s "$file" ]] || { echo "make-demo-library: $file could not be made" >&2; exit 1; }
done
echo "$clip_kind" >"$out/.clip-kind"

# Clip n's metadata as yt-dlp (.info.json) or Kodi (.nfo) writes it; the same text as a row.
json_text() {
    local text="${1//\\/\\\\}"
    printf '"%s"' "${text//\"/\\\"}"
}
xml_text() {
    printf '%s' "$1" | sed -e 's/&/\&amp;/g' -e 's/</\&lt;/g' -e 's/>/\&gt;/g'
}
write_info_json() {  # file artist title description published
    local day="${5:0:4}${5:5:2}${5:8:2}"
    printf '{"id": "demo%s", "title": %s, "track": %s, "artist": %s, "uploader": %s, ' \
        "$day" "$(json_text "$2 - $3")" "$(json_text "$3")" "$(json_text "$2")" "$(json_text "$2")" >"$1.tmp"
    printf '"upload_date": "%s", "description": %s, "tags": ["J-Pop", "demo"]}\n' \
        "$day" "$(json_text "$4")" >>"$1.tmp"
    mv "$1.tmp" "$1"
}
write_nfo() {  # file artist title description published
    printf '<?xml version="1.0" encoding="UTF-8"?>\n<musicvideo>\n  <title>%s</title>\n  <artist>%s</artist>\n' \
        "$(xml_text "$3")" "$(xml_text "$2")" >"$1.tmp"
    printf '  <album>Tunova Demo</album>\n  <genre>J-Pop</genre>\n  <premiered>%s</premiered>\n  <plot>%s</plot>\n</musicvideo>\n' \
        "${5:0:10}" "$(xml_text "$4")" >>"$1.tmp"
    mv "$1.tmp" "$1"
}
described_by() {  # clip number: info.json, nfo or tsv
    case "$1" in
    59 | 60) echo info.json ;;
    61 | 62) echo nfo ;;
    *) echo tsv ;;
    esac
}

tsv="$out/metadata.tsv.tmp"
printf 'file\ttitle\tdescription\tlanguage\trating\traters\tpublished\n' >"$tsv"
ko_index=0
other_index=0
for ((i = 0; i < count; i++)); do
    IFS='|' read -r language title artist <<<"${catalogue[$i]}"
    if [[ "$language" == ko ]]; then
        if ((ko_index < 50)); then
            minutes=$((ko_index * 12 * 60 + 30))
        else
            minutes=$((ko_old[ko_index - 50] * 24 * 60))
        fi
        ko_index=$((ko_index + 1))
    else
        minutes=$((other_days[other_index] * 24 * 60 + 45))
        other_index=$((other_index + 1))
    fi
    published=$(date -u -d "@$((now - minutes * 60))" +%Y-%m-%dT%H:%M:%SZ)
    rating=$((30 + (i * 37) % 21))
    rating="${rating:0:1}.${rating:1:1}"
    raters=$((10 + (i * 53) % 990))
    description="$artist - $title. Tunova 데모 뮤직비디오 (demo music video) no. $((i + 1))."
    printf -v clip 'clip-%02d' $((i + 1))
    case "$(described_by $((i + 1)))" in
    info.json) write_info_json "$out/$clip.info.json" "$artist" "$title" "$description" "$published" ;;
    nfo) write_nfo "$out/$clip.nfo" "$artist" "$title" "$description" "$published" ;;
    *)
        printf '%s.webm\t%s - %s\t%s\t%s\t%s\t%s\t%s\n' "$clip" "$artist" "$title" \
            "$description" "$language" "$rating" "$raters" "$published" >>"$tsv"
        ;;
    esac
done
mv "$tsv" "$out/metadata.tsv"
echo "demo library: $count clips in $out"
