#!/usr/bin/env bash
# Builds the program and starts it on ./run-data (made once, kept between runs):
# the program directory (options, operators, firms, the error log) and the
# start directory, where the firm's data go until a firm is chosen. Arguments
# go to the program (four or more: the remote start, the first naming the
# data directory).
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps
cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j "$(nproc)" --target Zelsal
mkdir -p run-data
cd run-data
export ZELSAL_HOME="${ZELSAL_HOME:-$PWD}"
exec ../build/bin/Zelsal "$@"
