#pragma once

#include <memory>
#include <string>
#include <vector>

#include "common/stream.h"
#include "values/ope_data.h"
#include "values/params.h"

namespace vesk {

class TParamCollection;

// An operation list: the stored, compiled form of an expression or command
// argument. Evaluate runs it over a variable table; when its last operation
// assigns "____arg", Result holds a copy of that value afterwards.
class TVeskParser {
public:
    TVeskParser() = default;
    TVeskParser(const TVeskParser&) = delete;
    TVeskParser& operator=(const TVeskParser&) = delete;

    int Count() const { return static_cast<int>(ops_.size()); }
    TOpeData& Item(int i) const { return *ops_.at(static_cast<std::size_t>(i)); }
    TOpeData& Add(std::unique_ptr<TOpeData> op);
    TOpeData& Add(std::uint8_t ope, std::string dest, std::uint8_t funcIndex = 0);
    void Clear();

    // 32-bit count, then each operation.
    void LoadFromStream(TStream& s);
    void SaveToStream(TStream& s) const;
    void Assign(const TVeskParser& other);

    // Runs the list. The first error ends it silently; the temporaries this
    // run created are deleted whatever happened. Uses the process-wide
    // table when none is given.
    void Evaluate(TParamCollection& vars);
    void Evaluate();

    // The value of "____arg" after the last evaluation, or nullptr.
    TCustomParam* Result() const { return result_.get(); }
    std::unique_ptr<TCustomParam> TakeResult() { return std::move(result_); }
    // The text of the error that ended the last evaluation ("" when it ran
    // to its end). Scripts never see it; tools and tests do.
    const std::string& LastError() const { return lastError_; }

private:
    std::vector<std::unique_ptr<TOpeData>> ops_;
    std::unique_ptr<TCustomParam> result_;
    std::string lastError_;
};

}  // namespace vesk
