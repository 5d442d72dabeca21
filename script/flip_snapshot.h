#pragma once

#include <string>

namespace vesk {

class TVeskBaseList;

// The system name of the picture of the screen that covers the active base
// while a Flip moves components away and its transition starts.
inline const std::string kFlipSnapshotName = "\x01\x01";

// Draws everything now and puts a picture of the active base's surface,
// named kFlipSnapshotName, on top of the active base, of the screen's size
// and visible.
void MakeFlipSnapshot(TVeskBaseList& registry);

}  // namespace vesk
