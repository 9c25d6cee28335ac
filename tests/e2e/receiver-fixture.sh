#!/usr/bin/env bash
# The receivers of the delivery tests, at PORT: Samba's smbd on 127.0.0.1 (scripts/receiver.sh), and
# hostile ones on 127.0.0.3, which never answers, and 127.0.0.4, which refuses the text; and Samba's nmbd, the NetBIOS
# name server on 127.0.0.1 that knows RECEIVER<03> at 127.0.0.1 only, and tells its own names to a node status query.
# nmbd starts only on a machine with an IPv4 address off the loopback network, so one is put on the loopback device:
# only inside a network namespace of the tests' own, where nothing can leave.
# Usage: receiver-fixture.sh start|stop FOLDER PORT
set -eu
action=$1 folder=$2 port=$3 nmbd=$2/nmbd conf=$2/nmbd/smb.conf
root=$(cd "$(dirname "$0")/../.." && pwd)
address=192.0.2.1   # reserved for documentation: never anyone's real address

"$root/scripts/receiver.sh" --stop --folder "$folder"   # all an earlier start left, so that the tests can repeat
ip addr del "$address/32" dev lo 2>/dev/null || true
[ "$action" = stop ] && exit 0
[ "$(ip -o link show | wc -l)" -eq 1 ] ||
    { echo "receiver-fixture: run the tests in a network namespace of their own (unshare -n)" >&2; exit 1; }
ip addr add "$address/32" dev lo
"$root/scripts/receiver.sh" --detach --port "$port" --folder "$folder"

mkdir -p "$nmbd" && printf 'VERSION 1 0\n"RECEIVER#03" 0 127.0.0.1 64R\n' >"$nmbd/wins.dat"
# All that nmbd keeps goes in its own folder; it asks no DNS server and stays out of browsing.
printf '%s\n' '[global]' 'netbios name = NAMESERVER' "interfaces = $address/32" 'wins support = yes' 'dns proxy = no' \
    'local master = no' 'domain master = no' 'preferred master = no' \
    "private dir = $nmbd" "lock directory = $nmbd" "state directory = $nmbd" "cache directory = $nmbd" \
    "pid directory = $nmbd" "ncalrpc dir = $nmbd" "nmbd:socket dir = $nmbd" >"$conf"
setsid nmbd -F --no-process-group -s "$conf" -l "$nmbd" </dev/null >"$nmbd/stdout" 2>&1 &
echo $! >"$folder/nmbd.pid"
setsid python3 - "$port" <<'EOF' >"$folder/hostile.log" 2>&1 &
import socket, socketserver, sys
silent = socket.create_server(("127.0.0.3", int(sys.argv[1])), backlog=4096)   # never accepts: nothing is read
class Refusing(socketserver.StreamRequestHandler):   # takes the session and every request but the text
    def handle(self):
        while len(head := self.rfile.read(4)) == 4:
            body = self.rfile.read(int.from_bytes(head[2:], "big"))
            status = b"\2\0\1\0" if body[4] == 0xD7 else bytes(4)   # ERRSRV, ERRerror
            self.wfile.write(b"\x82\0\0\0" if head[0] == 0x81 else
                             b"\0\0\0\x23" + body[:5] + status + b"\x80" + body[10:32] + bytes(3))
socketserver.TCPServer.allow_reuse_address = True   # an earlier one's connections may linger
socketserver.TCPServer(("127.0.0.4", int(sys.argv[1])), Refusing).serve_forever()
EOF
echo $! >"$folder/hostile.pid"
for _ in $(seq 20); do   # until it knows RECEIVER<03>, tells its own NAMESERVER<03>, and the hostile ones listen
    nmblookup -s "$conf" -U 127.0.0.1 --recursion 'RECEIVER#03' 2>/dev/null | grep -q '^127.0.0.1 RECEIVER<03>' &&
        nmblookup -s "$conf" -A "$address" 2>/dev/null | grep -q 'NAMESERVER *<03> - ' &&
        ss -Hltn "src 127.0.0.4:$port" | grep -q . && exit 0
    sleep 0.2
done
echo "receiver-fixture: nmbd or the hostile receivers did not start; see $nmbd and $folder/hostile.log" >&2
exit 1
