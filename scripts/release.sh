#!/usr/bin/env bash
# Makes every release file into build/release-files/:
#   velmora-VERSION-linux-x86_64.tar.gz   the command line, its manual page and documents
#   velmora_VERSION_amd64.deb             the same as a Debian package
#   Velmora-VERSION-windows.zip           both Windows programs, the players' readme, the licence
#   velmora-VERSION-site.zip              the page's static site
#   SHA256SUMS                            the SHA-256 of each
# CPack packs each of them. The same commit gives the same bytes in any folder,
# on any file system and at any time: times come from the commit
# (SOURCE_DATE_EPOCH), build paths are kept out of the programs, and archive
# entries are sorted by name, with fixed times, owners and modes.
# scripts/release-check.sh builds twice and compares.
# Usage: scripts/release.sh   (VELMORA_JOBS sets the build's parallel jobs, default 2)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/scripts/install-deps.sh" help2man dpkg-dev lintian strip-nondeterminism g++-mingw-w64-x86-64-posix >&2
jobs=${VELMORA_JOBS:-2}

SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct)
export SOURCE_DATE_EPOCH
export TZ=UTC LC_ALL=C.UTF-8
umask 022
out=$root/build/release-files
rm -rf "$out"
mkdir -p "$out"
started=$(date +%s)

# configure_and_pack DIR "TARGETS" ARGS...: a fresh release build of TARGETS
# in DIR, packed by CPack into DIR/packages.
configure_and_pack() {
  local dir=$1 targets=$2
  shift 2
  rm -rf "$dir"
  cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELMORA_TESTS=OFF \
    -DVELMORA_PACKAGE=ON -DVELMORA_REPRODUCIBLE=ON "$@" >&2
  # shellcheck disable=SC2086 # a list of targets
  cmake --build "$dir" -j "$jobs" --target $targets >&2
  (cd "$dir" && cpack -B "$dir/packages" >&2)
}

# CPack adds archive members in the order the file system lists its staging
# folder (a per-file-system hash on ext4, creation order on tmpfs), and the
# .deb's Installed-Size counts that folder's directories at their size on
# disk (4 KiB each on ext4, a few bytes on tmpfs). Settling each archive after
# CPack makes its bytes depend on its contents alone.

# settle_zip ZIP: members sorted by name, with the commit's time and modes 644
# or 755, by Debian's strip-nondeterminism.
settle_zip() {
  strip-nondeterminism --type zip --timestamp "$SOURCE_DATE_EPOCH" "$1" >&2
}

# settle_tgz TGZ: the same members packed again by GNU tar, sorted by name,
# with the commit's time and root as owner, and no name or time in the gzip
# header.
settle_tgz() {
  local unpacked
  unpacked=$(mktemp -d)
  tar -xzf "$1" -C "$unpacked"
  (cd "$unpacked" && tar --create --sort=name --format=gnu --mtime="@$SOURCE_DATE_EPOCH" \
    --owner=root:0 --group=root:0 -- *) | gzip -9 -n >"$1"
  rm -rf "$unpacked"
}

# settle_deb DEB: Installed-Size counted as dpkg-gencontrol counts it (each
# regular file or link in whole KiB, anything else 1 KiB), and the package
# built again by dpkg-deb, which sorts the members and takes its times from
# SOURCE_DATE_EPOCH.
settle_deb() {
  local unpacked kib
  unpacked=$(mktemp -d)
  dpkg-deb --raw-extract "$1" "$unpacked/package"
  kib=$(cd "$unpacked/package" && find . -mindepth 1 -path ./DEBIAN -prune -o \
    \( -type f -o -type l \) -printf '%s\n' -o -printf '1024\n' |
    awk '{ total += int(($1 + 1023) / 1024) } END { print total }')
  sed -i "s/^Installed-Size: .*/Installed-Size: $kib/" "$unpacked/package/DEBIAN/control"
  dpkg-deb --root-owner-group -Zgzip -z9 --build "$unpacked/package" "$1" >&2
  rm -rf "$unpacked"
}

echo "== Linux: the command line, .tar.gz and .deb" >&2
linux=$root/build/release-linux
configure_and_pack "$linux" "velmora velmora-man velmora-changelog"
cp "$linux"/packages/*.tar.gz "$linux"/packages/*.deb "$out/"
settle_tgz "$out"/*.tar.gz
settle_deb "$out"/*.deb
# Debian's own checks of the package; an error stops the release.
lintian --fail-on error "$out"/*.deb >&2

echo "== Windows: both programs, .zip" >&2
windows=$root/build/release-windows
configure_and_pack "$windows" "Velmora velmora" --toolchain "$root/cmake/mingw-w64.cmake" \
  -DCLI11_DIR="$root/cmake/host-headers" -Dnlohmann_json_DIR="$root/cmake/host-headers"
cp "$windows"/packages/*.zip "$out/"
settle_zip "$out"/Velmora-*-windows.zip

echo "== The page's site, .zip" >&2
VELMORA_JOBS=$jobs "$root/scripts/web.sh" --build-only
(cd "$linux" && cpack --config "$linux/SiteCPackConfig.cmake" -B "$linux/site-packages" >&2)
cp "$linux"/site-packages/*.zip "$out/"
settle_zip "$out"/velmora-*-site.zip

(cd "$out" && sha256sum -- *.tar.gz *.deb *.zip >SHA256SUMS)
echo "Release files of commit $(git -C "$root" rev-parse --short=12 HEAD)," \
  "made in $(($(date +%s) - started)) s:" >&2
(cd "$out" && stat -c '%s %n' -- *) >&2
echo "$out"
