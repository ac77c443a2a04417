#!/usr/bin/env bash
# Checks the includes against the allowed graph of tools/layers.txt: each subsystem folder
# includes only its own headers and those of the folders it may use, and only platform/'s pieces
# include Qt, curl or iconv headers. A folder with pieces ("platform") stands for its pieces'
# list when another folder uses it. Prints every offending line; exits 1 when there is one.
set -euo pipefail
cd "$(dirname "$0")/.."

declare -A uses=()
while IFS= read -r line; do
    [[ "$line" =~ ^([a-z_/]+):(.*)$ ]] || continue
    uses[${BASH_REMATCH[1]}]="${BASH_REMATCH[2]}"
done <tools/layers.txt
if [[ ${#uses[@]} -eq 0 ]]; then
    echo "tools/layers.txt names no subsystem" >&2
    exit 1
fi
all=" ${!uses[*]} "

status=0
for folder in "${!uses[@]}"; do
    [[ "$all" == *" $folder/"* ]] && continue # its pieces are checked one by one
    allowed=" $folder "
    for used in ${uses[$folder]}; do
        [[ "$all" == *" $used/"* ]] && allowed+="${uses[$used]} " || allowed+="$used "
    done
    allowed+=" "
    while IFS= read -r hit; do
        [[ -z "$hit" ]] && continue
        path=$(sed -E 's/.*#include "([^"]*)".*/\1/' <<<"${hit#*:*:}")
        included=${path%%/*}
        if [[ "$included" == platform ]]; then
            rest=${path#platform/}
            included=platform/${rest%%/*}
        fi
        if [[ -d "$included" && "$allowed" != *" $included "* ]]; then
            echo "$hit: $folder/ may not use $included/" >&2
            status=1
        fi
    done < <(git grep -n -E '^#include "[a-z_]+/' -- "$folder/*.h" "$folder/*.cpp" || true)
    if [[ "$folder" != platform/* ]]; then
        while IFS= read -r hit; do
            [[ -z "$hit" ]] && continue
            echo "$hit: only platform/ includes Qt, curl or iconv" >&2
            status=1
        done < <(git grep -n -E '^#include <(Q[A-Za-z]+|curl/|iconv\.h)' -- "$folder/*.h" "$folder/*.cpp" || true)
    fi
done
# Only platform/mpv/ includes libmpv.
while IFS= read -r hit; do
    [[ -z "$hit" ]] && continue
    echo "$hit: only platform/mpv/ includes libmpv" >&2
    status=1
done < <(git grep -n -E '^#include <mpv/' -- ':!platform/mpv/*' || true)
exit "$status"
