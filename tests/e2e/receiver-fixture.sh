#!/usr/bin/env bash
# The receiver of the delivery tests: Samba's smbd on 127.0.0.1 and 192.0.2.1 (scripts/receiver.sh), and Samba's
# nmbd, the NetBIOS name server on 127.0.0.1 that knows RECEIVER<03> at 127.0.0.1 and no other name, and tells its
# own names to a node status query. nmbd starts only on a machine with an IPv4 address off the loopback network, so
# one is put on the loopback device: only inside a network namespace of the tests' own, where nothing can leave.
# Usage: receiver-fixture.sh start|stop FOLDER PORT
set -eu
action=$1 folder=$2 port=$3 nmbd=$2/nmbd conf=$2/nmbd/smb.conf
root=$(cd "$(dirname "$0")/../.." && pwd)
address=192.0.2.1   # reserved for documentation: never anyone's real address

if [ "$action" = stop ]; then
    "$root/scripts/receiver.sh" --stop --folder "$folder"   # nmbd too, by its pid file there
    ip addr del "$address/32" dev lo 2>/dev/null || true
    exit 0
fi
[ "$(ip -o link show | wc -l)" -eq 1 ] ||
    { echo "receiver-fixture: run the tests in a network namespace of their own (unshare -n)" >&2; exit 1; }
ip addr add "$address/32" dev lo
"$root/scripts/receiver.sh" --detach --port "$port" --folder "$folder" --address "$address"

mkdir -p "$nmbd" && printf 'VERSION 1 0\n"RECEIVER#03" 0 127.0.0.1 64R\n' >"$nmbd/wins.dat"
# All that nmbd keeps goes in its own folder; it asks no DNS server and stays out of browsing.
printf '%s\n' '[global]' 'netbios name = NAMESERVER' "interfaces = $address/32" 'wins support = yes' 'dns proxy = no' \
    'local master = no' 'domain master = no' 'preferred master = no' \
    "private dir = $nmbd" "lock directory = $nmbd" "state directory = $nmbd" "cache directory = $nmbd" \
    "pid directory = $nmbd" "ncalrpc dir = $nmbd" "nmbd:socket dir = $nmbd" >"$conf"
setsid nmbd -F --no-process-group -s "$conf" -l "$nmbd" </dev/null >"$nmbd/stdout" 2>&1 &
echo $! >"$folder/nmbd.pid"
for _ in $(seq 20); do   # until it knows RECEIVER<03>, and tells its own NAMESERVER<03> to a node status query
    nmblookup -s "$conf" -U 127.0.0.1 --recursion 'RECEIVER#03' 2>/dev/null | grep -q '^127.0.0.1 RECEIVER<03>' &&
        nmblookup -s "$conf" -A "$address" 2>/dev/null | grep -q 'NAMESERVER *<03> - ' && exit 0
    sleep 0.2
done
echo "receiver-fixture: nmbd did not start; see $nmbd" >&2
exit 1
