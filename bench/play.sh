#!/usr/bin/env bash
# Measures playback on the virtual card with quillet-play-bench and prints PASS/MISS per goal:
# CPU of playing 60 s under 2 % of one core, start latency (play() to the first buffer handed to
# the device) at most 30 ms, a stop within 100 ms, and a restart gap under one buffer (186 ms).
#
# Usage: bench/play.sh   (QUILLET_BUILD_DIR: the build folder to use or make; default build/)
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_DIR=${QUILLET_BUILD_DIR:-$ROOT/build}
configure=(cmake -S "$ROOT" -B "$BUILD_DIR" -DQUILLET_BUILD_BENCH=ON)
[ -f "$BUILD_DIR/CMakeCache.txt" ] || configure+=(-G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo)
"${configure[@]}" >/dev/null
cmake --build "$BUILD_DIR" -j2 --target quillet-play-bench >/dev/null

out=$("$BUILD_DIR/bin/quillet-play-bench")
echo "$out"
value() { grep "$1" <<<"$out" | grep -oE '[0-9]+\.[0-9]+ (ms|%)' | tail -1 | cut -d' ' -f1; }
verdict() { awk -v v="$2" -v g="$3" 'BEGIN { exit !(v <= g) }' && echo "PASS" || echo "MISS"; }
printf '%-32s %10s %8s  %s\n' goal measured limit verdict
printf '%-32s %10s %8s  %s\n' "CPU playing 60 s (% of a core)" "$(value 'playing 60 s')" 2 \
    "$(verdict x "$(value 'playing 60 s')" 2)"
printf '%-32s %10s %8s  %s\n' "start latency (ms)" "$(value 'start latency')" 30 \
    "$(verdict x "$(value 'start latency')" 30)"
printf '%-32s %10s %8s  %s\n' "stop time (ms)" "$(value 'stop time')" 100 \
    "$(verdict x "$(value 'stop time')" 100)"
printf '%-32s %10s %8s  %s\n' "restart gap (ms)" "$(value 'restart gap')" 186 \
    "$(verdict x "$(value 'restart gap')" 186)"
