#!/usr/bin/env bash
# Checks that a release can be made again by anyone: clones the commit twice,
# into two folders of different names, the second on tmpfs where the machine
# has /dev/shm (so the two see different file systems, which list folders in
# another order and give directories other sizes), makes the release files in
# each (one after the other, so at different times) and compares every file of
# build/release-files/ byte for byte. For a file that differs it says where:
# the first differing byte, and the archive members (with their size, mode,
# owner, time and SHA-256) that differ.
# Usage: scripts/release-check.sh [COMMIT]   (default HEAD; the work folder is
# build/release-check/, kept for a look afterwards, and so is the clone on
# tmpfs when a file differs)
#        scripts/release-check.sh --against-tree
#   takes this work tree's build/release-files/, just made by
#   scripts/release.sh from its commit, as the first build (the tree must be
#   unchanged from HEAD), so that only one more release is made.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
against_tree=false
if [ "${1:-}" = --against-tree ]; then
  against_tree=true
  shift
  if [ -n "$(git -C "$root" status --porcelain)" ]; then
    echo "release-check: the work tree differs from HEAD, so its release is not HEAD's" >&2
    exit 2
  fi
fi
commit=$(git -C "$root" rev-parse "${1:-HEAD}")
work=$root/build/release-check
rm -rf "$work"
mkdir -p "$work"

second=$work/second-build-of-the-same-commit
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
  second=$(mktemp -d /dev/shm/velmora-release-check.XXXXXX)/second-build-of-the-same-commit
fi
folders=("$work/first" "$second")
$against_tree && folders[0]=$root
for folder in "${folders[@]}"; do
  [ "$folder" = "$root" ] && continue
  git clone -q --no-hardlinks "$root" "$folder"
  git -C "$folder" checkout -q --detach "$commit"
  echo "== release in $folder" >&2
  "$folder/scripts/release.sh" >/dev/null
done

# members ARCHIVE: one line per member of a .zip, .tar.gz or .deb (and of the
# .deb's own tar archives).
members() {
  python3 - "$1" <<'PY'
import hashlib, io, sys, tarfile, zipfile

def tar_lines(data, prefix):
    with tarfile.open(fileobj=io.BytesIO(data)) as t:
        for m in t.getmembers():
            body = t.extractfile(m).read() if m.isfile() else b""
            yield (f"{prefix}{m.name} size={m.size} mode={m.mode:o} owner={m.uid}:{m.gid}"
                   f"/{m.uname}:{m.gname} mtime={m.mtime} sha256={hashlib.sha256(body).hexdigest()}")

def ar_lines(data):
    assert data[:8] == b"!<arch>\n"
    pos = 8
    while pos < len(data):
        header = data[pos:pos + 60]
        name = header[:16].decode().strip().rstrip("/")
        size = int(header[48:58])
        body = data[pos + 60:pos + 60 + size]
        yield f"{name} header={header[16:48].decode()!r} sha256={hashlib.sha256(body).hexdigest()}"
        if ".tar" in name:
            yield from tar_lines(body, name + ":")
        pos += 60 + size + size % 2

path = sys.argv[1]
data = open(path, "rb").read()
if path.endswith(".zip"):
    with zipfile.ZipFile(path) as z:
        for i in z.infolist():
            print(f"{i.filename} size={i.file_size} time={i.date_time} attr={i.external_attr:o}"
                  f" sha256={hashlib.sha256(z.read(i)).hexdigest()}")
elif path.endswith(".deb"):
    print("\n".join(ar_lines(data)))
elif path.endswith(".tar.gz"):
    print("\n".join(tar_lines(data, "")))
PY
}

a=${folders[0]}/build/release-files
b=${folders[1]}/build/release-files
status=0
files=$( (cd "$a" && ls) ; (cd "$b" && ls) )
for name in $(echo "$files" | sort -u); do
  if [ ! -e "$a/$name" ] || [ ! -e "$b/$name" ]; then
    echo "DIFFERS: $name is made by one build only"
    status=1
  elif cmp -s "$a/$name" "$b/$name"; then
    echo "same: $name ($(stat -c %s "$a/$name") bytes)"
  else
    echo "DIFFERS: $name: $(cmp "$a/$name" "$b/$name" 2>&1 | head -1)"
    diff <(members "$a/$name") <(members "$b/$name") | sed 's/^/  /' || true
    status=1
  fi
done
if [ $status -eq 0 ]; then
  echo "The two builds of $commit made the same release files."
  case $second in /dev/shm/*) rm -rf "$(dirname "$second")" ;; esac
else
  echo "The builds are kept in ${folders[0]} and $second."
fi
exit $status
