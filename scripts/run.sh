#!/usr/bin/env bash
# scripts/run.sh [KLINE-FILE] [ARGS...]
# Installs what is missing (Debian 12), builds the Release program in build/release and starts it
# with the K-line file, the shipped sample when none is given. Further arguments go to the program.
# The trade log is written to the current directory.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"

file="$root/data/sample.csv"
if [ $# -gt 0 ] && [ "${1#-}" = "$1" ]; then
  file="$1"
  shift
fi

build="$root/build/release"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --parallel 2 --target orvanta
exec "$build/app/orvanta" "$file" "$@"
