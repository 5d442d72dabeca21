#pragma once

// The property accessors every scriptable object declares. Each entry is
// (id, accessor name, value type, base default); the object base turns it into
// a virtual getter Get<Name>() returning the default and a virtual setter
// Set<Name>(value) that ignores the write, and the property dispatch turns it
// into the case of GetProp and SetProp. A kind overrides the pairs it gives a
// meaning. Types: Int (32-bit), Bool (flag), Str (Shift-JIS string).
//
// Not listed because they are handled apart: the name, priority and tag
// (stored in the base), the parent (looked up by name), the kind, the shared
// pairs (frame images, frame alignments, particle parameters, caret
// position), PR_APPEARX/PR_APPEARY and the read-only ones below.
#define VESK_PROPERTIES(X)                                   \
    X(PR_SOURCE, Source, Str, std::string())                 \
    X(PR_LEFT, Left, Int, 0)                                 \
    X(PR_TOP, Top, Int, 0)                                   \
    X(PR_WIDTH, Width, Int, 0)                               \
    X(PR_HEIGHT, Height, Int, 0)                             \
    X(PR_ZOOMX, ZoomX, Int, 256)                             \
    X(PR_COLOR, Color, Int, 0xFFFFFF)                        \
    X(PR_BORDERWIDTH, BorderWidth, Int, 0)                   \
    X(PR_BORDERCOLOR, BorderColor, Int, -1)                  \
    X(PR_ALPHA, Alpha, Int, 255)                             \
    X(PR_OFFSETX, OffsetX, Int, 0)                           \
    X(PR_OFFSETY, OffsetY, Int, 0)                           \
    X(PR_FONTNAME, FontName, Str, std::string())             \
    X(PR_FONTHEIGHT, FontHeight, Int, 0)                     \
    X(PR_FONTSTYLE, FontStyle, Int, 0)                       \
    X(PR_LINESPACE, LineSpace, Int, 0)                       \
    X(PR_FONTCOLOR, FontColor, Int, 0)                       \
    X(PR_FONTLINKCOLOR, FontLinkColor, Int, 0)               \
    X(PR_FONTBORDERCOLOR, FontBorderColor, Int, 0)           \
    X(PR_FONTHOVERCOLOR, FontHoverColor, Int, 0)             \
    X(PR_FONTHOVERSTYLE, FontHoverStyle, Int, 0)             \
    X(PR_HOVERCOLOR, HoverColor, Int, -1)                    \
    X(PR_ANTIALIAS, AntiAlias, Bool, false)                  \
    X(PR_DELAY, Delay, Int, 0)                               \
    X(PR_PAUSED, Paused, Bool, false)                        \
    X(PR_VOLUME, Volume, Int, 0)                             \
    X(PR_REPEAT, Repeat, Bool, false)                        \
    X(PR_BALANCE, Balance, Int, 0)                           \
    X(PR_ANGLE, Angle, Int, 0)                               \
    X(PR_ONPLAYING, OnPlaying, Str, std::string())           \
    X(PR_ONNOTIFY, OnNotify, Str, std::string())             \
    X(PR_ONMOUSEMOVE, OnMouseMove, Str, std::string())       \
    X(PR_ONMOUSEOUT, OnMouseOut, Str, std::string())         \
    X(PR_ONLBTNDOWN, OnLBtnDown, Str, std::string())         \
    X(PR_ONLBTNUP, OnLBtnUp, Str, std::string())             \
    X(PR_ONRBTNDOWN, OnRBtnDown, Str, std::string())         \
    X(PR_ONRBTNUP, OnRBtnUp, Str, std::string())             \
    X(PR_ONWHEELDOWN, OnWheelDown, Str, std::string())       \
    X(PR_ONWHEELUP, OnWheelUp, Str, std::string())           \
    X(PR_BRIGHTNESS, Brightness, Int, 255)                   \
    X(PR_ONPLAYEND, OnPlayEnd, Str, std::string())           \
    X(PR_INDEX, Index, Int, -1)                              \
    X(PR_COUNT, CountProp, Int, 0)                           \
    X(PR_ONLINK, OnLink, Str, std::string())                 \
    X(PR_VISIBLE, Visible, Bool, false)                      \
    X(PR_COLCOUNT, ColCount, Int, 0)                         \
    X(PR_ROWCOUNT, RowCount, Int, 0)                         \
    X(PR_TEXT, Text, Str, std::string())                     \
    X(PR_MARGINX, MarginX, Int, 0)                           \
    X(PR_MARGINY, MarginY, Int, 0)                           \
    X(PR_HALIGN, HAlign, Int, 0)                             \
    X(PR_SCROLLSOURCE, ScrollSource, Str, std::string())     \
    X(PR_CHECKSOURCE, CheckSource, Str, std::string())       \
    X(PR_AUTOSCRAP, AutoScrap, Bool, false)                  \
    X(PR_ONSELECT, OnSelect, Str, std::string())             \
    X(PR_RCLICKSCRAP, RClickScrap, Bool, false)              \
    X(PR_ONOPENING, OnOpening, Str, std::string())           \
    X(PR_ONOPENED, OnOpened, Str, std::string())             \
    X(PR_ONCLOSING, OnClosing, Str, std::string())           \
    X(PR_ONCLOSED, OnClosed, Str, std::string())             \
    X(PR_IGNOREMOUSE, IgnoreMouse, Int, 0)                   \
    X(PR_TEXTPAUSED, TextPaused, Bool, false)                \
    X(PR_TEXTDELAY, TextDelay, Int, 256)                     \
    X(PR_HOVERSOURCE, HoverSource, Str, std::string())       \
    X(PR_PRESSEDSOURCE, PressedSource, Str, std::string())   \
    X(PR_GROUPINDEX, GroupIndex, Int, 0)                     \
    X(PR_ALLOWALLUP, AllowAllUp, Bool, false)                \
    X(PR_SELECTED, Selected, Bool, false)                    \
    X(PR_CAPTUREMASK, CaptureMask, Bool, false)              \
    X(PR_POWER, Power, Int, 0)                               \
    X(PR_ORIGWIDTH, OrigWidth, Int, GetWidth())              \
    X(PR_ORIGHEIGHT, OrigHeight, Int, GetHeight())           \
    X(PR_PARTMOTION, PartMotion, Int, 1)                     \
    X(PR_TOPINDEX, TopIndex, Int, 0)                         \
    X(PR_READONLY, ReadOnly, Bool, false)                    \
    X(PR_CURSOR, Cursor, Str, std::string())                 \
    X(PR_POSZOOMED, PosZoomed, Bool, false)                  \
    X(PR_ONPLAYSTART, OnPlayStart, Str, std::string())       \
    X(PR_ONMOUSEIN, OnMouseIn, Str, std::string())           \
    X(PR_ONMAPIN, OnMapIn, Str, std::string())               \
    X(PR_ONMAPOUT, OnMapOut, Str, std::string())             \
    X(PR_MAPSOURCE, MapSource, Str, std::string())           \
    X(PR_AMP, Amp, Int, 0)                                   \
    X(PR_WAVELEN, WaveLen, Int, 0)                           \
    X(PR_SCROLLX, ScrollX, Int, 0)                           \
    X(PR_SCROLLY, ScrollY, Int, 0)                           \
    X(PR_FLIPH, FlipH, Bool, false)                          \
    X(PR_FLIPV, FlipV, Bool, false)                          \
    X(PR_ONIDLE, OnIdle, Str, std::string())                 \
    X(PR_DISTANCEX, DistanceX, Int, 0)                       \
    X(PR_DISTANCEY, DistanceY, Int, 0)                       \
    X(PR_CLIPLEFT, ClipLeft, Int, 0)                         \
    X(PR_CLIPTOP, ClipTop, Int, 0)                           \
    X(PR_CLIPWIDTH, ClipWidth, Int, 0)                       \
    X(PR_CLIPHEIGHT, ClipHeight, Int, 0)                     \
    X(PR_DURATION, Duration, Int, 0)                         \
    X(PR_THUMBSOURCE, ThumbSource, Str, std::string())       \
    X(PR_BUTTONSOURCE, ButtonSource, Str, std::string())     \
    X(PR_MIN, Min, Int, 0)                                   \
    X(PR_MAX, Max, Int, 0)                                   \
    X(PR_VALUE, Value, Int, 0)                               \
    X(PR_ORIENTATION, Orientation, Int, 0)                   \
    X(PR_SMALLCHANGE, SmallChange, Int, 1)                   \
    X(PR_LARGECHANGE, LargeChange, Int, 1)                   \
    X(PR_MAPTEXT, MapText, Str, std::string())               \
    X(PR_GLYPHWIDTH, GlyphWidth, Int, 0)                     \
    X(PR_GLYPHHEIGHT, GlyphHeight, Int, 0)                   \
    X(PR_ZOOMY, ZoomY, Int, 256)                             \
    X(PR_CLICKEDSOURCE, ClickedSource, Str, std::string())   \
    X(PR_ANIPAUSED, AniPaused, Bool, false)                  \
    X(PR_ONHOLD, OnHold, Str, std::string())                 \
    X(PR_ONRELEASE, OnRelease, Str, std::string())           \
    X(PR_REVERSE, Reverse, Bool, false)                      \
    X(PR_REWINDONLOAD, RewindOnLoad, Bool, true)             \
    X(PR_FONTSHADOWCOLOR, FontShadowColor, Int, 0)           \
    X(PR_FONTBORDER, FontBorder, Int, 0)                     \
    X(PR_FONTSHADOW, FontShadow, Int, 0)                     \
    X(PR_ONKEYDOWN, OnKeyDown, Str, std::string())           \
    X(PR_ONKEYUP, OnKeyUp, Str, std::string())               \
    X(PR_ONKEYREPEAT, OnKeyRepeat, Str, std::string())       \
    X(PR_HANDLEKEY, HandleKey, Bool, false)                  \
    X(PR_ONFOCUSIN, OnFocusIn, Str, std::string())           \
    X(PR_ONFOCUSOUT, OnFocusOut, Str, std::string())         \
    X(PR_OVERLAY, Overlay, Bool, true)                       \
    X(PR_CAPTURELINK, CaptureLink, Bool, false)              \
    X(PR_FONTHOVERBORDER, FontHoverBorder, Int, 0)           \
    X(PR_FONTHOVERBORDERCOLOR, FontHoverBorderColor, Int, 0) \
    X(PR_FONTHOVERSHADOW, FontHoverShadow, Int, 0)           \
    X(PR_FONTHOVERSHADOWCOLOR, FontHoverShadowColor, Int, 0) \
    X(PR_BARSIZE, BarSize, Int, 0)                           \
    X(PR_MUTEONLOAD, MuteOnLoad, Bool, false)                \
    X(PR_PLUSX, PlusX, Int, 0)                               \
    X(PR_PLUSY, PlusY, Int, 0)                               \
    X(PR_REPEATPOS, RepeatPos, Int, 0)

// Read-only properties: a getter only; writes are accepted and ignored.
#define VESK_READONLY_PROPERTIES(X)   \
    X(PR_PLAYING, Playing, Bool, false) \
    X(PR_CARETHEIGHT, CaretHeight, Int, 0)
