#!/bin/bash
# The Set Clock dialog of the real program against xinetd's built-in Time Protocol service
# (UDP) on 127.0.0.1: xinetd is started here on port 10037 with a configuration of its own and
# stopped afterwards; the test relays the program's requests from port 37 to it. Out of the
# box xinetd stops serving for 10 seconds once asked more than 50 times in a second; one
# synchronisation asks many times until the server's second turns, so the limit is lifted
# here. Runs under tools/with-wine.sh.
set -u
cd "$(dirname "$0")/.."
if ! command -v xinetd >/dev/null; then
    echo "time-server-e2e: xinetd is not installed" >&2
    exit 1
fi
port=10037
work=$(mktemp -d)
trap 'kill $(cat "$work/pid" 2>/dev/null) 2>/dev/null; rm -rf "$work"' EXIT
cat > "$work/xinetd.conf" <<CONF
service time
{
    type = INTERNAL UNLISTED
    id = time-dgram
    socket_type = dgram
    protocol = udp
    wait = yes
    user = root
    bind = 127.0.0.1
    port = $port
    disable = no
    cps = 100000 1
    instances = UNLIMITED
    per_source = UNLIMITED
}
CONF
# In the foreground, logging to a file of its own, which says when it serves.
xinetd -dontfork -filelog "$work/log" -f "$work/xinetd.conf" -pidfile "$work/pid" 2>>"$work/log" &
for _ in $(seq 200); do
    grep -q "Started working" "$work/log" && break
    sleep 0.1
done
if ! grep -q "Started working" "$work/log"; then
    echo "time-server-e2e: xinetd did not start:" >&2
    cat "$work/log" >&2
    exit 1
fi
export SOLVANE_XINETD_TIME_PORT=$port
wine "$1" --gtest_filter='SetClockDialogTest.EndToEndWithXinetd'
