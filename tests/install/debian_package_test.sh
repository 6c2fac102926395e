#!/usr/bin/env bash
# Builds the Debian package, checks what it holds and what it depends on, then unpacks it into a
# temporary root and runs the command-line program from there.
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; fail "cpack"; }
deb=$(ls "$work"/out/celestigrafo_*_amd64.deb 2>/dev/null | head -1)
[ -n "$deb" ] || fail "no celestigrafo_<version>_amd64.deb in $(ls "$work/out")"
contents=$(dpkg-deb -c "$deb")
for f in ./usr/bin/celestigrafo-cli ./usr/share/applications/celestigrafo.desktop \
         ./usr/share/applications/tarjaro.desktop ./usr/share/mime/packages/celestigrafo.xml \
         ./usr/share/icons/hicolor/scalable/apps/celestigrafo.svg ./usr/share/icons/hicolor/48x48/apps/tarjaro.png \
         ./usr/share/celestigrafo/ejemplo.age ./usr/share/celestigrafo/espana.lug \
         ./usr/share/celestigrafo/atlas-ciudades.txt \
         ./usr/share/celestigrafo/ayuda/index.html ./usr/share/man/man1/celestigrafo.1; do
    grep -q " $f\$" <<<"$contents" || fail "the package lacks $f"
done
for program in celestigrafo tarjaro; do
    if [ -e "$build/src/app/$program" ]; then
        grep -q " ./usr/bin/$program\$" <<<"$contents" || fail "the package lacks /usr/bin/$program"
    fi
done
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6gui6 libqt6core6 libc6 libstdc++6 qt6-qpa-plugins libdate-tz3 tzdata; do
    grep -q "$lib" <<<"$depends" || fail "Depends lacks $lib: $depends"
done
dpkg-deb -x "$deb" "$work/root"
cd "$work"
out=$("$work/root/usr/bin/celestigrafo-cli" db info "$work/root/usr/share/celestigrafo/ejemplo.age")
grep -q "Personas: *12" <<<"$out" || fail "unexpected db info: $out"
# The zone history and the atlas of the package: Madrid, 10 July 1990, 19:07 on the clocks is 17:07 GMT.
out=$(env -u CELESTIGRAFO_ATLAS -u CELESTIGRAFO_DATA_DIR "$work/root/usr/bin/celestigrafo-cli" chart \
      --date 1990-07-10 --time 19:07 --place "Madrid, ES")
grep -q "Fecha GMT:   1990-07-10 17:07:00" <<<"$out" || fail "unexpected zone history: $out"
echo "package $(basename "$deb") complete; Depends: $depends"
