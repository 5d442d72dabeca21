#include "components/registry/vr_mask_source.h"

#include "archive/vrfiles.h"
#include "components/registry/fenkcollection.h"

namespace vesk {

bool TVrMaskSource::Exists(const std::string& name) { return VrFileManager().Exists(name); }

std::unique_ptr<TStream> TVrMaskSource::Open(const std::string& name) {
    auto data = std::make_unique<TMemoryStream>();
    VrFileManager().Read(name, *data);
    return data;
}

std::int32_t TVrMaskSource::IdCode() const { return images_.IdCode; }

}  // namespace vesk
