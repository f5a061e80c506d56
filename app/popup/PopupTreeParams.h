// The look of a popup tree (style sheet, colours, row spacing, two markup
// prefixes), copied by value into every popup of one tree.
//
// The style sheet is not owned; copies share the two prefix strings.
#pragma once

#include <cstdint>

#include "base/object/AString.h"

class AStyleSheet;

struct PopupTreeParams {
    // The value of rendererColor3 that leaves the renderer's colour alone.
    static const uint32_t kNoColour = 0xFE000000;

    PopupTreeParams() = default;
    PopupTreeParams(AStyleSheet* sheet, uint32_t viewBack, uint32_t viewText, uint32_t renderer2, uint32_t renderer1,
                    uint32_t frameBack, int32_t height, int32_t gap, uint32_t renderer3, const char* mark,
                    const char* heading)
        : styleSheet(sheet), viewBackColor(viewBack), viewTextColor(viewText), rendererColor2(renderer2),
          rendererColor1(renderer1), frameBackColor(frameBack), rendererColor3(renderer3), rowHeight(height),
          rowGap(gap), markPrefix(mark ? mark : ""), headingPrefix(heading ? heading : "") {}

    AStyleSheet* styleSheet = nullptr;  // not owned
    uint32_t viewBackColor = 0xC0C0C0;
    uint32_t viewTextColor = 0;
    uint32_t rendererColor2 = 0x808080;
    uint32_t rendererColor1 = 0xFFFFFF;
    uint32_t frameBackColor = 0xC0C0C0;
    uint32_t rendererColor3 = kNoColour;
    int32_t rowHeight = 0;  // pixels; 0 keeps the renderer's spacing
    int32_t rowGap = 0;     // pixels added below each row
    AString markPrefix = "/!6!/";
    AString headingPrefix = "/5";
};
