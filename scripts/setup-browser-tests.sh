#!/usr/bin/env bash
# Installs the browser tests' npm packages exactly as package-lock.json pins them (npm ci),
# unless they were installed from this very lock file already. Safe to run again.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here/tests/browser"
stamp=node_modules/.installed-from-lock.json
if ! cmp -s package-lock.json "$stamp" 2>/dev/null; then
  npm ci --no-audit --no-fund --loglevel=error
  cp package-lock.json "$stamp"
fi
