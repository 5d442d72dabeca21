#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "text/wd_composite.h"

namespace vesk {

class TCustomDIBX;
class TStream;
class TWdRow;

// What one reveal step did: whether typing ended in it (once per page) and
// the characters it revealed, each image as "*".
struct TRevealStep {
    bool Ended = false;
    std::string Text;
};

// A link under a point: its target and the text of its run of glyphs.
struct TLinkHit {
    std::string Target;
    std::string Text;
};

// One page of laid-out text: its rows, owned, whose glyphs belong to the
// engine. The page is drawn into the engine's page surfaces, composed from
// them onto the owner's surface at the engine's origin, and revealed glyph
// by glyph with a fade. With paging off the page is one long page that the
// owner scrolls. Pages must go before the engine's glyphs do.
class TWdPage : public TWdComposite {
public:
    explicit TWdPage(TQsWord& engine);
    ~TWdPage() override;

    const TWdGlyph* Page() const override { return this; }
    int Width() const override;
    int X() const override;
    int Y() const override;
    std::unique_ptr<TWdGlyph> Clone(TQsWord& engine) const override;

    int RowCount() const { return ChildCount(); }
    TWdRow& Row(int index) const;
    // A new row at y in the page, then owned by it.
    TWdRow& AddRow(std::uint8_t align, int leftBound, int rightBound, int y);
    // Frees the last row; its glyphs lose it as their parent.
    void RemoveLastRow();
    // Arranges every row; the page's height becomes their greatest bottom.
    void Arrange();

    // The vertical offset the owner scrolls an unpaged page by.
    std::int32_t Scroll = 0;

    // Drawing (page_draw.cpp): puts every character into the engine's page
    // surfaces, first hiding every glyph when fromStart is set.
    void Draw(bool fromStart = false);
    // Redraws the characters of the rows that hold any of glyphs.
    void Redraw(const std::vector<TWdGlyph*>& glyphs);
    // Composition (page_compose.cpp): every glyph that shows onto dest at
    // the engine's origin, clipped to the page's window there (and to dest's
    // clip). The page is drawn first when the surfaces hold another one.
    void Compose(TCustomDIBX& dest);

    // Reveal (page_reveal.cpp): one step of dt milliseconds.
    TRevealStep Reveal(std::int32_t dt);
    bool StillTyping() const;
    // Both accumulators to 0; the next step is skipped when glyphs fade.
    void RestartTiming();
    // Back to the first glyph, nothing fading, the end not yet reported.
    void ResetReveal();
    // Removes the rows and every state of the display.
    void Clear();
    bool EndReported() const { return endReported_; }
    bool AllRevealed() const { return revealRow_ >= RowCount(); }
    int RevealRow() const { return revealRow_; }
    int RevealGlyph() const { return revealGlyph_; }
    int FadingCount() const { return static_cast<int>(fading_.size()); }
    int AnimatedCount() const { return static_cast<int>(animated_.size()); }
    int SkipCount() const { return skip_; }
    const std::string& PendingEvents() const { return pendingEvent_; }

    // Links (page_hover.cpp): the point, on the owner's surface, that the
    // mouse is at; (-1, -1) for none.
    void SetHoverPoint(int x, int y);
    std::optional<TLinkHit> LinkAt(int x, int y) const;
    const std::string& HoverLink() const { return hoverLink_; }

    // Display state (page_state.cpp): scroll, reveal position, end flag,
    // pending events and the alpha of every shown glyph.
    void SaveState(TStream& s) const;
    void LoadState(TStream& s);

    // The text positions of the page's first and last glyph that has one;
    // -1 for a page without such glyphs.
    int FirstTextPosition();
    int LastTextPosition();

    // Every glyph of the page, row by row.
    template <class F>
    void ForEachGlyph(F&& f) const;

private:
    void DropHover();
    TWdGlyph* NextHidden() const;
    void Animate(std::int32_t dt);

    int revealRow_ = 0, revealGlyph_ = 0;
    std::int64_t delay_ = 0, fade_ = 0;
    std::vector<TWdGlyph*> fading_;
    std::vector<TWdGlyph*> animated_;
    std::string pendingEvent_;
    int skip_ = 1;
    bool endReported_ = false;
    bool eventRevealed_ = false;
    std::vector<TWdGlyph*> hoverRun_;
    std::string hoverLink_;
};

using TWdPageList = std::vector<std::unique_ptr<TWdPage>>;

template <class F>
void TWdPage::ForEachGlyph(F&& f) const {
    for (int r = 0; r < ChildCount(); ++r) {
        const TWdGlyph& row = *Child(r);
        for (int i = 0; i < row.ChildCount(); ++i) f(*row.Child(i));
    }
}

}  // namespace vesk
