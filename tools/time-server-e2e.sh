#!/bin/bash
# The Set Clock dialog of the real program against time servers nobody here wrote, on
# 127.0.0.1, one at a time: xinetd's built-in Time Protocol service (UDP) on port 10037, which
# the test reaches through a relay on port 37, then chrony serving NTP from its local clock at
# stratum 8 on port 123. Each is started here with a configuration of its own and stopped
# afterwards; chrony runs with -x, so it never touches the machine's clock. Runs under
# tools/with-wine.sh; needs root for port 123.
set -u
cd "$(dirname "$0")/.."
for server in xinetd chronyd; do
    if ! command -v $server >/dev/null && [ ! -x /usr/sbin/$server ]; then
        echo "time-server-e2e: $server is not installed" >&2
        exit 1
    fi
done
export PATH=$PATH:/usr/sbin
. tools/loopback-servers.sh
work=$(mktemp -d)
trap 'kill $(cat "$work"/*.pid 2>/dev/null) 2>/dev/null; rm -rf "$work"' EXIT

run_test() {
    SOLVANE_TIME_PEER=$1 wine "$2" --gtest_filter='SetClockDialogTest.EndToEndWithRealServers'
}

port=10037
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
}
CONF
xinetd -dontfork -filelog "$work/xinetd.log" -f "$work/xinetd.conf" -pidfile "$work/xinetd.pid" 2>>"$work/xinetd.log" &
if ! wait_for_udp $port; then
    echo "time-server-e2e: xinetd did not start:" >&2
    cat "$work/xinetd.log" >&2
    exit 1
fi
export SOLVANE_XINETD_TIME_PORT=$port
run_test xinetd "$1" || exit 1
kill "$(cat "$work/xinetd.pid")"

start_chrony 123 "$work" || exit 1
run_test chrony "$1"
