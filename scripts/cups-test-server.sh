#!/bin/sh
# A private CUPS scheduler for the test suite.
#
#   cups-test-server.sh start <dir> [owner-pid]
#   cups-test-server.sh stop  <dir>
#
# "start" runs a cupsd of its own, entirely inside <dir>: configuration,
# spool, cache, state, logs and a UNIX socket (no TCP port). It adds one raw
# queue, CAPQ, on a tiny "capture" backend that copies every job it receives
# into <dir>/capture, and makes CAPQ the default destination. Nothing of the
# machine's own printer configuration (/etc/cups, /run/cups, the system
# scheduler) is read or changed.
#
# On success "start" prints, one per line, the variables a client needs:
#
#   CUPS_SERVER=<dir>/cups.sock         the scheduler's socket
#   CUPS_SERVERROOT=<dir>/etc           client.conf / lpoptions come from here
#   HOME=<dir>/home                     so no ~/.cups/lpoptions interferes
#   RECIBO_CUPS_QUEUE=CAPQ
#   RECIBO_CUPS_CAPTURE_DIR=<dir>/capture
#   RECIBO_CUPS_PID=<pid>               the scheduler's process (tests pause it)
#
# Lines starting with "#" are comments. LPDEST and PRINTER must be unset in
# the client's environment, since they override the default destination.
# A captured job appears atomically as <dir>/capture/job-<id>.prn, with the
# job's title in job-<id>.title next to it.
#
# If owner-pid is given, a watchdog stops the scheduler once that process is
# gone, so a crashed test does not leave a cupsd behind.
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

die() { echo "cups-test-server: $*" >&2; exit 1; }
skip() { echo "cups-test-server: cannot run here: $*" >&2; exit $SKIP; }
usage() { echo "usage: $0 start <dir> [owner-pid] | stop <dir>" >&2; exit 2; }

# Is the process alive? A zombie nobody has reaped yet counts as gone.
alive() {
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

# Does the process's command line mention this instance's folder? Guards
# against killing a stranger that has reused a recorded pid.
ours() { # pid
    [ -r "/proc/$1/cmdline" ] || return 0
    tr '\0' ' ' <"/proc/$1/cmdline" 2>/dev/null | grep -qF -- "$dir"
}

stop_pid() { # pid-file
    [ -f "$1" ] || return 0
    pid=$(cat "$1")
    rm -f "$1"
    [ -n "$pid" ] || return 0
    alive "$pid" || return 0
    ours "$pid" || return 0
    kill -TERM "$pid" 2>/dev/null || true
    i=0
    while alive "$pid" && [ $i -lt 100 ]; do sleep 0.05; i=$((i + 1)); done
    if alive "$pid"; then
        kill -KILL "$pid" 2>/dev/null || true
    fi
}

MARK=.cups-test-server

do_stop() {
    dir=$(cd "$1" 2>/dev/null && pwd -P) || return 0
    [ -f "$dir/$MARK" ] || return 0
    stop_pid "$dir/watchdog.pid"
    stop_pid "$dir/cupsd.pid"
    rm -f "$dir/cups.sock"
}

find_serverbin() {
    for d in /usr/lib/cups /usr/libexec/cups /usr/local/lib/cups; do
        if [ -d "$d/backend" ]; then echo "$d"; return 0; fi
    done
    return 1
}

do_start() {
    dir=$1
    owner=${2:-}

    [ "$(id -u)" = 0 ] || skip "must run as root (cupsd runs its backends as the lp user)"
    for tool in cupsd lpadmin lpstat lpoptions; do
        PATH=$PATH:/usr/sbin:/sbin command -v $tool >/dev/null 2>&1 ||
            skip "$tool not found (install the Debian packages cups and cups-client)"
    done
    PATH=$PATH:/usr/sbin:/sbin
    sysbin=$(find_serverbin) || skip "no CUPS server programs (backend/filter directories) found"
    id lp >/dev/null 2>&1 || skip "there is no lp user"

    case "$dir" in
        *[[:space:]]*) die "the directory must not contain white space: '$dir'" ;;
    esac
    mkdir -p "$dir"
    dir=$(cd "$dir" && pwd -P)
    # Only an empty folder or one this script set up before: start clears
    # the subfolders it uses.
    if [ ! -f "$dir/$MARK" ] && [ -n "$(ls -A "$dir")" ]; then
        die "$dir is neither empty nor a folder of an earlier start"
    fi
    sock=$dir/cups.sock
    # sun_path holds 108 bytes including the terminating NUL.
    [ ${#sock} -lt 100 ] || die "socket path too long for a UNIX socket: $sock"

    do_stop "$dir"
    : >"$dir/$MARK"

    # cupsd drops to lp for everything it starts, and lp must reach the spool
    # and the backend through every directory on the way.
    chmod 0755 "$dir"
    rm -rf "${dir:?}/etc" "${dir:?}/spool" "${dir:?}/cache" "${dir:?}/state" "${dir:?}/log" \
           "${dir:?}/bin" "${dir:?}/home" "${dir:?}/capture"
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
    echo $! >"$dir/cupsd.pid"
    pid=$!

    # Ready when the scheduler answers on its socket (bounded: 15 s).
    i=0
    # (lpstat -r exits 0 either way; only its words tell.)
    until [ "$(lpstat -h "$sock" -r 2>/dev/null || true)" = "scheduler is running" ]; do
        if ! alive "$pid"; then
            tail -n 20 "$dir/log/error_log" "$dir/log/cupsd.out" >&2 2>/dev/null || true
            rm -f "$dir/cupsd.pid"
            die "cupsd exited during start-up (logs in $dir/log)"
        fi
        i=$((i + 1))
        if [ $i -gt 300 ]; then
            do_stop "$dir"
            die "cupsd did not answer on $sock within 15 s (logs in $dir/log)"
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
        do_stop "$dir"
        die "could not set up the queue $QUEUE"
    fi
    default=$(lpstat -h "$sock" -d 2>/dev/null || true)
    case "$default" in
        *": $QUEUE") ;;
        *) do_stop "$dir"; die "$QUEUE is not the default destination ('$default')" ;;
    esac

    if [ -n "$owner" ]; then
        sh -c '
            trap "" HUP
            while kill -0 "$2" 2>/dev/null; do sleep 1; done
            p=$(cat "$1/cupsd.pid" 2>/dev/null || true)
            [ -z "$p" ] || kill -TERM "$p" 2>/dev/null
            rm -f "$1/cupsd.pid" "$1/watchdog.pid"
        ' cups-test-watchdog "$dir" "$owner" </dev/null >/dev/null 2>&1 &
        echo $! >"$dir/watchdog.pid"
    fi

    echo "# private CUPS scheduler, pid $pid; unset LPDEST and PRINTER"
    echo "CUPS_SERVER=$sock"
    echo "CUPS_SERVERROOT=$dir/etc"
    echo "HOME=$dir/home"
    echo "RECIBO_CUPS_QUEUE=$QUEUE"
    echo "RECIBO_CUPS_CAPTURE_DIR=$dir/capture"
    echo "RECIBO_CUPS_PID=$pid"
}

[ $# -ge 2 ] || usage
case "$1" in
    start) [ $# -le 3 ] || usage; do_start "$2" "${3:-}" ;;
    stop)  [ $# -eq 2 ] || usage; do_stop "$2" ;;
    *) usage ;;
esac
