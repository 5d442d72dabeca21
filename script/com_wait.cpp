#include "script/com_wait.h"

#include <cstring>
#include <string>

#include "common/stream_io.h"
#include "script/callman.h"

namespace vesk {

int ReadStateVersion(TStream& s) {
    char head[7];
    const std::int64_t got = s.Read(head, 7);
    if (got != 7 || std::memcmp(head, "vesk", 4) != 0) {
        s.Seek(-got, SeekOrigin::Current);
        return 0;
    }
    int version = 0;
    for (int i = 4; i < 7; ++i) {
        if (head[i] < '0' || head[i] > '9') return 0;
        version = version * 10 + (head[i] - '0');
    }
    return version;
}

void WriteStateVersion(TStream& s, int version) {
    const std::string head = "vesk" + std::to_string(version % 1000 + 1000).substr(1);
    s.WriteBuffer(head.data(), 7);
}

void TComWait::Enter(TCallMan&) {
    Remaining = OpInt(Time, 0);
    FirstPass = 1;
    HoldEvents = OpBool(Hold, false);
}

void TComWait::Execute(TCallMan& cm) {
    const TCustomParam* condition = EvalOp(Condition);
    if (condition && !condition->AsBool()) {
        ++cm.CommandIndex;
        return;
    }
    if (Remaining != 0) {
        if (FirstPass > 0) {
            --FirstPass;
        } else {
            Remaining -= cm.Host().LastFrameMs();
            if (Remaining <= 0) {
                ++cm.CommandIndex;
                return;
            }
        }
    }
    cm.RunOn = false;
}

void TComWait::SaveState(TStream& s) {
    WriteStateVersion(s);
    WriteInt32(s, Remaining);
    WriteInt32(s, FirstPass);
    WriteFlag(s, HoldEvents);
}

void TComWait::LoadState(TStream& s) {
    const int version = ReadStateVersion(s);
    Remaining = ReadInt32(s);
    FirstPass = ReadInt32(s);
    if (version >= 100) HoldEvents = ReadFlag(s);
}

void TComTerminate::Execute(TCallMan& cm) {
    cm.Host().SetQuitRequested(true);
    cm.Host().PostClose();
}

}  // namespace vesk
