#!/bin/bash
# Builds the Debian package from a finished build and checks what it holds and depends on.
# Usage: package_contents.sh BUILD_DIR
set -eu
build="$1"
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
            ./usr/share/tobric/examples/add_two_numbers.txt \
            ./usr/share/tobric/examples/add_two_numbers.cases \
            ./usr/share/tobric/examples/fibonacci.txt; do
    grep -qx "$path" <<< "$contents" || { echo "missing from the package: $path"; status=1; }
done
examples=$(grep -c '^./usr/share/tobric/examples/.*\.txt$' <<< "$contents")
[ "$examples" -ge 12 ] || { echo "only $examples example programs in the package"; status=1; }
for dependency in libqt6widgets6 libqt6svg6 qt6-qpa-plugins fonts-dseg fonts-comic-neue; do
    grep -q "$dependency" <<< "$depends" || { echo "missing dependency: $dependency"; status=1; }
done
[ "$(dpkg-deb -f "$package" Package)" = tobric ] || { echo "wrong package name"; status=1; }
exit $status
