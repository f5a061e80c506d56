// A picture of the whole X screen, taken with ImageMagick's import from
// inside a Wine test, for windows whose look the tests keep.
#pragma once

#include <string>

// Saves BINARY_DIR/artifacts/name (PNG); waits for the file (30 s at most).
// Nothing when the command cannot start.
void TakeScreenPicture(const std::string& binaryDir, const std::string& name);
