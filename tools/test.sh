#!/bin/bash
# Runs every test: native unit tests under AddressSanitizer and UBSan, then the DLL's import
# check and the end-to-end cases under Wine.
set -eu
cd "$(dirname "$0")/.."
tools/setup.sh
cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native
cmake --preset win32 >/dev/null
cmake --build --preset win32
ctest --preset win32
