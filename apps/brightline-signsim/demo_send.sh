#!/usr/bin/env bash
# Sends the show in a workspace folder to a virtual sign on this machine and shows what the sign
# then holds: the embedded default sign for demos.
# Usage: demo_send.sh BUILD_DIR WORKSPACE [STORAGE]
set -euo pipefail
build=$(cd "$1" && pwd)
workspace=$2
storage=${3:-$(mktemp -d "${TMPDIR:-/tmp}/brightline-sign.XXXXXX")}
sim="$build/apps/brightline-signsim/brightline-signsim"
cli="$build/apps/brightline-cli/brightline-cli"
out="$storage.out"

"$sim" --storage "$storage" >"$out" 2>"$storage.err" &
pid=$!
trap 'kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null || true' EXIT
for _ in $(seq 100); do grep -q '^ready' "$out" 2>/dev/null && break; sleep 0.1; done
grep -q '^ready' "$out" || { echo "the virtual sign did not start:"; cat "$storage.err"; exit 1; }
port=$(awk '/^command port/ {print $3}' "$out")
ftp=$(awk '/^ftp port/ {print $3}' "$out")
serial=$(awk '/^serial/ {print $2}' "$out")
link=(--host 127.0.0.1 --port "$port" --ftp-port "$ftp" --upload-pause 0)

echo "virtual sign: command port $port, FTP port $ftp, serial $serial, storage $storage"
BRIGHTLINE_WORKSPACE="$workspace" "$cli" send "${link[@]}"
"$cli" sign set-time "${link[@]}"
"$cli" sign get-time "${link[@]}"
echo "the sign's files (over the serial line):"
(cd "$storage" && "$cli" sign file-list --serial "$serial" --upload-pause 0)
