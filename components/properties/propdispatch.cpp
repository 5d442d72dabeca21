#include "common/cp932.h"
#include "common/error.h"
#include "components/properties/propids.h"
#include "components/registry/vbaselist.h"

namespace vesk {

namespace {

void Put(TCustomParam& dest, std::int32_t v) { dest.SetInt(v); }
void Put(TCustomParam& dest, bool v) { dest.SetBool(v); }
void Put(TCustomParam& dest, const std::string& v) { dest.SetStr(v); }

TPropInt ReadInt(const TCustomParam& v) { return v.AsInt(); }
TPropBool ReadBool(const TCustomParam& v) { return v.AsBool(); }
TPropStr ReadStr(const TCustomParam& v) { return v.AsStr(); }

// Grid cells of the frame alignments and slots of the particle parameters.
constexpr int kHAlignCell[] = {1, 4, 7};
constexpr int kVAlignCell[] = {3, 4, 5};

int ParamSlot(int prop) { return prop == PR_PARAM1 ? 0 : prop == PR_PARAM2 ? 1 : 2; }

}  // namespace

void GetProp(TCustomParam& dest, TVeskObject& obj, int prop) {
    switch (prop) {
        case PR_NAME: return dest.SetStr(obj.Name());
        case PR_PARENT: {
            const TVeskControl* parent = obj.Parent();
            return dest.SetStr(parent ? parent->Name() : std::string());
        }
        case PR_PRIORITY: return dest.SetInt(obj.Priority());
        case PR_TAG: return dest.SetStr(obj.Tag());
        case PR_COMPOTYPE: return dest.SetInt(obj.CompoType());
        case PR_CARETX: return dest.SetInt(obj.GetCaretPos().first);
        case PR_CARETY: return dest.SetInt(obj.GetCaretPos().second);
        case PR_APPEARX:
        case PR_APPEARY: return dest.SetInt(0);
        case PR_PARAM1:
        case PR_PARAM2:
        case PR_PARAM3: return dest.SetFloat(obj.GetParam(ParamSlot(prop)));
#define VESK_GET_CASE(id, Name, Type, Default) \
    case id: return Put(dest, obj.Get##Name());
        VESK_PROPERTIES(VESK_GET_CASE)
        VESK_READONLY_PROPERTIES(VESK_GET_CASE)
#undef VESK_GET_CASE
        default: break;
    }
    if (prop >= PR_BORDERSOURCETL && prop <= PR_BORDERSOURCEBR)
        return dest.SetStr(obj.GetBorderSource(prop - PR_BORDERSOURCETL));
    if (prop >= PR_BORDERHALIGNT && prop <= PR_BORDERHALIGNB)
        return dest.SetInt(obj.GetBorderHAlign(kHAlignCell[prop - PR_BORDERHALIGNT]));
    if (prop >= PR_BORDERVALIGNL && prop <= PR_BORDERVALIGNR)
        return dest.SetInt(obj.GetBorderVAlign(kVAlignCell[prop - PR_BORDERVALIGNL]));
    throw EVeskError(Sj("GetPropエラー"));
}

void SetProp(TVeskObject& obj, int prop, const TCustomParam& value) {
    switch (prop) {
        case PR_NAME: return obj.SetName(value.AsStr());
        case PR_PARENT: {
            // A name that matches no control leaves the parent unchanged.
            TVeskBaseList* owner = obj.Owner();
            if (TVeskControl* parent = owner ? owner->FindControl(value.AsStr()) : nullptr) obj.SetParent(parent);
            return;
        }
        case PR_PRIORITY: return obj.SetPriority(value.AsInt());
        case PR_TAG: return obj.SetTag(value.AsStr());
        case PR_PARAM1:
        case PR_PARAM2:
        case PR_PARAM3: return obj.SetParam(ParamSlot(prop), value.AsFloat());
        case PR_CARETX:
        case PR_CARETY:
        case PR_COMPOTYPE: return;
#define VESK_SET_CASE(id, Name, Type, Default) \
    case id: return obj.Set##Name(Read##Type(value));
        VESK_PROPERTIES(VESK_SET_CASE)
#undef VESK_SET_CASE
#define VESK_IGNORE_CASE(id, Name, Type, Default) \
    case id: return;
        VESK_READONLY_PROPERTIES(VESK_IGNORE_CASE)
#undef VESK_IGNORE_CASE
        default: break;
    }
    if (prop >= PR_BORDERSOURCETL && prop <= PR_BORDERSOURCEBR)
        return obj.SetBorderSource(prop - PR_BORDERSOURCETL, value.AsStr());
    if (prop >= PR_BORDERHALIGNT && prop <= PR_BORDERHALIGNB)
        return obj.SetBorderHAlign(kHAlignCell[prop - PR_BORDERHALIGNT], value.AsInt());
    if (prop >= PR_BORDERVALIGNL && prop <= PR_BORDERVALIGNR)
        return obj.SetBorderVAlign(kVAlignCell[prop - PR_BORDERVALIGNL], value.AsInt());
    // Ids out of range, and PR_APPEARX / PR_APPEARY, which no script may write.
    throw EVeskError(Sj("SetPropエラー"));
}

}  // namespace vesk
