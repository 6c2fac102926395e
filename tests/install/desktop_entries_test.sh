#!/usr/bin/env bash
# The desktop entries and the MIME entry are valid, and .age files open in the chart program.
set -euo pipefail
dir=$1
fail() { echo "FAIL: $*" >&2; exit 1; }
command -v desktop-file-validate >/dev/null || fail "desktop-file-validate is not installed (scripts/install-deps.sh)"
for entry in celestigrafo tarjaro; do
    # Hints (several main categories, as the menu layout asks) are not errors.
    out=$(desktop-file-validate "$dir/$entry.desktop" 2>&1 | grep -v ': hint: ' || true)
    [ -z "$out" ] || fail "$entry.desktop: $out"
    grep -qx "Categories=Education;Science;Astronomy;" "$dir/$entry.desktop" || fail "$entry categories"
    grep -q "^Name\[es\]=" "$dir/$entry.desktop" || fail "$entry has no Spanish name"
    grep -q "^Comment\[es\]=" "$dir/$entry.desktop" || fail "$entry has no Spanish comment"
done
grep -qx "MimeType=application/x-celestigrafo-age;" "$dir/celestigrafo.desktop" || fail "MIME type not opened by celestigrafo"
grep -q 'type="application/x-celestigrafo-age"' "$dir/celestigrafo-mime.xml" || fail "MIME type missing"
grep -q '<glob pattern="\*.age"/>' "$dir/celestigrafo-mime.xml" || fail "glob missing"
if command -v xmllint >/dev/null; then xmllint --noout "$dir/celestigrafo-mime.xml"; fi
echo "desktop entries valid"
