#include "verify/Verify.h"

#include "output/OutputFiles.h"
#include "output/PlacementHash.h"
#include "verify/SeedSense.h"

namespace velmora {
namespace {

constexpr std::string_view kUsage =
    "Usage: velmora verify FILE [--character jill|chris] [--difficulty normal|hard]\n"
    "Checks an item-list file: its form and whether it makes a seed that works.\n"
    "The character and difficulty come from the file name (ItemListJillNormal.txt ...)\n"
    "unless given. Exit status: 0 sound, 1 well-formed but unsound, 2 malformed.\n";

std::string Summary(const ItemListContents& list, const SeedSense& sense, Character character,
                    Difficulty difficulty) {
  std::string text = character == Character::kChris ? "Chris" : "Jill";
  text += difficulty == Difficulty::kHard ? " Hard: " : " Normal: ";
  switch (sense.placement) {
    case PlacementKind::kKept:
      text += "items kept";
      break;
    case PlacementKind::kShuffled:
      text += "items shuffled, every needed item reached in " + std::to_string(sense.spheres) + " spheres";
      break;
    case PlacementKind::kDoorMode:
      text += "items placed for doors";
      break;
  }
  text += list.enemies_randomized() ? ", enemies randomized" : ", enemies kept";
  text += list.doors_randomized() ? ", doors rewired" : ", doors kept";
  text += list.has_lock_section ? ", locks dealt" : ", locks kept";
  return text;
}


}  // namespace

VerifyResult VerifyItemList(std::string_view bytes, Character character, Difficulty difficulty) {
  VerifyResult result;
  const ItemListReadResult read = ReadItemList(bytes);
  if (!read.contents) {
    result.status = kVerifyMalformed;
    result.problem = read.problem;
    return result;
  }
  const SeedSense sense = CheckSeedSense(*read.contents, character, difficulty);
  if (sense.problem) {
    result.status = kVerifyUnsound;
    result.problem = sense.problem;
    return result;
  }
  result.status = kVerifySound;
  result.hash = PlacementHash(bytes);
  result.summary = Summary(*read.contents, sense, character, difficulty);
  return result;
}

NamedSelection SelectionFromFileName(std::string_view path) {
  const size_t slash = path.find_last_of("/\\");
  std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  NamedSelection selection;
  auto take = [&name](std::string_view prefix) {
    if (name.substr(0, prefix.size()) != prefix) return false;
    name.remove_prefix(prefix.size());
    return true;
  };
  if (!take("ItemList")) return selection;
  if (take("Jill"))
    selection.character = Character::kJill;
  else if (take("Chris"))
    selection.character = Character::kChris;
  else
    return selection;
  if (take("Normal"))
    selection.difficulty = Difficulty::kNormal;
  else if (take("Hard"))
    selection.difficulty = Difficulty::kHard;
  return selection;
}

int RunVerify(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  auto bad_arguments = [&err](const std::string& message) {
    err << "velmora verify: " << message << "\n";
    return kVerifyMalformed;
  };
  std::optional<std::string> path;
  std::optional<Character> character;
  std::optional<Difficulty> difficulty;
  for (size_t i = 0; i < args.size(); ++i) {
    std::string arg = args[i];
    std::optional<std::string> value;
    if (const size_t equals = arg.find('='); arg.rfind("--", 0) == 0 && equals != std::string::npos) {
      value = arg.substr(equals + 1);
      arg.resize(equals);
    }
    if (arg == "--help" || arg == "-h") {
      out << kUsage;
      return kVerifySound;
    }
    if (arg == "--character" || arg == "--difficulty") {
      if (!value) {
        if (i + 1 == args.size()) return bad_arguments(arg + " needs a value");
        value = args[++i];
      }
      if (arg == "--character" && (*value == "jill" || *value == "chris"))
        character = *value == "chris" ? Character::kChris : Character::kJill;
      else if (arg == "--difficulty" && (*value == "normal" || *value == "hard"))
        difficulty = *value == "hard" ? Difficulty::kHard : Difficulty::kNormal;
      else
        return bad_arguments(arg + ": '" + *value + "' is not " +
                             (arg == "--character" ? "jill or chris" : "normal or hard"));
      continue;
    }
    if (arg.rfind("-", 0) == 0 && arg.size() > 1) return bad_arguments("unknown option " + arg);
    if (path) return bad_arguments("one file at a time: '" + *path + "' and '" + arg + "'");
    path = args[i];
  }
  if (!path)
    return bad_arguments(
        "no file given (velmora verify FILE [--character jill|chris] [--difficulty normal|hard])");

  const NamedSelection named = SelectionFromFileName(*path);
  if (!character) character = named.character;
  if (!difficulty) difficulty = named.difficulty;
  if (!character || !difficulty)
    return bad_arguments("the name of '" + *path +
                         "' does not tell the character and difficulty "
                         "(ItemListJillNormal.txt ...); give --character and --difficulty");

  // One byte beyond the limit is read, so that a longer file is seen as such.
  std::string bytes;
  if (std::optional<std::string> reason = ReadFileBytes(*path, bytes, kMaxItemListBytes + 1))
    return bad_arguments("'" + *path + "': " + *reason);

  const VerifyResult result = VerifyItemList(bytes, *character, *difficulty);
  if (result.status == kVerifySound) {
    out << "ok\nhash " << result.hash << "\n" << result.summary << "\n";
    return kVerifySound;
  }
  err << *path;
  if (result.problem->line > 0) err << ":" << result.problem->line;
  err << ": " << (result.status == kVerifyUnsound ? "unsound: " : "malformed: ")
      << result.problem->message << "\n";
  return result.status;
}

}  // namespace velmora
