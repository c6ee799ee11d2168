#!/usr/bin/env bash
# Plants a fixed list of small faults into the generator, one at a time,
# rebuilds the ci configuration, runs the native test suite and tells whether
# the suite noticed ("killed") or not ("survived"). The source file is put
# back after every fault, also when the run is interrupted.
#
# Usage: scripts/mutants.sh [--list] [--check] [NAME...]
#   --list   prints the names of the faults and stops
#   --check  only checks that every fault applies to exactly one place
#   NAME...  plants only the named faults
# The ci configuration is built first. The suite stops at the first failing
# test. A fault that makes the suite run longer than VELMORA_MUTANT_TIMEOUT seconds (default
# 400) counts as killed: the suite's own time limits would fail it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
exec python3 - "$root" "$@" <<'PYTHON'
import os, signal, subprocess, sys, threading, time

root = sys.argv[1]
args = sys.argv[2:]

# (name, file, text to replace, replacement). Each text occurs exactly once.
MUTANTS = [
    # app: the dialog's rules, the stage order, the pool modifiers
    ("doors-keeps-hard", "app/VelmoraDlg.cpp",
     "    SetChecked(kIdHard, false);\n", ""),
    ("enemy-panel-inverted", "app/VelmoraDlg.cpp",
     "EnableControl(id, enabled);", "EnableControl(id, !enabled);"),
    ("character-from-jill-box", "app/VelmoraDlg.cpp",
     "return IsChecked(kIdChris) ? Character::kChris", "return IsChecked(kIdJill) ? Character::kChris"),
    ("enemies-after-doors", "app/GenerateSeed.cpp",
     "  if (IsChecked(kIdEnemies) && !m_lockStageRanItems) RandomizeEnemies();\n"
     "  if (IsChecked(kIdDoors)) RandomizeDoors();\n",
     "  if (IsChecked(kIdDoors)) RandomizeDoors();\n"
     "  if (IsChecked(kIdEnemies) && !m_lockStageRanItems) RandomizeEnemies();\n"),
    ("late-cancel-ignored", "app/GenerateSeed.cpp",
     "  if (CancelRequested()) return;\n  ApplyPoolModifiers();", "  ApplyPoolModifiers();"),
    ("filler-draw-3", "app/PoolModifiers.cpp",
     "kFillerItems[m_random.Draw(4)]", "kFillerItems[m_random.Draw(3)]"),
    ("swap-takes-needed-items", "app/PoolModifiers.cpp",
     " && !kept_by_swap.contains(item)) item = kSelfDefenseGun;", ") item = kSelfDefenseGun;"),
    ("remove-ammo-takes-ink", "app/PoolModifiers.cpp",
     "remove_ammo && InGroup(kAmmunitionNames", "remove_ammo && InGroup(kInkRibbonNames"),
    # catalogue: the tables and their readers
    ("span-misses-last", "catalogue/AreaTables.cpp",
     "for (int n = span.first; n <= span.last; ++n)", "for (int n = span.first; n < span.last; ++n)"),
    ("chris-slots-for-jill", "catalogue/AreaTables.cpp",
     "  if (character == Character::kChris)\n    for (const CharacterSlotAreaRow& row",
     "  if (character == Character::kJill)\n    for (const CharacterSlotAreaRow& row"),
    ("fuse-areas-miss-last", "catalogue/AreaTables.cpp",
     "area <= kLastLockModeArea; ++area)", "area < kLastLockModeArea; ++area)"),
    ("names-hard-for-normal", "catalogue/ItemNames.cpp",
     "return difficulty == Difficulty::kNormal ? row.jill_normal : row.jill_hard;",
     "return difficulty == Difficulty::kHard ? row.jill_normal : row.jill_hard;"),
    ("lock-type-15-unknown", "catalogue/LockTypes.cpp",
     "type < static_cast<int>(kLockTypeTable.size())", "type < static_cast<int>(kLockTypeTable.size()) - 1"),
    # items: the deal, the pins, the checks, the door-mode placement
    ("jill-normal-pin-on-hard", "items/ShuffleItems.cpp",
     "if (!IsChecked(kIdHard)) PinSlot(kJillNormalPinnedSlot);",
     "if (IsChecked(kIdHard)) PinSlot(kJillNormalPinnedSlot);"),
    ("pin-statements-swapped", "items/ShuffleItems.cpp",
     "  *home = m_placement[slot];\n  m_placement[slot] = slot;",
     "  m_placement[slot] = slot;\n  *home = m_placement[slot];"),
    ("pin-list-skips-39", "items/Pins.cpp",
     "if (difficulty == Difficulty::kNormal) slots.push_back(kJillNormalPinnedSlot);", ""),
    ("pin-constant-changed", "items/Pins.h",
     "{90, 91, 114, 48, 123, 147}", "{90, 91, 114, 48, 123, 146}"),
    ("forbidden-area-inverted", "items/CheckPlacement.cpp",
     "if (area && Contains(forbidden->second, *area)) return;",
     "if (area && !Contains(forbidden->second, *area)) return;"),
    ("check-skips-last-item", "items/CheckPlacement.cpp",
     "  for (int item = 0; item < kSlotCount; ++item) {\n    if (!Reachable(",
     "  for (int item = 0; item < kSlotCount - 1; ++item) {\n    if (!Reachable("),
    ("check-alternative-passes-at-once", "items/CheckPlacement.cpp",
     "        passes = false;\n        break;", "        break;"),
    ("fast-search-ignores-pins", "items/FastItemSearch.cpp",
     "    for (int slot : pins_) early_[item][slot >> 6] &= ~(uint64_t{1} << (slot & 63));\n", ""),
    ("needs-required-index-1", "catalogue/AreaNeeds.cpp",
     "lists.find(0); all != lists.end()", "lists.find(1); all != lists.end()"),
    ("supply-roll-off-by-one", "items/DoorModePlacement.cpp",
     "if (roll <= supply.last_roll) return supply.item;", "if (roll < supply.last_roll) return supply.item;"),
    ("door-mode-run-misses-last", "items/DoorModePlacement.cpp",
     "for (int slot = run.first; slot <= run.last; ++slot)", "for (int slot = run.first; slot < run.last; ++slot)"),
    ("group-2-exclusion-misses-last", "items/DoorModePlacement.cpp",
     "return std::find(excluded.begin(), excluded.end(), slot) != excluded.end();",
     "return std::find(excluded.begin(), excluded.end() - 1, slot) != excluded.end() - 1;"),
    # enemies
    ("special-draws-swapped", "enemies/RandomizeEnemies.cpp",
     "  int y = m_random.Draw(yawn_count);\n  int l = m_random.Draw(lisa_count);\n  while",
     "  int l = m_random.Draw(lisa_count);\n  int y = m_random.Draw(yawn_count);\n  while"),
    ("list-loses-last-kind", "enemies/RandomizeEnemies.cpp",
     "&& kinds.size() > 1) Remove(", "&& kinds.size() > 0) Remove("),
    ("random-tyrant-coin-flipped", "enemies/RandomizeEnemies.cpp",
     "m_random.Draw(2) == 0 ? kKindTyrant", "m_random.Draw(2) == 1 ? kKindTyrant"),
    ("yawn-none-ignored", "enemies/RandomizeEnemies.cpp",
     "  if (IsChecked(kIdYawnNone)) yawn_position = kNoPosition;\n", ""),
    ("last-kind-has-no-name", "enemies/EnemyPositions.cpp",
     "kind > static_cast<int>(std::size(kEnemyKindNames))", "kind >= static_cast<int>(std::size(kEnemyKindNames))"),
    # doors and locks
    ("parity-guard-flipped", "doors/RandomizeDoors.cpp",
     "open_count % 2 == 1) {", "open_count % 2 == 0) {"),
    ("door-pairs-with-itself", "doors/RandomizeDoors.cpp",
     "while (open_doors[pick_b] == turn.a)", "if (open_doors[pick_b] == turn.a)"),
    ("one-door-room-no-draw", "doors/RandomizeDoors.cpp",
     "if (open > 0) local_index", "if (open > 1) local_index"),
    ("lock-rule-4-constant", "doors/LockShuffle.cpp",
     "check(4, !In(L[30], {6, 15}));", "check(4, !In(L[30], {6, 7}));"),
    ("lock-turn-misses-26", "doors/LockShuffle.cpp",
     "for (int p = 0; p <= 26; ++p) {", "for (int p = 0; p < 26; ++p) {"),
    ("lock-rule-3-dropped", "doors/LockShuffle.cpp",
     "check(3, In(L[3], {7, 9}) && In(L[13], {7, 9}));", ""),
    ("gate-rule-10-direction", "doors/LockStage.cpp",
     "if (passable_backwards(26)) open(100);", "if (passable(26)) open(100);"),
    ("deal-skips-pin-test", "doors/LockStage.cpp",
     "if (!LocksAreValid() || !LockDealCanBeFinished(*this)) continue;", "if (!LocksAreValid()) continue;"),
    ("lock-keys-wrong-position", "doors/LockRequirements.cpp",
     "Append(A(83, 0), Keys(9));", "Append(A(83, 0), Keys(8));"),
    ("jill-rule-for-chris", "doors/LockRequirements.cpp",
     "if (character_ == Character::kJill) Append(A(95, 0), {0});",
     "if (character_ == Character::kChris) Append(A(95, 0), {0});"),
    # output
    ("lock-marker-misspelt", "output/ItemList.cpp",
     'Line(out, "LOCKRANDODATA");', 'Line(out, "LOCKRANDOATA");'),
    ("item-list-lf-only", "output/ItemList.cpp",
     '  out += "\\r\\n";', '  out += "\\n";'),
    ("failed-write-not-flagged", "output/ItemList.cpp",
     "    write_failed_ = true;\n", ""),
    ("short-write-is-success", "output/OutputFiles.cpp",
     "bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();", "bool ok = (static_cast<void>(bytes), true);"),
    ("read-only-file-replaced", "output/OutputFiles.cpp",
     '    return "the file is read-only";', "    {}"),
    ("path-to-victory-for-doors", "output/CheatSheet.cpp",
     "if (!options_.doors) WritePathToVictory();", "if (options_.doors) WritePathToVictory();"),
    ("hidden-slot-off-by-one", "output/CheatSheet.cpp",
     "return !Hard() && Jill() && slot == 39;", "return !Hard() && Jill() && slot == 38;"),
    ("json-attempts-off-by-one", "output/SpoilerJson.cpp",
     'out["item_attempts"] = dlg_.m_itemAttempts;', 'out["item_attempts"] = dlg_.m_itemAttempts + 1;'),
    ("hash-names-shifted", "output/PlacementHash.cpp",
     "kBitsPerName * (i + 1);", "kBitsPerName * (i + 2);"),
    ("door-map-ignores-fixed-doors", "output/DoorMap.cpp",
     "fixed.count(door) == 0 && fixed.count(to) == 0 &&", ""),
    ("door-map-escape-dropped", "output/DoorMap.cpp",
     "if (c == '\"' || c == '\\\\') out += '\\\\';", "if (c == '\"') out += '\\\\';"),
    # verify
    ("reader-takes-leading-zero", "verify/ItemListReader.cpp",
     "  if (digits.size() > 1 && digits[0] == '0') return std::nullopt;\n", ""),
    ("reader-item-range-short", "verify/ItemListReader.cpp",
     'return {{}, 0, 186, false, "an item id"};', 'return {{}, 0, 185, false, "an item id"};'),
    ("reader-takes-lf", "verify/ItemListReader.cpp",
     "if (end == at || bytes[end - 1] != '\\r')", "if (end == at)"),
    ("sense-takes-turned-9", "verify/SeedSense.cpp",
     "if ((types[p] == 7 || types[p] == 9) && !IsReversibleLockPosition(p))",
     "if (types[p] == 7 && !IsReversibleLockPosition(p))"),
    ("summary-locks-swapped", "verify/Verify.cpp",
     '? ", locks dealt" : ", locks kept"', '? ", locks kept" : ", locks dealt"'),
    ("problem-line-zero-shown", "verify/Verify.cpp",
     "if (result.problem->line > 0) err", "if (result.problem->line >= 0) err"),
    # cli
    ("seed-limit-off-by-one", "cli/CommandLine.cpp",
     "std::stoull(seed_text) > 0xFFFFFFFFull", "std::stoull(seed_text) > 0xFFFFFFFEull"),
    ("doors-with-locks-allowed", "cli/CommandLine.cpp",
     "  if (o.locks) return \"--doors cannot go with --locks: door seeds keep the game's locks\";\n", ""),
    ("settings-o-not-zero", "cli/SettingsString.cpp",
     "  if (c == 'O') c = '0';\n", ""),
    ("settings-check-constant", "cli/SettingsString.cpp",
     "value ^= 0x25;", "value ^= 0x24;"),
    ("interrupt-status-1", "cli/main.cpp",
     "    return 130;", "    return 1;"),
    ("spoiler-failure-is-success", "cli/main.cpp",
     "    if (!problems.empty()) return 1;\n", ""),
    ("door-map-title-changed", "cli/SpoilerFiles.cpp",
     '", seed " +', '", seed: " +'),
]

names = [m[0] for m in MUTANTS]
assert len(set(names)) == len(names), "two faults share a name"
if "--list" in args:
    print("\n".join(names))
    sys.exit(0)
check_only = "--check" in args
chosen = [a for a in args if not a.startswith("--")]
unknown = [a for a in chosen if a not in names]
if unknown:
    sys.exit("unknown faults: " + " ".join(unknown))
todo = [m for m in MUTANTS if not chosen or m[0] in chosen]

bad = 0
for name, path, old, new in todo:
    with open(os.path.join(root, path), encoding="utf-8") as f:
        count = f.read().count(old)
    if count != 1:
        print(f"{name}: {path} holds its text {count} times, not once", file=sys.stderr)
        bad += 1
if bad:
    sys.exit(2)
if check_only:
    print(f"all {len(todo)} faults apply once")
    sys.exit(0)

build = os.path.join(root, "build", "ci")
log = open(os.path.join(root, "build", "mutants.log"), "w") if os.path.isdir(os.path.join(root, "build")) else None
def run(cmd, timeout=None):
    proc = subprocess.Popen(cmd, cwd=root, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                            start_new_session=True)
    try:
        out, _ = proc.communicate(timeout=timeout)
    except subprocess.TimeoutExpired:
        os.killpg(proc.pid, signal.SIGKILL)
        proc.communicate()
        return None
    if log:
        log.write(out.decode(errors="replace")[-4000:])
        log.flush()
    return proc.returncode

def run_tests(cmd, timeout):
    """Runs ctest and stops it at the first test that fails: ctest's own
    --stop-on-failure waits for the tests already running, and under a fault
    that makes the generator loop for ever those would run into the time
    limit. Returns 0 when every test passed, 1 on a failure, None when the
    suite ran past `timeout` seconds."""
    proc = subprocess.Popen(cmd, cwd=root, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                            start_new_session=True)
    deadline = time.time() + timeout
    timer = threading.Timer(timeout, lambda: os.killpg(proc.pid, signal.SIGKILL))
    timer.start()
    failed = False
    kept = []
    try:
        for raw in proc.stdout:
            line = raw.decode(errors="replace")
            kept.append(line)
            if "***" in line or "Subprocess aborted" in line:
                failed = True
                os.killpg(proc.pid, signal.SIGKILL)
                break
        proc.communicate()
    finally:
        timer.cancel()
    if log:
        log.write("".join(kept)[-4000:])
        log.flush()
    if failed:
        return 1
    if time.time() >= deadline:
        return None
    return proc.returncode

def build_ci():
    return run(["cmake", "--build", "--preset", "ci", "-j2"])

if not os.path.isfile(os.path.join(build, "build.ninja")):
    subprocess.run(["cmake", "--preset", "ci"], cwd=root, check=True, stdout=subprocess.DEVNULL)
if build_ci() != 0:
    sys.exit("the unchanged tree does not build")

timeout = int(os.environ.get("VELMORA_MUTANT_TIMEOUT", "400"))
# The tests that take many seconds each.
SLOW = "CommittedIndexTest|IndexedGenerationTest|SpheresAgreeWithCheck|property_run"
# The tests that run the velmora program: under a fault that makes the
# generator loop for ever they wait for it up to their time limit, so they
# run after the unit tests, which fail within seconds.
PROGRAM = "^cli_end_to_end$|^fault_test$|^interrupt_test$"
current = None  # (path, original text) while a fault is planted

def restore():
    global current
    if current:
        with open(current[0], "w", encoding="utf-8") as f:
            f.write(current[1])
        current = None

def interrupted(signum, frame):
    restore()
    build_ci()
    sys.exit(130)

signal.signal(signal.SIGINT, interrupted)
signal.signal(signal.SIGTERM, interrupted)

killed = survived = 0
survivors = []
unbuilt = []
try:
    for name, path, old, new in todo:
        full = os.path.join(root, path)
        with open(full, encoding="utf-8") as f:
            original = f.read()
        current = (full, original)
        with open(full, "w", encoding="utf-8") as f:
            f.write(original.replace(old, new, 1))
        started = time.time()
        if log:
            log.write(f"\n=== {name}\n")
        if build_ci() != 0:
            verdict = "not built"
        else:
            # The quick tests first, then those that run the program, the few
            # long ones only when those pass: together they are the whole
            # suite, and most faults are caught within seconds.
            rc = run_tests(["ctest", "--preset", "ci", "-j2", "-E", SLOW + "|" + PROGRAM], timeout)
            if rc == 0:
                rc = run_tests(["ctest", "--preset", "ci", "-j2", "-R", PROGRAM], timeout)
            if rc == 0:
                rc = run_tests(["ctest", "--preset", "ci", "-j2", "-R", SLOW], timeout)
            verdict = ("killed (time limit)" if rc is None else
                       "survived" if rc == 0 else "killed")
        restore()
        if verdict == "survived":
            survived += 1
            survivors.append(name)
        elif verdict != "not built":
            killed += 1
        else:
            unbuilt.append(name)
        print(f"{name}: {verdict} ({time.time() - started:.0f} s)", flush=True)
finally:
    restore()
    build_ci()

print(f"total: {killed} killed, {survived} survived of {len(todo)}")
if unbuilt:
    print("not built (a fault that does not compile counts neither way): " + " ".join(unbuilt))
if survivors:
    print("survivors: " + " ".join(survivors))
PYTHON
