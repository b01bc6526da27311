# The dialogue of the built program at a pseudo-terminal and through a pipe, whole consoles.
# Called as: dialogue_console.sh <path-to-tavra> <tests/data directory>
set -u
# Without its tools the script is skipped, except in CI, which installs them.
skip_test() {
    echo "$1: skipped" >&2
    [ "${CI:-}" = true ] && exit 1
    exit 77
}
command -v python3 >/dev/null || skip_test "python3 is not installed (Debian package python3)"
ls /usr/lib/*/faketime/libfaketime.so.1 >/dev/null 2>&1 || skip_test "libfaketime is not installed (Debian package faketime)"
# -B: no byte-code cache written into the source tree.
exec python3 -B "$(dirname "$0")/pty/dialogue_console.py" "$1"
