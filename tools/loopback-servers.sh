# Sourced by the scripts that start real time servers on 127.0.0.1 for the tests and benchmarks.

# Waits until a UDP socket listens on 127.0.0.1 at port $1.
wait_for_udp() {
    local hex
    hex=$(printf '%04X' "$1")
    for _ in $(seq 200); do
        grep -q "0100007F:$hex " /proc/net/udp && return 0
        sleep 0.1
    done
    return 1
}

# start_chrony PORT FOLDER starts chrony on 127.0.0.1 at PORT, serving NTP from the
# machine's clock at stratum 8 (`local`), with its configuration, log and pid file in FOLDER,
# and waits until it listens. `-x`: chrony never touches the machine's clock.
start_chrony() {
    local port=$1 folder=$2
    cat > "$folder/chrony.conf" <<CONF
local stratum 8
allow 127.0.0.1
bindaddress 127.0.0.1
port $port
cmdport 0
pidfile $folder/chronyd.pid
CONF
    PATH=$PATH:/usr/sbin chronyd -x -d -u root -f "$folder/chrony.conf" >"$folder/chrony.log" 2>&1 &
    wait_for_udp "$port" && return 0
    echo "chronyd did not start:" >&2
    cat "$folder/chrony.log" >&2
    return 1
}
