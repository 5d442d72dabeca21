#include "values/sysvars.h"

#include <algorithm>
#include <numbers>
#include <optional>

#include "common/cp932.h"
#include "common/error.h"
#include "common/sjis.h"
#include "values/expr_scan.h"
#include "values/param_convert.h"

namespace vesk {

namespace {

using TScalar = TParamSystemVar::TScalar;

// The kind of each system variable; "@Result" and "@Temp" take the kind of
// what they forward to.
constexpr std::uint8_t kKinds[kSystemVariableCount] = {
    PT_NONE,  PT_BOOL,  PT_BOOL, PT_BOOL,  PT_BOOL,  PT_INT,   PT_INT,  PT_INT,  PT_INT,  PT_INT,   // 0-9
    PT_STR,   PT_STR,   PT_INT,  PT_INT,   PT_INT,   PT_INT,   PT_INT,  PT_INT,  PT_INT,  PT_INT,   // 10-19
    PT_INT,   PT_INT,   PT_INT,  PT_INT,   PT_STR,   PT_STR,   PT_BOOL, PT_STR,  PT_STR,  PT_INT,   // 20-29
    PT_FLOAT, PT_BOOL,  PT_FLOAT, PT_FLOAT, PT_FLOAT, PT_BOOL, PT_BOOL, PT_INT,  PT_INT,  PT_STR,   // 30-39
    PT_BOOL,  PT_STR,   PT_BOOL, PT_INT,   PT_NONE,  PT_STR,   PT_STR,  PT_BOOL, PT_BOOL, PT_BOOL,  // 40-49
};

TScalar IntValue(std::int32_t v) { return {PT_INT, v, 0, false, {}}; }
TScalar FloatValue(Extended x) { return {PT_FLOAT, 0, x, false, {}}; }
TScalar BoolValue(bool b) { return {PT_BOOL, 0, 0, b, {}}; }
TScalar StrValue(std::string s) { return {PT_STR, 0, 0, false, std::move(s)}; }

std::int32_t ReadAsInt(const TScalar& v) {
    switch (v.Kind) {
        case PT_FLOAT: return FloatToInt(v.Float);
        case PT_BOOL: return v.Bool ? 1 : 0;
        case PT_STR: return StrToIntOr0(v.Str);
        default: return v.Int;
    }
}

Extended ReadAsFloat(const TScalar& v) {
    switch (v.Kind) {
        case PT_FLOAT: return v.Float;
        case PT_BOOL: return v.Bool ? 1 : 0;
        case PT_STR: return StrToIntOr0(v.Str);  // the integer parse, as the variables always read
        default: return v.Int;
    }
}

bool ReadAsBool(const TScalar& v) {
    switch (v.Kind) {
        case PT_FLOAT: return v.Float != 0;
        case PT_BOOL: return v.Bool;
        case PT_STR: return !v.Str.empty();
        default: return v.Int != 0;
    }
}

std::string ReadAsStr(const TScalar& v) {
    switch (v.Kind) {
        case PT_FLOAT: return FloatToText(v.Float);
        case PT_BOOL: return BoolToText(v.Bool);
        case PT_STR: return v.Str;
        default: return IntToText(v.Int);
    }
}

// A written value converted to the variable's kind; nothing when a text does
// not parse, which leaves the variable unchanged.
std::optional<TScalar> ConvertForWrite(const TScalar& v, std::uint8_t kind) {
    switch (kind) {
        case PT_INT: {
            if (v.Kind != PT_STR) return IntValue(ReadAsInt(v));
            std::int32_t i;
            if (!TryParseInt(v.Str, i)) return std::nullopt;
            return IntValue(i);
        }
        case PT_FLOAT: {
            if (v.Kind != PT_STR) return FloatValue(ReadAsFloat(v));
            Extended x;
            if (!TryParseFloat(v.Str, x)) return std::nullopt;
            return FloatValue(x);
        }
        case PT_BOOL:
            if (v.Kind == PT_STR) return BoolValue(StrToIntOr0(v.Str) != 0);
            return BoolValue(ReadAsBool(v));
        default: return StrValue(ReadAsStr(v));
    }
}

}  // namespace

// ---- dispatch ---------------------------------------------------------------

std::uint8_t TParamSystemVar::Which() const {
    if (Index() >= kSystemVariableCount) throw EVeskError(Sj("内部エラー"));
    return Index();
}

bool TParamSystemVar::Forwards() const {
    const std::uint8_t which = Which();
    return which == SV_RESULT || which == SV_TEMP;
}

// The value "@Result" or "@Temp" stands for, or nullptr. A "@Temp" whose
// target leads back to itself (directly or through references) has none.
TCustomParam* TParamSystemVar::Target() const {
    if (forwarding_) return nullptr;
    if (Which() == SV_RESULT) return sources_.Call().Result();
    if (table_.TempTarget.empty()) return nullptr;
    TParamCollectionItem* item = table_.Find(table_.TempTarget);
    return item ? item->ValuePtr() : nullptr;
}

template <typename R, typename F>
R TParamSystemVar::Forward(R fallback, F&& op) const {
    TCustomParam* target = Target();
    if (!target) return fallback;
    forwarding_ = true;
    struct TReset {
        bool& Flag;
        ~TReset() { Flag = false; }
    } reset{forwarding_};
    return op(*target);
}

template <typename F>
void TParamSystemVar::ForwardWrite(F&& op) {
    Forward(0, [&](TCustomParam& t) {
        op(t);
        return 0;
    });
}

TScalar TParamSystemVar::Read(int element, bool indexed) const {
    const std::uint8_t which = Which();
    TSysInputSource& input = sources_.Input();
    switch (which) {
        case SV_LCLICK: return BoolValue(input.LClick());
        case SV_RCLICK: return BoolValue(input.RClick());
        case SV_LPUSH: return BoolValue(input.LPush());
        case SV_RPUSH: return BoolValue(input.RPush());
        case SV_MOUSEX: return IntValue(input.MouseX());
        case SV_MOUSEY: return IntValue(input.MouseY());
        case SV_TEXTDELAY: return IntValue(table_.TextDelay);
        case SV_HISTORYCOUNT: return IntValue(sources_.History().HistoryCount());
        case SV_PARAMCOUNT: return IntValue(sources_.Call().ParamCount());
        case SV_PARAMSTR: {
            // Read as a scalar the parameter list is "", whatever it holds.
            if (!indexed || element < 0 || element >= sources_.Call().ParamCount()) return StrValue({});
            return StrValue(sources_.Call().ParamStr(element));
        }
        case SV_SENDER: return StrValue(sources_.Call().Sender());
        case SV_SCRWIDTH: return IntValue(sources_.Project().ScrWidth());
        case SV_SCRHEIGHT: return IntValue(sources_.Project().ScrHeight());
        case SV_TICKCOUNT: return IntValue(sources_.Clock().TickCount());
        case SV_PCTICKCOUNT: return IntValue(sources_.Clock().PCTickCount());
        case SV_UPDATECOUNT: return IntValue(sources_.Clock().UpdateCount());
        case SV_YEAR: return IntValue(sources_.LocalTime().Year);
        case SV_MONTH: return IntValue(sources_.LocalTime().Month);
        case SV_DAY: return IntValue(sources_.LocalTime().Day);
        case SV_WEEK: return IntValue(sources_.LocalTime().Week);
        case SV_HOUR: return IntValue(sources_.LocalTime().Hour);
        case SV_MIN: return IntValue(sources_.LocalTime().Min);
        case SV_SEC: return IntValue(sources_.LocalTime().Sec);
        case SV_FONTS: return StrValue(JoinFontNames(sources_.Fonts().FaceNames(false)));
        case SV_FIXEDFONTS: return StrValue(JoinFontNames(sources_.Fonts().FaceNames(true)));
        case SV_FULLSCR: return BoolValue(sources_.Display().FullScreen());
        case SV_CURSOR: return StrValue(table_.Cursor);
        case SV_SELSTR: return StrValue(table_.SelStr);
        case SV_SELINDEX: return IntValue(table_.SelIndex);
        case SV_PI: return FloatValue(std::numbers::pi_v<Extended>);
        case SV_CGDITHER: return BoolValue(sources_.Display().CGDither());
        case SV_1HOUR: return FloatValue(1.0L / 24);
        case SV_1MIN: return FloatValue(1.0L / 1440);
        case SV_1SEC: return FloatValue(1.0L / 86400);
        case SV_KEYPUSH:
        case SV_KEYCLICK:
        case SV_KEYREPEAT: {
            if (!indexed || element < 0 || element >= kKeyStateCount) return BoolValue(false);
            if (which == SV_KEYPUSH) return BoolValue(input.KeyPush(element));
            if (which == SV_KEYCLICK) return BoolValue(input.KeyClick(element));
            return BoolValue(input.KeyRepeat(element));
        }
        case SV_DISPLAYMODECOUNT: return IntValue(sources_.Display().DisplayModeCount());
        case SV_DISPLAYMODEINDEX: return IntValue(sources_.Display().DisplayModeIndex());
        case SV_TITLE: return StrValue(sources_.Project().Title());
        case SV_SOUNDON: return BoolValue(sources_.Sound().SoundOn());
        case SV_ACTIVECOMPO: return StrValue(input.ActiveCompo());
        case SV_HISTORYMAXCOUNT: return IntValue(sources_.History().HistoryMaxCount());
        case SV_MIDIPORT: return StrValue(sources_.Sound().MidiPort());
        case SV_MIDIPORTS: {
            // Read as a scalar the port list answers its first port.
            const int i = indexed ? element : 0;
            if (i < 0 || i >= sources_.Sound().MidiPortCount()) return StrValue({});
            return StrValue(sources_.Sound().MidiPortName(i));
        }
        case SV_WHEELDOWN: return BoolValue(input.WheelDown());
        case SV_WHEELUP: return BoolValue(input.WheelUp());
        case SV_ISDEBUG: return BoolValue(false);
        default: throw EVeskError(Sj("内部エラー"));  // the forwarding ones never get here
    }
}

void TParamSystemVar::Write(const TScalar& value) {
    const std::uint8_t which = Which();
    const std::optional<TScalar> v = ConvertForWrite(value, kKinds[which]);
    if (!v) return;
    TSysInputSource& input = sources_.Input();
    switch (which) {
        case SV_LCLICK: input.SetLClick(v->Bool); return;
        case SV_RCLICK: input.SetRClick(v->Bool); return;
        case SV_MOUSEX: input.SetMouseX(v->Int); return;
        case SV_MOUSEY: input.SetMouseY(v->Int); return;
        case SV_TEXTDELAY: table_.TextDelay = v->Int; return;
        case SV_FULLSCR: sources_.Display().SetFullScreen(v->Bool); return;
        case SV_CURSOR: table_.Cursor = v->Str; return;
        case SV_SELSTR: table_.SelStr = v->Str; return;
        case SV_SELINDEX: table_.SelIndex = v->Int; return;
        case SV_CGDITHER: sources_.Display().SetCGDither(v->Bool); return;
        case SV_DISPLAYMODEINDEX: sources_.Display().SetDisplayModeIndex(v->Int); return;
        case SV_SOUNDON: sources_.Sound().SetSoundOn(v->Bool); return;
        case SV_ACTIVECOMPO: input.SetActiveCompo(v->Str); return;
        case SV_HISTORYMAXCOUNT: sources_.History().SetHistoryMaxCount(v->Int); return;
        case SV_MIDIPORT: sources_.Sound().SetMidiPort(v->Str); return;
        // Read-only: a script assigning them changes nothing and is not told.
        case SV_LPUSH: case SV_RPUSH: case SV_HISTORYCOUNT: case SV_PARAMCOUNT: case SV_PARAMSTR:
        case SV_SENDER: case SV_SCRWIDTH: case SV_SCRHEIGHT: case SV_TICKCOUNT: case SV_PCTICKCOUNT:
        case SV_UPDATECOUNT: case SV_YEAR: case SV_MONTH: case SV_DAY: case SV_WEEK: case SV_HOUR:
        case SV_MIN: case SV_SEC: case SV_FONTS: case SV_FIXEDFONTS: case SV_PI: case SV_1HOUR:
        case SV_1MIN: case SV_1SEC: case SV_KEYPUSH: case SV_KEYCLICK: case SV_DISPLAYMODECOUNT:
        case SV_TITLE: case SV_KEYREPEAT: case SV_MIDIPORTS: case SV_WHEELDOWN: case SV_WHEELUP:
        case SV_ISDEBUG:
            return;
        default: throw EVeskError(Sj("内部エラー"));
    }
}

// ---- value operations -------------------------------------------------------

int TParamSystemVar::Count() const {
    if (Forwards()) return Forward(1, [](TCustomParam& t) { return t.Count(); });
    switch (Which()) {
        case SV_PARAMSTR: return std::max(0, sources_.Call().ParamCount());
        case SV_KEYPUSH: case SV_KEYCLICK: case SV_KEYREPEAT: return kKeyStateCount;
        case SV_MIDIPORTS: return std::max(0, sources_.Sound().MidiPortCount());
        default: return 1;
    }
}

std::uint8_t TParamSystemVar::Kind() const {
    if (Which() == SV_RESULT) return forwarding_ ? PT_NONE : sources_.Call().ResultKind();
    if (Which() == SV_TEMP) return Forward(PT_NONE, [](TCustomParam& t) { return t.Kind(); });
    return kKinds[Which()];
}

bool TParamSystemVar::AsBool() const {
    if (Forwards()) return Forward(false, [](TCustomParam& t) { return t.AsBool(); });
    return ReadAsBool(Read(0, false));
}
Extended TParamSystemVar::AsFloat() const {
    if (Forwards()) return Forward(Extended(0), [](TCustomParam& t) { return t.AsFloat(); });
    return ReadAsFloat(Read(0, false));
}
std::int32_t TParamSystemVar::AsInt() const {
    if (Forwards()) return Forward(0, [](TCustomParam& t) { return t.AsInt(); });
    return ReadAsInt(Read(0, false));
}
std::string TParamSystemVar::AsStr() const {
    if (Forwards()) return Forward(std::string(), [](TCustomParam& t) { return t.AsStr(); });
    return ReadAsStr(Read(0, false));
}

void TParamSystemVar::SetBool(bool b) {
    if (Forwards()) return ForwardWrite([&](TCustomParam& t) { t.SetBool(b); });
    Write(BoolValue(b));
}
void TParamSystemVar::SetFloat(Extended x) {
    if (Forwards()) return ForwardWrite([&](TCustomParam& t) { t.SetFloat(x); });
    Write(FloatValue(x));
}
void TParamSystemVar::SetInt(std::int32_t i) {
    if (Forwards()) return ForwardWrite([&](TCustomParam& t) { t.SetInt(i); });
    Write(IntValue(i));
}
void TParamSystemVar::SetStr(const std::string& s) {
    if (Forwards()) return ForwardWrite([&](TCustomParam& t) { t.SetStr(s); });
    Write(StrValue(s));
}

std::int32_t TParamSystemVar::GetIntAt(int i) const {
    if (Forwards()) return Forward(0, [&](TCustomParam& t) { return t.GetIntAt(i); });
    return ReadAsInt(Read(i, true));
}
Extended TParamSystemVar::GetFloatAt(int i) const {
    if (Forwards()) return Forward(Extended(0), [&](TCustomParam& t) { return t.GetFloatAt(i); });
    return ReadAsFloat(Read(i, true));
}
bool TParamSystemVar::GetBoolAt(int i) const {
    if (Forwards()) return Forward(false, [&](TCustomParam& t) { return t.GetBoolAt(i); });
    return ReadAsBool(Read(i, true));
}
std::string TParamSystemVar::GetStrAt(int i) const {
    if (Forwards()) return Forward(std::string(), [&](TCustomParam& t) { return t.GetStrAt(i); });
    return ReadAsStr(Read(i, true));
}

// Element writes of the own variables: every writable one is a scalar, so
// the index does not matter.
void TParamSystemVar::SetIntAt(int i, std::int32_t v) {
    if (Forwards()) return ForwardWrite([&](TCustomParam& t) { t.SetIntAt(i, v); });
    Write(IntValue(v));
}
void TParamSystemVar::SetFloatAt(int i, Extended x) {
    if (Forwards()) return ForwardWrite([&](TCustomParam& t) { t.SetFloatAt(i, x); });
    Write(FloatValue(x));
}
void TParamSystemVar::SetBoolAt(int i, bool b) {
    if (Forwards()) return ForwardWrite([&](TCustomParam& t) { t.SetBoolAt(i, b); });
    Write(BoolValue(b));
}
void TParamSystemVar::SetStrAt(int i, const std::string& s) {
    if (Forwards()) return ForwardWrite([&](TCustomParam& t) { t.SetStrAt(i, s); });
    Write(StrValue(s));
}

int TParamSystemVar::DimCount() const {
    if (Forwards()) return Forward(1, [](TCustomParam& t) { return t.DimCount(); });
    return 1;
}
int TParamSystemVar::DimSize(int d) const {
    if (Forwards()) return Forward(1, [&](TCustomParam& t) { return t.DimSize(d); });
    return d == 0 ? Count() : 1;
}

// Shape operations reach only a forwarded value; the own variables' answers
// come from their owners and cannot be reshaped.
void TParamSystemVar::SetCount(int n) {
    if (Forwards()) ForwardWrite([&](TCustomParam& t) { t.SetCount(n); });
}
void TParamSystemVar::Assign(const TCustomParam& src) {
    if (Forwards()) ForwardWrite([&](TCustomParam& t) { t.Assign(src); });
}
void TParamSystemVar::SetDims(const std::vector<std::int32_t>& dims) {
    if (Forwards()) ForwardWrite([&](TCustomParam& t) { t.SetDims(dims); });
}
void TParamSystemVar::FillInt(std::int32_t v) {
    if (Forwards()) ForwardWrite([&](TCustomParam& t) { t.FillInt(v); });
}
void TParamSystemVar::FillFloat(Extended x) {
    if (Forwards()) ForwardWrite([&](TCustomParam& t) { t.FillFloat(x); });
}
void TParamSystemVar::FillBool(bool b) {
    if (Forwards()) ForwardWrite([&](TCustomParam& t) { t.FillBool(b); });
}
void TParamSystemVar::FillStr(const std::string& s) {
    if (Forwards()) ForwardWrite([&](TCustomParam& t) { t.FillStr(s); });
}
void TParamSystemVar::CopyMem(const TCustomParam& src) {
    if (Forwards()) ForwardWrite([&](TCustomParam& t) { t.CopyMem(src); });
}
void TParamSystemVar::ClearDims() {
    if (Forwards()) ForwardWrite([](TCustomParam& t) { t.ClearDims(); });
}

int TParamSystemVar::IndexOfStr(const std::string& text, bool caseSensitive, bool partial) const {
    if (Forwards()) return Forward(-1, [&](TCustomParam& t) { return t.IndexOfStr(text, caseSensitive, partial); });
    return TCustomParam::IndexOfStr(text, caseSensitive, partial);
}

// ---- helpers ----------------------------------------------------------------

TSystemParamFactory SystemVariableFactory(TSystemSources& sources) {
    return [&sources](TParamCollection& table, std::uint8_t index) -> std::unique_ptr<TParamSystem> {
        return std::make_unique<TParamSystemVar>(index, table, sources);
    };
}

std::string JoinFontNames(std::vector<std::string> names) {
    std::stable_sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const std::string la = SjisLower(a), lb = SjisLower(b);
        return la != lb ? la < lb : a < b;
    });
    std::string joined;
    for (const auto& name : names) joined += name + "\r\n";
    return TrimBlanks(joined);
}

}  // namespace vesk
