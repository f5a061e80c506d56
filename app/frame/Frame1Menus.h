// What the main window hands to and takes from its menus: the parameters of
// a popup tree (app/popup), the print and export menus the tool pane owns,
// and the tool pane's refresh of them.
#pragma once

#include <cstdint>

#include "app/popup/PopupTreeParams.h"
#include "base/object/AString.h"

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
