// libFuzzer target over the command line's argument parsing and the settings
// string. The input is split at NUL bytes into arguments after "velmora"; the
// whole input is also read as a settings string. Any crash, hang, sanitizer
// report or broken invariant below is a finding.
//
//   build/fuzz/reliability/velmora_arguments_fuzzer -dict=reliability/arguments.dict
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "app/ControlIds.h"
#include "cli/CommandLine.h"
#include "cli/OptionsDialog.h"
#include "cli/SettingsString.h"
#include "output/OutputFiles.h"

namespace {

using namespace velmora;

void Require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "invariant broken: %s\n", what);
  std::abort();
}

// Options the command line accepted must obey its rules, survive a trip
// through the settings string, and be settable on the dialog as they are.
void CheckAccepted(const CommandLineOptions& o) {
  if (o.doors) Require(!o.hard && o.items && !o.locks, "doors with Hard, without items or locks");
  Require(std::set<int>(o.kinds.begin(), o.kinds.end()).size() == o.kinds.size(),
          "a kind box twice");
  for (int id : o.kinds) Require(id >= kIdZombies && id <= kIdElderCrimsonHeads, "kind box id");

  CommandLineOptions seeded = o;
  if (!seeded.seed) seeded.seed = 12345;
  const std::string text = EncodeSettings(seeded);
  Require(text.size() == kSettingsLength, "settings string length");
  const DecodedSettings back = DecodeSettings(text);
  Require(back.options.has_value(), "own settings string refused");
  Require(EncodeSettings(*back.options) == text, "settings string round trip");

  // The dialog shows every option as given: read back, they give the same string.
  MemoryOutputFiles files;
  const OptionsDialog shown(seeded, files);
  Require(EncodeSettings(ReadOptions(shown.window, *seeded.seed)) == text, "the dialog's controls");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);

  std::vector<std::string> args = {"velmora"};
  size_t start = 0;
  for (size_t i = 0; i <= input.size(); ++i) {
    if (i == input.size() || input[i] == '\0') {
      args.push_back(input.substr(start, i - start));
      start = i + 1;
    }
  }
  const ParseResult parsed = ParseCommandLine(args);
  Require(parsed.options.has_value() + parsed.help.has_value() + !parsed.error.empty() == 1,
          "exactly one of options, help and error");
  if (!parsed.error.empty())
    Require(parsed.error.find('\n') == std::string::npos, "one-line error");
  if (parsed.options) CheckAccepted(*parsed.options);

  const DecodedSettings decoded = DecodeSettings(input);
  Require(decoded.options.has_value() != !decoded.error.empty(),
          "exactly one of options and error");
  if (decoded.options) {
    Require(decoded.options->seed.has_value(), "decoded settings without a seed");
    CheckAccepted(*decoded.options);
    // A valid string differs from its canonical form only in case and in
    // the letters read as digits.
    Require(DecodeSettings(EncodeSettings(*decoded.options)).options.has_value(),
            "canonical form refused");
  } else {
    Require(decoded.error.find('\n') == std::string::npos, "one-line settings error");
  }
  return 0;
}
