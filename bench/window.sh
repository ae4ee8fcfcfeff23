#!/usr/bin/env bash
# The window's start and memory against their goals: time from process start to the first paint
# with a restored 10-minute input (goal <= 300 ms, offscreen) and peak resident memory with a
# 60-minute input (goal <= 120 MiB). The inputs are tones made by sox in a temporary folder.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${QUILLET_BUILD_DIR:-build}
[ -f "$build/build.ninja" ] || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" --target quillet-window-bench quillet-cli quillet_skins quillet_translations
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
export QT_QPA_PLATFORM=offscreen QUILLET_AUDIO=virtual XDG_RUNTIME_DIR=$tmp/run
mkdir -m 0700 "$tmp/run"

# Runs the window on a work folder: the restored input, or the file given.
window() {
  QUILLET_BENCH_T0=$(date +%s%N) "$build/bin/quillet-window-bench" "-work_dir:$1" "${@:2}"
}

for minutes in 10 60; do
  sox -n -r 44100 -c 2 -b 16 "$tmp/tone$minutes.wav" synth $((minutes * 60)) sine 220:880 vol 0.5
  mkdir "$tmp/w$minutes"
  "$build/bin/quillet-cli" --work-dir "$tmp/w$minutes" open "$tmp/tone$minutes.wav" >/dev/null
done

echo "== restored 10-minute input (goal: first paint <= 300 ms); three runs"
for _ in 1 2 3; do window "$tmp/w10"; done
echo "== restored 60-minute input (goal: peak RSS <= 120 MiB)"
window "$tmp/w60"
echo "== 60-minute WAV opened from the command line (goal: peak RSS <= 120 MiB)"
mkdir "$tmp/w60open"
window "$tmp/w60open" "$tmp/tone60.wav"
