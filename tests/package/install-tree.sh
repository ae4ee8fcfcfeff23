#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR and runs the installed quillet-cli from there: its
# skins and translations must be found beside it (German messages), the sample must make a
# ringtone, and the desktop entry, the metainfo and the manual pages must pass their validators
# (each one when it is installed).
# Arguments: build folder, install prefix, desktop id.
set -euo pipefail
build=$1 prefix=$2 id=$3
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR=$tmp/root cmake --install "$build" >"$tmp/install.log" || { cat "$tmp/install.log"; exit 1; }
root=$tmp/root$prefix
for file in bin/quillet bin/quillet-cli bin/quillet-service share/quillet/Quillet_de.tra \
  share/quillet/Skins/en/__default.sdf share/quillet/Skins/de/__default.sdf \
  share/quillet/samples/quillet-sample.wav share/applications/$id.desktop \
  share/metainfo/$id.metainfo.xml share/icons/hicolor/scalable/apps/$id.svg \
  share/icons/hicolor/16x16/apps/$id.png share/icons/hicolor/256x256/apps/$id.png \
  share/man/man1/quillet.1.gz share/man/man1/quillet-cli.1.gz share/man/man1/quillet-service.1.gz \
  share/bash-completion/completions/quillet-cli lib/systemd/user/quillet-service.service; do
  [ -s "$root/$file" ] || fail "$file is not installed"
done

# The installed program takes its data from the installed tree, not from the build folder.
cli=("$root/bin/quillet-cli" --work-dir "$tmp/work")
skin=$("${cli[@]}" --lang de settings ActiveSkin)
[ "$skin" = "$root/share/quillet/Skins/de/__default.sdf" ] || fail "German skin: $skin"
status=0
message=$("${cli[@]}" info 2>&1) || status=$?
[ "$status" -eq 2 ] || fail "info without an input: status $status"
[[ $message == *"keine Quelle"* ]] || fail "no German message: $message"
made=$("${cli[@]}" make "$root/share/quillet/samples/quillet-sample.wav" -o "$tmp/ring.ogg" \
  --start 0:02 --end 0:09 --fade-out 1000)
[[ $made == *"gespeichert"* ]] || fail "make: $made"
[ "$(head -c 4 "$tmp/ring.ogg")" = OggS ] || fail "make wrote no OGG file"
[[ $("$root/bin/quillet-cli" --version) == "quillet-cli "[0-9]* ]] || fail "--version"

# Validators: quiet means clean.
if command -v desktop-file-validate >/dev/null; then
  out=$(desktop-file-validate "$root/share/applications/$id.desktop" 2>&1) || fail "$out"
  [ -z "$out" ] || fail "desktop-file-validate: $out"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$root/share/metainfo/$id.metainfo.xml" ||
    fail "appstreamcli validate"
fi
if command -v man >/dev/null; then
  for page in "$root"/share/man/man1/*.1.gz; do
    out=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null) || fail "$page"
    [ -z "$out" ] || fail "man --warnings $page: $out"
  done
fi
bash -n "$root/share/bash-completion/completions/quillet-cli" || fail "completion syntax"
echo "installed tree at $prefix works"
