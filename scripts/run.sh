#!/usr/bin/env bash
# Installs what the project needs, builds it and runs the program's main job on its defaults:
# a ringtone made from the bundled sample with the command-line tool.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${QUILLET_BUILD_DIR:-build}
ringtone=${QUILLET_RINGTONE:-$PWD/quillet-ringtone.ogg}

bash scripts/install-deps.sh
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLET_BUILD_TESTS=OFF
cmake --build "$build" --parallel "$(nproc)"

# Open the sample as the input (it stays the input for later commands), take 4 s to 16 s of it
# with short fades, and make the OGG Vorbis ringtone.
cli=("$build/bin/quillet-cli" --trace-level info)
"${cli[@]}" open "$build/bin/samples/quillet-sample.wav"
"${cli[@]}" select 0:04 0:16 --fade-in 1000 --fade-out 2000
"${cli[@]}" extract -o "$ringtone"
echo
echo "The ringtone is $ringtone. Settings, work files and the trace log are in"
echo "~/.local/share/Brindle/Quillet/ ('quillet-cli info' shows the input and selection)."
