// The page's way into the generator: the dialog on the in-memory window, the
// settings string, a generation, the verifier and the tracker's search, as
// JavaScript functions. Everything is the product's own code; this file only
// converts between it and JavaScript values (JSON text, bytes, callbacks).
#include <emscripten/bind.h>

#include <algorithm>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/ControlIds.h"
#include "app/DialogTemplate.h"
#include "app/MemoryWindow.h"
#include "app/Version.h"
#include "app/VelmoraDlg.h"
#include "catalogue/AreaTables.h"
#include "catalogue/ItemNames.h"
#include "cli/CommandLine.h"
#include "cli/Mystery.h"
#include "cli/OptionsDialog.h"
#include "cli/SettingsString.h"
#include "cli/SpoilerFiles.h"
#include "cli/Stats.h"
#include "doors/LockRequirements.h"
#include "doors/LockShuffle.h"
#include "items/FastItemSearch.h"
#include "items/Spheres.h"
#include "output/CheatSheet.h"
#include "output/DoorMap.h"
#include "output/ItemList.h"
#include "output/OutputFiles.h"
#include "output/PlacementHash.h"
#include "output/SpoilerJson.h"
#include "verify/Verify.h"

namespace velmora {
namespace {

using emscripten::val;
using Json = nlohmann::json;

const char* KindName(ControlKind kind) {
  switch (kind) {
    case ControlKind::kStatic: return "static";
    case ControlKind::kSunkenStatic: return "status";
    case ControlKind::kGroupBox: return "group";
    case ControlKind::kRadioButton: return "radio";
    case ControlKind::kCheckBox: return "check";
    case ControlKind::kPushButton: return "button";
  }
  return "static";
}

// The page names the character and the difficulty by number: 0 Jill or
// Normal, 1 Chris or Hard.
Character CharacterOf(int number) { return number == 1 ? Character::kChris : Character::kJill; }
Difficulty DifficultyOf(int number) {
  return number == 1 ? Difficulty::kHard : Difficulty::kNormal;
}
int NumberOf(Character character) { return character == Character::kChris ? 1 : 0; }
int NumberOf(Difficulty difficulty) { return difficulty == Difficulty::kHard ? 1 : 0; }

// The command line's message for a settings string it refuses.
std::string SettingsError(const DecodedSettings& decoded) {
  return "velmora: --settings: " + decoded.error;
}

// The items that progression rules name: those a player can tick as held.
std::set<int> KeyItems(const AreaRequirements& requirements) {
  std::set<int> keys;
  for (const auto& [area, lists] : requirements)
    for (const auto& [index, items] : lists)
      for (int id : items)
        if (id >= 0 && id < kItemCount) keys.insert(id);
  return keys;
}

// The bytes of `text` as a Uint8Array of its own.
val Bytes(const std::string& text) {
  return val(emscripten::typed_memory_view(text.size(),
                                           reinterpret_cast<const uint8_t*>(text.data())))
      .call<val>("slice");
}

// The item search the last generation stopped at, which SearchRange answers
// over ranges of its attempts.
struct StoppedSearch {
  FastItemSearch search;
  uint32_t loop_start;
};
std::optional<StoppedSearch> stopped_search;

}  // namespace

/// The dialog as the page shows it: the template's controls on an in-memory
/// window, with the dialog's own defaults and enable rules.
class PageDialog {
 public:
  PageDialog() : dialog_(window_, files_) { dialog_.OnInitDialog(); }

  /// Every control of the template, in template order, with its state now.
  std::string Controls() const {
    Json controls = Json::array();
    for (const ControlSpec& spec : DialogControls()) {
      Json c{{"id", spec.id},          {"kind", KindName(spec.kind)},
             {"text", spec.text},      {"x", spec.x},
             {"y", spec.y},            {"width", spec.width},
             {"height", spec.height},  {"groupStart", spec.group_start}};
      if (spec.id != -1) {
        c["checked"] = window_.IsChecked(spec.id);
        c["enabled"] = window_.IsControlEnabled(spec.id);
      }
      controls.push_back(std::move(c));
    }
    return controls.dump();
  }

  /// A user's click on a box or button, with the handler the click runs.
  bool Click(int id) { return ClickOption(id, window_, dialog_); }

  /// The settings string of the options shown, with `seed`.
  std::string Settings(double seed) const {
    return EncodeSettings(ReadOptions(window_, static_cast<uint32_t>(seed)));
  }

  /// Sets every option from a settings string as the command line does.
  /// Returns {"seed": N}, or {"error": the command line's message} with the
  /// options left as they were.
  std::string Load(const std::string& settings) {
    DecodedSettings decoded = DecodeSettings(settings);
    if (!decoded.options) return Json{{"error", SettingsError(decoded)}}.dump();
    ApplyOptions(*decoded.options, window_, dialog_);
    return Json{{"seed", *decoded.options->seed}}.dump();
  }

 private:
  MemoryWindow window_;
  MemoryOutputFiles files_;
  CVelmoraDlg dialog_;
};

/// One generation of the seed a settings string names, as the command line
/// makes it. `on_log` gets each piece of text appended to the log,
/// `on_attempts` the item attempts made so far during a search.
/// `attempt_index` false makes the item loop search even where the attempt
/// index answers, as `velmora --no-attempt-index` does (to measure the search).
/// `answers` null: the item loop searches on this thread. Otherwise an array
/// of the deciding attempts of the generation's first item searches, in the
/// order the generation reaches them: those searches take their answers from
/// it, and should the generation reach one more, it stops there, keeps that
/// search for SearchRange and returns {"search": true, "limit": its last
/// attempt} with the log so far and no files.
val Generate(const std::string& settings, val on_log, val on_attempts, bool attempt_index,
             val answers) {
  val result = val::object();
  DecodedSettings decoded = DecodeSettings(settings);
  if (!decoded.options) {
    result.set("error", SettingsError(decoded));
    return result;
  }
  const CommandLineOptions& options = *decoded.options;
  MemoryOutputFiles files;
  OptionsDialog generation(options, files);
  MemoryWindow& window = generation.window;
  CVelmoraDlg& dialog = generation.dialog;
  const uint32_t seed = *options.seed;
  // A page without cross-origin isolation has no threads.
  dialog.m_searchThreads = 1;
  dialog.m_useAttemptIndex = attempt_index;
  window.SetTextListener([&on_log](int id, const std::string& before, const std::string& after) {
    if (id == kIdStatus && after.size() > before.size() &&
        after.compare(0, before.size(), before) == 0)
      on_log(after.substr(before.size()));
  });
  dialog.m_searchProgress = [&on_attempts](uint64_t n) { on_attempts(static_cast<double>(n)); };
  std::vector<double> known;
  size_t asked = 0;
  std::optional<uint64_t> stopped_limit;
  if (!answers.isNull() && !answers.isUndefined()) {
    known = emscripten::vecFromJSArray<double>(answers);
    dialog.m_findDecidingAttempt = [&](const FastItemSearch& search, uint32_t loop_start,
                                       uint64_t limit) -> uint64_t {
      if (asked < known.size()) {
        const double answer = known[asked++];
        return answer >= 1 && answer < static_cast<double>(limit) ? static_cast<uint64_t>(answer)
                                                                  : limit;
      }
      stopped_search.emplace(StoppedSearch{search, loop_start});
      stopped_limit = limit;
      dialog.RequestCancel();
      return 0;
    };
  }
  dialog.OnBnClickedGenerateSeed();
  if (stopped_limit) {
    result.set("search", true);
    result.set("limit", static_cast<double>(*stopped_limit));
    result.set("log", window.GetControlText(kIdStatus));
    return result;
  }

  const Character character = dialog.SelectedCharacter();
  const Difficulty difficulty = dialog.SelectedDifficulty();
  const std::string suffix = SelectionName({character, difficulty});
  result.set("log", window.GetControlText(kIdStatus));
  result.set("finalLabel", window.IsControlVisible(kIdFinalLabel));
  result.set("seed", static_cast<double>(seed));
  result.set("settings", settings);
  result.set("attempts", static_cast<double>(dialog.m_itemAttempts));
  result.set("hash", PlacementHash(FormatItemList(dialog, options.enemies, options.doors,
                                                  options.locks)));
  val out = val::array();
  auto add = [&out](const std::string& name, const std::string& bytes) {
    val file = val::object();
    file.set("name", name);
    file.set("bytes", Bytes(bytes));
    out.call<void>("push", file);
  };
  // The seed files in the order the dialog writes them, then the spoilers.
  for (const std::string& name :
       {ItemListFileName(character, difficulty), CheatSheetFileName(character, difficulty)}) {
    const auto file = files.files().find(name);
    if (file != files.files().end()) add(name, file->second);
  }
  add("Spoiler" + suffix + ".json", FormatSpoilerJson(dialog, settings));
  if (options.doors) {
    add("DoorMap" + suffix + ".dot",
        FormatDoorMap(dialog, character, DoorMapTitle(character, seed, settings)));
  }
  result.set("files", out);
  return result;
}

/// The first passing attempt among attempts `first` to `last` of the search
/// the last generation stopped at, or 0 when none passes (or there is none).
double SearchRange(double first, double last) {
  if (!stopped_search || first < 1 || last < first) return 0;
  return static_cast<double>(stopped_search->search.FindFirstPassing(
      stopped_search->loop_start, static_cast<uint64_t>(first), static_cast<uint64_t>(last), 1));
}

/// The program's version and the commit it was built from:
/// {"version": "1.25", "commit": 12 hex digits, "date": "YYYY-MM-DD"}.
std::string VersionInfo() {
  return Json{{"version", kVersion}, {"commit", kCommit}, {"date", kCommitDate}}.dump();
}

/// The placement hash of an item list's bytes, as the command line prints it
/// after "hash ".
std::string ItemListHash(const std::string& bytes) { return PlacementHash(bytes); }

/// `velmora verify` on a file's name and bytes: {"status": 0 sound, 1
/// unsound, 2 malformed, "text": what the command line prints, "line": the
/// problem's line or 0}. `character` and `difficulty` are -1 to take them
/// from the name, else 0 Jill / 1 Chris and 0 Normal / 1 Hard.
std::string VerifyFile(const std::string& name, const std::string& bytes, int character,
                       int difficulty) {
  const NamedSelection named = SelectionFromFileName(name);
  std::optional<Character> c = named.character;
  std::optional<Difficulty> d = named.difficulty;
  if (character >= 0) c = CharacterOf(character);
  if (difficulty >= 0) d = DifficultyOf(difficulty);
  if (!c || !d)
    return Json{{"status", kVerifyMalformed},
                {"line", 0},
                {"text", "velmora verify: the name of '" + name +
                             "' does not tell the character and difficulty "
                             "(ItemListJillNormal.txt ...); choose them"}}
        .dump();
  const VerifyResult result = VerifyItemList(bytes, *c, *d);
  if (result.status == kVerifySound)
    return Json{{"status", result.status},
                {"line", 0},
                {"text", "ok\nhash " + result.hash + "\n" + result.summary}}
        .dump();
  std::string text = name;
  if (result.problem->line > 0) text += ":" + std::to_string(result.problem->line);
  text += std::string(": ") + (result.status == kVerifyUnsound ? "unsound: " : "malformed: ") +
          result.problem->message;
  return Json{{"status", result.status}, {"line", result.problem->line}, {"text", text}}.dump();
}

/// The tracker of one item list: which item locations the items a player
/// holds open, by the tables the file implies (plain, or those of its lock
/// deal), without telling what lies there until asked.
class Tracker {
 public:
  Tracker(const std::string& bytes, int character, int difficulty)
      : character_(CharacterOf(character)), difficulty_(DifficultyOf(difficulty)) {
    const ItemListReadResult read = ReadItemList(bytes);
    if (!read.contents) {
      error_ = "malformed: " + read.problem->message;
      return;
    }
    const ItemListContents& list = *read.contents;
    if (list.doors_randomized()) {
      error_ =
          "Door seeds have no tracker: their items are placed without the progression rules, "
          "which do not follow the rewired doors.";
      return;
    }
    placement_ = list.items;
    slot_area_ = SlotAreas(character_, list.has_lock_section);
    if (list.has_lock_section) {
      const LogSink discard = [](std::string_view) {};
      const LockDeal deal = ToLockDeal(list.locks);
      LockGates gates = BuildLockGates(deal, character_, discard);
      requirements_ = DeriveLockRequirements(deal, gates, character_, discard);
    } else {
      requirements_ = PlainAreaRequirements(character_);
    }
  }

  std::string Error() const { return error_; }

  /// The items the tables name, which a player can tick, and every slot
  /// with its room heading and the item it holds in the unshuffled game.
  std::string Tables() const {
    Json items = Json::array();
    for (int id : KeyItems(requirements_)) items.push_back(Json{{"id", id}, {"name", Name(id)}});
    const std::vector<std::string> rooms = SlotRoomHeadings(character_, difficulty_);
    Json slots = Json::array();
    for (int slot = 0; slot < static_cast<int>(placement_.size()); ++slot)
      slots.push_back(Json{{"slot", slot}, {"room", rooms.at(slot)}, {"original", Name(slot)}});
    return Json{{"items", items}, {"slots", slots}}.dump();
  }

  /// The slots whose areas the items in `held_json` (a JSON array of ids)
  /// open, ascending. The fixed-point search of the spoiler judges them: the
  /// held items lie in a slot that needs nothing, and every real slot holds
  /// a marker id that no area needs, so the search enters in its first two
  /// rounds exactly the slots that the held items open and finds nothing
  /// after.
  std::string Open(const std::string& held_json) const {
    const std::vector<int> held = Json::parse(held_json).get<std::vector<int>>();
    constexpr int kMarkerBase = 1000;
    constexpr int kFreeArea = -1000;
    std::vector<int> placement;
    std::vector<int> areas;
    for (int slot = 0; slot < static_cast<int>(placement_.size()); ++slot) {
      placement.push_back(kMarkerBase + slot);
      areas.push_back(slot_area_.at(slot));
    }
    for (int id : held) {
      placement.push_back(id);
      areas.push_back(kFreeArea);
    }
    const Spheres spheres = CollectSpheres(placement, areas, requirements_);
    Json open = Json::array();
    std::set<int> found;
    for (const std::vector<int>& round : spheres.rounds)
      for (int id : round)
        if (id >= kMarkerBase) found.insert(id - kMarkerBase);
    for (int slot : found) open.push_back(slot);
    return open.dump();
  }

  /// What slot `slot` holds in this item list.
  std::string Reveal(int slot) const { return Name(placement_.at(slot)); }

 private:
  std::string Name(int id) const { return std::string(ItemName(id, character_, difficulty_)); }

  Character character_;
  Difficulty difficulty_;
  std::string error_;
  std::vector<int> placement_;
  std::vector<int> slot_area_;
  AreaRequirements requirements_;
};

/// The settings string of the mystery seed `seed` drawn from a weights
/// file's bytes, as `velmora --mystery` draws it: {"settings": ...}, or
/// {"error": the command line's message, naming the file `name`}.
std::string Mystery(const std::string& name, const std::string& bytes, double seed) {
  const WeightsParseResult weights = ParseMysteryWeights(bytes);
  if (!weights.weights)
    return Json{{"error", "velmora: --mystery '" + name + "': " + weights.error}}.dump();
  return Json{{"settings", EncodeSettings(DrawMysteryOptions(*weights.weights,
                                                             static_cast<uint32_t>(seed)))}}
      .dump();
}

/// One seed of the statistics, made from a settings string as `velmora
/// stats` makes it: {"settings", "character", "difficulty", "attempts",
/// "spheres", "placement"}.
std::string StatsSeed(const std::string& settings) {
  DecodedSettings decoded = DecodeSettings(settings);
  if (!decoded.options) return Json{{"error", SettingsError(decoded)}}.dump();
  const SeedFigures figures = MeasureSeed(*decoded.options, 1);
  return Json{{"settings", figures.settings},
              {"character", NumberOf(figures.character)},
              {"difficulty", NumberOf(figures.difficulty)},
              {"attempts", figures.attempts},
              {"spheres", figures.spheres},
              {"placement", figures.placement}}
      .dump();
}

/// The statistics of seeds that StatsSeed made, given as a JSON array of
/// {"seed", and StatsSeed's fields} in seed order: {"csv": the text
/// `velmora stats --csv` writes for them, "rooms", "items" (names by id),
/// "counts" ([item][room]), "keys": the items the plain progression rules of
/// the first seed's character name}.
std::string StatsSummary(const std::string& records_json) {
  const Json records = Json::parse(records_json);
  StatsResult result;
  SelectionCounts counts;
  for (const Json& record : records) {
    SeedFigures figures;
    figures.character = CharacterOf(record.at("character").get<int>());
    figures.difficulty = DifficultyOf(record.at("difficulty").get<int>());
    figures.placement = record.at("placement").get<std::vector<int>>();
    CountPlacement(figures, counts);
    result.seeds.push_back(record.at("seed").get<uint32_t>());
    result.settings.push_back(record.at("settings").get<std::string>());
    result.attempts.push_back(record.at("attempts").get<uint64_t>());
    result.spheres.push_back(record.at("spheres").get<int>());
  }
  SetRoomCounts(counts, result);
  std::set<int> keys;
  if (!records.empty())
    keys = KeyItems(PlainAreaRequirements(CharacterOf(records[0].at("character").get<int>())));
  return Json{{"csv", FormatStatsCsv(result)},
              {"rooms", result.rooms},
              {"items", result.item_names},
              {"counts", result.counts},
              {"keys", keys}}
      .dump();
}

}  // namespace velmora

EMSCRIPTEN_BINDINGS(velmora) {
  using namespace emscripten;
  using namespace velmora;
  class_<PageDialog>("PageDialog")
      .constructor<>()
      .function("controls", &PageDialog::Controls)
      .function("click", &PageDialog::Click)
      .function("settings", &PageDialog::Settings)
      .function("load", &PageDialog::Load);
  class_<Tracker>("Tracker")
      .constructor<std::string, int, int>()
      .function("error", &Tracker::Error)
      .function("tables", &Tracker::Tables)
      .function("open", &Tracker::Open)
      .function("reveal", &Tracker::Reveal);
  function("generate", &Generate);
  function("searchRange", &SearchRange);
  function("verify", &VerifyFile);
  function("version", &VersionInfo);
  function("itemListHash", &ItemListHash);
  function("mystery", &Mystery);
  function("statsSeed", &StatsSeed);
  function("statsSummary", &StatsSummary);
}
