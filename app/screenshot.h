#pragma once

#include <string>

namespace vesk {

class TDIBX;

// One "--screenshot FRAME:FILE.png": the presented frame after that frame
// step goes to the file.
struct TScreenshotRequest {
    int Frame = 0;
    std::string File;  // native path
};

// Parses "FRAME:FILE"; false for a missing or bad frame number or an empty
// file name.
bool ParseScreenshotArg(const std::string& arg, TScreenshotRequest& out);

// Writes the frame as a PNG file; raises EVeskError when it cannot be written.
void SaveScreenshot(const TDIBX& frame, const std::string& path);

}  // namespace vesk
