#!/usr/bin/env bash
# Installs the Debian packages the project needs (only what is missing) and
# configures and builds one tree. Safe to run again.
#   scripts/setup.sh [BUILD_DIR] [extra cmake arguments...]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
shift || true

packages=(cmake ninja-build g++ pkg-config libpugixml-dev libsqlite3-dev libgtest-dev libgmock-dev
          libbenchmark-dev clang-14 libclang-rt-14-dev lld clang-format valgrind
          libxml2-utils libxml2-dev libcpp-httplib-dev nlohmann-json3-dev chromium)
# Node.js with npm runs the browser tests; a node already on the machine (from any source)
# is kept, since Debian's npm package would conflict with other builds of node.
command -v npm >/dev/null 2>&1 || packages+=(nodejs npm)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq -o DPkg::Lock::Timeout=600 \
    "${missing[@]}" >/dev/null
fi

cmake -S "$here" -B "$build" -G Ninja "$@" >/dev/null
cmake --build "$build" -j"$(nproc)"
