#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "values/param_collection.h"
#include "values/params.h"
#include "values/sysvar_sources.h"

namespace vesk {

// Index of each system variable: the order of creation in the variable
// table and the byte a system value holds.
enum TSystemVariable : std::uint8_t {
    SV_RESULT, SV_LCLICK, SV_RCLICK, SV_LPUSH, SV_RPUSH, SV_MOUSEX, SV_MOUSEY, SV_TEXTDELAY,
    SV_HISTORYCOUNT, SV_PARAMCOUNT, SV_PARAMSTR, SV_SENDER, SV_SCRWIDTH, SV_SCRHEIGHT, SV_TICKCOUNT,
    SV_PCTICKCOUNT, SV_UPDATECOUNT, SV_YEAR, SV_MONTH, SV_DAY, SV_WEEK, SV_HOUR, SV_MIN, SV_SEC,
    SV_FONTS, SV_FIXEDFONTS, SV_FULLSCR, SV_CURSOR, SV_SELSTR, SV_SELINDEX, SV_PI, SV_CGDITHER,
    SV_1HOUR, SV_1MIN, SV_1SEC, SV_KEYPUSH, SV_KEYCLICK, SV_DISPLAYMODECOUNT, SV_DISPLAYMODEINDEX,
    SV_TITLE, SV_SOUNDON, SV_ACTIVECOMPO, SV_KEYREPEAT, SV_HISTORYMAXCOUNT, SV_TEMP, SV_MIDIPORT,
    SV_MIDIPORTS, SV_WHEELDOWN, SV_WHEELUP, SV_ISDEBUG,
};

// The three key arrays hold one flag per virtual-key code plus the wheel.
constexpr int kKeyStateCount = 258;

// A system variable's value: computes its answer on every access. "@Result"
// and "@Temp" forward every operation to another value; the others have a
// fixed kind, convert between kinds by the rules below, ignore writes when
// read-only, and answer indexed reads with their scalar value unless they
// are arrays ("@ParamStr", "@MidiPorts", the key arrays).
//
// Reads as another kind: an integer as flag when not zero, as real exactly,
// as decimal text; a real as integer truncated, as flag when not zero, in
// the general text format; a flag as 0 or 1 and "TRUE"/"FALSE"; a string as
// integer and as real through the integer parse (0 when it fails), as flag
// when not empty.
// Writes with another kind: into an integer, a string is parsed as an
// integer and a failed parse changes nothing, a real is truncated, a flag is
// 0 or 1; into a real, a string is parsed as a real (unchanged on failure);
// into a flag, a string is parsed as an integer (0 on failure) and is true
// when not zero; into a string, numbers and flags as their text.
class TParamSystemVar final : public TParamSystem {
public:
    TParamSystemVar(std::uint8_t index, TParamCollection& table, TSystemSources& sources)
        : TParamSystem(index), table_(table), sources_(sources) {}

    int Count() const override;
    void SetCount(int n) override;
    std::uint8_t Kind() const override;
    bool AsBool() const override;
    Extended AsFloat() const override;
    std::int32_t AsInt() const override;
    std::string AsStr() const override;
    void SetBool(bool b) override;
    void SetFloat(Extended x) override;
    void SetInt(std::int32_t i) override;
    void SetStr(const std::string& s) override;
    std::int32_t GetIntAt(int i) const override;
    void SetIntAt(int i, std::int32_t v) override;
    Extended GetFloatAt(int i) const override;
    void SetFloatAt(int i, Extended x) override;
    bool GetBoolAt(int i) const override;
    void SetBoolAt(int i, bool b) override;
    std::string GetStrAt(int i) const override;
    void SetStrAt(int i, const std::string& s) override;
    int DimCount() const override;
    int DimSize(int d) const override;
    void Assign(const TCustomParam& src) override;
    void SetDims(const std::vector<std::int32_t>& dims) override;
    void FillInt(std::int32_t v) override;
    void FillFloat(Extended x) override;
    void FillBool(bool b) override;
    void FillStr(const std::string& s) override;
    void CopyMem(const TCustomParam& src) override;
    void ClearDims() override;
    int IndexOfStr(const std::string& text, bool caseSensitive, bool partial) const override;

    // One element's value in the variable's own kind.
    struct TScalar {
        std::uint8_t Kind = PT_INT;
        std::int32_t Int = 0;
        Extended Float = 0;
        bool Bool = false;
        std::string Str;
    };

private:
    std::uint8_t Which() const;
    bool Forwards() const;
    TCustomParam* Target() const;
    template <typename R, typename F>
    R Forward(R fallback, F&& op) const;
    template <typename F>
    void ForwardWrite(F&& op);

    TScalar Read(int element, bool indexed) const;
    void Write(const TScalar& value);

    TParamCollection& table_;
    TSystemSources& sources_;
    mutable bool forwarding_ = false;  // breaks "@Temp" cycles
};

// The factory the variable table uses to create its system variables.
TSystemParamFactory SystemVariableFactory(TSystemSources& sources);

// "@Fonts" and "@FixedFonts": the face names sorted case-insensitively,
// joined by CR LF, trimmed.
std::string JoinFontNames(std::vector<std::string> names);

}  // namespace vesk
