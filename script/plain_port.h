#pragma once

#include <map>
#include <memory>
#include <string>

#include "components/registry/readlist.h"
#include "components/registry/scriptport.h"

namespace vesk {

// A component port without components: named objects that only hold the
// property values scripts give them. Headless runs and tests of the
// interpreter use it to post events from a named sender and to exercise
// GetProp, SetProp and ObjDel; the component registry replaces it in the
// player.
class TPlainComponentPort final : public TComponentPort {
public:
    TPlainComponentPort();
    ~TPlainComponentPort() override;

    // Creates an object of that name (or answers the existing one).
    TObjectId AddObject(const std::string& name);

    TTimerList& EventQueue() override { return queue_; }
    TVeskReadList& ReadMarks() override { return readMarks_; }
    TObjectId FindComponent(const std::string& name) override;
    bool Exists(TObjectId id) override;
    std::string NameOf(TObjectId id) override;
    void GetProp(TCustomParam& dest, TObjectId id, int prop) override;
    void SetProp(TObjectId id, int prop, TCustomParam& value) override;
    void DeleteComponent(TObjectId id) override;
    void DeleteAll() override;

private:
    struct Object;
    std::map<TObjectId, std::unique_ptr<Object>> objects_;
    TTimerList queue_;
    TVeskReadList readMarks_;
    TObjectId next_ = 1;
};

}  // namespace vesk
