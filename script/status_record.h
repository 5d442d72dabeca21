#pragma once

#include <cstdint>
#include <string>

#include "common/stream.h"

namespace vesk {

class TParamCollection;
class TVeskReadList;

// The "STATUSSAVEDATA" entry of "save.dat": the data that survives every
// game. After a nine-byte head ("Status" and the version in three digits)
// come the status variables, the read marks, the layered-image collection
// and the status tables.
constexpr std::int32_t kStatusVersion = 103;

// Reads the head: the version, or 0 for a record without head (then the
// stream is back at its start). A head whose digits are no number gives 0.
std::int32_t ReadStatusHead(TStream& s);

// The parts after the read marks that belong to owners this player does not
// have. A record read at start-up keeps its parts, so that writing it
// back at close loses nothing a fuller player stored; a record of another
// version, or none, gets each part in its empty form.
class TStatusTail {
public:
    // Remembers what follows the read marks in a record of version.
    void Keep(TStream& s, std::int32_t version);
    void Write(TStream& s) const;

private:
    std::string bytes_;
    bool kept_ = false;
};

// Reads a whole record into the status variables and the read marks and
// keeps the rest in tail. A damaged record raises EStreamError; the read
// marks are then left as they were.
void ReadStatusRecord(TStream& s, TParamCollection& vars, TVeskReadList& marks, TStatusTail& tail);

// A fresh record of the current version.
void WriteStatusRecord(TStream& s, const TParamCollection& vars, const TVeskReadList& marks,
                       const TStatusTail& tail);

}  // namespace vesk
