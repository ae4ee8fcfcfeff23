#!/bin/sh
# Brings translations/Quillet_<lang>.ts in step with the string table (src/app/StringTableData.inc):
# new texts are added as unfinished, texts no longer in the table are dropped, translations are kept.
# After it, translate the unfinished messages of every language but English.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
lupdate=${LUPDATE:-/usr/lib/qt6/bin/lupdate}
if [ ! -x "$lupdate" ]; then
    lupdate=$(command -v lupdate6 || command -v lupdate || true)
fi
if [ -z "$lupdate" ]; then
    echo "lupdate not found (Debian package qt6-l10n-tools)" >&2
    exit 1
fi

for lang in en de; do
    ts="$root/translations/Quillet_$lang.ts"
    # lupdate cannot read an empty file; it starts a new one in its place.
    [ -s "$ts" ] || rm -f "$ts"
    "$lupdate" -silent -extensions inc -locations none -no-obsolete \
        -source-language en -target-language "$lang" \
        "$root/src/app/StringTableData.inc" -ts "$ts"
done

unfinished=$(grep -c 'type="unfinished"' "$root/translations/Quillet_de.ts" || true)
if [ "$unfinished" -gt 0 ]; then
    echo "translations/Quillet_de.ts: $unfinished message(s) to translate" >&2
fi
