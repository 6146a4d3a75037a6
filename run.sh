#!/usr/bin/env bash
# Builds the program and starts it on ./run-data (made once, kept between runs).
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps
cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j "$(nproc)" --target Zelsal
mkdir -p run-data
cd run-data
exec ../build/bin/Zelsal "$@"
