#!/usr/bin/env bash
# Runs a command in a session of its own with a mark in its environment, and checks after it ends
# that nothing it started is still running: a process still in its session or process group, or
# one that moved to a session of its own but carries the mark. Each one found is listed (with its
# threads' names, which tell a forked child that never reached exec), ended, and fails the run.
#
# usage: run-in-session.sh COMMAND [ARGUMENT...]
# Exits with the command's status, or 1 when the command passed but left a process behind.
set -uo pipefail

mark="run-$$-$RANDOM$RANDOM"
sidfile=$(mktemp)
trap 'rm -f "$sidfile"' EXIT

# The session's id is the pid of the shell that asks for it and then becomes the command.
setsid --wait sh -c 'echo $$ >"$1"; shift; exec "$@"' sh "$sidfile" \
    env TUNOVA_RUN_MARK="$mark" "$@" &
runner=$!
stop() {
    sid=$(cat "$sidfile")
    [[ -n "$sid" ]] && kill -TERM -- "-$sid" 2>/dev/null
}
trap 'stop; wait "$runner"; exit 130' INT TERM
wait "$runner"
status=$?
sid=$(cat "$sidfile")

# Processes of the run still alive, zombies aside.
leftovers() {
    local dir pid fields
    for dir in /proc/[0-9]*; do
        pid=${dir#/proc/}
        { read -r fields <"$dir/stat"; } 2>/dev/null || continue
        # After the name: state, parent, process group, session.
        read -r state _ group session _ <<<"${fields##*) }"
        [[ "$state" == Z ]] && continue
        if [[ -n "$sid" && ("$group" == "$sid" || "$session" == "$sid") ]] ||
            grep -qzx "TUNOVA_RUN_MARK=$mark" "$dir/environ" 2>/dev/null; then
            echo "$pid"
        fi
    done
}

mapfile -t found < <(leftovers)
if [[ ${#found[@]} -eq 0 ]]; then
    exit "$status"
fi
echo "run-in-session: ${#found[@]} process(es) outlived the run of: $*" >&2
for pid in "${found[@]}"; do
    threads=$({ cat /proc/"$pid"/task/*/comm; } 2>/dev/null | sort | uniq -c | tr -s ' \n' ' ')
    echo "  $(ps -o pid=,ppid=,sid=,etime=,args= -p "$pid") [threads:$threads]" >&2
done
kill -TERM "${found[@]}" 2>/dev/null
for _ in 1 2 3 4 5 6 7 8 9 10; do
    alive=()
    for pid in "${found[@]}"; do
        [[ -e /proc/$pid ]] && alive+=("$pid")
    done
    [[ ${#alive[@]} -eq 0 ]] && break
    sleep 0.2
done
[[ ${#alive[@]} -gt 0 ]] && kill -KILL "${alive[@]}" 2>/dev/null
[[ $status -ne 0 ]] && exit "$status"
exit 1
