#!/usr/bin/env bash
# Installs the build in BUILD into a temporary prefix and checks what lands there, validates the
# desktop entry and reads the manual pages, then makes the Debian package and lists it.
#   tests/packaging/install-and-package.sh BUILD
set -euo pipefail
build="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

man_pages="share/man/man1/vortana.1 share/man/man1/vortana-cli.1 share/man/man1/vortana-sim.1"

cmake --install "$build" --prefix "$work/usr" >/dev/null
for file in bin/vortana bin/vortana-sim share/applications/vortana.desktop \
    share/icons/hicolor/scalable/apps/vortana.svg share/vortana/MCUtype.txt \
    share/doc/vortana/README.md $man_pages; do
    [ -e "$work/usr/$file" ] || { echo "not installed: $file" >&2; exit 1; }
done
desktop-file-validate "$work/usr/share/applications/vortana.desktop"
# Each page formats without a warning and names its program.
for page in $man_pages; do
    name=$(basename "$page" .1)
    text=$(LC_ALL=C MANWIDTH=80 man --warnings -l "$work/usr/$page" 2>&1 >/dev/null)
    [ -z "$text" ] || { echo "$page: $text" >&2; exit 1; }
    LC_ALL=C MANWIDTH=80 man -l "$work/usr/$page" | grep -Eq "^ *$name +- " ||
        { echo "$page does not name $name" >&2; exit 1; }
done

(cd "$work" && cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/package" >/dev/null)
deb=$(ls "$work"/package/*.deb)
listing=$(dpkg-deb -c "$deb")
echo "$listing"
for file in usr/bin/vortana usr/bin/vortana-sim usr/share/applications/vortana.desktop \
    usr/share/vortana/MCUtype.txt ${man_pages//share/usr/share}; do
    grep -q " \./$file\$" <<<"$listing" || { echo "not in the package: $file" >&2; exit 1; }
done
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for package in libqt6widgets6 fonts-arphic-uming qt6-translations-l10n libpq5; do
    grep -qw "$package" <<<"$depends" || { echo "no dependency on $package" >&2; exit 1; }
done
