// Set-up shared by the door and lock tests.
#pragma once

#include <string>

#include "doors/LockPositions.h"

namespace velmora::doors_test {

/// The line the lock tables log when an area's way in needs the error marker.
inline const std::string kErrorLine = "-99 ERROR, TELL QUORRAN AND RELAUNCH SEED GENERATOR";

/// A deal that breaks no lock rule: 15 at positions 2, 10 and 28, so that
/// positions 15 and 10 have an open partner. The open door at position 2
/// opens gate 76 while gate 86 stays closed, so area 86 asks for the keys of
/// position 2 and gets the error marker in one alternative.
inline constexpr LockDeal kOpenTwoDeal = {5, 0, 15, 5,  6, 4,  6, 0, 14, 14, 15, 6, 4,
                                          0, 14, 14, 5, 0, 2,  8, 6, 0,  6,  0,  0, 5,
                                          6, 4,  15, 13, 6, 11, 3, 4, 12, 1,  10, 10};

}  // namespace velmora::doors_test
