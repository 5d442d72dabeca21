#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "text/decorate.h"

namespace vesk {

class TQsWord;
class TStream;
class TWdComposite;

// Stream codes of the glyph classes in a stored glyph list.
constexpr std::uint8_t WD_CHAR = 1;
constexpr std::uint8_t WD_ALIGN = 2;
constexpr std::uint8_t WD_RETURN = 3;
constexpr std::uint8_t WD_INDENT = 4;
constexpr std::uint8_t WD_UNDENT = 5;
constexpr std::uint8_t WD_EVENT = 6;
constexpr std::uint8_t WD_VAR = 7;
constexpr std::uint8_t WD_IMG = 9;

// What a glyph's reader needs to know of the list it comes from.
struct TGlyphReadContext {
    int Version = 0;       // the list's format version (0 without header)
    int DecorateBase = 0;  // where the list's decorations start in the engine's list
};

// One element of a message text: a character, an image, a line break, an
// alignment change, an event or variable insertion, or a composite (row,
// page) of such. Every glyph belongs to one engine and knows its parent
// (none while unplaced), its place relative to it and its size. Operations
// a class has no use for answer 0, "" or none and ignore changes.
class TWdGlyph {
public:
    explicit TWdGlyph(TQsWord& engine) : engine_(&engine) {}
    virtual ~TWdGlyph() = default;
    TWdGlyph(const TWdGlyph&) = delete;
    TWdGlyph& operator=(const TWdGlyph&) = delete;

    TQsWord& Engine() const { return *engine_; }
    TWdComposite* Parent() const { return parent_; }
    void SetParent(TWdComposite* parent) { parent_ = parent; }

    // The page the glyph lies on; a page answers itself.
    virtual const TWdGlyph* Page() const;
    // The stream code (0 for classes that are never stored by code).
    virtual std::uint8_t ClassCode() const { return 0; }
    virtual int ChildCount() const { return 0; }
    virtual TWdGlyph* Child(int) const { return nullptr; }
    TWdGlyph* FirstChild() const { return Child(0); }
    TWdGlyph* LastChild() const { return Child(ChildCount() - 1); }

    // Place relative to the parent and size, as layout set them.
    int Left() const { return left_; }
    int Top() const { return top_; }
    virtual int Width() const { return width_; }
    virtual int Height() const { return height_; }
    void SetBounds(int left, int top, int width, int height);
    // Place on the owner's surface: the parent's plus the glyph's own.
    virtual int X() const;
    virtual int Y() const;
    // Place within its page (0 for the page itself and for unplaced glyphs).
    int YInPage() const;

    // The decoration: characters' own, or the one a variable insertion
    // gives its characters. The setters re-share through the engine's list.
    virtual const TDecorateRef* Decoration() const { return nullptr; }
    std::string FontName() const;
    void SetFontName(const std::string& v);
    std::int32_t Size() const;
    void SetSize(std::int32_t v);
    std::uint8_t Style() const;
    void SetStyle(std::uint8_t v);
    std::int32_t Color() const;
    void SetColor(std::int32_t v);
    std::int32_t BorderColor() const;
    void SetBorderColor(std::int32_t v);
    // Widths answer the engine's default where the stored value is negative.
    std::int32_t BorderWidth() const;
    void SetBorderWidth(std::int32_t v);
    std::int32_t ShadowWidth() const;
    void SetShadowWidth(std::int32_t v);
    std::int32_t ShadowColor() const;
    void SetShadowColor(std::int32_t v);
    std::uint8_t NoBreak() const;
    void SetNoBreak(std::uint8_t v);
    std::string Ruby() const;
    void SetRuby(const std::string& v);

    virtual std::uint16_t Code() const { return 0; }
    virtual void SetCode(std::uint16_t) {}
    virtual std::uint8_t Align() const { return 0; }
    virtual void SetAlign(std::uint8_t) {}
    // The characters the glyph stands for; composites join their children's.
    virtual std::string Text() const { return {}; }
    // What the reveal has shown of it: a character its text, a line break
    // CR LF; composites join their leading children while those show.
    virtual std::string RevealedText() const { return {}; }
    virtual const std::string& Link() const;
    virtual void SetLink(const std::string&) {}
    virtual bool Hover() const { return false; }
    virtual void SetHover(bool) {}
    virtual int Alpha() const { return 255; }
    virtual void SetAlpha(int) {}
    virtual std::int32_t Wait() const { return 0; }
    virtual void SetWait(std::int32_t) {}
    virtual bool ClearFlag() const { return false; }
    virtual void SetClearFlag(bool) {}
    // The image name, the event text or the expression text.
    virtual std::string NameText() const { return {}; }
    virtual void SetNameText(const std::string&) {}

    // How many text positions the glyph takes: 1 for what the markup wrote,
    // 0 for what layout and variable insertion made.
    virtual int TextPositionCount() const { return 0; }
    // Whether a variable insertion made the glyph (such glyphs are never
    // stored and go when the insertion is removed).
    virtual bool InsertedByVar() const { return false; }
    // The first and the last glyph of the subtree that takes a text position.
    virtual TWdGlyph* FirstTextGlyph();
    virtual TWdGlyph* LastTextGlyph();

    // Sets the alpha of the glyph, or of every child of a composite.
    virtual void SetAlphaAll(int alpha) { SetAlpha(alpha); }
    void Hide() { SetAlphaAll(0); }

    // Takes the glyph's size from what it shows: a character its cell, an
    // image its picture (0 × 0 when there is none). Others keep theirs.
    virtual void Measure() {}
    // Images with more than one frame; advancing answers whether the frame
    // shown changed.
    virtual bool Animated() const { return false; }
    virtual bool AdvanceAnimation(std::int32_t) { return false; }
    // Around a display-mode change: pictures drop their surfaces and make
    // them again at the new depth.
    virtual void ReleaseSurfaces() {}
    virtual void ReloadSurfaces() {}

    // The class's data in the glyph list stream (after its class byte).
    virtual void WriteData(TStream&) const {}
    virtual void ReadData(TStream&, const TGlyphReadContext&) {}

    // A new glyph of the same class and content for engine (which may be
    // another engine): place, size, link, hover, alpha, wait, decoration,
    // code, names as the class has them; never the parent.
    virtual std::unique_ptr<TWdGlyph> Clone(TQsWord& engine) const = 0;

    // Adds "expression=value" of each variable insertion to lines, unless a
    // line for that expression is there already.
    virtual void AddVarLines(std::vector<std::string>&) const {}

protected:
    // The geometry part of a copy for another engine.
    TWdGlyph(const TWdGlyph& o, TQsWord& engine);
    // The decoration holder's own reference; the setters replace it.
    virtual TDecorateRef* MutableDecoration() { return nullptr; }

private:
    template <class Edit>
    void EditDecoration(Edit&& edit);

    TQsWord* engine_;
    TWdComposite* parent_ = nullptr;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
};

// Glyphs that show on the page: they have a link, an alpha and a wait.
class TWdReal : public TWdGlyph {
public:
    using TWdGlyph::TWdGlyph;

    const std::string& Link() const override { return link_; }
    void SetLink(const std::string& v) override { link_ = v; }
    bool Hover() const override { return hover_; }
    void SetHover(bool v) override { hover_ = v; }
    int Alpha() const override { return alpha_; }
    void SetAlpha(int v) override;
    std::int32_t Wait() const override { return wait_; }
    void SetWait(std::int32_t v) override { wait_ = v; }

protected:
    TWdReal(const TWdReal& o, TQsWord& engine);
    // The link and wait fields every stored real glyph starts with.
    void WriteLinkAndWait(TStream& s) const;
    void ReadLinkAndWait(TStream& s);

private:
    std::string link_;
    std::int32_t wait_ = 0;
    int alpha_ = 255;
    bool hover_ = false;
};

// A reference to d held in engine's own decoration list: the same record
// when it already lies there, an equal one shared there otherwise.
TDecorateRef DecorationFor(TQsWord& engine, const TDecorateRef& d);

}  // namespace vesk
