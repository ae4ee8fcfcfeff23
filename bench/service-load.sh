#!/usr/bin/env bash
# Load on quillet-service: 1000 transfers held in phase 2 while 50 clients fetch pages, then the
# same with 200 slow clients (a byte every 5 s); prints p50/p99 page latency and the memory per
# held transfer. Usage: bench/service-load.sh [build folder] [options of service-load.py]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build}
shift || true
service=$build/bin/quillet-service
[ -x "$service" ] || { echo "service-load: build quillet-service first ($service)" >&2; exit 1; }

# Every held transfer, page client and slow client is a descriptor on both sides.
ulimit -n "$(ulimit -Hn)" 2>/dev/null || true
if [ "$(ulimit -n)" != unlimited ] && [ "$(ulimit -n)" -lt 4096 ]; then
  echo "service-load: only $(ulimit -n) descriptors allowed; 4096 or more needed" >&2
  exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A one-second ringtone, as the program uploads it.
sox -n -r 22050 -c 1 -b 16 "$work/tone.wav" synth 1 sine 440 vol 0.5
oggenc -Q -q 0 -o "$work/tone.ogg" "$work/tone.wav"
python3 "$here/service-load.py" --service "$service" --tone "$work/tone.ogg" \
  --store "$work/store" "$@"
