#!/usr/bin/env bash
# Sets everything up and runs the main job: the reference host on the built module.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$here/build
"$here/scripts/setup.sh" "$build"
"$build/bin/vekhost" info
