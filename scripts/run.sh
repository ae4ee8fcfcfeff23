#!/usr/bin/env bash
# Installs what the project needs, builds it and runs the program's main job on its defaults.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${QUILLET_BUILD_DIR:-build}

bash scripts/install-deps.sh
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLET_BUILD_TESTS=OFF
cmake --build "$build" --parallel "$(nproc)"

# The command-line tool starts as the window does (configuration, trace log, translation) and
# shows the settings it keeps in its configuration folder.
"$build/bin/quillet-cli" --trace-level info settings
echo
echo "Settings are kept in ~/.local/share/Brindle/Quillet/config.ini; the trace log lies beside it."
