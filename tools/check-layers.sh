#!/usr/bin/env bash
# Checks the includes against the allowed graph of the top CMakeLists.txt: each subsystem folder
# includes only its own headers and those of the folders it may use, and only platform/ includes
# Qt, curl or iconv headers. Prints every offending line; exits 1 when there is one.
set -euo pipefail
cd "$(dirname "$0")/.."

declare -A uses=(
    [platform]=""
    [res]="platform"
    [controls]="platform res"
    [search]="platform res controls"
    [lists]="platform res controls search"
    [playback]="platform res controls search lists"
    [services]="platform res controls"
    [app]="platform res controls search lists playback services"
)

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
exit "$status"
