#!/usr/bin/env bash
# The same seed on every processor: cross-builds the command line for 64-bit
# ARM (aarch64, which deals with the NEON kernel) and for s390x (big-endian)
# with Debian's cross compilers, statically linked, and runs it under
# qemu-user beside the native program. For each case its log (standard
# output), standard error (seed, settings string and hash), exit status and
# files must equal the native program's byte for byte. Installs what it needs
# when it is missing. Prints "N passed, M failed" last and exits non-zero
# when a case failed.
#   VELMORA_NATIVE=path   the native velmora to compare with (default
#                         build/ci/cli/velmora when built, else the release
#                         preset's, built in build/release)
#   VELMORA_CROSS="aarch64 s390x"   the processors to test
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
started=$(date +%s)
processors=(${VELMORA_CROSS:-aarch64 s390x})
packages=(qemu-user)
for p in "${processors[@]}"; do packages+=("g++-$p-linux-gnu"); done
"$root/scripts/install-deps.sh" "${packages[@]}" || exit 1
jobs=2

native=$("$root/scripts/native-velmora.sh") || exit 1
. "$root/scripts/compare-runs.sh"

# seed | options. Each plain selection from the attempt index, enemies with
# their panel, doors for both characters, locks for both characters, every
# modifier, and one search without the index; the searched seeds are ones
# whose search is short, as qemu runs the search many times slower.
cases=(
  "1|"
  "2|--difficulty hard"
  "3|--character chris"
  "4|--character chris --difficulty hard"
  "7|--difficulty hard --enemies --kinds zombies,dogs,hunters --tyrant many --yawn none --lisa many --tyrant-type random"
  "31337|--doors --enemies --tyrant-type slow --kinds spiders,sharks,bees,chimera,elder-crimson-heads"
  "424242|--character chris --doors --enemies --tyrant none --lisa none"
  "4|--difficulty hard --locks"
  "14|--character chris --locks --enemies"
  "0|--remove healing,ammo,ink,defence --swap-sdg --armed-capsule"
  "65536|--character chris --difficulty hard --remove ammo,ink --swap-sdg --armed-capsule"
  "18|--no-attempt-index"
)

results=()
passed=0
failed=0
record() {  # record PASS|FAIL NAME [DETAILS]
  echo "$1 $2${3:+: $3}"
  if [ "$1" = PASS ]; then passed=$((passed + 1)); else failed=$((failed + 1)); fi
}

# The cross program, under qemu: $cross_run is its command.
run_other() { timeout 600 "${cross_run[@]}" "$@"; }

for processor in "${processors[@]}"; do
  build=$root/build/cross-$processor
  echo "== Building velmora for $processor (build/cross-$processor)"
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/linux-cross.cmake" \
    -DVELMORA_CROSS_TRIPLE="$processor-linux-gnu" -DVELMORA_TESTS=OFF -DVELMORA_WERROR=ON \
    -DCLI11_DIR="$root/cmake/host-headers" -Dnlohmann_json_DIR="$root/cmake/host-headers" >/dev/null || exit 1
  if ! cmake --build "$build" --target velmora -j "$jobs"; then
    record FAIL "$processor: build"
    continue
  fi
  cross_run=("qemu-$processor" "$build/cli/velmora")
  work=$build/cross-work
  rm -rf "$work"
  compare_cases "$work" cross "$processor: " "${cases[@]}"

  if [ "$processor" = aarch64 ]; then
    # The kernels this build offers, fastest first: the refusal of an unknown
    # name lists them, and the first is the one the search takes.
    message=$(VELMORA_SEARCH_KERNEL=none "${cross_run[@]}" --seed 1 2>&1 >/dev/null)
    status=$?
    if [ "$status" -eq 2 ] && [[ "$message" == *"available: neon, bytes"* ]]; then
      record PASS "aarch64: the search deals with NEON first"
    else
      record FAIL "aarch64: the search deals with NEON first" "exit $status, '$message'"
    fi
    # A lock seed's search forced onto each kernel gives the same seed.
    for kernel in neon bytes; do
      cross_run=(env "VELMORA_SEARCH_KERNEL=$kernel" "qemu-$processor" "$build/cli/velmora")
      compare_case "$work/forced-$kernel" cross "aarch64: seed 14 Chris locks, $kernel kernel forced" \
        --seed 14 --character chris --locks
    done
  fi
done

echo "Cross-processor tests: $(($(date +%s) - started)) s; work folders in build/cross-*/cross-work"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
