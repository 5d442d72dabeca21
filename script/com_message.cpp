#include "script/com_message.h"

#include "common/stream_io.h"
#include "components/registry/readlist.h"
#include "script/callman.h"
#include "script/com_wait.h"

namespace vesk {

void TComTextIns::Enter(TCallMan&) {
    HoldEvents = OpBool(Hold, false);
    Waiting = false;
}

void TComTextIns::SaveState(TStream& s) {
    WriteStateVersion(s);
    // The box's name; no box is ever the target here.
    WriteString(s, "");
    WriteFlag(s, Waiting);
    WriteFlag(s, HoldEvents);
}

void TComTextIns::LoadState(TStream& s) {
    const int version = ReadStateVersion(s);
    // A box named here is looked up as a message box, which none is.
    (void)ReadString(s);
    Waiting = ReadFlag(s);
    if (version >= 100) HoldEvents = ReadFlag(s);
}

void TComClrRead::Execute(TCallMan& cm) {
    ++cm.CommandIndex;
    cm.Components().ReadMarks().Clear();
}

}  // namespace vesk
