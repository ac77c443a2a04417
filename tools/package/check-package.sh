#!/usr/bin/env bash
# Builds the Debian package from a release build (no sanitizers) of only what it ships, checks
# it with lintian (any error or warning fails), unpacks it into a temporary root with dpkg -x,
# checks its file list and its libraries, and runs the installed `tunova --help` from there;
# as root it then installs it on this machine and starts it as a new user
# (tools/package/check-install.sh), and removes it again. Prints how long each step took.
#
# usage: tools/package/check-package.sh [BUILD_DIR]   (default: build-package)
set -euo pipefail
cd "$(dirname "$0")/../.."
build="${1:-build-package}"
started=$(date +%s)
step() { echo "check-package: $1 ($(( $(date +%s) - started )) s)"; }

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTUNOVA_TESTS=OFF \
    -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >/dev/null
ninja -C "$build" -j"$(nproc)" tunova tunova-server tunova-package-docs
step "built"
rm -f "$build"/tunova_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/tunova_*.deb)
step "packed $deb ($(du -k "$deb" | cut -f1) KB)"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb --field "$deb" Package Version Depends

# Debian's own checks: every error and warning fails the step.
lintian --fail-on error,warning --tag-display-limit 0 "$deb" ||
    { echo "check-package: lintian found errors or warnings" >&2; exit 1; }
step "lintian: no errors, no warnings"
dpkg -x "$deb" "$root/fs"

# Every file the package holds, but the skin folder's, must be the expected one and present;
# the skin folder must hold exactly the build's skin files.
expected=$(sort tools/package/file-list.txt)
actual=$(cd "$root/fs" && find . ! -type d ! -path './usr/share/tunova/skin/*' | sed 's|^\.||' | sort)
if [[ "$expected" != "$actual" ]]; then
    echo "check-package: the file list differs (< expected, > packaged):" >&2
    diff <(echo "$expected") <(echo "$actual") >&2 || true
    exit 1
fi
if ! diff <(cd "$build/bin/skin" && ls) <(cd "$root/fs/usr/share/tunova/skin" && ls) >/dev/null; then
    echo "check-package: the packaged skin folder differs from the build's" >&2
    exit 1
fi
for size in 48 128 256; do
    file "$root/fs/usr/share/icons/hicolor/${size}x${size}/apps/tunova.png" |
        grep -q "PNG image data, $size x $size" ||
        { echo "check-package: the ${size}-pixel icon is not a ${size}x${size} PNG" >&2; exit 1; }
done
launcher="$root/fs/usr/share/applications/tunova.desktop"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$launcher"
fi
# The launcher's command must be the packaged one, found on the PATH of an installed system.
exec_command=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$launcher")
[[ -n "$exec_command" && "$exec_command" != */* && -x "$root/fs/usr/bin/$exec_command" ]] ||
    { echo "check-package: the launcher's Exec line ($exec_command) is not a packaged command" >&2; exit 1; }
for program in usr/libexec/tunova/tunova usr/bin/tunova-server; do
    if ldd "$root/fs/$program" | grep -q "not found"; then
        echo "check-package: $program misses libraries:" >&2
        ldd "$root/fs/$program" | grep "not found" >&2
        exit 1
    fi
done

# The installed command, with a home of its own.
mkdir -p "$root/home"
help=$(HOME="$root/home" XDG_CONFIG_HOME= XDG_DATA_HOME= "$root/fs/usr/bin/tunova" --help)
for option in --export-playlist --import-playlist --next --search --help; do
    grep -q -- "$option" <<<"$help" ||
        { echo "check-package: tunova --help does not list $option" >&2; exit 1; }
done
[[ -L "$root/home/.local/share/tunova/player/you.html" ]] ||
    { echo "check-package: the launcher made no data folder" >&2; exit 1; }
"$root/fs/usr/bin/tunova-server" --help >/dev/null
step "checked: $(echo "$actual" | wc -l) files and $(ls "$root/fs/usr/share/tunova/skin" | wc -l) skin files, tunova --help runs"

if [[ $(id -u) -eq 0 ]]; then
    tools/package/check-install.sh "$deb"
else
    echo "check-package: the install check (tools/package/check-install.sh) needs root; skipped"
fi
