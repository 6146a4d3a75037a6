#!/usr/bin/env bash
# Runs one fuzz target over its committed corpus, then a short fuzzing run
# from a fixed seed, so the result is the same on every machine.
#   run-target.sh <target> <corpus> <work dir> <runs>
# New inputs the run finds stay in <work dir>/new (the corpus is not
# touched); a crash leaves its input in <work dir> and fails.
set -euo pipefail
target=$1 corpus=$2 work=$3 runs=$4
# The targets write and sync files all the time: in memory, a busy disk
# does not set the pace.
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi
rm -rf "$work"
mkdir -p "$work/new"
"$target" -artifact_prefix="$work/" "$corpus"/*
"$target" -seed=1 -runs="$runs" -max_len=16384 -timeout=20 -rss_limit_mb=2048 \
  -artifact_prefix="$work/" "$work/new" "$corpus"
