#!/usr/bin/env bash
# Installs the build into a temporary prefix and runs the installed command-line program on the
# installed sample file, from a folder where the source tree is out of reach.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

fail() { echo "FAIL: $*" >&2; exit 1; }
for f in bin/celestigrafo-cli share/celestigrafo/ejemplo.age share/celestigrafo/README.md \
         share/celestigrafo/atlas-ciudades.txt \
         share/celestigrafo/colombia.lug share/celestigrafo/ayuda/index.html \
         share/celestigrafo/ayuda/ventana-principal.png share/celestigrafo/ayuda/administrador.png \
         share/applications/celestigrafo.desktop share/applications/tarjaro.desktop \
         share/mime/packages/celestigrafo.xml \
         share/icons/hicolor/scalable/apps/celestigrafo.svg share/icons/hicolor/48x48/apps/celestigrafo.png \
         share/icons/hicolor/256x256/apps/celestigrafo.png share/icons/hicolor/256x256/apps/tarjaro.png \
         share/man/man1/celestigrafo.1 share/man/man1/tarjaro.1 share/man/man1/celestigrafo-cli.1; do
    [ -e "$prefix/$f" ] || fail "missing $f"
done
[ "$(ls "$prefix"/share/celestigrafo/*.lug | wc -l)" -eq 22 ] || fail "expected 22 place files"
for program in celestigrafo tarjaro; do
    if [ -e "$build/src/app/$program" ]; then
        [ -x "$prefix/bin/$program" ] || fail "missing bin/$program"
    fi
done

cd "$prefix"
out=$(env -u CELESTIGRAFO_DATA_DIR "$prefix/bin/celestigrafo-cli" chart \
      --db "$prefix/share/celestigrafo/ejemplo.age" --person "Ana Lucía Restrepo Gaviria")
grep -q "Fecha local: 1978-03-14 09:35:00" <<<"$out" || fail "unexpected chart: $out"
# The installed atlas, found from the installed program.
atlas_out=$(env -u CELESTIGRAFO_ATLAS -u CELESTIGRAFO_DATA_DIR "$prefix/bin/celestigrafo-cli" atlas medellin --limit 1)
grep -q "America/Bogota" <<<"$atlas_out" || fail "unexpected atlas: $atlas_out"
"$prefix/bin/celestigrafo-cli" --version | grep -qx "celestigrafo-cli [0-9.]*" || fail "no --version"
# The manual pages carry the version and the installed paths, with no placeholder left.
grep -q "@" "$prefix/share/man/man1/celestigrafo.1" && fail "placeholder left in a manual page"
man_out=$(MANWIDTH=80 man -l "$prefix/share/man/man1/celestigrafo-cli.1" 2>/dev/null || true)
if command -v man >/dev/null; then grep -q "celestigrafo-cli" <<<"$man_out" || fail "manual page does not render"; fi
echo "installed tree complete"
