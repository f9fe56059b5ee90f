#!/bin/sh
# Runs a fuzz target for $FUZZ_SECONDS (20 unless set) from its seeds.
# usage: run-target.sh <target> <folder for what it finds> <seed folder>
set -eu
target=$1 found=$2 seeds=$3
mkdir -p "$found"
exec "$target" -max_total_time="${FUZZ_SECONDS:-20}" -timeout=10 -print_final_stats=1 \
  -artifact_prefix="$(dirname "$found")/" "$found" "$seeds"
