#include "reliability/PropertyRun.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/ControlIds.h"
#include "app/MemoryWindow.h"
#include "app/VelmoraDlg.h"
#include "output/OutputFiles.h"
#include "reliability/SeedChecks.h"

namespace velmora {
namespace {

uint64_t SplitMix(uint64_t x) {
  x += 0x9E3779B97F4A7C15ull;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
  return x ^ (x >> 31);
}

// Hands out independent draws from one case's hash.
class CaseDraws {
 public:
  explicit CaseDraws(uint64_t key) : state_(key) {}
  uint64_t Below(uint64_t n) {
    state_ = SplitMix(state_);
    return state_ % n;
  }
  bool OneIn(uint64_t n) { return Below(n) == 0; }

 private:
  uint64_t state_;
};

struct KindBox {
  const char* name;
  int id;
};
constexpr KindBox kKindBoxes[] = {
    {"zombies", kIdZombies}, {"dogs", kIdDogs},   {"hunters", kIdHunters},
    {"spiders", kIdSpiders}, {"sharks", kIdSharks}, {"bees", kIdBees},
    {"chimera", kIdChimera}, {"elder-crimson-heads", kIdElderCrimsonHeads},
};

const char* SpawnWord(SpawnChoice c) {
  return c == SpawnChoice::kOne ? "one" : c == SpawnChoice::kMany ? "many" : "none";
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

}  // namespace

SeedCase CaseFor(uint64_t index, uint64_t salt, const SeedMix& mix) {
  CaseDraws draw(SplitMix(index) ^ SplitMix(salt + 0x5EED));
  SeedCase c;
  c.index = index;
  c.seed = static_cast<uint32_t>(draw.Below(uint64_t{1} << 32));
  CommandLineOptions& o = c.options;

  const int kind = static_cast<int>(draw.Below(1000));
  if (kind < mix.no_items) {
    o.items = false;
    o.chris = draw.OneIn(2);
    o.hard = draw.OneIn(2);
    o.locks = draw.OneIn(3);
  } else if (kind < mix.no_items + mix.doors) {
    o.doors = true;
    o.chris = draw.OneIn(2);
  } else if (kind < mix.no_items + mix.doors + mix.chris_shuffles) {
    o.chris = true;
    o.hard = draw.OneIn(2);
    o.locks = draw.OneIn(3);
  } else {
    o.hard = kind < mix.no_items + mix.doors + mix.chris_shuffles + mix.jill_hard;
    o.locks = draw.OneIn(3);
  }

  o.enemies = draw.OneIn(2);
  std::vector<int> kinds;
  const bool no_kinds = draw.OneIn(16);
  for (const KindBox& box : kKindBoxes)
    if (!no_kinds && !draw.OneIn(4)) kinds.push_back(box.id);
  if (o.enemies) {
    o.kinds = kinds;
    const SpawnChoice spawns[] = {SpawnChoice::kOne, SpawnChoice::kMany, SpawnChoice::kNone};
    o.tyrant = spawns[draw.Below(3)];
    o.yawn = spawns[draw.Below(3)];
    o.lisa = spawns[draw.Below(3)];
    const TyrantType types[] = {TyrantType::kFast, TyrantType::kSlow, TyrantType::kRandom};
    o.tyrant_type = types[draw.Below(3)];
  }
  o.remove_healing = draw.OneIn(5);
  o.remove_ammo = draw.OneIn(5);
  o.remove_ink = draw.OneIn(5);
  o.remove_defence = draw.OneIn(5);
  o.swap_sdg = draw.OneIn(5);
  o.armed_capsule = draw.OneIn(5);
  return c;
}

std::vector<std::string> ArgumentsFor(const CommandLineOptions& o) {
  std::vector<std::string> args = {"--character", o.chris ? "chris" : "jill", "--difficulty",
                                   o.hard ? "hard" : "normal"};
  args.push_back(o.items ? "--items" : "--no-items");
  if (o.doors) args.push_back("--doors");
  if (o.locks) args.push_back("--locks");
  if (o.enemies) {
    args.push_back("--enemies");
    std::string kinds;
    for (const KindBox& box : kKindBoxes)
      for (int id : o.kinds)
        if (id == box.id) kinds += (kinds.empty() ? "" : ",") + std::string(box.name);
    args.insert(args.end(), {"--kinds", kinds.empty() ? "none" : kinds, "--tyrant",
                             SpawnWord(o.tyrant), "--yawn", SpawnWord(o.yawn), "--lisa",
                             SpawnWord(o.lisa), "--tyrant-type",
                             o.tyrant_type == TyrantType::kFast   ? "fast"
                             : o.tyrant_type == TyrantType::kSlow ? "slow"
                                                                  : "random"});
  }
  std::string remove;
  for (auto [on, name] : {std::pair{o.remove_healing, "healing"}, std::pair{o.remove_ammo, "ammo"},
                          std::pair{o.remove_ink, "ink"}, std::pair{o.remove_defence, "defence"}})
    if (on) remove += (remove.empty() ? "" : ",") + std::string(name);
  if (!remove.empty()) args.insert(args.end(), {"--remove", remove});
  if (o.swap_sdg) args.push_back("--swap-sdg");
  if (o.armed_capsule) args.push_back("--armed-capsule");
  return args;
}

std::string KindLabel(const CommandLineOptions& o) {
  std::string label = std::string(o.chris ? "Chris" : "Jill") + (o.hard ? " Hard" : " Normal");
  label += o.doors ? ", doors" : o.items ? ", items" : ", no items";
  if (o.locks) label += ", locks";
  return label;
}

InMemoryGeneration::InMemoryGeneration(const SeedCase& c)
    : options_(c.options), dlg_(window_, files_) {
  dlg_.OnInitDialog();
  ApplyOptions(c.options, window_, dlg_);
  const uint32_t seed = c.seed;
  dlg_.SetSeedSource([seed] { return seed; });
  dlg_.m_searchThreads = 1;
  // The modifiers announce themselves in the log before they change the
  // placement: that is the moment to keep the placement the item stage left.
  window_.SetTextListener([this](int id, const std::string& before, const std::string& after) {
    if (id == kIdStatus && after.size() > before.size() &&
        after.compare(before.size(), std::string::npos, "Applying modifiers . . .") == 0)
      before_modifiers_ = dlg_.m_placement;
  });
  dlg_.OnBnClickedGenerateSeed();
  window_.SetTextListener(nullptr);
}

std::string InMemoryGeneration::log() const { return window_.GetControlText(kIdStatus); }

GeneratedSeed InMemoryGeneration::Seed() const {
  GeneratedSeed seed;
  seed.options = options_;
  const std::string suffix = std::string(options_.chris ? "Chris" : "Jill") +
                             (options_.hard ? "Hard" : "Normal") + ".txt";
  if (const auto list = files().find("ItemList" + suffix); list != files().end())
    seed.item_list = list->second;
  if (const auto sheet = files().find("CheatSheet" + suffix); sheet != files().end())
    seed.cheat_sheet = sheet->second;
  seed.placement_before_modifiers =
      before_modifiers_.empty() ? dlg_.m_placement : before_modifiers_;
  seed.state = &dlg_;
  return seed;
}

SeedOutcome GenerateAndCheck(const SeedCase& c) {
  const InMemoryGeneration generation(c);
  SeedOutcome outcome;
  outcome.files = generation.files();
  outcome.log = generation.log();
  if (generation.dialog().write_failed()) outcome.broken.push_back("a write failed in memory");
  const GeneratedSeed seed = generation.Seed();
  if (outcome.files.size() != 2 || seed.item_list.empty() || seed.cheat_sheet.empty()) {
    outcome.broken.push_back("the generation wrote " + std::to_string(outcome.files.size()) +
                             " files, not the two of its selection");
    return outcome;
  }
  for (std::string& line : CheckSeed(seed)) outcome.broken.push_back(std::move(line));
  return outcome;
}

std::vector<std::string> CompareWithProcess(const std::string& program, const SeedCase& c,
                                            const SeedOutcome& outcome,
                                            const std::string& scratch) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::path(scratch) / ("case" + std::to_string(c.index));
  fs::remove_all(dir);
  fs::create_directories(dir);
  std::vector<std::string> args = {program};
  for (const std::string& arg : ArgumentsFor(c.options)) args.push_back(arg);
  args.insert(args.end(), {"--seed", std::to_string(c.seed), "--out", dir.string()});

  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  const std::string log_path = (dir / "stdout").string();
  const pid_t pid = fork();
  if (pid == 0) {
    const int out = open(log_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int null = open("/dev/null", O_WRONLY);
    if (out < 0 || null < 0) _exit(126);
    dup2(out, 1);
    dup2(null, 2);
    execv(argv[0], argv.data());
    _exit(127);
  }
  std::vector<std::string> differences;
  int status = 0;
  if (pid < 0 || waitpid(pid, &status, 0) != pid) return {"could not run " + program};
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
    differences.push_back("the separate process ended with status " + std::to_string(status));

  size_t written = 0;
  for (const fs::directory_entry& entry : fs::directory_iterator(dir)) {
    const std::string name = entry.path().filename().string();
    if (name == "stdout") continue;
    ++written;
    const auto it = outcome.files.find(name);
    if (it == outcome.files.end())
      differences.push_back("the separate process wrote " + name);
    else if (ReadFile(entry.path()) != it->second)
      differences.push_back("the separate process wrote other bytes to " + name);
  }
  if (written != outcome.files.size())
    differences.push_back("the separate process wrote " + std::to_string(written) + " files");
  if (ReadFile(log_path) != outcome.log)
    differences.push_back("the separate process logged something else");
  fs::remove_all(dir);
  return differences;
}

}  // namespace velmora
