// Revealing a page glyph by glyph: each glyph's wait spaces them out, a
// fade brings each one in, and event glyphs hold the text until the owner
// has been told of them.
#include <algorithm>

#include "text/qsword.h"
#include "text/wd_ops.h"
#include "text/wd_page.h"
#include "text/wd_row.h"

namespace vesk {

namespace {

// Marks the text of an END event for the owner, as markup writes it.
constexpr char kEndPrefix = 0x01;

bool Fades(const TWdGlyph& g) { return g.ClassCode() == WD_CHAR || g.ClassCode() == WD_IMG; }
bool IsEvent(const TWdGlyph* g) { return g && g->ClassCode() == WD_EVENT; }

TRect RectOf(const TWdGlyph& g) { return Bounds(g.X(), g.Y(), g.Width(), g.Height()); }

std::string EventText(const TWdGlyph& g) {
    const auto& event = static_cast<const TWdOpeEvent&>(g);
    return event.IsEnd() ? kEndPrefix + event.NameText() : event.NameText();
}

}  // namespace

TWdGlyph* TWdPage::NextHidden() const {
    return AllRevealed() ? nullptr : Row(revealRow_).Child(revealGlyph_);
}

void TWdPage::RestartTiming() {
    delay_ = fade_ = 0;
    skip_ = Engine().FadeTime > 0 ? 1 : 0;
}

void TWdPage::ResetReveal() {
    revealRow_ = revealGlyph_ = 0;
    RestartTiming();
    endReported_ = false;
    eventRevealed_ = false;
    fading_.clear();
    animated_.clear();
}

bool TWdPage::StillTyping() const {
    const TQsWord& e = Engine();
    if (!fading_.empty()) return true;
    if (AllRevealed()) return false;
    if (e.Paging) return !e.Paused;
    const TWdRow& row = Row(revealRow_);
    return row.Top() + row.Height() - Scroll <= e.PageHeight;
}

void TWdPage::Animate(std::int32_t dt) {
    for (TWdGlyph* g : animated_)
        if (g->AdvanceAnimation(dt)) Engine().AddDirty(RectOf(*g));
}

TRevealStep TWdPage::Reveal(std::int32_t dt) {
    TRevealStep out;
    if (skip_ > 0) {
        --skip_;
        return out;
    }
    TQsWord& e = Engine();
    const int scroll = e.Paging ? 0 : Scroll;
    std::int64_t elapsed = std::max(0, dt);
    if (!AllRevealed() && !e.Paused && pendingEvent_.empty()) {
        // The first glyph shows at once, and the text after an event starts
        // its timing afresh once the owner has had the event.
        if (revealRow_ == 0 && revealGlyph_ == 0) {
            delay_ = fade_ = 0;
            elapsed = 0;
        } else if (eventRevealed_) {
            eventRevealed_ = false;
            elapsed = 0;
        }
        delay_ -= elapsed;
        while (delay_ <= 0 && !AllRevealed()) {
            TWdRow& row = Row(revealRow_);
            // Rows below the window wait for the owner to scroll or page.
            if (e.PageHeight > 0 && row.Top() - scroll >= e.PageHeight) break;
            TWdGlyph& g = *row.Child(revealGlyph_);
            if (Fades(g)) {
                g.SetAlpha(0);
                fading_.push_back(&g);
                if (g.Animated()) animated_.push_back(&g);
            }
            const std::int64_t w = g.Wait();
            if (w >= 0) delay_ += w * std::max(0, e.SpeedFactor) / 256;
            else if (e.SpeedFactor >= 0) delay_ -= w;

            if (++revealGlyph_ >= row.ChildCount()) {
                ++revealRow_;
                revealGlyph_ = 0;
            }
            const TWdGlyph* next = NextHidden();
            const TWdGlyph& at = next ? *next : g;
            const auto& atRow = static_cast<const TWdRow&>(*at.Parent());
            e.CaretX = next ? at.Left() : at.Left() + at.Width();
            e.CaretY = atRow.Top() - scroll;
            e.CaretHeight = atRow.Height();

            if (g.ClassCode() == WD_CHAR) out.Text += g.Text();
            else if (g.ClassCode() == WD_IMG) out.Text += "*";
            if (g.ClassCode() == WD_EVENT && e.EventsEnabled) {
                if (!pendingEvent_.empty()) pendingEvent_ += '\t';
                pendingEvent_ += EventText(g);
                eventRevealed_ = true;
                // Events that follow one another without a wait are taken
                // together.
                if (!(w <= 0 && IsEvent(next))) break;
            }
        }
    }

    fade_ += elapsed * 256;
    const std::int64_t fadeTime = e.FadeTime;
    const int gain = fadeTime > 0 ? static_cast<int>(std::min<std::int64_t>(fade_ / fadeTime, 255)) : 255;
    fade_ = fadeTime > 0 ? fade_ % fadeTime : 0;
    if (gain > 0) {
        for (TWdGlyph* g : fading_) {
            g->SetAlpha(g->Alpha() + gain);
            e.AddDirty(RectOf(*g));
        }
        std::erase_if(fading_, [](const TWdGlyph* g) { return g->Alpha() > 254; });
    }
    Animate(static_cast<std::int32_t>(elapsed));

    if (!pendingEvent_.empty() && fading_.empty()) {
        const std::string events = std::exchange(pendingEvent_, {});
        for (std::size_t at = 0; at <= events.size();) {
            const std::size_t tab = std::min(events.find('\t', at), events.size());
            if (e.OnEvent) e.OnEvent(events.substr(at, tab - at));
            at = tab + 1;
        }
    }
    if (!endReported_ && AllRevealed() && fading_.empty()) {
        endReported_ = true;
        out.Ended = true;
    }
    return out;
}

}  // namespace vesk
