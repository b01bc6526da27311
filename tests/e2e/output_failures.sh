# Output files that cannot be written: the message, status 1, and nothing half-written.
LIB=$(cd "$(dirname "$0")/lib" && pwd)
source "$LIB/common.bash"
source "$LIB/run_dir.bash"
require_faketime

cp "$DATA/run/two_points.txt" "$INPUT/two_points.txt"

# The working directory has gone (removed under the run): no file can be created in it.
new_run_dir
gone=$PWD
rmdir "$gone"
at_fixed_time "$TAVRA" "$INPUT/two_points.txt" \
    </dev/null >"$WORK/gone.stdout" 2>"$WORK/gone.stderr"
status=$?
cd "$WORK" || exit 1
expect_status 1 "$status" "directory gone"
expect_text "cannot open mission output file 2020_189_155.cfg " "$WORK/gone.stdout" \
    "directory gone"

# A directory holds the mission script's name (root ignores permissions, not this).
new_run_dir
mkdir 2020_189_155.cfg
tavra_run_at_fixed_time "$INPUT/two_points.txt"
expect_status 1 "$status" "mission script name taken"
expect_text "cannot open mission output file 2020_189_155.cfg " .stdout \
    "mission script name taken"
expect_files "mission script name taken" 2020_189_155.cfg
[ -d 2020_189_155.cfg ] || fail "mission script name taken: the directory was replaced"

# The same for the waypoint file: the mission script before it stays, nothing follows.
new_run_dir
mkdir 2020_189_155.wpt
tavra_run_at_fixed_time "$INPUT/two_points.txt"
expect_status 1 "$status" "waypoint file name taken"
expect_text " **** Wrote mission script: 2020_189_155.cfg **** 
cannot open waypoint output file 2020_189_155.wpt " .stdout "waypoint file name taken"
expect_files "waypoint file name taken" 2020_189_155.cfg 2020_189_155.wpt
expect_same_file "$DATA/two_point_2020_189_155.cfg" 2020_189_155.cfg "waypoint file name taken: cfg"

# size_limited_run <what> <trap command>: the mission script outgrows a 1 KiB file-size
# limit. The earlier script of that name must stay as it was and no temporary file remain.
size_limited_run() {
    new_run_dir
    printf 'earlier mission\n' >2020_189_155.cfg
    (
        ulimit -f 1
        eval "$2"
        tavra_run_at_fixed_time "$INPUT/two_points.txt"
        exit "$status"
    )
    status=$?
    expect_status 1 "$status" "$1"
    expect_text "cannot write mission output file 2020_189_155.cfg " .stdout "$1"
    expect_text "earlier mission
" 2020_189_155.cfg "$1: earlier file"
    expect_files "$1" 2020_189_155.cfg
}
[ "$(stat -c %s "$DATA/two_point_2020_189_155.cfg")" -gt 1024 ] || fail "example script under 1 KiB"
size_limited_run "size limit, SIGXFSZ ignored by the shell" "trap '' XFSZ"
size_limited_run "size limit, default SIGXFSZ" ":"

# Interrupted while writing: the temporary file goes with the process. A route of some
# 35000 points keeps the writer busy long enough to be caught at it. The real clock names
# the files here, so they are looked for by pattern.
new_run_dir
"$TAVRA" --maxLegMeters 0.05 "$INPUT/two_points.txt" </dev/null >.stdout 2>.stderr &
pid=$!
caught=0
for _ in $(seq 4000); do
    if compgen -G '.*.cfg.*.tmp' >/dev/null; then
        kill -TERM "$pid"
        caught=1
        break
    fi
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.002
done
wait "$pid"
status=$?
if [ "$caught" = 1 ]; then
    expect_status 143 "$status" "terminated while writing"
    left=$(compgen -G '.*.tmp')
    [ -z "$left" ] || fail "terminated while writing: temporary file left: $left"
    [ -z "$(compgen -G '*.csv')" ] || fail "terminated while writing: the last file was written"
else
    echo "note: the run ended before it could be interrupted; interrupt case not checked" >&2
fi

finish
