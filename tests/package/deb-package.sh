#!/usr/bin/env bash
# Builds the Debian packages from the build folder into a temporary folder and inspects them:
# the files each one holds, control fields with the dependencies dpkg-shlibdeps found, and
# lintian's verdict when it is installed.
# Arguments: build folder, desktop id.
set -euo pipefail
build=$1 id=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$tmp" >"$tmp/cpack.log" 2>&1 ||
  { cat "$tmp/cpack.log"; exit 1; }
main=$(ls "$tmp"/quillet_*.deb) service=$(ls "$tmp"/quillet-service_*.deb)

files=$(dpkg-deb -c "$main")
for path in ./usr/bin/quillet ./usr/bin/quillet-cli ./usr/share/quillet/Quillet_de.tra \
  ./usr/share/quillet/Skins/en/__default.sdf ./usr/share/quillet/samples/quillet-sample.wav \
  ./usr/share/applications/$id.desktop ./usr/share/metainfo/$id.metainfo.xml \
  ./usr/share/icons/hicolor/48x48/apps/$id.png ./usr/share/man/man1/quillet-cli.1.gz \
  ./usr/share/bash-completion/completions/quillet-cli ./usr/share/doc/quillet/copyright; do
  grep -q " $path\$" <<<"$files" || fail "quillet lacks $path"
done
grep -q "quillet-service" <<<"$files" && fail "the service is in the quillet package"
service_files=$(dpkg-deb -c "$service")
for path in ./usr/bin/quillet-service ./usr/lib/systemd/user/quillet-service.service \
  ./usr/share/man/man1/quillet-service.1.gz ./usr/share/doc/quillet-service/copyright; do
  grep -q " $path\$" <<<"$service_files" || fail "quillet-service lacks $path"
done
# Files belong to root, folders are rwxr-xr-x.
grep -v '^-rw-r--r-- root/root\|^-rwxr-xr-x root/root\|^drwxr-xr-x root/root' <<<"$files" &&
  fail "odd owner or mode"

info=$(dpkg-deb -f "$main" Package Depends Description)
[[ $info == *"Package: quillet"* ]] || fail "package name: $info"
for library in libqt6widgets6 libqt6core6 libvorbisenc2 libmad0 libcurl4; do
  grep -q "^Depends:.*$library" <<<"$info" || fail "Depends lacks $library: $info"
done
[[ $(dpkg-deb -f "$service" Depends) == *libssl3* ]] || fail "service Depends"
[ "$(dpkg-deb -f "$main" Description | wc -l)" -gt 5 ] || fail "no long description"
if command -v lintian >/dev/null; then
  lintian --fail-on error "$main" "$service" || fail "lintian reports errors"
fi
echo "$(basename "$main") and $(basename "$service") look right"
