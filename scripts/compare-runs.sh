# shellcheck shell=bash
# Sourced by the checks that run the native velmora beside another build of
# it (Windows under Wine, other processors under qemu). The caller sets
# $native, defines run_other (runs the other build with the arguments it is
# given) and record (record PASS|FAIL NAME [DETAILS]).
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

# compare_case DIR OTHER NAME ARGS...: runs the native program and run_other,
# each with ARGS, in DIR/native and DIR/OTHER, compares them and records NAME.
compare_case() {
  local dir=$1 other=$2 name=$3 native_status other_status
  shift 3
  mkdir -p "$dir/native" "$dir/$other"
  (cd "$dir/native" && timeout 600 "$native" "$@" >../native.log 2>../native.err)
  native_status=$?
  (cd "$dir/$other" && run_other "$@" >"../$other.log" 2>"../$other.err")
  other_status=$?
  compare_runs "$dir" "$other" "$native_status" "$other_status"
  [ ${#problems[@]} -eq 0 ] && record PASS "$name" || record FAIL "$name" "${problems[*]}"
}

# compare_cases WORK OTHER PREFIX CASE...: compare_case for each CASE,
# "SEED|OPTIONS", in a folder of WORK named after it, as PREFIX plus the case.
compare_cases() {
  local work=$1 other=$2 prefix=$3 entry seed options
  shift 3
  for entry in "$@"; do
    seed=${entry%%|*}
    read -r -a options <<<"${entry#*|}"
    compare_case "$work/$(echo "$seed ${entry#*|}" | tr -c 'A-Za-z0-9\n' '_')" "$other" \
      "${prefix}seed $seed ${entry#*|}" --seed "$seed" "${options[@]}"
  done
}
