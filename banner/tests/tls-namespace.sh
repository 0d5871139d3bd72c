#!/usr/bin/env bash
# Runs an https test in a mount and network namespace of its own, with only loopback: a test
# CA made here is the one CA the system trusts (a folder bound over /etc/ssl/certs, where Qt on
# Linux and Wine's crypt32 both read the system's CAs), tarvell.example leads to 127.0.0.1, and
# two https servers answer on it: one with a certificate from that CA, one with a certificate
# from a CA nobody trusts. Nothing on the host changes. Needs root (exit 77, a skip, otherwise).
# Usage: tls-namespace.sh [EMULATOR] TEST_PROGRAM [ARGS...]
set -euo pipefail
if [ -z "${TARVELL_TLS_NAMESPACE:-}" ]; then
    if [ "$(id -u)" -ne 0 ]; then
        echo "skipped: making a mount and network namespace needs root" >&2
        exit 77
    fi
    exec unshare --mount --net --propagation private \
        env TARVELL_TLS_NAMESPACE=1 bash "$0" "$@"
fi
ip link set lo up
work=$(mktemp -d)
pids=()
cleanup()
{
    local pid
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf -- "$work"
}
trap cleanup EXIT

host=tarvell.example
# A CA and a server certificate for the host signed by it.
make_pki()
{
    local name=$1
    openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Tarvell test CA $name" \
        -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign \
        -keyout "$work/$name-ca.key" -out "$work/$name-ca.pem" 2>/dev/null
    openssl req -newkey rsa:2048 -nodes -subj "/CN=$host" \
        -keyout "$work/$name-server.key" -out "$work/$name-server.csr" 2>/dev/null
    printf 'subjectAltName=DNS:%s\nbasicConstraints=CA:FALSE\nextendedKeyUsage=serverAuth\n' \
        "$host" >"$work/$name-ext.cnf"
    openssl x509 -req -in "$work/$name-server.csr" -CA "$work/$name-ca.pem" \
        -CAkey "$work/$name-ca.key" -CAcreateserial -days 2 -extfile "$work/$name-ext.cnf" \
        -out "$work/$name-server.pem" 2>/dev/null
}
make_pki trusted
make_pki untrusted

mkdir -p "$work/certs"
cp "$work/trusted-ca.pem" "$work/certs/tarvell-test-ca.pem"
cp "$work/trusted-ca.pem" "$work/certs/ca-certificates.crt"
openssl rehash "$work/certs"
mkdir -p /etc/ssl/certs
mount --bind "$work/certs" /etc/ssl/certs
printf '127.0.0.1 localhost %s\n' "$host" >"$work/hosts"
mount --bind "$work/hosts" /etc/hosts

# The servers serve the files the test writes into this folder.
mkdir -p "$work/site"
serve()
{
    local name=$1 port=$2
    python3 "$(dirname "$0")/tls-site.py" "$port" "$work/$name-server.pem" \
        "$work/$name-server.key" "$work/site" </dev/null >"$work/$name-server.log" 2>&1 &
    pids+=($!)
}
serve trusted 44301
serve untrusted 44302
for _ in $(seq 50); do
    if (exec 3<>/dev/tcp/127.0.0.1/44301) 2>/dev/null && (exec 3<>/dev/tcp/127.0.0.1/44302) 2>/dev/null; then
        break
    fi
    sleep 0.1
done

export TARVELL_TEST_HTTPS_SITE=$work/site
# A Windows test under Wine (the first argument is then Wine's runner) gets a Wine of its own,
# whose server is started here: Wine makes sockets in its server's namespace. The site's
# folder is on Wine's Z: drive, the host's root.
if [ $# -gt 1 ]; then
    export WINEPREFIX=$work/wine
    TARVELL_TEST_HTTPS_SITE="Z:$work/site"
fi
export TARVELL_TEST_HTTPS_TRUSTED=$host:44301
export TARVELL_TEST_HTTPS_UNTRUSTED=$host:44302
status=0
"$@" || status=$?
if [ "$status" -ne 0 ]; then
    tail -n 20 "$work"/*-server.log >&2
fi
exit "$status"
