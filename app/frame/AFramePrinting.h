// The main window's print and export commands, installed by the application
// (gFramePrinting, not owned by the frame). Without one the frame prints and
// exports nothing and answers its handled value.
#pragma once

#include <cstdint>

class ACommand;
class Frame1;
class SVPane;

class AFramePrinting {
public:
    virtual ~AFramePrinting() = default;
    virtual ACommand* printCommand(Frame1& frame, int16_t mode) = 0;
    virtual ACommand* printDocument(Frame1& frame, int16_t mode, SVPane* pane) = 0;
    virtual void exportCommand(Frame1& frame) = 0;
    virtual void exportRtf(Frame1& frame) = 0;
};

extern AFramePrinting* gFramePrinting;
