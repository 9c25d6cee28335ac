#!/usr/bin/env bash
# The receiver of the delivery tests: Samba's smbd on 127.0.0.1 (scripts/receiver.sh), and Samba's nmbd
# as the NetBIOS name server on 127.0.0.1, which knows RECEIVER<03> at 127.0.0.1 and no other name.
# nmbd starts only on a machine with an IPv4 address off the loopback network, so one is put on the
# loopback device: only inside a network namespace of the tests' own, where nothing can leave.
# Usage: receiver-fixture.sh start|stop FOLDER PORT
set -eu
action=$1 folder=$2 port=$3
root=$(cd "$(dirname "$0")/../.." && pwd)
address=192.0.2.1   # reserved for documentation: never anyone's real address

if [ "$action" = stop ]; then
    "$root/scripts/receiver.sh" --stop --folder "$folder"   # nmbd too, by its pid file there
    ip addr del "$address/32" dev lo 2>/dev/null || true
    exit 0
fi

if [ "$(ip -o link show | wc -l)" -ne 1 ]; then
    echo "receiver-fixture: run the tests in a network namespace with only the loopback device (unshare -n)" >&2
    exit 1
fi
"$root/scripts/receiver.sh" --detach --port "$port" --folder "$folder"

mkdir -p "$folder/nmbd/lock" "$folder/nmbd/state" "$folder/nmbd/cache" "$folder/nmbd/pid" "$folder/nmbd/socket"
ip addr add "$address/32" dev lo
printf 'VERSION 1 0\n"RECEIVER#03" 0 127.0.0.1 64R\n' >"$folder/nmbd/state/wins.dat"
cat >"$folder/nmbd/smb.conf" <<EOF
[global]
    netbios name = NAMESERVER
    interfaces = $address/32
    wins support = yes
    dns proxy = no
    local master = no
    domain master = no
    preferred master = no
    private dir = $folder/nmbd/state
    lock directory = $folder/nmbd/lock
    state directory = $folder/nmbd/state
    cache directory = $folder/nmbd/cache
    pid directory = $folder/nmbd/pid
    ncalrpc dir = $folder/nmbd/socket
    nmbd:socket dir = $folder/nmbd/socket
    log file = $folder/nmbd/nmbd.log
EOF
setsid nmbd -F --no-process-group -s "$folder/nmbd/smb.conf" -l "$folder/nmbd" </dev/null >"$folder/nmbd/stdout" 2>&1 &
echo $! >"$folder/nmbd.pid"
for _ in $(seq 20); do
    nmblookup -s "$folder/nmbd/smb.conf" -U 127.0.0.1 --recursion 'RECEIVER#03' 2>/dev/null |
        grep -q '^127.0.0.1 RECEIVER<03>' && exit 0
    sleep 0.2
done
echo "receiver-fixture: nmbd did not start; see $folder/nmbd" >&2
exit 1
