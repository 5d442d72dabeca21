#include "script/component_create.h"

#include "components/propids.h"
#include "components/vbaselist.h"
#include "components/vobject.h"
#include "values/params.h"

namespace vesk {

namespace {

// Properties a creation command never applies: they are computed by the
// component or only read.
bool NeverApplied(int prop) {
    switch (prop) {
        case PR_CARETX: case PR_CARETY: case PR_APPEARX: case PR_APPEARY: case PR_PLAYING:
        case PR_COMPOTYPE: case PR_PLUSX: case PR_PLUSY: case PR_CARETHEIGHT: return true;
        default: return false;
    }
}

std::unique_ptr<TCustomParam> AbsentValue(int prop) {
    switch (PropertyKind(prop)) {
        case 4: return std::make_unique<TParamStr>();
        case 2: {
            auto v = std::make_unique<TParamFloat>();
            v->SetFloat(AbsentPropertyDefault(prop));
            return v;
        }
        case 3: {
            auto v = std::make_unique<TParamBool>();
            v->SetBool(AbsentPropertyDefault(prop) != 0);
            return v;
        }
        default: {
            auto v = std::make_unique<TParamInt>();
            v->SetInt(static_cast<std::int32_t>(AbsentPropertyDefault(prop)));
            return v;
        }
    }
}

}  // namespace

Extended AbsentPropertyDefault(int prop) {
    switch (prop) {
        case PR_ZOOMX: case PR_ZOOMY: return 256;
        case PR_COLOR: case PR_BORDERCOLOR: case PR_HOVERCOLOR: return -1;
        case PR_ALPHA: return 255;
        case PR_FONTHEIGHT: return 16;
        case PR_VOLUME: return 1000;
        case PR_TEXTDELAY: return 256;
        case PR_COLCOUNT: case PR_ROWCOUNT: case PR_AMP: case PR_SMALLCHANGE: case PR_LARGECHANGE:
        case PR_GLYPHWIDTH: case PR_GLYPHHEIGHT: return 1;
        case PR_WAVELEN: return 100;
        case PR_VISIBLE: case PR_OVERLAY: return 1;
        default: return 0;
    }
}

void ApplyPropertySet(TVeskObject& obj, TVeskBaseList& registry, const TPropertySet& props) {
    for (const std::uint8_t prop : CreationOrder()) {
        const TOpList& op = props[prop];
        if (!op || NeverApplied(prop)) continue;
        TCustomParam* value = EvalOp(op);
        std::unique_ptr<TCustomParam> absent;
        if (!value) value = (absent = AbsentValue(prop)).get();
        switch (prop) {
            case PR_NAME:
                if (const std::string name = value->AsStr(); !name.empty()) obj.SetName(name);
                break;
            case PR_PARENT: {
                TVeskControl* parent = nullptr;
                if (const std::string name = value->AsStr(); !name.empty()) parent = registry.FindControl(name);
                obj.SetParent(parent ? parent : &registry.ActiveBase());
                break;
            }
            case PR_LEFT:
                obj.BeforeApplyLeft();
                SetProp(obj, prop, *value);
                break;
            default: SetProp(obj, prop, *value);
        }
    }
    obj.AppliedProperties();
}

}  // namespace vesk
