#!/usr/bin/env bash
# Sets everything up on a fresh Debian 12 machine and opens Tapwise's main
# window on the demo data folder that ships with the sources (or on the
# folder given; "FOLDER|I" opens it in Italian).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-packages.sh"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTAPWISE_BUILD_TESTS=OFF -DTAPWISE_BUILD_BENCHMARKS=OFF
cmake --build "$root/build"
folder=${1:-$root/demo}
exec "$root/build/app/tapwise" "$folder"
