#!/usr/bin/env bash
# Sets everything up on a fresh Debian 12 machine and starts Tapwise on the
# demo data folder that ships with the sources (or on the folder given).
# Until the main window exists, "starting" lists the folder's Key sequences
# with tapwise-store and says how to run one.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-packages.sh"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTAPWISE_BUILD_TESTS=OFF -DTAPWISE_BUILD_BENCHMARKS=OFF
cmake --build "$root/build"
folder=${1:-$root/demo}
"$root/build/tools/tapwise-store" list "$folder"
echo
echo "Run one of them into the focused window with:"
echo "  $root/build/app/tapwise \"$folder,NAME\""
