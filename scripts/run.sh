#!/usr/bin/env bash
# Installs what is missing (Debian 12), builds the Release program in build/release and starts it
# with the sample K-line file. Extra arguments go to the program. The trade log is written to the
# current directory.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"

build="$root/build/release"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --parallel 2 --target orvanta
exec "$build/app/orvanta" "$root/data/sample.csv" "$@"
