#!/usr/bin/env bash
# Builds the Debian packages, installs the quillet package with apt-get (which fetches the
# libraries it depends on), runs the installed quillet-cli on the installed sample, and removes
# the package again. It changes the system: run it as root on a machine you can spare.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${QUILLET_BUILD_DIR:-build}
out=$(mktemp -d)
work=$(mktemp -d)
trap 'rm -rf "$out" "$work"' EXIT

if [ "$(id -u)" -ne 0 ]; then
  echo "install-deb-check: run as root (it installs and removes a package)" >&2
  exit 1
fi
if dpkg -s quillet >/dev/null 2>&1; then
  echo "install-deb-check: a quillet package is installed already; remove it first" >&2
  exit 1
fi

# The build folder of run.sh and test.sh when there is one, else a new one without the tests.
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLET_BUILD_TESTS=OFF
fi
cmake --build "$build" --parallel "${QUILLET_JOBS:-$(nproc)}"
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$out"
(cd "$out" && ls -l ./*.deb)

export DEBIAN_FRONTEND=noninteractive
(cd "$out" && apt-get install -y -q ./quillet_*.deb)
# The installed program, from its own tree: the sample becomes a ringtone, German is found.
checks() {
  set -x
  command -v quillet-cli &&
    quillet-cli --version &&
    quillet-cli --work-dir "$work" --lang de make /usr/share/quillet/samples/quillet-sample.wav \
      -o "$work/ringtone.ogg" --start 0:04 --end 0:14 --fade-in 500 --fade-out 2000 &&
    [ "$(head -c 4 "$work/ringtone.ogg")" = OggS ] &&
    quillet-cli --work-dir "$work" --lang de settings ActiveSkin &&
    man -w quillet-cli
}
status=0
checks || status=$?
{ set +x; } 2>/dev/null
apt-get purge -y -q quillet
if dpkg -s quillet >/dev/null 2>&1 || [ -e /usr/bin/quillet-cli ] || [ -e /usr/share/quillet ]; then
  echo "install-deb-check: the package did not go away" >&2
  status=1
fi
[ "$status" -eq 0 ] && echo "install-deb-check: the package installs, runs and uninstalls"
exit "$status"
