#!/usr/bin/env bash
# Checks the includes against the allowed graph of tools/layers.txt: each subsystem folder
# includes only its own headers and those of the folders it may use, and only platform/ includes
# Qt, curl or iconv headers. Prints every offending line; exits 1 when there is one.
set -euo pipefail
cd "$(dirname "$0")/.."

declare -A uses=()
while IFS= read -r line; do
    [[ "$line" =~ ^([a-z_]+):(.*)$ ]] || continue
    uses[${BASH_REMATCH[1]}]="${BASH_REMATCH[2]}"
done <tools/layers.txt
if [[ ${#uses[@]} -eq 0 ]]; then
    echo "tools/layers.txt names no subsystem" >&2
    exit 1
fi

status=0
for folder in "${!uses[@]}"; do
    allowed=" $folder ${uses[$folder]} "
    while IFS= read -r hit; do
        [[ -z "$hit" ]] && continue
        included=$(sed -E 's/.*#include "([a-z_]+)\/.*/\1/' <<<"${hit#*:*:}")
        if [[ -d "$included" && "$allowed" != *" $included "* ]]; then
            echo "$hit: $folder/ may not use $included/" >&2
            status=1
        fi
    done < <(git grep -n -E '^#include "[a-z_]+/' -- "$folder/*.h" "$folder/*.cpp" || true)
    if [[ "$folder" != platform ]]; then
        while IFS= read -r hit; do
            [[ -z "$hit" ]] && continue
            echo "$hit: only platform/ includes Qt, curl or iconv" >&2
            status=1
        done < <(git grep -n -E '^#include <(Q[A-Za-z]+|curl/|iconv\.h)' -- "$folder/*.h" "$folder/*.cpp" || true)
    fi
done
# libmpv's engine (platform/mpv) is its own library under platform: nothing else of platform/
# uses it, and of the subsystems only playback does (and app above it); only it includes libmpv.
while IFS= read -r hit; do
    [[ -z "$hit" ]] && continue
    echo "$hit: only playback/ and app/ use platform/mpv/" >&2
    status=1
done < <(git grep -n -E '^#include "platform/mpv/' -- ':!platform/mpv/*' ':!playback/*' ':!app/*' || true)
while IFS= read -r hit; do
    [[ -z "$hit" ]] && continue
    echo "$hit: only platform/mpv/ includes libmpv" >&2
    status=1
done < <(git grep -n -E '^#include <mpv/' -- ':!platform/mpv/*' || true)
exit "$status"
