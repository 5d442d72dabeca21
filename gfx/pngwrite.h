#pragma once

namespace vesk {

class TStream;
class TDIBSurface;

// Writes the bitmap as an 8-bit-per-channel PNG: RGBA when it has an alpha
// companion, else RGB. Used to look at layered images outside the player.
void SavePng(TStream& stream, const TDIBSurface& image);

}  // namespace vesk
