// The optional log library: receives the interpreter's trace lines and
// writes them to the file named at VeskLogInit ("dbglog.txt" beside the
// player), one line each, converted to UTF-8 so any editor reads them.

#include <cstdio>
#include <mutex>
#include <string>

#include "common/cp932.h"
#include "plugin/vesk/vesk_api.h"

namespace {

std::mutex logLock;
std::FILE* logFile = nullptr;

}  // namespace

extern "C" {

void VeskLogInit(const char* path) {
    std::lock_guard<std::mutex> guard(logLock);
    if (logFile) std::fclose(logFile);
    // A fresh trace per run; a file that cannot be made just means no trace.
    logFile = path ? std::fopen(path, "wb") : nullptr;
}

void VeskLogWrite(const char* text) {
    if (!text) return;
    std::lock_guard<std::mutex> guard(logLock);
    if (!logFile) return;
    std::string line = vesk::SjisToUtf8(text);
    if (line.empty() || line.back() != '\n') line += '\n';
    std::fwrite(line.data(), 1, line.size(), logFile);
    // Flushed per line: the trace matters most when the player dies next.
    std::fflush(logFile);
}

void VeskLogFinal(void) {
    std::lock_guard<std::mutex> guard(logLock);
    if (logFile) std::fclose(logFile);
    logFile = nullptr;
}

}  // extern "C"
