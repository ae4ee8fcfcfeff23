#!/usr/bin/env bash
# Installs what the project needs, builds it and runs the program's main job on its defaults:
# the reference service starts; on a desktop (a display is there) the window opens with the
# bundled sample loaded, elsewhere a ringtone is made from the sample with the command-line tool
# and beamed to the service, and the person finishes the transfer on the service's page.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${QUILLET_BUILD_DIR:-build}
ringtone=${QUILLET_RINGTONE:-$PWD/quillet-ringtone.ogg}
service_url=http://127.0.0.1:8645

bash scripts/install-deps.sh
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLET_BUILD_TESTS=OFF
cmake --build "$build" --parallel "$(nproc)"

# The reference service, at the address the program's default settings point to (unless one
# runs there already).
service_pid=
if ! curl -s -o /dev/null "$service_url/"; then
  "$build/bin/quillet-service" >"${TMPDIR:-/tmp}/quillet-service.log" 2>&1 &
  service_pid=$!
  trap '[ -n "$service_pid" ] && kill "$service_pid" 2>/dev/null' EXIT
  for _ in $(seq 50); do
    curl -s -o /dev/null "$service_url/" && break
    sleep 0.1
  done
fi

# On a desktop: the window, with the sample as its input.
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "Starting the window with the sample loaded; the service is at $service_url."
  "$build/bin/quillet" "$build/bin/samples/quillet-sample.wav"
  exit
fi

# Open the sample as the input (it stays the input for later commands), take 4 s to 16 s of it
# with short fades, make the OGG Vorbis ringtone, and send it.
cli=("$build/bin/quillet-cli" --trace-level info)
"${cli[@]}" open "$build/bin/samples/quillet-sample.wav"
"${cli[@]}" select 0:04 0:16 --fade-in 1000 --fade-out 2000
"${cli[@]}" extract -o "$ringtone"
echo
echo "Beaming it: open the page below in a web browser (it opens by itself on a desktop),"
echo "enter a phone number and press Send."
"${cli[@]}" beam
echo
echo "A copy of the ringtone is $ringtone; the phone's inbox is $service_url/inbox."
echo "Settings, work files and the trace log are in ~/.local/share/Brindle/Quillet/."
if [ -n "$service_pid" ]; then
  echo "The service keeps running so you can look around; press Ctrl+C to stop it."
  wait "$service_pid" || true
fi
