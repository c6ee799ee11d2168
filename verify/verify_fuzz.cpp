// libFuzzer target: any bytes, judged as an item list for each character and
// difficulty. The verifier must answer every input, never crash and never
// hang; the sanitizers of the fuzz build turn any memory or undefined-
// behaviour fault into a crash that libFuzzer reports.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "verify/Verify.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace velmora;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  for (Character character : {Character::kJill, Character::kChris}) {
    for (Difficulty difficulty : {Difficulty::kNormal, Difficulty::kHard}) {
      const VerifyResult result = VerifyItemList(bytes, character, difficulty);
      // Every answer is one of the three, and only a sound one lacks a problem.
      const bool consistent = result.status == kVerifySound
                                  ? !result.problem && !result.hash.empty()
                                  : result.problem && (result.status == kVerifyUnsound ||
                                                       result.status == kVerifyMalformed);
      if (!consistent) std::abort();
    }
  }
  return 0;
}
