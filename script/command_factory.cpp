#include "script/com_component.h"
#include "script/com_flip.h"
#include "script/com_flow.h"
#include "script/com_media.h"
#include "script/com_message.h"
#include "script/com_reset.h"
#include "script/com_save.h"
#include "script/com_vars.h"
#include "script/com_wait.h"

namespace vesk {

namespace {

template <typename T>
std::unique_ptr<TCommand> Make(TPage* page) {
    return std::make_unique<T>(page);
}

using Maker = std::unique_ptr<TCommand> (*)(TPage*);

// Indexed by kind code.
constexpr Maker kMakers[kCommandKindCount] = {
    Make<TComIf>, Make<TComElseif>, Make<TComElse>, Make<TComLabel>, Make<TComJump>,
    Make<TComCall>, Make<TComExit>, Make<TComWait>, Make<TComBoxNew>, Make<TComImgNew>,
    Make<TComMesNew>, Make<TComTimer>, Make<TComMovie>, Make<TComFlip>, Make<TComCalc>,
    Make<TComVarNew>, Make<TComVarDel>, Make<TComGetProp>, Make<TComSetProp>, Make<TComObjDel>,
    Make<TComTextIns>, Make<TComMovieStop>, Make<TComClrHist>, Make<TComCinema>, Make<TComCaption>,
    Make<TComMenu>, Make<TComMenuClose>, Make<TComComment>, Make<TComTextClr>, Make<TComCallHist>,
    Make<TComBtnNew>, Make<TComWhile>, Make<TComWhileInit>, Make<TComWhileLoop>, Make<TComBreak>,
    Make<TComContinue>, Make<TComParticleNew>, Make<TComFireNew>, Make<TComGameSave>, Make<TComGameLoad>,
    Make<TComPCReset>, Make<TComReset>, Make<TComSound>, Make<TComEditNew>, Make<TComMemoNew>,
    Make<TComTerminate>, Make<TComDoEvent>, Make<TComClrRead>, Make<TComMapImgNew>, Make<TComWaveNew>,
    Make<TComTileNew>, Make<TComSliderNew>, Make<TComScrollbarNew>, Make<TComGaugeNew>, Make<TComCGCaption>,
    Make<TComMediaPlay>, Make<TComPrevMenuNew>, Make<TComPropMotion>, Make<TComEntryHist>,
    Make<TComCabinetSave>, Make<TComCabinetLoad>,
};

}  // namespace

std::unique_ptr<TCommand> CreateCommand(std::uint8_t kind, TPage* page) {
    if (kind >= kCommandKindCount) return nullptr;
    std::unique_ptr<TCommand> c = kMakers[kind](page);
    return c;
}

}  // namespace vesk
