#pragma once

#include <cstdint>

namespace vesk {

class TDIBSurface;
struct TFenkLayer;

// Composition of the layers of a layered-image frame into its image. All
// bitmaps involved have the frame's size and bit count.

// True when the layer is drawn by copying it over the whole image, so the
// canvas below it need not be painted first.
bool FenkLayerCoversImage(const TFenkLayer& layer, int position, bool first, bool firstLayerOpaque);

// Draws a visible layer onto the image. position counts every layer of the
// frame, first tells whether this is the first visible one. With consume the
// layer is not needed afterwards and may give up its bitmap to the image.
void ComposeFenkLayer(TDIBSurface& image, TFenkLayer& layer, int position, bool first, bool firstLayerOpaque,
                      bool consume);

// Opacity drawing: 0 draws nothing, 255 or more (or negative) is a copy that
// skips pixels equal to key (when key >= 0); paletted images dither with the
// 4x4 ordered matrix, deeper ones blend.
void FenkDrawOpacity(TDIBSurface& dst, const TDIBSurface& src, int opacity, std::int32_t key);

// Per-pixel alpha drawing with weights from alpha (8 bits).
void FenkDrawAlpha(TDIBSurface& dst, const TDIBSurface& src, const TDIBSurface& alpha);

}  // namespace vesk
