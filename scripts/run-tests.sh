#!/usr/bin/env bash
# Sets everything up (Debian packages, the build, the browser tests' npm packages) and runs
# the whole test suite, the browser tests included.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
"$here/scripts/setup.sh" "$build"
"$here/scripts/setup-browser-tests.sh"
ctest --test-dir "$build" --output-on-failure -j"$(nproc)"
