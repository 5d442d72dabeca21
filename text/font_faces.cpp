#include "text/font_faces.h"

#include <fontconfig/fontconfig.h>

#include <array>
#include <string_view>

#include "common/cp932.h"
#include "common/sjis.h"

namespace vesk {

namespace {

struct TFaceAlias {
    const char* Name;  // UTF-8, compared as Shift-JIS
    std::string_view Family;
};

// The platform's Japanese faces and the IPA faces drawn to the same
// metrics: fixed-pitch and proportional Gothic and Mincho.
constexpr std::array<TFaceAlias, 14> kAliases{{
    {"ＭＳ ゴシック", "IPAGothic"},
    {"ＭＳ Ｐゴシック", "IPAPGothic"},
    {"ＭＳ 明朝", "IPAMincho"},
    {"ＭＳ Ｐ明朝", "IPAPMincho"},
    {"ＭＳ UI Gothic", "IPAPGothic"},
    {"ＭＳ　ゴシック", "IPAGothic"},
    {"ＭＳ　Ｐゴシック", "IPAPGothic"},
    {"ＭＳ　明朝", "IPAMincho"},
    {"ＭＳ　Ｐ明朝", "IPAPMincho"},
    {"MS Gothic", "IPAGothic"},
    {"MS PGothic", "IPAPGothic"},
    {"MS Mincho", "IPAMincho"},
    {"MS PMincho", "IPAPMincho"},
    {"MS UI Gothic", "IPAPGothic"},
}};

template <class T, void (*Free)(T*)>
struct TFcDeleter {
    void operator()(T* p) const { Free(p); }
};
using TPatternPtr = std::unique_ptr<FcPattern, TFcDeleter<FcPattern, FcPatternDestroy>>;

// Family names as fontconfig compares them: blanks and ASCII case do not count.
std::string FamilyKey(std::string_view name) {
    std::string out;
    for (const char c : name)
        if (c != ' ') out.push_back(c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c);
    return out;
}

}  // namespace

const std::string& DefaultFaceName() { return Sj("ＭＳ ゴシック"); }

std::string FamilyForFaceName(const std::string& faceName) {
    for (const TFaceAlias& a : kAliases)
        if (SjisSameText(faceName, Sj(a.Name))) return std::string(a.Family);
    return SjisToUtf8(faceName);
}

// A configuration of our own, so the library's process-wide state is never
// touched and the fonts are scanned once per resolver.
struct TFontconfigResolver::TConfig {
    std::unique_ptr<FcConfig, TFcDeleter<FcConfig, FcConfigDestroy>> Config{FcInitLoadConfigAndFonts()};
};

TFontconfigResolver::TFontconfigResolver() : config_(std::make_unique<TConfig>()) {}

TFontconfigResolver::~TFontconfigResolver() = default;

std::optional<TFontFile> TFontconfigResolver::Resolve(const std::string& faceName, bool bold, bool italic) {
    const auto key = std::make_tuple(faceName, bold, italic);
    if (const auto it = known_.find(key); it != known_.end()) return it->second;
    std::optional<TFontFile> found;
    const std::string family = FamilyForFaceName(faceName);
    FcConfig* config = config_->Config.get();
    TPatternPtr pattern(FcPatternCreate());
    if (config && pattern && !family.empty()) {
        const auto* familyText = reinterpret_cast<const FcChar8*>(family.c_str());
        FcPatternAddString(pattern.get(), FC_FAMILY, familyText);
        FcPatternAddString(pattern.get(), FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
        FcPatternAddInteger(pattern.get(), FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
        FcPatternAddInteger(pattern.get(), FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
        FcConfigSubstitute(config, pattern.get(), FcMatchPattern);
        FcDefaultSubstitute(pattern.get());
        FcResult result = FcResultNoMatch;
        TPatternPtr match(FcFontMatch(config, pattern.get(), &result));
        // fontconfig always offers its nearest face; only one of the family
        // asked for counts, so a missing face falls back where the caller
        // says instead of to whatever fontconfig liked best.
        bool sameFamily = false;
        FcChar8* name = nullptr;
        for (int i = 0; match && FcPatternGetString(match.get(), FC_FAMILY, i, &name) == FcResultMatch; ++i)
            sameFamily = sameFamily || FamilyKey(reinterpret_cast<const char*>(name)) == FamilyKey(family);
        FcChar8* file = nullptr;
        int index = 0;
        if (sameFamily && FcPatternGetString(match.get(), FC_FILE, 0, &file) == FcResultMatch) {
            FcPatternGetInteger(match.get(), FC_INDEX, 0, &index);
            found = TFontFile{reinterpret_cast<const char*>(file), index};
        }
    }
    known_.emplace(key, found);
    return found;
}

}  // namespace vesk
