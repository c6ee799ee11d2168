#include "doors/LockRequirements.h"

#include <initializer_list>

namespace velmora {
namespace {

bool In(int type, std::initializer_list<int> types) {
  for (int t : types)
    if (t == type) return true;
  return false;
}

void Append(std::vector<int>& list, const std::vector<int>& items) {
  list.insert(list.end(), items.begin(), items.end());
}

// The derivation, step by step. Each area's alternatives are numbered by a
// counter k that starts at 1; a block advances it only where it says so, so a
// block can leave an index unused or add to the same index twice.
class Derivation {
 public:
  Derivation(const LockDeal& deal, LockGates& gates, Character character, const LogSink& log)
      : L(deal), gates_(gates), character_(character), log_(log) {}

  AreaRequirements Run();

 private:
  // The key items of the lock dealt at `position`.
  std::vector<int> Keys(int position) const { return LockKeys(L[position], character_, log_); }
  // Names list `index` of `area`, creating it empty the first time.
  std::vector<int>& A(int area, int index) { return table_[area][index]; }
  // Makes `to` an exact copy of `from` as it is now.
  void Copy(int from, int to) {
    const auto it = table_.find(from);
    table_[to] = it == table_.end() ? std::map<int, std::vector<int>>{} : it->second;
  }
  int IndexCount(int area) const {
    const auto it = table_.find(area);
    return it == table_.end() ? 0 : static_cast<int>(it->second.size());
  }
  const std::vector<int>& ListOf(int area, int index) const {
    static const std::vector<int> kEmpty;
    const auto it = table_.find(area);
    if (it == table_.end()) return kEmpty;
    const auto list = it->second.find(index);
    return list == it->second.end() ? kEmpty : list->second;
  }
  const std::vector<int>& Gate(int gate) const {
    static const std::vector<int> kClosed = {-1};
    const auto it = gates_.find(gate);
    return it == gates_.end() || it->second.empty() ? kClosed : it->second;
  }
  bool GateOpen(int gate) const { return Gate(gate).front() == kOpenGate; }
  bool GateSet(int gate) const { return !In(Gate(gate).front(), {kOpenGate, -1}); }

  void Area76();
  void Area79();
  void Area86();
  void Area121();
  void Area87();
  void Area88();
  void Area90();
  void Area98();
  void Area99();
  void Area100();
  void Area117();

  const LockDeal& L;
  LockGates& gates_;
  const Character character_;
  const LogSink& log_;
  AreaRequirements table_;
};

AreaRequirements Derivation::Run() {
  if (GateSet(75)) {
    A(70, 0) = Gate(75);
    A(75, 0) = Gate(75);
  }
  Append(A(70, 0), {15, 74});
  Append(A(71, 0), {51});
  Append(A(72, 0), {51, 16, 18, 77, 79});
  Append(A(73, 0), {102, 34, 129, 66, 47});
  if (GateSet(74)) A(74, 0) = Gate(74);
  Area76();
  Copy(76, 77);
  if (!In(L[0], {6, 15})) Append(A(77, 0), Keys(0));
  Copy(76, 78);
  if (!In(L[5], {6, 15})) Append(A(78, 0), Keys(5));
  Area79();
  Copy(79, 80);
  Append(A(80, 0), {2});
  Copy(79, 81);
  Append(A(81, 0), {62});
  Copy(79, 82);
  Append(A(82, 0), {28});
  Copy(79, 83);
  if (!In(L[9], {6, 15})) Append(A(83, 0), Keys(9));
  if (GateSet(84)) A(84, 0) = Gate(84);
  if (GateSet(85)) A(85, 0) = Gate(85);
  Area86();
  if (GateSet(119)) A(119, 0) = Gate(119);
  if (!GateOpen(122)) {
    if (!GateOpen(119)) Copy(119, 122);
    if (!In(L[15], {6, 15})) Append(A(122, 0), Keys(15));
  }
  Area121();
  Area87();
  Area88();
  Copy(122, 89);
  if (!In(L[18], {6, 15})) Append(A(89, 0), Keys(18));
  Area90();
  Copy(87, 91);
  if (!In(L[24], {6, 15})) Append(A(91, 0), Keys(24));
  Copy(91, 92);
  if (!In(L[25], {6, 15})) Append(A(92, 0), Keys(25));
  Copy(92, 93);
  Append(A(93, 0), {89});
  if (!GateOpen(118)) {
    Copy(87, 118);
    if (!In(L[28], {6, 15})) Append(A(118, 0), Keys(28));
  }
  Copy(121, 94);
  if (!In(L[21], {6, 15})) Append(A(94, 0), Keys(21));
  Copy(94, 95);
  if (character_ == Character::kJill) Append(A(95, 0), {0});
  Copy(121, 96);
  if (!In(L[23], {6, 15})) Append(A(96, 0), Keys(23));
  Copy(94, 97);
  if (!In(L[29], {6, 15})) Append(A(97, 0), Keys(29));
  Area98();
  Area99();
  Area100();
  Copy(122, 101);
  Append(A(101, 1), {102});
  Append(A(101, 2), {129, 34});
  Copy(101, 102);
  Append(A(102, 0), {92});
  Copy(102, 103);
  Append(A(103, 0), {103, 104, 105});
  Copy(101, 104);
  Append(A(104, 0), {107});
  Copy(104, 105);
  if (!In(L[31], {6, 15})) Append(A(105, 0), Keys(31));
  Copy(104, 106);
  if (!In(L[32], {6, 15})) Append(A(106, 0), Keys(32));
  Copy(106, 107);
  Append(A(107, 0), {147});
  Copy(106, 108);
  Append(A(108, 0), {142, 82});
  if (!In(L[34], {6, 15})) Append(A(108, 0), Keys(34));
  Copy(104, 120);
  if (!In(L[33], {6, 15})) Append(A(120, 0), Keys(33));
  Copy(120, 109);
  if (!In(L[35], {6, 15})) Append(A(109, 0), Keys(35));
  Copy(104, 110);
  Append(A(110, 0), {59});
  Copy(110, 111);
  Append(A(111, 0), {116});
  Copy(110, 112);
  Append(A(112, 0), {114, 122});
  Copy(73, 114);
  if (!In(L[37], {6, 15})) Append(A(114, 0), Keys(37));
  Copy(73, 115);
  if (!In(L[36], {6, 15})) Append(A(115, 0), Keys(36));
  Copy(115, 123);
  Append(A(123, 0), {178});
  Copy(119, 116);
  Area117();
  // The end of the game needs every key item besides the way in.
  Append(A(123, 0), {2,   3,   14,  15,  16,  18,  24,  28,  34,  47,  48,  51,
                     59,  61,  62,  66,  74,  77,  79,  82,  89,  90,  91,  92,
                     100, 102, 103, 104, 105, 107, 114, 116, 122, 123, 129, 139,
                     142, 145, 147, 148, 150, 154, 159, 161, 163, 178});
  if (character_ == Character::kChris) Append(A(123, 0), {9, 32, 37, 85, 94});
  Copy(123, 124);
  Append(A(124, 0), {183});
  return std::move(table_);
}

void Derivation::Area76() {
  if (GateOpen(76)) {
    if (!GateOpen(86) && In(L[3], {6, 15})) {
      std::vector<int>& gate = gates_[86];
      if (gate.empty()) gate.push_back(kOpenGate);
      gate.front() = kOpenGate;
    }
    return;
  }
  int k = 1;
  if (!In(L[2], {6, 8})) {
    A(76, k) = Keys(2);
    ++k;
  }
  if (!In(L[4], {6, 8})) {
    A(76, k) = Keys(4);
    ++k;
  }
  if (!In(L[1], {6, 8}) && !In(L[6], {7, 9})) {
    if (!In(L[1], {7, 15})) A(76, k) = Keys(1);
    if (!GateOpen(79)) Append(A(76, k), Keys(6));
    ++k;
  }
  if (!In(L[3], {6, 8}) && !In(L[13], {7, 9})) {
    if (!In(L[3], {7, 15})) A(76, k) = Keys(3);
    if (!GateOpen(86)) Append(A(76, k), Keys(13));
    ++k;
  }
}

void Derivation::Area79() {
  if (GateOpen(79)) return;
  int k = 1;
  if (!In(L[1], {7, 9})) {
    if (GateOpen(76)) {
      A(79, k) = Keys(1);
      ++k;
    } else {
      if (!In(L[2], {6, 8})) {
        if (!In(L[1], {6, 15})) A(79, k) = Keys(1);
        Append(A(79, k), Keys(2));
        ++k;
      }
      if (!In(L[4], {6, 8})) {
        if (!In(L[1], {6, 15})) Append(A(79, k), Keys(1));
        Append(A(79, k), Keys(4));
        ++k;
      }
      if (!In(L[3], {6, 8}) && !In(L[13], {7, 9})) {
        if (!In(L[1], {6, 15})) Append(A(79, k), Keys(1));
        if (!In(L[3], {7, 15})) Append(A(79, k), Keys(3));
        if (!GateOpen(86)) Append(A(79, k), Keys(13));
        ++k;
      }
    }
  }
  if (!In(L[6], {7, 9})) {
    Append(A(79, k), Keys(6));
    ++k;
  }
}

void Derivation::Area86() {
  Append(A(86, 0), {82});
  if (GateOpen(86)) return;
  int k = 1;
  if (!In(L[3], {7, 9})) {
    if (GateOpen(76)) {
      Append(A(86, k), Keys(3));
      ++k;
    }
    if (!In(L[2], {6, 8})) {
      if (!In(L[3], {6, 15})) Append(A(86, k), Keys(3));
      Append(A(86, k), Keys(2));
      ++k;
    }
    if (!In(L[4], {6, 8})) {
      if (!In(L[3], {6, 15})) Append(A(86, k), Keys(3));
      if (L[4] != 15) Append(A(86, k), Keys(4));
      ++k;
    }
    if (!In(L[1], {6, 8}) && L[6] != 7) {
      if (!In(L[3], {6, 15})) Append(A(86, k), Keys(3));
      if (!In(L[1], {7, 15})) Append(A(86, k), Keys(1));
      if (!GateOpen(79) && !In(L[6], {6, 15})) Append(A(86, k), Keys(6));
      ++k;
    }
  }
  if (!In(L[13], {7, 9})) {
    Append(A(86, k), Keys(13));
    ++k;
  }
}

void Derivation::Area121() {
  if (GateOpen(121)) return;
  int k = 1;
  if (!In(L[10], {7, 9})) {
    Append(A(121, k), Keys(10));
    ++k;
  }
  if (!In(L[22], {6, 8})) {
    if (L[22] != 15) Append(A(121, k), Keys(22));
    if (!In(L[15], {6, 15})) Append(A(121, k), Keys(15));
    if (!GateOpen(119)) Append(A(121, k), Gate(119));
  }
}

void Derivation::Area87() {
  if (GateOpen(87)) return;
  int k = 1;
  if (!In(L[10], {7, 9})) {
    A(87, k) = Keys(10);
    ++k;
  }
  if (!In(L[15], {6, 15})) A(87, k) = Keys(15);
  if (!GateOpen(119)) {
    Append(A(87, k), Gate(119));
    ++k;
  }
}

void Derivation::Area88() {
  if (GateSet(88)) {
    A(88, 0) = Gate(88);
    return;
  }
  if (!In(L[16], {6, 15})) A(88, 0) = Keys(16);
  if (!GateOpen(119)) Append(A(88, 0), Keys(14));
}

// Area 90 gets its alternatives whatever its gate says.
void Derivation::Area90() {
  int k = 1;
  if (!In(L[19], {6, 7, 9, 15})) {
    A(90, k) = Keys(19);
    ++k;
  }
  if (!In(L[17], {6, 15})) A(90, k) = Keys(17);
  if (!GateOpen(122)) {
    if (!In(L[15], {6, 15})) Append(A(90, k), Keys(15));
    if (!GateOpen(119)) Append(A(90, k), Keys(14));
  }
}

void Derivation::Area98() {
  if (GateOpen(98)) return;
  int k = 1;
  if (!In(L[8], {6, 7, 9})) {
    A(98, k) = Keys(8);
    ++k;
  }
  if (!In(L[10], {7, 9})) {
    if (!In(L[28], {6, 15})) A(98, k) = Keys(28);
    if (!In(L[10], {6, 15})) Append(A(98, k), Keys(10));
    ++k;
  }
  if (!In(L[15], {6, 15})) A(98, k) = Keys(15);
  if (!In(L[28], {6, 15})) Append(A(98, k), Keys(28));
  if (!GateOpen(119)) {
    Append(A(98, k), Gate(119));
    ++k;
  }
}

void Derivation::Area99() {
  if (GateOpen(99)) return;
  int k = 1;
  if (!In(L[10], {7, 9})) {
    if (!In(L[10], {6, 15})) A(99, k) = Keys(10);
    if (!In(L[28], {6, 15})) Append(A(99, k), Keys(28));
    ++k;
  }
  bool something_added = false;
  if (!In(L[15], {6, 15})) {
    A(99, k) = Keys(15);
    something_added = true;
  }
  if (!In(L[28], {6, 15})) {
    Append(A(99, k), Keys(28));
    something_added = true;
  }
  if (!GateOpen(119)) {
    Append(A(99, k), Gate(119));
    ++k;
  } else if (something_added) {
    ++k;
  }
  if (L[30] == 15 && !In(L[8], {6, 7, 9})) {
    A(99, k) = Keys(8);
    ++k;
  }
}

// The new alternative goes after every index the copy of area 99 brought.
void Derivation::Area100() {
  if (GateOpen(100)) return;
  Copy(99, 100);
  const int k = IndexCount(100) + 1;
  if (!In(L[26], {6, 8})) Append(A(100, k), Keys(26));
}

// Area 117 is entered through area 87 and then area 86: each of its
// alternatives pairs one of 87's with one of 86's.
void Derivation::Area117() {
  const bool open87 = GateOpen(87), open86 = GateOpen(86);
  if (!open87 && !open86) {
    for (int i = 1; i <= IndexCount(87); ++i) {
      for (int j = 1; j <= IndexCount(86) - 1; ++j) {
        const int x = IndexCount(86) * (i - 1) + j;
        std::vector<int> alternative = ListOf(87, i);
        Append(alternative, ListOf(86, j));
        A(117, x) = std::move(alternative);
      }
    }
  } else if (open87 && !open86) {
    Copy(86, 117);
  } else if (open86 && !open87) {
    Copy(87, 117);
  }
  Append(A(117, 0), {82});
}

}  // namespace

AreaRequirements DeriveLockRequirements(const LockDeal& deal, LockGates& gates,
                                        Character character, const LogSink& log) {
  return Derivation(deal, gates, character, log).Run();
}

}  // namespace velmora
