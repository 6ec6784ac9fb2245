#!/bin/sh
# Runs a fuzz target over its seed corpus and then for a few seconds on new
# inputs (kept in a folder of the build, never in the repository's corpus).
set -e
target=$1 corpus=$2 scratch=$3 seconds=$4
mkdir -p "$scratch/inputs" "$scratch/artifacts"
"$target" -runs=0 "$corpus"
"$target" -max_total_time="$seconds" -artifact_prefix="$scratch/artifacts/" "$scratch/inputs" "$corpus"
