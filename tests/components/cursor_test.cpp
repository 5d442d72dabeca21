// Cursor files: reading the picture and hot spot out of the bytes, and the
// input pass showing the cursor of the control under the mouse.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "common/error.h"
#include "gfx/cursorfile.h"
#include "platform/headless/headless_window.h"
#include "tests/components/cursor_files.h"
#include "tests/components/scene_fixture.h"
#include "values/param_collection.h"

namespace vesk::test {
namespace {

TCursorImage Read(const TFileBytes& b) { return ReadCursorFile(b); }

std::uint32_t At(const TCursorImage& c, int x, int y) { return c.Pixels.at(static_cast<std::size_t>(y) * c.Width + x); }

// Black and white, the left half masked: under the mask black is
// transparent and white inverts the screen (shown black); the top rows are
// white, so a picture upside down shows at once.
TCursorPicture Monochrome(int hotX, int hotY) {
    TCursorPicture p;
    p.bits = 1;
    p.hotX = hotX;
    p.hotY = hotY;
    p.palette = {0x000000, 0xFFFFFF};
    p.colour = [](int, int y) { return y < 8 ? 1u : 0u; };
    p.masked = [](int x, int) { return x < 16; };
    return p;
}

std::uint32_t Gradient(int x, int y) {
    return static_cast<std::uint32_t>(x * 8) << 24 | static_cast<std::uint32_t>(y * 8) << 16 | 0x3456;
}

TCursorPicture TrueColour(std::uint32_t (*colour)(int, int)) {
    TCursorPicture p;
    p.colour = colour;
    return p;
}

TEST(CursorFile, MonochromeCursorWithMaskAndHotSpot) {
    const TCursorImage c = Read(IconFile(2, {Monochrome(5, 7)}));
    ASSERT_EQ(c.Width, 32);
    ASSERT_EQ(c.Height, 32);
    EXPECT_EQ(c.HotX, 5);
    EXPECT_EQ(c.HotY, 7);
    EXPECT_EQ(At(c, 20, 2), 0xFFFFFFFFu);   // white, top rows
    EXPECT_EQ(At(c, 20, 20), 0xFF000000u);  // black
    EXPECT_EQ(At(c, 2, 20), 0x00000000u);   // masked black: transparent
    EXPECT_EQ(At(c, 2, 2), 0xFF000000u);    // masked white: would invert
}

TEST(CursorFile, TrueColourPicturesKeepTheirAlphaOrTakeTheMask) {
    const TCursorImage alpha = Read(IconFile(2, {TrueColour(Gradient)}));
    ASSERT_EQ(alpha.Pixels.size(), 32u * 32u);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) ASSERT_EQ(At(alpha, x, y), Gradient(x, y)) << x << "," << y;

    // Without any alpha the mask decides, and may not be left out.
    TCursorPicture plain = TrueColour([](int x, int) { return x < 4 ? 0u : 0x00ABCDEFu; });
    plain.masked = [](int x, int) { return x < 4; };
    const TCursorImage masked = Read(IconFile(2, {plain}));
    EXPECT_EQ(At(masked, 1, 9), 0u);
    EXPECT_EQ(At(masked, 9, 9), 0xFFABCDEFu);
    plain.withMask = false;
    EXPECT_THROW(Read(IconFile(2, {plain})), EVeskError);
    // With alpha the mask is not needed.
    TCursorPicture bare = TrueColour(Gradient);
    bare.withMask = false;
    EXPECT_EQ(Read(IconFile(2, {bare})).Pixels, alpha.Pixels);
}

TEST(CursorFile, PalettedAndTwentyFourBitRowsWithTheirPadding) {
    struct TCase {
        int bits, width;
        std::vector<std::uint32_t> palette;
        std::function<std::uint32_t(int, int)> colour;
        std::function<std::uint32_t(int, int)> expected;
    };
    std::vector<std::uint32_t> grey16;
    for (std::uint32_t i = 0; i < 16; ++i) grey16.push_back(i * 0x111111);
    const std::vector<TCase> cases = {
        {4, 13, grey16, [](int x, int y) { return static_cast<std::uint32_t>(x + y) % 16; },
         [](int x, int y) { return 0xFF000000 | static_cast<std::uint32_t>((x + y) % 16) * 0x111111; }},
        // Three colours used; an index past them is black.
        {8, 7, {0xFF0000, 0x00FF00, 0x0000FF}, [](int x, int) { return x < 3 ? static_cast<std::uint32_t>(x) : 200u; },
         [](int x, int) { return x == 0 ? 0xFFFF0000 : x == 1 ? 0xFF00FF00 : x == 2 ? 0xFF0000FF : 0xFF000000; }},
        {24, 13, {}, [](int x, int y) { return static_cast<std::uint32_t>(x * 0x100 + y * 0x10000 + 7); },
         [](int x, int y) { return 0xFF000000 | static_cast<std::uint32_t>(x * 0x100 + y * 0x10000 + 7); }},
    };
    for (const TCase& k : cases) {
        SCOPED_TRACE(k.bits);
        TCursorPicture p;
        p.bits = k.bits;
        p.width = k.width;
        p.height = 5;
        p.palette = k.palette;
        p.colour = k.colour;
        const TCursorImage c = Read(IconFile(2, {p}));
        ASSERT_EQ(c.Width, k.width);
        ASSERT_EQ(c.Height, 5);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < k.width; ++x) ASSERT_EQ(At(c, x, y), k.expected(x, y)) << x << "," << y;
    }
}

TEST(CursorFile, ThePictureNearestThirtyTwoWithTheMostColoursIsChosen) {
    const auto solid = [](int side, int bits, std::uint32_t colour) {
        TCursorPicture p;
        p.width = p.height = side;
        p.bits = bits;
        if (bits <= 8) p.palette = {colour & 0xFFFFFF};
        p.colour = [colour, bits](int, int) { return bits <= 8 ? 0u : colour; };
        return p;
    };
    const TCursorImage icon = Read(IconFile(1, {solid(16, 32, 0xFF111111), solid(32, 4, 0x222222),
                                               solid(32, 32, 0xFF333333), solid(48, 32, 0xFF444444)}));
    EXPECT_EQ(icon.Width, 32);
    EXPECT_EQ(At(icon, 0, 0), 0xFF333333u);
    // An icon's hot spot is its centre.
    EXPECT_EQ(icon.HotX, 16);
    EXPECT_EQ(icon.HotY, 16);

    // A picture whose header is damaged is passed over.
    TFileBytes file = IconFile(2, {solid(32, 32, 0xFF555555), solid(16, 32, 0xFF666666)});
    const std::size_t firstImage = 6 + 2 * 16;
    PutAt32(file, firstImage, 7);  // information header size
    EXPECT_EQ(At(Read(file), 0, 0), 0xFF666666u);
}

TEST(CursorFile, PngPicturesAnimatedCursorsAndHotSpotsInside) {
    TCursorPicture png = TrueColour(Gradient);
    png.png = true;
    png.hotX = 3;
    png.hotY = 4;
    const TCursorImage fromPng = Read(IconFile(2, {png}));
    EXPECT_EQ(fromPng.Pixels, Read(IconFile(2, {TrueColour(Gradient)})).Pixels);
    EXPECT_EQ(fromPng.HotX, 3);
    EXPECT_EQ(fromPng.HotY, 4);

    // The first frame of an animated cursor.
    const TFileBytes red = IconFile(2, {TrueColour([](int, int) { return 0xFFFF0000u; })});
    const TFileBytes blue = IconFile(2, {TrueColour([](int, int) { return 0xFF0000FFu; })});
    const TCursorImage ani = Read(AnimatedCursor({red, blue}));
    EXPECT_EQ(At(ani, 10, 10), 0xFFFF0000u);

    // A hot spot outside the picture is kept at its edge.
    const TCursorImage edge = Read(IconFile(2, {Monochrome(40, 2)}));
    EXPECT_EQ(edge.HotX, 31);
    EXPECT_EQ(edge.HotY, 2);
}

TEST(CursorFile, DamagedFilesAreErrors) {
    const TFileBytes good = IconFile(2, {Monochrome(1, 1)});
    const std::size_t entry = 6, image = 6 + 16;
    struct TCase {
        const char* what;
        std::function<void(TFileBytes&)> damage;
    };
    const std::vector<TCase> cases = {
        {"reserved word", [](TFileBytes& b) { b[0] = 1; }},
        {"type", [](TFileBytes& b) { b[2] = 3; }},
        {"no pictures", [](TFileBytes& b) { b[4] = 0; }},
        {"directory past the end", [](TFileBytes& b) { b.resize(6 + 15); }},
        {"offset past the end", [&](TFileBytes& b) { PutAt32(b, entry + 12, static_cast<std::uint32_t>(b.size())); }},
        {"size past the end", [&](TFileBytes& b) { PutAt32(b, entry + 8, 0xFFFFFFF0u); }},
        {"empty picture", [&](TFileBytes& b) { PutAt32(b, entry + 8, 0); }},
        {"short header", [&](TFileBytes& b) { PutAt32(b, image, 12); }},
        {"header past the picture", [&](TFileBytes& b) { PutAt32(b, image, 0x10000); }},
        {"no width", [&](TFileBytes& b) { PutAt32(b, image + 4, 0); }},
        {"too wide", [&](TFileBytes& b) { PutAt32(b, image + 4, 300); }},
        {"negative height", [&](TFileBytes& b) { PutAt32(b, image + 8, 0xFFFFFFC0u); }},
        {"planes", [&](TFileBytes& b) { b[image + 12] = 2; }},
        {"16 bits", [&](TFileBytes& b) { b[image + 14] = 16; }},
        {"compressed", [&](TFileBytes& b) { PutAt32(b, image + 16, 1); }},
        {"palette larger than the depth", [&](TFileBytes& b) { PutAt32(b, image + 32, 3); }},
    };
    for (const TCase& k : cases) {
        SCOPED_TRACE(k.what);
        TFileBytes b = good;
        k.damage(b);
        EXPECT_THROW(Read(b), EVeskError);
    }
    // Every shorter piece of a monochrome cursor (which needs its mask).
    for (std::size_t n = 0; n < good.size(); ++n)
        ASSERT_THROW(Read(TFileBytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n))), EVeskError) << n;

    TCursorPicture png = TrueColour(Gradient);
    png.png = true;
    TFileBytes badPng = IconFile(2, {png});
    for (std::size_t i = badPng.size() - 30; i < badPng.size() - 12; ++i) badPng[i] ^= 0x5A;  // into the pixels
    EXPECT_THROW(Read(badPng), EVeskError);

    TFileBytes noFrames = AnimatedCursor({});
    EXPECT_THROW(Read(noFrames), EVeskError);
    TFileBytes longChunk = AnimatedCursor({good});
    PutAt32(longChunk, 16, 0x7FFFFFFF);  // the header chunk's size
    EXPECT_THROW(Read(longChunk), EVeskError);
    TFileBytes shortRiff = AnimatedCursor({good});
    shortRiff.resize(shortRiff.size() - 10);
    EXPECT_THROW(Read(shortRiff), EVeskError);
}

// The fuzzer starts from these (fuzz/corpus/cursor_file). With
// VESK_WRITE_CURSOR_SEEDS set the test writes them; otherwise the stored
// ones must be exactly what the builder makes and must read.
TEST(CursorFile, FuzzSeedsAreTheBuiltFiles) {
    TCursorPicture png = TrueColour(Gradient);
    png.png = true;
    TCursorPicture small = Monochrome(2, 3);
    small.width = small.height = 8;
    small.masked = [](int x, int) { return x < 4; };
    TCursorPicture four;
    four.bits = 4;
    four.width = 5;
    four.height = 3;
    four.palette = {0x102030, 0x405060};
    four.colour = [](int x, int) { return static_cast<std::uint32_t>(x & 1); };
    const std::vector<std::pair<std::string, TFileBytes>> seeds = {
        {"mono.cur", IconFile(2, {small})},
        {"four.ico", IconFile(1, {four})},
        {"alpha_png.cur", IconFile(2, {TrueColour(Gradient), png})},
        {"anim.ani", AnimatedCursor({IconFile(2, {small}), IconFile(2, {four})})},
    };
    const std::string folder = std::string(VESK_SOURCE_DIR) + "/fuzz/corpus/cursor_file/";
    for (const auto& [name, bytes] : seeds) {
        SCOPED_TRACE(name);
        if (std::getenv("VESK_WRITE_CURSOR_SEEDS"))
            std::ofstream(folder + name, std::ios::binary)
                .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        std::ifstream in(folder + name, std::ios::binary);
        const TFileBytes stored{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        EXPECT_EQ(stored, bytes);
        EXPECT_GT(Read(stored).Width, 0);
    }
}

// A registry with a window that keeps the cursor it shows.
struct CursorScene : TScene {
    platform::THeadlessWindow window;
    TParamCollection vars;

    CursorScene() {
        r.AttachCursorWindow(&window);
        TParamCollection::SetGlobal(&vars);
        Store("mem:hand.cur", IconFile(2, {Monochrome(5, 7)}));
        Store("mem:alpha.cur", IconFile(2, {TrueColour(Gradient)}));
        TFileBytes broken = IconFile(2, {Monochrome(1, 1)});
        broken[2] = 7;
        Store("mem:broken.cur", broken);
    }
    ~CursorScene() override {
        TParamCollection::SetGlobal(nullptr);
        for (const char* name : {"mem:hand.cur", "mem:alpha.cur", "mem:broken.cur"})
            VrFileManager().DeleteMemFile(name);
    }
    static void Store(const std::string& name, const TFileBytes& bytes) {
        TVrFileManager& vfm = VrFileManager();
        if (vfm.ArchiveCount() == 0) vfm.AddMemoryArchive();
        vfm.CreateMemFile(name).Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    }
    void MoveTo(int x, int y) {
        in.MouseMove(x, y);
        Frame();
    }
    // The shown cursor's hot spot, or (-1, -1) for the default arrow.
    std::pair<int, int> Shown() const {
        const platform::THeadlessCursor& c = window.Cursor();
        return c.Width == 0 ? std::pair{-1, -1} : std::pair{c.HotX, c.HotY};
    }
};

TEST_F(CursorScene, HoveringAControlShowsItsCursorAndLeavingRestoresTheArrow) {
    SetStr(Box("hand", 10, 10, 10, 10, 0xFF), PR_CURSOR, "mem:hand.cur");
    MoveTo(1, 1);
    EXPECT_EQ(Shown(), (std::pair{-1, -1}));
    EXPECT_EQ(window.CursorChanges(), 0);  // the arrow was shown already

    MoveTo(12, 12);
    EXPECT_EQ(Shown(), (std::pair{5, 7}));
    EXPECT_EQ(window.Cursor().Pixels, Read(IconFile(2, {Monochrome(5, 7)})).Pixels);
    EXPECT_EQ(r.ActiveBase().CursorName(), "mem:hand.cur");
    MoveTo(14, 13);
    EXPECT_EQ(window.CursorChanges(), 1);  // loaded once, not in every frame

    MoveTo(40, 40);
    EXPECT_EQ(Shown(), (std::pair{-1, -1}));
    EXPECT_EQ(window.CursorChanges(), 2);
}

TEST_F(CursorScene, TheGameWideCursorServesWhereNoControlSetsOne) {
    SetStr(Box("hand", 10, 10, 10, 10, 0xFF), PR_CURSOR, "mem:hand.cur");
    vars.Cursor = "mem:alpha.cur";
    MoveTo(40, 40);
    EXPECT_EQ(window.Cursor().Pixels, Read(IconFile(2, {TrueColour(Gradient)})).Pixels);
    MoveTo(12, 12);
    EXPECT_EQ(Shown(), (std::pair{5, 7}));
    MoveTo(40, 40);
    EXPECT_EQ(Shown(), (std::pair{0, 0}));
}

TEST_F(CursorScene, MissingOrDamagedFilesShowTheArrowWithoutError) {
    SetStr(Box("hand", 0, 0, 10, 10, 0xFF), PR_CURSOR, "mem:hand.cur");
    SetStr(Box("broken", 20, 0, 10, 10, 0xFF), PR_CURSOR, "mem:broken.cur");
    SetStr(Box("missing", 40, 0, 10, 10, 0xFF), PR_CURSOR, "mem:nowhere.cur");
    for (int x : {25, 45}) {
        MoveTo(5, 5);
        ASSERT_EQ(Shown(), (std::pair{5, 7}));
        const int changes = window.CursorChanges();
        MoveTo(x, 5);
        EXPECT_EQ(Shown(), (std::pair{-1, -1})) << x;
        MoveTo(x + 1, 6);
        EXPECT_EQ(window.CursorChanges(), changes + 1) << x;  // not tried again while it stays
    }
}

// The window has one cursor for both bases: after a switch it shows what
// the new active base chooses, and back again what the old one chose.
TEST_F(CursorScene, SwitchingTheActiveBaseShowsItsOwnChoice) {
    SetStr(Box("hand", 10, 10, 10, 10, 0xFF), PR_CURSOR, "mem:hand.cur");
    MoveTo(12, 12);
    ASSERT_EQ(Shown(), (std::pair{5, 7}));
    r.SetActiveIndex(1);
    MoveTo(13, 12);
    EXPECT_EQ(Shown(), (std::pair{-1, -1}));
    r.SetActiveIndex(0);
    MoveTo(12, 12);
    EXPECT_EQ(Shown(), (std::pair{5, 7}));
}

}  // namespace
}  // namespace vesk::test
