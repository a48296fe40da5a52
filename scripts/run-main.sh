#!/usr/bin/env bash
# Sets everything up and runs the main job: the reference host takes the
# module's default rules along the storage road — written to a new rule file,
# read back, converted to inches and shown again; then the millimetre file is
# configured by a script of user actions (one thickness per material, three
# materials) and shown once more. The files go to out/.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$here/build
"$here/scripts/setup.sh" "$build"

vekhost=$build/bin/vekhost
out=$here/out
mkdir -p "$out"

"$vekhost" info
echo
"$vekhost" new -o "$out/rules-mm.xml" --unit 0 --force
"$vekhost" show "$out/rules-mm.xml"
echo
"$vekhost" convert "$out/rules-mm.xml" --unit 3 -o "$out/rules-in.xml"
"$vekhost" show "$out/rules-in.xml"
echo
# The configuration dialog offers the catalogue's materials: a database of the
# job's own keeps the script's names available whatever the user's holds.
export VEK_MATERIAL_DB="$out/materials.db"
"$vekhost" configure "$out/rules-mm.xml" --script "$here/scripts/configure-per-material.txt"
"$vekhost" show "$out/rules-mm.xml"
