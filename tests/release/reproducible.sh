#!/bin/bash
# The same commit gives the same bytes: builds the DLL and the release zip again in another
# folder (another path, another length) and compares both with those of the tested build.
set -eu
source=$1 tested=$2  # the source tree and the tested build folder
other=$(mktemp -d /tmp/lb-reproducible-build.XXXXXX)/another/folder
trap 'rm -rf "$(dirname "$(dirname "$other")")"' EXIT
cmake --build "$tested" --target package >/dev/null
cmake -S "$source" -B "$other" -DCMAKE_TOOLCHAIN_FILE="$source/cmake/mingw-i686.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DLB_WINE_TESTS=OFF >/dev/null
cmake --build "$other" --target package -j 2 >/dev/null
status=0
for file in Launchboard.dll "Launchboard-$(sed -n 's/^#define LB_VERSION_TEXT "\(.*\)"/\1/p' "$tested/generated/version.h").zip"; do
    if cmp -s "$tested/$file" "$other/$file"; then
        echo "identical: $file ($(stat -c %s "$tested/$file") bytes)"
    else
        echo "DIFFERENT: $file built in $tested and in $other"; status=1
    fi
done
exit $status
