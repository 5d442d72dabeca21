#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "transitions/mask_source.h"

namespace vesk {

class TFenkCollection;

// The mask pictures of the registry's transitions: the project's files,
// read through the process-wide virtual file manager and unscrambled with
// the identification code the registry's image cache holds (read at each
// use, since the project sets it after the registry is made).
class TVrMaskSource final : public TWipeMaskSource {
public:
    explicit TVrMaskSource(const TFenkCollection& images) : images_(images) {}

    bool Exists(const std::string& name) override;
    std::unique_ptr<TStream> Open(const std::string& name) override;
    std::int32_t IdCode() const override;

private:
    const TFenkCollection& images_;
};

}  // namespace vesk
