#include "text/qsword_settings.h"

#include "common/stream_sync.h"
#include "text/font_faces.h"

namespace vesk {

TQsWordSettings::TQsWordSettings() : DefaultFontName(DefaultFaceName()) {}

void TQsWordSettings::Sync(TStreamSync& s) {
    s.Int(OriginX);
    s.Int(OriginY);
    s.Int(DefaultSize);
    s.String(DefaultFontName);
    s.Int(DefaultColor);
    s.Int(PageHeight);
    s.Int(WrapWidth);
    s.Int(RenderQuality);
    s.Int(LineSpacing);
    s.Flag(Paging);
    s.Int(LinkColor);
    s.Int(LinkHoverColor);
    s.Int(FadeTime);
    s.Int(DefaultBorderColor);
    s.Int(ImageAlpha);
    s.Flag(Paused);
    s.Int(CaretX);
    s.Int(CaretY);
    s.Int(SpeedFactor);
    s.Flag(EventsEnabled);
    if (s.Since(110)) s.Int(DefaultShadowColor);
    if (s.Since(111)) {
        s.Int(DefaultBorderWidth);
        s.Int(DefaultShadowWidth);
    }
}

}  // namespace vesk
