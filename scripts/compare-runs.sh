# shellcheck shell=bash
# Sourced by the checks that run the native velmora beside another build of
# it (Windows under Wine, other processors under qemu).
#
# compare_runs DIR OTHER NATIVE_STATUS OTHER_STATUS: compares the run in
# DIR/native (output in DIR/native.log and DIR/native.err) with the run in
# DIR/OTHER (DIR/OTHER.log, DIR/OTHER.err): exit status, standard output,
# standard error and the two seed files, byte for byte. Sets the array
# `problems` to what differs, empty when nothing does.
compare_runs() {
  local dir=$1 other=$2 native_status=$3 other_status=$4 native_files f
  problems=()
  [ "$native_status" -eq 0 ] || problems+=("native exit $native_status")
  [ "$other_status" -eq "$native_status" ] || problems+=("$other exit $other_status")
  cmp -s "$dir/native.log" "$dir/$other.log" || problems+=("logs differ")
  cmp -s "$dir/native.err" "$dir/$other.err" || problems+=("standard error differs")
  native_files=$(ls -A "$dir/native")
  [ "$native_files" = "$(ls -A "$dir/$other")" ] || problems+=("the two wrote other files")
  [ "$(echo "$native_files" | grep -c .)" -eq 2 ] || problems+=("native wrote '$native_files'")
  for f in $native_files; do
    cmp -s "$dir/native/$f" "$dir/$other/$f" || problems+=("$f differs")
  done
}
