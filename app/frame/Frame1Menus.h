// What the main window hands to and takes from its menus: the parameters of
// a popup tree, the print and export menus the tool pane owns, and the tool
// pane's refresh of them.
#pragma once

#include <cstdint>

#include "base/object/AString.h"

class AStyleSheet;

// How a popup tree looks: its style sheet (not owned), colours and sizes,
// and its two line markers.
struct PopupTreeParams {
    PopupTreeParams() = default;
    PopupTreeParams(AStyleSheet* sheet_, uint32_t back, uint32_t frame, uint32_t text, uint32_t current,
                    uint32_t hilite, long lineHeight_, long margin_, uint32_t separator, const char* lineMarker_,
                    const char* currentMarker_)
        : sheet(sheet_), colors{back, frame, text, current, hilite, separator}, lineHeight(lineHeight_),
          margin(margin_), lineMarker(lineMarker_), currentMarker(currentMarker_) {}

    AStyleSheet* sheet = nullptr;
    uint32_t colors[6] = {};  // in the constructor's order, the separator last
    long lineHeight = 0;
    long margin = 0;
    AString lineMarker;
    AString currentMarker;
};

// A print or export menu of the tool pane.
class AFrameMenu {
public:
    virtual ~AFrameMenu() = default;
    virtual void clear() = 0;
    virtual void addEntry(const AString& text, bool enabled) = 0;
};

// The tool pane: asked to refresh its menus, it calls Frame1::updatePrintMenus.
class AFrameMenuRefresher {
public:
    virtual ~AFrameMenuRefresher() = default;
    virtual void refreshMenus() = 0;
};
