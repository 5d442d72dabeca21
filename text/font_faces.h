#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <tuple>

namespace vesk {

// Where an outline font lies: its file and the face's index in it.
struct TFontFile {
    std::string Path;
    int Index = 0;

    friend bool operator==(const TFontFile&, const TFontFile&) = default;
};

// The face name every game may ask for and every missing face falls back
// to ("ＭＳ ゴシック", Shift-JIS).
const std::string& DefaultFaceName();

// Finds the installed font for a face name (Shift-JIS) in the wanted weight
// and slant; nullopt when no installed face has that name.
class TFontFaceResolver {
public:
    virtual ~TFontFaceResolver() = default;
    virtual std::optional<TFontFile> Resolve(const std::string& faceName, bool bold, bool italic) = 0;
};

// The resolver over fontconfig. The Japanese faces of the platform games
// were made on ("ＭＳ ゴシック", "ＭＳ Ｐゴシック", "ＭＳ 明朝", "ＭＳ Ｐ明朝",
// "ＭＳ UI Gothic" and their Latin spellings) are the IPA faces; any other
// name is asked of fontconfig as it is, and counts as installed only when
// the face found carries that family name. Answers are kept per name.
class TFontconfigResolver : public TFontFaceResolver {
public:
    TFontconfigResolver();
    ~TFontconfigResolver() override;

    std::optional<TFontFile> Resolve(const std::string& faceName, bool bold, bool italic) override;

private:
    struct TConfig;
    std::unique_ptr<TConfig> config_;
    std::map<std::tuple<std::string, bool, bool>, std::optional<TFontFile>> known_;
};

// The fontconfig family (UTF-8) that stands in for a face name (Shift-JIS):
// an IPA face for the platform's Japanese faces, else the name itself.
std::string FamilyForFaceName(const std::string& faceName);

}  // namespace vesk
