#include "items/DealKernels.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace velmora {
namespace {

[[maybe_unused]] bool RunsAlways() { return true; }

#if defined(__x86_64__)
bool RunsBmi2() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("bmi2") && __builtin_cpu_supports("popcnt");
}
#endif

// Fastest first, as measured on one thread (attempts per second): the
// AVX-512 lanes, then the deal by ranks on the widest vectors this build
// targets, then the bit set with a bit deposit, then the byte array, which
// every processor runs. On AVX-512 processors the lanes deal 1.2 to 1.3
// times as fast as the deal by ranks does there.
std::vector<DealKernel> MakeKernelList() {
  std::vector<DealKernel> kernels;
#if defined(__x86_64__)
  kernels.push_back({"avx512", 16, RunsAvx512Intrinsics, nullptr, DealAvx512});
#endif
  for (const DealKernel& kernel : DealRanksKernels()) kernels.push_back(kernel);
#if defined(__x86_64__)
  kernels.push_back({"bmi2", 1, RunsBmi2, DealBmi2, nullptr});
#endif
  kernels.push_back({"bytes", 1, RunsAlways, DealBytes, nullptr});
  return kernels;
}

const std::vector<DealKernel>& KernelList() {
  static const std::vector<DealKernel> kernels = MakeKernelList();
  return kernels;
}

const DealKernel& FirstRunning(bool single) {
  for (const DealKernel& kernel : KernelList())
    if (kernel.runs_here() && (!single || kernel.lanes == 1)) return kernel;
  return KernelList().back();
}

const DealKernel& ChooseSearchKernel() {
  const char* forced = std::getenv("VELMORA_SEARCH_KERNEL");
  if (forced == nullptr || *forced == '\0') return FirstRunning(false);
  std::string error;
  if (const DealKernel* kernel = FindDealKernel(forced, error)) return *kernel;
  std::fprintf(stderr, "VELMORA_SEARCH_KERNEL: %s\n", error.c_str());
  std::exit(2);
}

}  // namespace

DealTables::DealTables(const std::vector<ItemMask>& early_by_slot) {
  for (const ItemMask& row : early_by_slot)
    for (uint64_t word : row) {
      words.push_back(static_cast<uint32_t>(word));
      words.push_back(static_cast<uint32_t>(word >> 32));
    }
  auto gives_up = [&](size_t slot, int item) {
    return ((early_by_slot[slot][item >> 6] >> (item & 63)) & 1) != 0;
  };
  for (int item = 0; item < kSlotCount; ++item)
    for (size_t slot = 0; slot < kSlotCount; ++slot)
      if (gives_up(slot, item)) {
        watched.push_back(item);
        break;
      }
  stride = std::max<size_t>(64, (watched.size() + 63) / 64 * 64);
  start.assign(stride, 0);
  give_up.assign(kSlotCount * stride, 0);
  for (size_t k = 0; k < watched.size(); ++k) {
    start[k] = static_cast<uint8_t>(watched[k] + 1);
    for (size_t slot = 0; slot < kSlotCount; ++slot)
      if (gives_up(slot, watched[k])) give_up[slot * stride + k] = 0xFF;
  }
}

std::span<const DealKernel> BuiltDealKernels() { return KernelList(); }

const DealKernel& FastestSingleDealKernel() {
  static const DealKernel& kernel = FirstRunning(true);
  return kernel;
}

const DealKernel& SearchDealKernel() {
  static const DealKernel& kernel = ChooseSearchKernel();
  return kernel;
}

const DealKernel* FindDealKernel(const std::string& name, std::string& error) {
  for (const DealKernel& kernel : KernelList()) {
    if (name != kernel.name) continue;
    if (kernel.runs_here()) return &kernel;
    error = "this processor cannot run the " + name + " kernel; available: " +
            AvailableDealKernelNames();
    return nullptr;
  }
  error = "unknown kernel \"" + name + "\"; available: " + AvailableDealKernelNames();
  return nullptr;
}

std::string AvailableDealKernelNames() {
  std::string names;
  for (const DealKernel& kernel : KernelList()) {
    if (!kernel.runs_here()) continue;
    if (!names.empty()) names += ", ";
    names += kernel.name;
  }
  return names;
}

}  // namespace velmora
