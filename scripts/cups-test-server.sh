#!/bin/sh
# A private CUPS scheduler for the test suite.
#
#   cups-test-server.sh start [owner-pid]
#   cups-test-server.sh stop  <dir>
#
# "start" makes a fresh folder <dir>, ${TMPDIR:-/tmp}/recibo-cups.XXXXXX, and
# runs a cupsd of its own entirely inside it: configuration, spool, cache,
# state, logs, and a UNIX socket (no TCP port) in <dir>/private, a folder only
# root can enter. It adds one raw queue, CAPQ, on a tiny "capture" backend
# that copies every job it receives into <dir>/capture, and makes CAPQ the
# default destination. Nothing of the machine's own printer configuration
# (/etc/cups, /run/cups, the system scheduler) is read or changed.
#
# On success "start" prints, one per line, the variables a client needs:
#
#   RECIBO_CUPS_DIR=<dir>               the folder, for "stop"
#   CUPS_SERVER=<dir>/private/cups.sock the scheduler's socket
#   CUPS_SERVERROOT=<dir>/etc           client.conf / lpoptions come from here
#   HOME=<dir>/home                     so no ~/.cups/lpoptions interferes
#   RECIBO_CUPS_QUEUE=CAPQ
#   RECIBO_CUPS_PS_QUEUE=PSQ            the same capture, as PostScript
PS_QUEUE=PSQ
#   RECIBO_CUPS_CAPTURE_DIR=<dir>/capture
#   RECIBO_CUPS_PID=<pid>               the scheduler's process (tests pause it)
#
# Lines starting with "#" are comments. LPDEST and PRINTER must be unset in
# the client's environment, since they override the default destination.
# A captured job appears atomically as <dir>/capture/job-<id>.prn, with the
# job's title in job-<id>.title next to it.
#
# The scheduler belongs to an owner process: owner-pid, or else the process
# that ran "start". A watchdog stops the scheduler and removes <dir> once the
# owner is gone, so a test that crashes leaves nothing behind; "stop" does the
# same at once. A later "start" also removes the folders of earlier runs whose
# owner and watchdog are both gone (killed together, say). Processes are told
# apart by pid and start time, so a pid the system has given to another
# process since is never signalled. With RECIBO_CUPS_KEEP set in the
# environment the folder stays, for its logs, and is no longer swept.
#
# Exit codes: 0 done, 1 failure, 2 usage, 77 cannot run here (not root, or
# CUPS not installed); a test that sees 77 is skipped.

set -eu
# Tool output is matched below; keep it untranslated.
LC_ALL=C
LANG=C
export LC_ALL LANG

SKIP=77
QUEUE=CAPQ
PS_QUEUE=PSQ
# Marks a folder this script made and may remove.
MARK=.cups-test-server
ROOT=${TMPDIR:-/tmp}

die() { echo "cups-test-server: $*" >&2; exit 1; }
skip() { echo "cups-test-server: cannot run here: $*" >&2; exit $SKIP; }
usage() { echo "usage: $0 start [owner-pid] | stop <dir>" >&2; exit 2; }

# Is the process alive? A zombie nobody has reaped yet counts as gone.
alive() { # pid
    kill -0 "$1" 2>/dev/null || return 1
    if [ -r "/proc/$1/stat" ]; then
        # "pid (command) state ...": the state follows the last ") ".
        state=$(sed 's/.*) //' "/proc/$1/stat" 2>/dev/null | cut -c1)
        [ "$state" != Z ]
        return
    fi
    st=$(ps -o stat= -p "$1" 2>/dev/null) || return 0
    case "$st" in Z*) return 1 ;; esac
    return 0
}

# When the process started (clock ticks since boot): with the pid it names
# one process for good, where a pid alone may be given to another later.
started() { # pid
    if [ -r "/proc/$1/stat" ]; then
        # The 22nd field, the 20th after "pid (command) ".
        sed 's/.*) //' "/proc/$1/stat" 2>/dev/null | cut -d' ' -f20
    else
        ps -o lstart= -p "$1" 2>/dev/null
    fi
}

record() { # pid file: what "running" compares with later
    echo "$1 $(started "$1")" >"$2"
}

# Does the process recorded in the file still run, the same one?
running() { # record-file
    [ -f "$1" ] || return 1
    read -r rec_pid rec_start <"$1" 2>/dev/null || return 1
    [ -n "$rec_pid" ] && alive "$rec_pid" && [ "$(started "$rec_pid")" = "$rec_start" ]
}

# Ends the recorded process if it is still the one recorded: TERM, and KILL
# after 5 s.
stop_recorded() { # record-file
    running "$1" || return 0
    read -r rec_pid rec_start <"$1"
    kill -TERM "$rec_pid" 2>/dev/null || true
    i=0
    while running "$1" && [ $i -lt 100 ]; do sleep 0.05; i=$((i + 1)); done
    if running "$1"; then
        kill -KILL "$rec_pid" 2>/dev/null || true
    fi
}

# A folder this script made: a real directory of this user with the mark.
is_ours() { # dir
    [ -d "$1" ] && [ ! -L "$1" ] && [ -O "$1" ] && [ -f "$1/$MARK" ]
}

# Stops the watchdog and the scheduler of a folder and removes it (with
# RECIBO_CUPS_KEEP, unmarks it instead).
remove_run() { # dir
    stop_recorded "$1/private/watchdog.pid"
    stop_recorded "$1/private/cupsd.pid"
    if [ -n "${RECIBO_CUPS_KEEP:-}" ]; then
        rm -f "$1/$MARK" "$1/private/cups.sock"
        echo "cups-test-server: folder kept: $1" >&2
    else
        rm -rf "$1"
    fi
}

do_stop() {
    dir=$(cd "$1" 2>/dev/null && pwd -P) || return 0
    is_ours "$dir" || return 0
    remove_run "$dir"
}

# The watchdog, in a session of its own so that neither the terminal's
# signals nor a kill of the test's process group reach it.
do_watch() {
    dir=$1
    trap '' HUP INT
    record $$ "$dir/private/watchdog.pid"
    while running "$dir/private/owner"; do sleep 1; done
    rm -f "$dir/private/watchdog.pid"
    is_ours "$dir" && remove_run "$dir"
}

# Folders of earlier runs whose owner is gone: their watchdog did not clean
# up (it was killed too), so this run does.
sweep() {
    for old in "$ROOT"/recibo-cups.*; do
        is_ours "$old" || continue
        [ -f "$old/private/owner" ] || continue
        running "$old/private/owner" && continue
        running "$old/private/watchdog.pid" && continue
        echo "cups-test-server: removing $old, left by a run that ended without stopping it" >&2
        remove_run "$old"
    done
}

find_serverbin() {
    for d in /usr/lib/cups /usr/libexec/cups /usr/local/lib/cups; do
        if [ -d "$d/backend" ]; then echo "$d"; return 0; fi
    done
    return 1
}

do_start() {
    [ "$(id -u)" = 0 ] || skip "must run as root (cupsd runs its backends as the lp user)"
    for tool in cupsd lpadmin lpstat lpoptions; do
        PATH=$PATH:/usr/sbin:/sbin command -v $tool >/dev/null 2>&1 ||
            skip "$tool not found (install the Debian packages cups and cups-client)"
    done
    PATH=$PATH:/usr/sbin:/sbin
    sysbin=$(find_serverbin) || skip "no CUPS server programs (backend/filter directories) found"
    id lp >/dev/null 2>&1 || skip "there is no lp user"
    owner=${1:-$PPID}
    alive "$owner" || die "the owner process $owner does not run"

    sweep
    dir=$(mktemp -d "$ROOT/recibo-cups.XXXXXX") || die "cannot make a folder in $ROOT"
    dir=$(cd "$dir" && pwd -P)
    case "$dir" in
        *[[:space:]]*) rm -rf "$dir"; die "the folder must not contain white space: '$dir'" ;;
    esac
    # Whatever goes wrong from here on, nothing stays behind.
    trap 'remove_run "$dir"' EXIT
    # The socket, the pid records and the owner: for root's eyes only.
    mkdir -m 0700 "$dir/private"
    record "$owner" "$dir/private/owner"
    : >"$dir/$MARK"
    sock=$dir/private/cups.sock
    # sun_path holds 108 bytes including the terminating NUL.
    [ ${#sock} -lt 100 ] || die "socket path too long for a UNIX socket: $sock"

    # cupsd drops to lp for everything it starts, and lp must reach the spool
    # and the backend through every directory on the way.
    chmod 0755 "$dir"
    mkdir -p "$dir/etc" "$dir/spool/tmp" "$dir/cache" "$dir/state" "$dir/log" \
             "$dir/bin/backend" "$dir/home" "$dir/capture"
    chmod 0755 "$dir/etc" "$dir/spool" "$dir/cache" "$dir/state" "$dir/log" \
               "$dir/bin" "$dir/bin/backend" "$dir/home" "$dir/capture"
    if command -v runuser >/dev/null 2>&1 &&
       ! runuser -u lp -- test -x "$dir/bin/backend"; then
        die "the lp user cannot enter $dir (is a parent directory private?)"
    fi

    # Server programs: the system's own, by symlink, plus the capture backend.
    for sub in "$sysbin"/*; do
        name=$(basename "$sub")
        [ "$name" = backend ] && continue
        ln -s "$sub" "$dir/bin/$name"
    done
    for b in "$sysbin"/backend/*; do
        ln -s "$b" "$dir/bin/backend/$(basename "$b")"
    done
    cat >"$dir/bin/backend/capture" <<EOF
#!/bin/sh
# CUPS backend: keeps each job, byte for byte, in $dir/capture.
out='$dir/capture'
if [ \$# -eq 0 ]; then
    echo 'direct capture "Unknown" "Copy jobs to a folder"'
    exit 0
fi
if [ \$# -lt 5 ] || [ \$# -gt 6 ]; then
    echo "Usage: capture job-id user title copies options [file]" >&2
    exit 1
fi
part="\$out/.job-\$1.part"
if [ \$# -eq 6 ]; then cat "\$6" >"\$part" || exit 1; else cat >"\$part" || exit 1; fi
printf '%s\n' "\$3" >"\$out/job-\$1.title"
chmod 0644 "\$part" "\$out/job-\$1.title"
mv -f "\$part" "\$out/job-\$1.prn" || exit 1
echo "INFO: job \$1 captured" >&2
exit 0
EOF
    # Mode 0700 makes cupsd run it as root, so it can write the capture folder
    # whatever the ownership of <dir>.
    chmod 0700 "$dir/bin/backend/capture"

    cat >"$dir/etc/cups-files.conf" <<EOF
ServerRoot $dir/etc
RequestRoot $dir/spool
TempDir $dir/spool/tmp
CacheDir $dir/cache
StateDir $dir/state
ServerBin $dir/bin
DataDir /usr/share/cups
AccessLog $dir/log/access_log
ErrorLog $dir/log/error_log
PageLog $dir/log/page_log
Printcap $dir/state/printcap
LogFilePerm 0644
User lp
Group lp
SystemGroup root
FileDevice No
EOF
    cat >"$dir/etc/cupsd.conf" <<EOF
LogLevel info
MaxLogSize 0
Listen $sock
Browsing No
BrowseLocalProtocols none
WebInterface No
DefaultAuthType None
# A failed job must not stop the queue for the jobs after it.
ErrorPolicy abort-job
PreserveJobHistory Yes
PreserveJobFiles No
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
EOF
    # Empty client configuration: the socket is chosen by CUPS_SERVER.
    : >"$dir/etc/client.conf"
    chmod 0644 "$dir/etc/cups-files.conf" "$dir/etc/cupsd.conf" "$dir/etc/client.conf"

    # No system D-Bus for it either: nothing to register with colord.
    DBUS_SYSTEM_BUS_ADDRESS=unix:path=$dir/no-system-bus \
        cupsd -f -c "$dir/etc/cupsd.conf" -s "$dir/etc/cups-files.conf" \
        </dev/null >>"$dir/log/cupsd.out" 2>&1 &
    pid=$!
    record "$pid" "$dir/private/cupsd.pid"

    # Ready when the scheduler answers on its socket (bounded: 15 s).
    i=0
    # (lpstat -r exits 0 either way; only its words tell.)
    until [ "$(lpstat -h "$sock" -r 2>/dev/null || true)" = "scheduler is running" ]; do
        if ! alive "$pid"; then
            tail -n 20 "$dir/log/error_log" "$dir/log/cupsd.out" >&2 2>/dev/null || true
            die "cupsd exited during start-up"
        fi
        i=$((i + 1))
        if [ $i -gt 300 ]; then
            tail -n 20 "$dir/log/error_log" "$dir/log/cupsd.out" >&2 2>/dev/null || true
            die "cupsd did not answer on $sock within 15 s"
        fi
        sleep 0.05
    done

    # The client tools below must see only this scheduler and this folder.
    export CUPS_SERVER="$sock" CUPS_SERVERROOT="$dir/etc" HOME="$dir/home"
    unset LPDEST PRINTER || true

    if ! lpadmin -h "$sock" -p "$QUEUE" -E -v capture:/ -m raw >"$dir/log/lpadmin.out" 2>&1 ||
       ! lpadmin -h "$sock" -d "$QUEUE" >>"$dir/log/lpadmin.out" 2>&1 ||
       ! lpoptions -h "$sock" -d "$QUEUE" >>"$dir/log/lpadmin.out" 2>&1; then
        cat "$dir/log/lpadmin.out" >&2
        die "could not set up the queue $QUEUE"
    fi
    # A second queue on the same backend behind a PostScript printer's
    # description: CUPS turns every page into PostScript on its way there, as
    # for a PostScript printer or a print-to-PDF queue.
    if ! lpadmin -h "$sock" -p "$PS_QUEUE" -E -v capture:/ -m drv:///sample.drv/generic.ppd \
            >>"$dir/log/lpadmin.out" 2>&1; then
        cat "$dir/log/lpadmin.out" >&2
        die "could not set up the queue $PS_QUEUE"
    fi
    default=$(lpstat -h "$sock" -d 2>/dev/null || true)
    case "$default" in
        *": $QUEUE") ;;
        *) die "$QUEUE is not the default destination ('$default')" ;;
    esac

    detach=
    command -v setsid >/dev/null 2>&1 && detach=setsid
    $detach /bin/sh "$0" watch "$dir" </dev/null >/dev/null 2>&1 &
    i=0
    until running "$dir/private/watchdog.pid"; do
        i=$((i + 1))
        [ $i -le 100 ] || die "the watchdog did not start"
        sleep 0.05
    done
    trap - EXIT

    echo "# private CUPS scheduler, pid $pid, owner $owner; unset LPDEST and PRINTER"
    echo "RECIBO_CUPS_DIR=$dir"
    echo "CUPS_SERVER=$sock"
    echo "CUPS_SERVERROOT=$dir/etc"
    echo "HOME=$dir/home"
    echo "RECIBO_CUPS_QUEUE=$QUEUE"
    echo "RECIBO_CUPS_PS_QUEUE=$PS_QUEUE"
    echo "RECIBO_CUPS_CAPTURE_DIR=$dir/capture"
    echo "RECIBO_CUPS_PID=$pid"
}

[ $# -ge 1 ] || usage
case "$1" in
    start) [ $# -le 2 ] || usage; do_start "${2:-}" ;;
    stop)  [ $# -eq 2 ] || usage; do_stop "$2" ;;
    # Internal: the watchdog that "start" leaves behind.
    watch) [ $# -eq 2 ] || usage; do_watch "$2" ;;
    *) usage ;;
esac
