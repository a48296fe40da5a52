#!/usr/bin/env bash
# Fails when clang-format would change any of our C++ files.
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files '*.cpp' '*.h' '*.inc' | xargs -r clang-format --dry-run --Werror
