#include "components/kinds/kinds.h"

#include <map>

#include "common/cp932.h"
#include "components/properties/propids.h"

namespace vesk {

namespace {

struct KindInfo {
    const char* name;
    const char* label;  // UTF-8 here, handed out in Shift-JIS
};

constexpr KindInfo kKinds[kKindCount] = {
    {"LT_NONE", "なし"},
    {"LT_AUDIO", "オーディオ"},
    {"LT_BOX", "矩形サーフェス"},
    {"LT_BUTTON", "ボタン"},
    {"LT_CINEMA", "シネマサーフェス"},
    {"LT_EDIT", "エディット"},
    {"LT_FIRE", "炎サーフェス"},
    {"LT_HTTP", "HTTP"},
    {"LT_IMAGES", "画像サーフェス"},
    {"LT_LABEL", "キャプション"},
    {"LT_MAP", "マップ"},
    {"LT_MEMO", "メモ"},
    {"LT_MENU", "メニュー"},
    {"LT_MES", "メッセージボックス"},
    {"LT_PARTICLE", "パーティクルサーフェス"},
    {"LT_TIMER", "タイマー"},
    {"LT_VIDEO", "ムービー"},
    {"LT_SOUND", "サウンド"},
    {"LT_MAPIMG", "選択画像"},
    {"LT_WAVE", "ウェーブサーフェス"},
    {"LT_TILE", "タイルサーフェス"},
    {"LT_SLIDER", "スライダー"},
    {"LT_SCROLLBAR", "スクロールバー"},
    {"LT_GAUGE", "ゲージ"},
    {"LT_CGLABEL", "画像キャプション"},
    {"LT_PREVMENU", "プレビューメニュー"},
    {"LT_PROPMOTION", "プロパティモーション"},
    {"LT_CABINET", "キャビネット"},
};

const std::string& Converted(const char* utf8) {
    // Few distinct labels, asked for rarely (the authoring side, the debug
    // tree): convert each once and keep it.
    static std::map<const char*, std::string> cache;
    auto it = cache.find(utf8);
    if (it == cache.end()) it = cache.emplace(utf8, Sj(utf8)).first;
    return it->second;
}

const std::string& Empty() {
    static const std::string none;
    return none;
}

template <std::size_t N>
const std::string& Pick(const char* const (&labels)[N], int value) {
    return value >= 0 && value < static_cast<int>(N) ? Converted(labels[value]) : Empty();
}

}  // namespace

const char* ComponentKindName(int kind) { return kind >= 0 && kind < kKindCount ? kKinds[kind].name : "?"; }

const std::string& ComponentKindLabel(int kind) {
    return kind >= 0 && kind < kKindCount ? Converted(kKinds[kind].label) : Empty();
}

const std::string& ValueLabel(int prop, int value) {
    static constexpr const char* kFontStyles[] = {"太字", "斜体", "下線", "抹消線"};
    static constexpr const char* kInputModes[] = {"通常", "全て無視", "クリックを無視", "左クリックを無視",
                                                  "右クリックを無視"};
    static constexpr const char* kHAligns[] = {"左寄せ", "中央寄せ", "右寄せ"};
    static constexpr const char* kVAligns[] = {"上寄せ", "中央寄せ", "下寄せ"};
    static constexpr const char* kOrientations[] = {"水平", "垂直"};
    static constexpr const char* kMotions[] = {"停止", "ゆらゆら落下", "放射", "ゆらゆら上昇", "竜巻"};
    switch (prop) {
        case PR_FONTSTYLE:
        case PR_FONTHOVERSTYLE: return Pick(kFontStyles, value);
        case PR_IGNOREMOUSE: return Pick(kInputModes, value);
        case PR_HALIGN:
        case PR_BORDERHALIGNT:
        case PR_BORDERHALIGNC:
        case PR_BORDERHALIGNB: return Pick(kHAligns, value);
        case PR_BORDERVALIGNL:
        case PR_BORDERVALIGNC:
        case PR_BORDERVALIGNR: return Pick(kVAligns, value);
        case PR_ORIENTATION: return Pick(kOrientations, value);
        case PR_PARTMOTION: return Pick(kMotions, value);
        default: return Empty();
    }
}

}  // namespace vesk
