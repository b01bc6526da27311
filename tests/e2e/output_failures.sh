# Output files that cannot be written: for each of the four writers, its file cannot be
# created or fills the disk midway, and runs interrupted while a file is written. Every case
# ends with status 1 and the writer's message, keeps the files written before it, writes no
# later file, leaves no temporary file, and leaves an earlier file of that name as it was.
LIB=$(cd "$(dirname "$0")/lib" && pwd)
source "$LIB/common.bash"
source "$LIB/run_dir.bash"
require_faketime

cp "$DATA/run/two_points.txt" "$INPUT/two_points.txt"

# The writers in the order of a run: extension, the name the messages use, confirmation.
EXTENSIONS=(cfg wpt pts csv)
KINDS=(mission waypoint surveyline csv)
CONFIRMATIONS=(" **** Wrote mission script: 2020_189_155.cfg **** 
" "
 **** Wrote waypoints file : 2020_189_155.wpt ****
" "
 **** Wrote survey line : 2020_189_155.pts ****
" "
 **** Wrote csv file : 2020_189_155.csv ****
")
[ "${CONFIRMATIONS[0]}${CONFIRMATIONS[1]}${CONFIRMATIONS[2]}${CONFIRMATIONS[3]}" = "$WROTE_ALL" ] ||
    fail "the confirmations do not make up a whole run's console"

# expect_writer_failed <what> <writer index> <open|write> <reference prefix>: status 1, the
# confirmations of the writers before it and its own message; their files as the complete
# ones at <reference prefix>2020_189_155.<extension>, its own name taken by whatever the
# case put there, nothing else.
expect_writer_failed() {
    local what=$1 failing=$2 verb=$3 reference=$4 i console="" files=()
    for ((i = 0; i < failing; i++)); do
        console+=${CONFIRMATIONS[i]}
        files+=("2020_189_155.${EXTENSIONS[i]}")
        expect_same_file "${reference}2020_189_155.${EXTENSIONS[i]}" \
            "2020_189_155.${EXTENSIONS[i]}" "$what: earlier output ${EXTENSIONS[i]}"
    done
    expect_status 1 "$status" "$what"
    # The last line says why in the system's words, which differ from case to case.
    local shown
    shown=$(cat .stdout && printf x)
    shown=${shown%x}
    local failure="cannot $verb ${KINDS[failing]} output file 2020_189_155.${EXTENSIONS[failing]}: "
    [[ $shown == "$console$failure"?*$'\n' && ${shown#"$console$failure"} != *$'\n'?* ]] ||
        fail "$what: console '$shown', expected '$console$failure<reason>'"
    expect_files "$what" "${files[@]}" "2020_189_155.${EXTENSIONS[failing]}"
}

# The working directory has gone (removed under the run): no file can be created in it.
new_run_dir
gone=$PWD
rmdir "$gone"
at_fixed_time "$TAVRA" "$INPUT/two_points.txt" \
    </dev/null >"$WORK/gone.stdout" 2>"$WORK/gone.stderr"
status=$?
cd "$WORK" || exit 1
expect_status 1 "$status" "directory gone"
grep -qx "cannot open mission output file 2020_189_155.cfg: No such file or directory" \
    "$WORK/gone.stdout" || fail "directory gone: $(cat "$WORK/gone.stdout")"

# A directory holds an output's name (root ignores permissions, not this): that writer
# cannot create its file, and the directory and what it holds stay.
for writer in 0 1 2 3; do
    what="${EXTENSIONS[writer]} name taken by a directory"
    new_run_dir
    mkdir "2020_189_155.${EXTENSIONS[writer]}"
    printf 'kept\n' >"2020_189_155.${EXTENSIONS[writer]}/inside"
    tavra_run_at_fixed_time "$INPUT/two_points.txt"
    expect_writer_failed "$what" "$writer" open "$DATA/two_point_"
    [ "$(ls -A "2020_189_155.${EXTENSIONS[writer]}")" = inside ] ||
        fail "$what: the directory's content changed"
    expect_text "kept
" "2020_189_155.${EXTENSIONS[writer]}/inside" "$what: inside the directory"
done

# size_limited_run <what> <trap command>: the mission script outgrows a 1 KiB file-size
# limit. The earlier script of that name must stay as it was and no temporary file remain.
size_limited_run() {
    new_run_dir
    printf 'earlier mission\n' >2020_189_155.cfg
    (
        ulimit -f 1
        eval "$2"
        tavra_run_at_fixed_time --overwrite "$INPUT/two_points.txt"
        exit "$status"
    )
    status=$?
    expect_status 1 "$status" "$1"
    expect_text "cannot write mission output file 2020_189_155.cfg: File too large
" .stdout "$1"
    expect_text "earlier mission
" 2020_189_155.cfg "$1: earlier file"
    expect_files "$1" 2020_189_155.cfg
}
[ "$(stat -c %s "$DATA/two_point_2020_189_155.cfg")" -gt 1024 ] || fail "example script under 1 KiB"
size_limited_run "size limit, SIGXFSZ ignored by the shell" "trap '' XFSZ"
size_limited_run "size limit, default SIGXFSZ" ":"

# The later files are always smaller than the mission script, so a file-size limit never
# stops them alone; a full disk does. The example leg cut into 0.5 m pieces makes a route
# of 3465 points, whose files span tens of 4 KiB pages each even for the smallest, so a
# disk that ends halfway through one of them stops that file midway.
# --overwrite: the earlier file of the name that a case puts there is no run of this minute.
BIG=(--overwrite --maxLegMeters 0.5 "$INPUT/two_points.txt")
new_run_dir
reference=$PWD
tavra_run_at_fixed_time "${BIG[@]}"
expect_status 0 "$status" "reference run"
expect_text "$WROTE_ALL" .stdout "reference run"

# on_small_disk <bytes> <files> <args...>: runs tavra at the fixed time with the current
# directory moved onto a fresh filesystem that holds that many bytes and files (the
# directory itself counts as one); afterwards the directory holds what the run left there.
# Sets $status, 99 when no such filesystem could be made.
SMALL_DISK_SCRIPT='
    here=$1 bytes=$2 files=$3
    shift 3
    disk=$(mktemp -d) || exit 99
    mount -t tmpfs -o "size=$bytes,nr_inodes=$files" tavra-test "$disk" 2>/dev/null || exit 99
    cp -a "$here/." "$disk/" && find "$here" -mindepth 1 -delete && cd "$disk" || exit 99
    TZ=UTC LD_PRELOAD="$FAKETIME_LIBRARY" FAKETIME="@2020-07-08 15:05:30" \
        ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0" \
        "$@" </dev/null >"$here/.stdout" 2>"$here/.stderr"
    status=$?
    cp -a "$disk/." "$here/"
    exit "$status"'
on_small_disk() {
    local bytes=$1 files=$2
    shift 2
    ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0" \
        unshare --mount --propagation private bash -c "$SMALL_DISK_SCRIPT" small-disk \
        "$PWD" "$bytes" "$files" "$TAVRA" "$@"
    status=$?
}

pages() {
    echo $((($(stat -c %s "$1") + 4095) / 4096))
}

if ! unshare --mount --propagation private true 2>/dev/null; then
    echo "note: no private mount namespace here (root needed); full-disk cases not checked" >&2
else
    for writer in 0 1 2 3; do
        ext=${EXTENSIONS[writer]}
        # Room for the files before it and the earlier file of its name, and half of its own.
        budget=1
        for ((i = 0; i < writer; i++)); do
            budget=$((budget + $(pages "$reference/2020_189_155.${EXTENSIONS[i]}")))
        done
        budget=$((budget + $(pages "$reference/2020_189_155.$ext") / 2))
        what="$ext fills the disk"
        new_run_dir
        printf 'earlier %s\n' "$ext" >"2020_189_155.$ext"
        on_small_disk $((budget * 4096)) 64 "${BIG[@]}"
        [ "$status" = 99 ] && { fail "$what: no small filesystem could be made"; continue; }
        expect_writer_failed "$what" "$writer" write "$reference/"
        expect_text "earlier $ext
" "2020_189_155.$ext" "$what: earlier file"

        # No file left to create: the directory, the run's lock, the files before it and the
        # earlier file of its name use every one there is, so its temporary file cannot be
        # created.
        what="$ext finds no free file"
        new_run_dir
        printf 'earlier %s\n' "$ext" >"2020_189_155.$ext"
        on_small_disk $((64 * 1024 * 1024)) $((writer + 3)) "${BIG[@]}"
        expect_writer_failed "$what" "$writer" open "$reference/"
        expect_text "earlier $ext
" "2020_189_155.$ext" "$what: earlier file"
    done
fi

# Interrupted while writing: the signal's own end, the temporary file gone with the process,
# the earlier file of the name as it was, the files before it complete and none after it.
# A route of 34623 points keeps even the last file busy for a while; the run is stopped
# as soon as the file is seen, so that the signal certainly comes while it is written.
LIBFAKETIME=$(dpkg -L libfaketime 2>/dev/null | grep '/libfaketime\.so\.1$' | head -n 1)
HUGE=(--overwrite --maxLegMeters 0.05 "$INPUT/two_points.txt")
new_run_dir
huge_reference=$PWD
tavra_run_at_fixed_time "${HUGE[@]}"
expect_status 0 "$status" "huge reference run"

# interrupted_run <signal> <writer index>
interrupted_run() {
    local signal=$1 writer=$2 ext=${EXTENSIONS[$2]} what="SIG$1 while writing ${EXTENSIONS[$2]}"
    local pid temporary="" i files=()
    new_run_dir
    printf 'earlier %s\n' "$ext" >"2020_189_155.$ext"
    # Started straight under libfaketime, so that the signal reaches tavra itself; a
    # background job would otherwise ignore SIGINT.
    LD_PRELOAD=$LIBFAKETIME FAKETIME="@2020-07-08 15:05:30" TZ=UTC \
        ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0" \
        env --default-signal=INT "$TAVRA" "${HUGE[@]}" </dev/null >.stdout 2>.stderr &
    pid=$!
    while kill -0 "$pid" 2>/dev/null; do
        temporary=$(compgen -G ".2020_189_155.$ext.*.tmp")
        if [ -n "$temporary" ]; then
            kill -STOP "$pid"
            [ -e "$temporary" ] && break
            kill -CONT "$pid"
            temporary=""
        fi
    done
    if [ -z "$temporary" ]; then
        wait "$pid"
        echo "note: $what: the run ended before the file was seen; not checked" >&2
        return
    fi
    kill "-$signal" "$pid"
    kill -CONT "$pid"
    wait "$pid"
    status=$?
    expect_status $((128 + $(kill -l "$signal"))) "$status" "$what"
    [ ! -e "$temporary" ] || fail "$what: temporary file $temporary left"
    expect_text "earlier $ext
" "2020_189_155.$ext" "$what: earlier file"
    for ((i = 0; i < writer; i++)); do
        files+=("2020_189_155.${EXTENSIONS[i]}")
        expect_same_file "$huge_reference/2020_189_155.${EXTENSIONS[i]}" \
            "2020_189_155.${EXTENSIONS[i]}" "$what: ${EXTENSIONS[i]}"
    done
    expect_files "$what" "${files[@]}" "2020_189_155.$ext"
}
if [ -z "$LIBFAKETIME" ]; then
    fail "libfaketime.so.1 not found (Debian package libfaketime)"
else
    interrupted_run INT 0
    interrupted_run TERM 0
    interrupted_run INT 3
    interrupted_run TERM 3
fi

finish
