// docs/rooms.md: the reference of room names and doors that the cheat sheet's
// credit line points to, generated from the door tables so that it always
// matches them.
#pragma once

#include <string>

namespace velmora {

/// The whole text of docs/rooms.md: every room of the door table, in the
/// order of its first door, with each of its doors and where that door leads
/// in the unshuffled game. Lines end LF.
std::string FormatRoomsDoc();

}  // namespace velmora
