// The application's palette table.
#include "framework/graphics/APaletteTable.h"

#include "base/object/AObject.h"
#include "framework/components/AComponent.h"
#include "framework/graphics/ADisplaySite.h"
#include "framework/graphics/AImage.h"
#include "framework/graphics/AUpdateWatch.h"

APaletteTable* APaletteTable::active_ = nullptr;
HPALETTE APaletteTable::current_ = nullptr;

namespace {

long Key(AComponent* c) {
    return static_cast<long>(reinterpret_cast<uintptr_t>(c));
}

HWND WindowOf(AComponent* c) {
    ADisplaySite* site = ADisplaySite::of(c);
    return site ? site->siteWindow() : nullptr;
}

}  // namespace

APaletteTable::APaletteTable(AComponent* app) : app_(app), toolBar_(nullptr), enabled_(false) {}

APaletteTable::~APaletteTable() {
    if (active_ == this)
        active_ = nullptr;
}

AComponent* APaletteTable::paletteOwner(AComponent* c) const {
    const AClass* window = AClass::findByName("AWindow");
    if (window && c) {
        if (c->isKindOf(window))
            return c;
        if (AComponent* w = c->findAncestor(window))
            return w;
    }
    if (toolBar_ && c && (c == toolBar_ || c->isDescendantOf(toolBar_)))
        return toolBar_;
    return app_;
}

HPALETTE APaletteTable::entry(AComponent* c) const {
    Pix p = palettes_.seek(Key(c));
    return p ? static_cast<HPALETTE>(palettes_.contentsOf(p)) : nullptr;
}

void APaletteTable::setCurrent(HPALETTE palette) {
    current_ = palette;
}

void APaletteTable::changeApplicationPalette(HPALETTE palette) {
    setCurrent(palette);
    if (rebuildsImages_)
        _AImage::rebuildAll();
}

void APaletteTable::setPalette(AComponent* c, HPALETTE palette) {
    if (!enabled_ || !palette)
        return;
    AComponent* owner = paletteOwner(c);
    palettes_.slot(Key(owner)) = palette;
    if (owner == app_ && current_ != palette)
        changeApplicationPalette(palette);
}

void APaletteTable::removePalette(AComponent* c, HPALETTE palette) {
    if (!enabled_)
        return;
    AComponent* owner = paletteOwner(c);
    if (!palettes_.contains(Key(owner)) || entry(owner) != palette)
        return;
    palettes_.removeKey(Key(owner));
    if (owner == app_ && current_ == palette)
        changeApplicationPalette(nullptr);
}

void APaletteTable::componentDeleted(AComponent* c) {
    handlers_.removeKey(Key(c));
    if (!palettes_.contains(Key(c)))
        return;
    if (current_ == entry(c))
        setCurrent(nullptr);
    palettes_.removeKey(Key(c));
}

bool APaletteTable::hasPalette(AComponent* c) const {
    return palettes_.contains(Key(c));
}

HPALETTE APaletteTable::paletteFor(AComponent* c, bool resolveOwner) const {
    if (resolveOwner)
        c = paletteOwner(c);
    if (palettes_.contains(Key(c)))
        return entry(c);
    return entry(app_);
}

bool APaletteTable::realize(AComponent* c, bool background) {
    if (!enabled_)
        return false;
    Pix handler = handlers_.seek(Key(c));
    if (handler && handlers_.contentsOf(handler)) {
        auto* site = static_cast<ADisplaySite*>(handlers_.contentsOf(handler));
        if (site->realizePalette(background))
            return true;
    }
    HWND window = WindowOf(c);
    if (!window)
        return false;
    HPALETTE palette = palettes_.contains(Key(c)) ? entry(c) : entry(app_);
    bool changed = false;
    if (palette) {
        HDC dc = GetDC(window);
        changed = selectAndRealize(dc, palette, background);
        ReleaseDC(window, dc);
    }
    if (changed || background) {
        AUpdateWatch::touch();
        InvalidateRect(window, nullptr, TRUE);
    }
    return changed;
}

bool APaletteTable::selectAndRealize(HDC dc, HPALETTE palette, bool background) const {
    if (!dc || !enabled_)
        return false;
    HPALETTE old = SelectPalette(dc, palette, background);
    UINT n = RealizePalette(dc);
    SelectPalette(dc, old, TRUE);
    RealizePalette(dc);
    return n != 0;
}
