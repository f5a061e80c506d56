// A picture of the whole X screen, taken with ImageMagick's import from
// inside a Wine test, for windows whose look the tests keep.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// Saves BINARY_DIR/artifacts/name (PNG); waits for the file (30 s at most).
// Nothing when the command cannot start.
void TakeScreenPicture(const std::string& binaryDir, const std::string& name);

// The screen's pixels inside a rectangle of screen coordinates, row after
// row, each 0xRRGGBB; empty for an empty rectangle. With a window, its
// pixels inside a rectangle of its client coordinates, read through its own
// DC (the way to another desktop's windows, which the screen's DC does not show).
std::vector<uint32_t> ScreenPixels(const RECT& area, HWND window = nullptr);
