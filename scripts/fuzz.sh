#!/usr/bin/env bash
# Builds the item-list verifier's libFuzzer target with clang and the address
# and undefined-behaviour sanitizers (the "fuzz" preset) and runs it.
# Usage: scripts/fuzz.sh [SECONDS] [BUILD_DIR]   (default: 600 seconds, build/fuzz)
# Exits non-zero when the fuzzer finds a crash or an input slower than 10 s.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-600}
build=${2:-$root/build/fuzz}
"$root/scripts/install-deps.sh" clang libclang-rt-dev

cmake --preset fuzz -B "$build" >/dev/null
cmake --build "$build" --target verify_fuzz -j 2

# The seed inputs in the tree stay as they are; what the run learns goes to
# a corpus in the build directory, kept for the next run.
corpus=$build/verify-corpus
mkdir -p "$corpus"
cd "$build"
"$build/verify/verify_fuzz" -max_total_time="$seconds" -timeout=10 -max_len=4096 \
  -print_final_stats=1 "$corpus" "$root/verify/fuzz_corpus"
