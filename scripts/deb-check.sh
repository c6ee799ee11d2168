#!/usr/bin/env bash
# Installs the release's .deb as a user would, checks that `velmora` makes a
# seed and that `man velmora` shows its manual page, and removes the package
# again. Run after scripts/release.sh; needs root (or sudo). A velmora
# package that is already installed is left alone, and the check skipped.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
deb=$(ls "$root"/build/release-files/velmora_*.deb)
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
if dpkg-query -W -f='${Status}' velmora 2>/dev/null | grep -q "install ok installed"; then
  echo "deb check skipped: a velmora package is installed already"
  exit 0
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get install -y -qq "$deb" >/dev/null
trap '$sudo apt-get remove -y -qq velmora >/dev/null' EXIT
work=$(mktemp -d)
(cd "$work" && /usr/bin/velmora --seed 1 >log 2>/dev/null)
grep -q "done!" "$work/log"
[ "$(wc -l <"$work/ItemListJillNormal.txt")" -eq 504 ]
page=$(man -P cat velmora 2>/dev/null)
grep -q -- "--settings" <<<"$page"
rm -rf "$work"
echo "deb check: $(basename "$deb") installs velmora and its manual page"
