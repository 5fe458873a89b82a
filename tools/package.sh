#!/bin/bash
# Builds the release zip with CPack: build/win32/Launchboard-<version>.zip holding
# Launchboard.dll and the Japanese readme.txt (Shift-JIS, CRLF).
set -eu
cd "$(dirname "$0")/.."
tools/setup.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target package | grep -E 'package: ' || true
