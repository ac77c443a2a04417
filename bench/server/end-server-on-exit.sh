# Sourced by the server benchmarks: the server a benchmark starts (its process id in
# server_pid) is ended when the script ends, however it ends.
server_pid=""
end_server() {
    if [[ -n "$server_pid" ]]; then
        kill "$server_pid" 2>/dev/null || true
        wait "$server_pid" 2>/dev/null || true
    fi
}
trap end_server EXIT
