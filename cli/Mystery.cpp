#include "cli/Mystery.h"

#include <cmath>
#include <nlohmann/json.hpp>
#include <set>

#define XXH_INLINE_ALL
#include <xxhash.h>

#include "app/ControlIds.h"
#include "cli/OptionsDialog.h"
#include "output/OutputFiles.h"

namespace velmora {
namespace {

using Json = nlohmann::json;

// One option of a weights file: where it stands, its choices and the
// controls a choice clicks. A box has one control, checked by "on"; a radio
// group has one control per choice.
struct MysteryOption {
  const char* group;  // "kinds", "remove", or nullptr for a top-level option
  const char* name;
  const char* choices[3];
  int choice_count;
  int controls[3];
  bool box;
};

// Every option in draw order, which is also the order the draws are clicked
// in: Doors after Difficulty, Items and before Locks, the enemy panel after
// Enemies, so that each later click meets the rules the earlier ones set.
constexpr MysteryOption kOptions[] = {
    {nullptr, "character", {"jill", "chris"}, 2, {kIdJill, kIdChris}, false},
    {nullptr, "difficulty", {"normal", "hard"}, 2, {kIdNormal, kIdHard}, false},
    {nullptr, "items", {"on", "off"}, 2, {kIdItems}, true},
    {nullptr, "enemies", {"on", "off"}, 2, {kIdEnemies}, true},
    {nullptr, "doors", {"on", "off"}, 2, {kIdDoors}, true},
    {nullptr, "locks", {"on", "off"}, 2, {kIdLocks}, true},
    {"kinds", "zombies", {"on", "off"}, 2, {kIdZombies}, true},
    {"kinds", "dogs", {"on", "off"}, 2, {kIdDogs}, true},
    {"kinds", "hunters", {"on", "off"}, 2, {kIdHunters}, true},
    {"kinds", "spiders", {"on", "off"}, 2, {kIdSpiders}, true},
    {"kinds", "sharks", {"on", "off"}, 2, {kIdSharks}, true},
    {"kinds", "bees", {"on", "off"}, 2, {kIdBees}, true},
    {"kinds", "chimera", {"on", "off"}, 2, {kIdChimera}, true},
    {"kinds", "elder-crimson-heads", {"on", "off"}, 2, {kIdElderCrimsonHeads}, true},
    {nullptr, "tyrant", {"one", "many", "none"}, 3, {kIdTyrantOne, kIdTyrantMany, kIdTyrantNone},
     false},
    {nullptr, "yawn", {"one", "many", "none"}, 3, {kIdYawnOne, kIdYawnMany, kIdYawnNone}, false},
    {nullptr, "lisa", {"one", "many", "none"}, 3, {kIdLisaOne, kIdLisaMany, kIdLisaNone}, false},
    {nullptr,
     "tyrant-type",
     {"fast", "slow", "random"},
     3,
     {kIdTyrantFast, kIdTyrantSlow, kIdTyrantRandom},
     false},
    {"remove", "healing", {"on", "off"}, 2, {kIdRemoveHealing}, true},
    {"remove", "ammo", {"on", "off"}, 2, {kIdRemoveAmmo}, true},
    {"remove", "ink", {"on", "off"}, 2, {kIdRemoveInkRibbons}, true},
    {"remove", "defence", {"on", "off"}, 2, {kIdRemoveDefence}, true},
    {nullptr, "swap-sdg", {"on", "off"}, 2, {kIdSwapSelfDefenseGun}, true},
    {nullptr, "armed-capsule", {"on", "off"}, 2, {kIdArmedCapsule}, true},
};
constexpr size_t kOptionCount = std::size(kOptions);

// A key or choice as it may be printed on one line.
std::string Quoted(const std::string& key) {
  return Json(key).dump(-1, ' ', true, Json::error_handler_t::replace);
}

// JSON Pointer of a place in the file.
std::string Pointer(std::initializer_list<std::string> keys) {
  std::string out;
  for (const std::string& key : keys) {
    out += '/';
    for (char c : key) {
      if (c == '~') out += "~0";
      else if (c == '/') out += "~1";
      else out += c;
    }
  }
  return out.empty() ? "/" : out;
}

std::string ChoiceList(const MysteryOption& option) {
  std::string out;
  for (int i = 0; i < option.choice_count; ++i) {
    if (i > 0) out += i + 1 == option.choice_count ? " or " : ", ";
    out += option.choices[i];
  }
  return out;
}

std::string NameList(const char* group) {
  std::string out;
  for (const MysteryOption& option : kOptions) {
    if ((group == nullptr) != (option.group == nullptr)) continue;
    if (group && std::string_view(group) != option.group) continue;
    if (!out.empty()) out += ", ";
    out += option.name;
  }
  if (!group) out += ", kinds, remove";
  return out;
}

// The message of a JSON syntax error: where it is, and what was expected.
std::string SyntaxError(std::string_view bytes, const Json::parse_error& e) {
  const size_t end = std::min<size_t>(e.byte == 0 ? 0 : e.byte - 1, bytes.size());
  size_t line = 1, column = 1;
  for (size_t i = 0; i < end; ++i) {
    if (bytes[i] == '\n') {
      ++line;
      column = 1;
    } else {
      ++column;
    }
  }
  std::string reason = e.what();
  const size_t colon = reason.find(": ");
  if (colon != std::string::npos) reason = reason.substr(colon + 2);
  for (char& c : reason)
    if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7f) c = '?';
  return "line " + std::to_string(line) + ", column " + std::to_string(column) +
         ": malformed JSON (" + reason + ")";
}

// Checks one option's object of choices; returns the problem or fills
// `weights` and `canonical`.
std::optional<std::string> ReadChoices(const MysteryOption& option, const Json& value,
                                       const std::string& place, std::vector<double>& weights,
                                       Json& canonical) {
  if (!value.is_object())
    return place + ": must be an object of choices and weights (" + ChoiceList(option) + ")";
  weights.assign(static_cast<size_t>(option.choice_count), 0.0);
  for (const auto& [choice, weight] : value.items()) {
    int index = -1;
    for (int i = 0; i < option.choice_count; ++i)
      if (choice == option.choices[i]) index = i;
    if (index < 0)
      return place + ": unknown choice " + Quoted(choice) + " (" + ChoiceList(option) + ")";
    const std::string at = place + "/" + choice;
    if (!weight.is_number())
      return at + ": the weight must be a number, not " + std::string(weight.type_name());
    const double w = weight.get<double>();
    if (!std::isfinite(w)) return at + ": the weight is too large";
    if (w < 0) return at + ": the weight " + weight.dump() + " is negative";
    weights[static_cast<size_t>(index)] = w;
  }
  double total = 0;
  for (double w : weights) total += w;
  if (!std::isfinite(total)) return place + ": the weights add up to more than a number holds";
  if (total <= 0) return place + ": every weight is zero";
  canonical = Json::object();
  for (int i = 0; i < option.choice_count; ++i)
    canonical[option.choices[i]] = weights[static_cast<size_t>(i)];
  return std::nullopt;
}

// Parses the JSON text, refusing a key given twice in one object, which a
// plain parse would silently drop.
std::optional<std::string> ParseJson(std::string_view bytes, Json& out) {
  struct Frame {
    std::set<std::string> keys;
    std::string key;
  };
  std::vector<Frame> frames;
  std::optional<std::string> duplicate;
  auto callback = [&](int, Json::parse_event_t event, Json& parsed) {
    switch (event) {
      case Json::parse_event_t::object_start:
      case Json::parse_event_t::array_start:
        frames.emplace_back();
        break;
      case Json::parse_event_t::object_end:
      case Json::parse_event_t::array_end:
        if (!frames.empty()) frames.pop_back();
        break;
      case Json::parse_event_t::key:
        if (!frames.empty()) {
          Frame& top = frames.back();
          const std::string key = parsed.get<std::string>();
          if (!top.keys.insert(key).second && !duplicate) {
            std::string place;
            for (size_t i = 0; i + 1 < frames.size(); ++i) place += Pointer({frames[i].key});
            duplicate = (place.empty() ? "/" : place) + ": " + Quoted(key) + " is given twice";
          }
          top.key = key;
        }
        break;
      case Json::parse_event_t::value:
        break;
    }
    return true;
  };
  try {
    out = Json::parse(bytes.begin(), bytes.end(), callback);
  } catch (const Json::parse_error& e) {
    return SyntaxError(bytes, e);
  } catch (const Json::exception&) {
    // A number beyond a double's range, the one other refusal of the parser:
    // it stands at the last key read.
    std::string place;
    for (const Frame& frame : frames) place += Pointer({frame.key});
    return (place.empty() ? "/" : place) + ": the number is too large";
  }
  return duplicate;
}

}  // namespace

WeightsParseResult ParseMysteryWeights(std::string_view bytes) {
  WeightsParseResult result;
  if (bytes.size() > kMaxWeightsFileBytes) {
    result.error = "the file is larger than 64 KiB";
    return result;
  }
  Json file;
  if (std::optional<std::string> problem = ParseJson(bytes, file)) {
    result.error = *problem;
    return result;
  }
  if (!file.is_object()) {
    result.error = "/: the weights must be a JSON object of options";
    return result;
  }
  MysteryWeights weights;
  weights.options.resize(kOptionCount);
  Json canonical = Json::object();
  for (const auto& [key, value] : file.items()) {
    const bool group = key == "kinds" || key == "remove";
    if (group && !value.is_object()) {
      result.error = Pointer({key}) + ": must be an object of " +
                     (key == "kinds" ? "enemy kinds" : "item groups") + " (" +
                     NameList(key.c_str()) + ")";
      return result;
    }
    // The members to read: the option itself, or each member of a group.
    std::vector<std::pair<std::string, const Json*>> members;
    if (group) {
      for (const auto& [member, member_value] : value.items())
        members.emplace_back(member, &member_value);
    } else {
      members.emplace_back(key, &value);
    }
    for (const auto& [name, member_value] : members) {
      size_t index = kOptionCount;
      for (size_t i = 0; i < kOptionCount; ++i) {
        const bool in_group = kOptions[i].group && key == kOptions[i].group;
        if ((group ? in_group : !kOptions[i].group) && name == kOptions[i].name) index = i;
      }
      if (index == kOptionCount) {
        result.error = group ? Pointer({key}) + ": unknown " +
                                   (key == "kinds" ? "enemy kind " : "item group ") +
                                   Quoted(name) + " (" + NameList(key.c_str()) + ")"
                             : "/: unknown option " + Quoted(name) + " (" + NameList(nullptr) + ")";
        return result;
      }
      const std::string place = group ? Pointer({key, name}) : Pointer({name});
      std::vector<double> choice_weights;
      Json canonical_choices;
      if (std::optional<std::string> problem = ReadChoices(kOptions[index], *member_value, place,
                                                           choice_weights, canonical_choices)) {
        result.error = *problem;
        return result;
      }
      weights.options[index] = std::move(choice_weights);
      if (group)
        canonical[key][name] = std::move(canonical_choices);
      else
        canonical[name] = std::move(canonical_choices);
    }
  }
  weights.canonical = canonical.dump();
  result.weights = std::move(weights);
  return result;
}

MysteryRandom::MysteryRandom(const MysteryWeights& weights, uint32_t seed)
    : state_(XXH3_64bits_withSeed(weights.canonical.data(), weights.canonical.size(), seed)) {}

uint64_t MysteryRandom::Next() {
  uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

size_t MysteryRandom::Pick(std::span<const double> weights) {
  double total = 0;
  for (double w : weights) total += w;
  const double u = static_cast<double>(Next() >> 11) * 0x1p-53 * total;
  double running = 0;
  size_t last = 0;
  for (size_t i = 0; i < weights.size(); ++i) {
    if (weights[i] <= 0) continue;
    running += weights[i];
    if (u < running) return i;
    last = i;
  }
  return last;
}

CommandLineOptions DrawMysteryOptions(const MysteryWeights& weights, uint32_t seed) {
  MysteryRandom random(weights, seed);
  MemoryOutputFiles files;
  OptionsDialog generation(CommandLineOptions{}, files);
  for (size_t i = 0; i < kOptionCount && i < weights.options.size(); ++i) {
    if (!weights.options[i]) continue;
    const MysteryOption& option = kOptions[i];
    const size_t choice = random.Pick(*weights.options[i]);
    if (option.box) {
      // A click on a disabled box does nothing: the dialog's rules hold.
      const bool want = choice == 0;
      if (generation.window.IsChecked(option.controls[0]) != want)
        ClickOption(option.controls[0], generation.window, generation.dialog);
    } else {
      ClickOption(option.controls[choice], generation.window, generation.dialog);
    }
  }
  return ReadOptions(generation.window, seed);
}

WeightsParseResult ReadMysteryWeightsFile(const std::string& path) {
  std::string bytes;
  WeightsParseResult result;
  // One byte beyond the limit is read, so that a longer file is seen as such.
  if (std::optional<std::string> reason = ReadFileBytes(path, bytes, kMaxWeightsFileBytes + 1)) {
    result.error = "--mystery '" + path + "': " + *reason;
    return result;
  }
  result = ParseMysteryWeights(bytes);
  if (!result.weights) result.error = "--mystery '" + path + "': " + result.error;
  return result;
}

}  // namespace velmora
