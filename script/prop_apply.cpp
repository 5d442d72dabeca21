#include "script/prop_apply.h"

#include "components/properties/creation_order.h"
#include "components/properties/propids.h"
#include "components/properties/propnames.h"
#include "components/registry/vbaselist.h"
#include "values/params.h"

namespace vesk {

namespace {

std::uint8_t TypeKind(std::int32_t) { return PT_INT; }
std::uint8_t TypeKind(bool) { return PT_BOOL; }
std::uint8_t TypeKind(const std::string&) { return PT_STR; }

// The type the property's accessors take; the value kind table declares a
// few event properties as flags although they hold page names.
std::uint8_t AccessorKind(int prop) {
    switch (prop) {
#define VESK_ACCESSOR_KIND(id, Name, Type, Default) \
    case id: return TypeKind(TProp##Type{});
        VESK_PROPERTIES(VESK_ACCESSOR_KIND)
#undef VESK_ACCESSOR_KIND
        default: return PropertyKind(prop);
    }
}

// Properties a creation command never sets: read-only values, the
// particles' own expressions, and the kind.
bool NeverApplied(int prop) {
    switch (prop) {
        case PR_CARETX: case PR_CARETY: case PR_APPEARX: case PR_APPEARY: case PR_PLAYING:
        case PR_COMPOTYPE: case PR_PLUSX: case PR_PLUSY: case PR_CARETHEIGHT:
            return true;
        default:
            return false;
    }
}

}  // namespace

std::unique_ptr<TCustomParam> AbsentPropertyValue(int prop) {
    std::unique_ptr<TCustomParam> v = CreateParam(AccessorKind(prop));
    if (!v) v = CreateParam(PT_INT);
    switch (prop) {
        case PR_ZOOMX: case PR_ZOOMY: case PR_TEXTDELAY: v->SetInt(256); break;
        case PR_COLOR: case PR_BORDERCOLOR: case PR_HOVERCOLOR: v->SetInt(-1); break;
        case PR_ALPHA: v->SetInt(255); break;
        case PR_FONTHEIGHT: v->SetInt(16); break;
        case PR_VOLUME: v->SetInt(1000); break;
        case PR_WAVELEN: v->SetInt(100); break;
        case PR_COLCOUNT: case PR_ROWCOUNT: case PR_AMP: case PR_SMALLCHANGE: case PR_LARGECHANGE:
        case PR_GLYPHWIDTH: case PR_GLYPHHEIGHT:
            v->SetInt(1);
            break;
        case PR_VISIBLE: case PR_OVERLAY: v->SetBool(true); break;
        default: break;  // the fresh value of its kind is 0, 0.0, false or ""
    }
    return v;
}

void ApplyPropertySet(TVeskObject& obj, const TPropertySet& props, TVeskBaseList& registry) {
    for (const std::uint8_t prop : CreationOrder()) {
        const TOpList& op = props[prop];
        if (!op) continue;
        std::unique_ptr<TCustomParam> absent;
        const TCustomParam* value = EvalOp(op);
        if (!value) value = (absent = AbsentPropertyValue(prop)).get();
        if (NeverApplied(prop)) continue;
        switch (prop) {
            case PR_NAME: {
                // Without a name the automatic one stays.
                const std::string name = value->AsStr();
                if (!name.empty()) obj.SetName(name);
                break;
            }
            case PR_PARENT: {
                TVeskControl* parent = registry.FindControl(value->AsStr());
                obj.SetParent(parent ? parent : &registry.ActiveBase());
                break;
            }
            case PR_LEFT:
                obj.BeforeApplyLeft();
                SetProp(obj, prop, *value);
                break;
            default:
                SetProp(obj, prop, *value);
                break;
        }
    }
    obj.AppliedProperties();
}

}  // namespace vesk
