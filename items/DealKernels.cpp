#include "items/DealKernels.h"

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

// Fastest first, as measured on one thread (attempts per second): the vector
// kernels by their width, then the bit set with a bit deposit, then the byte
// array, which every processor runs. AVX-512 and WebAssembly keep kernels
// written with their own intrinsics, which deal faster than the portable one
// (about 1.5 and 2.4 times).
std::vector<DealKernel> MakeKernelList() {
  std::vector<DealKernel> kernels;
#if defined(__x86_64__)
  kernels.push_back({"avx512", 16, RunsAvx512Intrinsics, nullptr, DealAvx512});
#endif
#if defined(__wasm_simd128__)
  kernels.push_back({"wasm128", 4, RunsAlways, nullptr, DealWasm});
#endif
  for (const DealKernel& kernel : DealLanesKernels()) kernels.push_back(kernel);
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
