#!/usr/bin/env bash
# A receiver of NET SEND messages on this machine: Samba's smbd on the loopback address, with a
# configuration and folders of its own (no system file is read or written), showing each message.
# Usage: receiver.sh [--port PORT] [--folder DIR]   shows each message that arrives, until Ctrl-C
#        receiver.sh --detach --port PORT --folder DIR   only files them in DIR/messages, in the background
#        receiver.sh --stop --folder DIR                 stops it
# Without --port it listens on port 139, the one net.exe uses, or on 1139 if something holds 139. With
# --address ADDRESS, one of this machine's own, it listens there too.
set -euo pipefail

# smbd must start as root; so must anything that stops it.
if [ "$(id -u)" -ne 0 ]; then
    exec sudo "$0" "$@"
fi

port= folder=${TMPDIR:-/tmp}/mirolt-receiver mode=show address=
while [ $# -gt 0 ]; do
    case $1 in
        --port) port=$2; shift ;;
        --folder) folder=$2; shift ;;
        --address) address=$2; shift ;;
        --detach) mode=detach ;;
        --stop) mode=stop ;;
        *) sed -n 's/^# Usage: /Usage: /p; s/^#        /       /p' "$0" >&2; exit 1 ;;
    esac
    shift
done

# Stops smbd, and whatever else a *.pid file in the folder names (the tests' other receivers): each is the
# leader of a process group of its own, and its children go with it.
stop() {
    local file group
    for file in "$folder"/*.pid; do
        [ -f "$file" ] || continue
        group=$(cat "$file")
        kill -TERM -- "-$group" 2>/dev/null || true
        for _ in $(seq 50); do
            kill -0 -- "-$group" 2>/dev/null || break
            sleep 0.1
        done
        kill -KILL -- "-$group" 2>/dev/null || true
        rm -f "$file"
    done
    if [ -L "$folder/messages" ]; then
        rm -rf "$(readlink "$folder/messages")" "$folder/messages"
    fi
}

if [ "$mode" = stop ]; then
    stop
    exit 0
fi
"$(dirname "$0")/setup.sh" --receiver >/dev/null

listening() {
    ss -Hltn "sport = :$1" | grep -q .
}
if [ -z "$port" ]; then
    port=139
    if listening 139; then
        port=1139
        echo "receiver: port 139 is taken (by the system's own Samba?), so this receiver listens on port $port."
        echo "receiver: start Mirolt with  MIROLT_NETSEND_PORT=$port scripts/run.sh"
    fi
fi
if listening "$port"; then
    echo "receiver: port $port is taken; choose another with --port" >&2
    exit 1
fi

stop
mkdir -p "$folder"/{private,lock,state,cache,pid,ncalrpc,log}
# The message command runs as Samba's guest user, who must be able to enter every folder on the way
# to where it writes: so the messages go under /tmp, with a link to them in the folder.
messages=$(mktemp -d /tmp/mirolt-messages.XXXXXX)
chmod 1733 "$messages"
ln -sfn "$messages" "$folder/messages"

# Each message is filed as N.msg (the text as Samba stores it: Unix line ends, UTF-8) with its sender and
# the name it was sent to (the called name, in lower case) in N.from, written first, so that a complete
# N.msg always has its N.from.
cat >"$folder/smb.conf" <<EOF
[global]
    netbios name = RECEIVER
    server role = standalone server
    smb ports = $port
    interfaces = 127.0.0.1 $address
    bind interfaces only = yes
    server min protocol = NT1
    private dir = $folder/private
    lock directory = $folder/lock
    state directory = $folder/state
    cache directory = $folder/cache
    pid directory = $folder/pid
    ncalrpc dir = $folder/ncalrpc
    log file = $folder/log/smbd.log
    usershare path =
    load printers = no
    printcap name = /dev/null
    disable spoolss = yes
    message command = /bin/sh -c 'echo %f to %L > $messages/.\$\$.from && cat %s > $messages/.\$\$ && mv $messages/.\$\$.from $messages/\$\$.from && mv $messages/.\$\$ $messages/\$\$.msg; rm -f %s' &
EOF

# smbd would make itself the leader of a new session and, on shutdown, signal its whole process group:
# setsid gives it a group of its own, and --no-process-group keeps it in there.
setsid smbd -F --no-process-group -s "$folder/smb.conf" -l "$folder/log" </dev/null >"$folder/log/stdout" 2>&1 &
echo $! >"$folder/smbd.pid"
for _ in $(seq 100); do
    listening "$port" && break
    sleep 0.1
done
if ! listening "$port"; then
    echo "receiver: smbd did not start; see $folder/log" >&2
    stop
    exit 1
fi

if [ "$mode" = detach ]; then
    echo "receiver: listening on 127.0.0.1 $address port $port; messages go to $folder/messages"
    exit 0
fi

trap 'stop; echo; echo "receiver: stopped"' EXIT
trap 'exit 0' INT TERM
echo "receiver: listening on 127.0.0.1 port $port. In Mirolt, send to localhost or 127.0.0.1. Ctrl-C ends."
while true; do
    for message in "$messages"/*.msg; do
        [ -f "$message" ] || continue
        echo
        echo "--- $(date +%T) message from $(cat "${message%.msg}.from") ---"
        cat "$message"
        echo
        rm -f "$message" "${message%.msg}.from"
    done
    sleep 0.5
done
