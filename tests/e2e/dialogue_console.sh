# The dialogue of the built program at a pseudo-terminal and through a pipe, whole consoles.
# Called as: dialogue_console.sh <path-to-tavra> <tests/data directory>
set -u
command -v python3 >/dev/null || { echo "python3 is not installed (Debian package python3)" >&2; exit 1; }
ls /usr/lib/*/faketime/libfaketime.so.1 >/dev/null 2>&1 || { echo "libfaketime is not installed (Debian package faketime)" >&2; exit 1; }
# -B: no byte-code cache written into the source tree.
exec python3 -B "$(dirname "$0")/pty/dialogue_console.py" "$1"
