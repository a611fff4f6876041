#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package from a finished build and checks what it holds and depends on, that
# lintian finds nothing to say (overrides only with a reason), that its desktop entry and AppStream
# metainfo validate, and that the manual page of tobric-run names every option its --help does.
# Usage: package_contents.sh BUILD_DIR SOURCE_DIR
set -eu
build="$1"
source="$2"
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
(cd "$build" && cpack -G DEB -B "$out" > "$out/cpack.log" 2>&1) || { cat "$out/cpack.log"; exit 1; }
package="$(ls "$out"/*.deb)"
contents="$(dpkg-deb -c "$package" | awk '{print $6}')"
depends="$(dpkg-deb -f "$package" Depends)"
status=0
for path in ./usr/bin/tobric ./usr/bin/tobric-run \
            ./usr/share/applications/tobric.desktop \
            ./usr/share/icons/hicolor/scalable/apps/tobric.svg \
            ./usr/share/icons/hicolor/48x48/apps/tobric.png \
            ./usr/share/metainfo/example.tobric.Tobric.metainfo.xml \
            ./usr/share/man/man1/tobric.1.gz ./usr/share/man/man1/tobric-run.1.gz \
            ./usr/share/doc/tobric/copyright ./usr/share/doc/tobric/changelog.gz \
            ./usr/share/doc/tobric/fonts/fonts-{dseg,comic-neue,liberation2}-copyright.txt \
            ./usr/share/tobric/examples/add_two_numbers.txt \
            ./usr/share/tobric/examples/add_two_numbers.cases \
            ./usr/share/tobric/examples/fibonacci.txt; do
    grep -qx "$path" <<< "$contents" || { echo "missing from the package: $path"; status=1; }
done
examples=$(grep -c '^./usr/share/tobric/examples/.*\.txt$' <<< "$contents")
[ "$examples" -ge 12 ] || { echo "only $examples example programs in the package"; status=1; }
for dependency in libqt6widgets6 libqt6svg6 qt6-qpa-plugins libc6; do
    grep -q "$dependency" <<< "$depends" || { echo "missing dependency: $dependency"; status=1; }
done
[ "$(dpkg-deb -f "$package" Package)" = tobric ] || { echo "wrong package name"; status=1; }

# Errors and warnings fail; information does not, nor a tag the package overrides with a reason.
lintian_status=0
lintian --tag-display-limit 0 --fail-on error,warning "$package" > "$out/lintian.log" 2>&1 ||
    lintian_status=$?
if [ "$lintian_status" -ne 0 ] || grep -E '^(E|W):' "$out/lintian.log"; then
    echo "lintian exited with $lintian_status:"; cat "$out/lintian.log"; status=1
fi

mkdir "$out/root"
dpkg-deb -x "$package" "$out/root"
desktop-file-validate "$out/root/usr/share/applications/tobric.desktop" || status=1
appstreamcli validate --no-net "$out/root/usr/share/metainfo/example.tobric.Tobric.metainfo.xml" \
    > "$out/appstream.log" 2>&1 || { cat "$out/appstream.log"; status=1; }

# Every option --help names is in the manual page.
help_options="$("$out/root/usr/bin/tobric-run" --help | grep -oE -- '(^|[ [])--?[a-z][a-z-]*' |
                grep -oE -- '--?[a-z-]+' | sort -u)"
page_options="$(zcat "$out/root/usr/share/man/man1/tobric-run.1.gz" | sed 's/\\-/-/g' |
                grep -oE -- '--?[a-z][a-z-]*' | sort -u)"
if [ "$help_options" != "$(comm -12 <(echo "$help_options") <(echo "$page_options"))" ]; then
    echo "options in --help but not in tobric-run(1):"; comm -23 <(echo "$help_options") <(echo "$page_options")
    status=1
fi
exit $status
