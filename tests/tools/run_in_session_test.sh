#!/usr/bin/env bash
# tools/run-in-session.sh: a command's own status comes back; processes it leaves behind (in its
# process group, or moved to a session of their own) are listed, ended, and fail the run.
#
# usage: run_in_session_test.sh
set -uo pipefail
cd "$(dirname "$0")/../.."

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

tools/run-in-session.sh true || fail "a clean command failed"
tools/run-in-session.sh sh -c 'exit 3'
[[ $? -eq 3 ]] || fail "the command's own status was not kept"

# Durations no other program on the machine uses, to find the sleepers by.
tools/run-in-session.sh sh -c 'sleep 4711 & setsid sleep 4712 & sleep 0.2; exit 0' >"$work/out" 2>&1
status=$?
[[ $status -ne 0 ]] || fail "leftovers did not fail the run"
grep -q "sleep 4711" "$work/out" || fail "the sleeper in the process group was not listed"
grep -q "sleep 4712" "$work/out" || fail "the sleeper in a session of its own was not listed"
for d in /proc/[0-9]*; do
    case "$({ tr '\0' ' ' <"$d/cmdline"; } 2>/dev/null)" in
        "sleep 4711 " | "sleep 4712 ") fail "left running: pid ${d#/proc/}" ;;
    esac
done

[[ $failures -eq 0 ]] || { cat "$work/out" >&2; exit 1; }
echo "run-in-session: 4 checks passed"
