// Which colour palette belongs to which window-level component, for
// 256-colour screens: the application's table chooses a component's palette
// (its window's, else the application's), keeps the application's palette as
// the current one, and realises palettes on the palette messages. Disabled
// (every operation does nothing) on screens with more colours.
//
// The table never deletes a palette: they belong to whoever registered them.
#pragma once

#include <windows.h>

#include "base/object/ALongDic.h"

class AComponent;
class AClass;

class APaletteTable {
public:
    // app: the application object, root of the tree (not owned).
    explicit APaletteTable(AComponent* app);
    ~APaletteTable();
    APaletteTable(const APaletteTable&) = delete;
    APaletteTable& operator=(const APaletteTable&) = delete;

    void setEnabled(bool on) { enabled_ = on; }
    bool isEnabled() const { return enabled_; }
    void setToolBar(AComponent* toolBar) { toolBar_ = toolBar; }
    // Whether pictures follow the application's palette: mapped to it when
    // realised, and realised again when it changes.
    void setRebuildsImages(bool on) { rebuildsImages_ = on; }
    bool rebuildsImages() const { return rebuildsImages_; }

    AComponent* paletteOwner(AComponent* c) const;
    void setPalette(AComponent* c, HPALETTE palette);
    void removePalette(AComponent* c, HPALETTE palette);
    // A component going away takes its entry (and the current palette) with it.
    void componentDeleted(AComponent* c);
    bool hasPalette(AComponent* c) const;
    HPALETTE paletteFor(AComponent* c, bool resolveOwner) const;
    // WM_QUERYNEWPALETTE (background false) and WM_PALETTECHANGED (true): whether colours changed.
    bool realize(AComponent* c, bool background);
    bool selectAndRealize(HDC dc, HPALETTE palette, bool background) const;
    // Components whose own palette operation (ADisplaySite::realizePalette,
    // values are ADisplaySite pointers) is asked first when realising.
    longa_pvoidAVLMap& handlers() { return handlers_; }

    // The application's table that displays consult, or null.
    static APaletteTable* active() { return active_; }
    static void setActive(APaletteTable* table) { active_ = table; }
    // The process-wide current palette.
    static HPALETTE currentPalette() { return current_; }

private:
    HPALETTE entry(AComponent* c) const;
    void setCurrent(HPALETTE palette);
    // The application's own palette changes: pictures follow when they map to it.
    void changeApplicationPalette(HPALETTE palette);

    AComponent* app_;             // not owned
    AComponent* toolBar_;         // not owned
    longa_pvoidAVLMap palettes_;  // component -> HPALETTE
    longa_pvoidAVLMap handlers_;  // component -> ADisplaySite (not owned)
    bool enabled_;
    bool rebuildsImages_ = false;

    static APaletteTable* active_;
    static HPALETTE current_;
};
