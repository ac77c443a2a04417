#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer and runs every test
# headless. Usage: tools/run-tests.sh [extra ctest arguments]
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh

# Formatting first: it takes a second, the build takes minutes.
if command -v clang-format >/dev/null && [ -e .git ]; then
    git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror
fi
# Which subsystem may include which: the graph of the top CMakeLists.txt.
tools/check-layers.sh

build=build-tests
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTUNOVA_SANITIZE=ON >/dev/null
ninja -C "$build" -j"$(nproc)"

# Qt and its plug-ins allocate for the life of the process; leak reports would drown real faults.
export ASAN_OPTIONS="detect_leaks=0:abort_on_error=0:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export QT_QPA_PLATFORM=offscreen
export QTWEBENGINE_DISABLE_SANDBOX=1
export QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu --no-sandbox"

# In a session of its own, so that any process a test leaves running (a player, a server, a
# web-engine helper, a child forked but never executed) is found afterwards, ended, and fails
# the run.
tools/run-in-session.sh ctest --test-dir "$build" --output-on-failure -j2 "$@"
