// The application's window-update lock, its cursor and its brush caches.
#include <windows.h>

#include "base/procedural/AError.h"
#include "base/procedural/AOutStream.h"
#include "framework/app/AApp.h"
#include "framework/app/ACursor.h"
#include "framework/display/ADisplayComponent.h"
#include "framework/graphics/AImage.h"

void AApp::lockWindowUpdate(ADisplayComponent* component) {
    if (!component) {
        if (locked_) {
            LockWindowUpdate(nullptr);
            locked_ = nullptr;
        }
        return;
    }
    if (locked_) {
        if (locked_ != component)
            CurrentErrorStream().writeString("#Cannot nest LockWindowUpdate() calls\n");
        return;
    }
    HWND window = component->enclosingWindow();
    if (!IsWindow(window))
        ThrowAssert("fappli", 1790);
    locked_ = component;
    LockWindowUpdate(window);
}

bool AApp::isUpdateLocked(ADisplayComponent* component) const {
    if (!locked_)
        return false;
    for (AComponent* c = component; c; c = c->getParent()) {
        if (c == locked_)
            return true;
    }
    return false;
}

int16_t AApp::setCursor(int16_t id) {
    if (id == cursorId_)
        return id;
    switch (id) {
        case -1:
            if (!customArrowCursor())
                SetArrowCursor();
            break;
        case -2:
            if (!customCursorA())
                setCursor(cursorIdA_);
            break;
        case -3:
            if (!customCursorB())
                setCursor(cursorIdB_);
            break;
        case -4:
            // Never stored: a later -4 always chooses again. The id kept is the
            // one of the cursor now shown: keeping the old id under the arrow
            // would make the next request for it (the wait cursor) do nothing.
            setCursor(-1);
            return cursorId_;
        default: {
            ACursor*& cursor = cursors_[id];
            if (!cursor)
                cursor = new ACursor(this, id);
            cursor->set();
            break;
        }
    }
    int16_t previous = cursorId_;
    cursorId_ = id;
    return previous;
}

void AApp::clearCursors() {
    SetArrowCursor();
    for (auto& entry : cursors_)
        delete entry.second;
    cursors_.clear();
    cursorId_ = -1;
}

AOwnerCursorGuard* AApp::swapCursorGuard(AOwnerCursorGuard* guard) {
    AOwnerCursorGuard* previous = cursorGuard_;
    cursorGuard_ = guard;
    return previous;
}

void* AApp::solidBrush(uint32_t colour) {
    auto found = brushes_.find(colour);
    if (found != brushes_.end())
        return found->second;
    HBRUSH brush = CheckAlloc(CreateSolidBrush(colour), "fappli", 1960);
    brushes_[colour] = brush;
    return brush;
}

void AApp::clearBrushes() {
    for (auto& entry : brushes_)
        DeleteObject(static_cast<HBRUSH>(entry.second));
    brushes_.clear();
}

void* AApp::icon(int16_t id) {
    auto found = icons_.find(id);
    if (found != icons_.end())
        return found->second;
    LPCSTR resource = MAKEINTRESOURCEA(static_cast<uint16_t>(id));
    HICON loaded = LoadIconA(static_cast<HINSTANCE>(instance()), resource);
    if (!loaded)
        loaded = LoadIconA(nullptr, resource);
    return icons_[id] = CheckAlloc(loaded, "fappli", 1700);
}

void* AApp::appIcon() {
    if (!appIcon_) {
        appIcon_ = LoadIconA(static_cast<HINSTANCE>(instance()), "AAppIcon");
        if (!appIcon_)
            appIcon_ = LoadIconA(nullptr, IDI_APPLICATION);
    }
    return appIcon_;
}

void AApp::clearIcons() {
    for (auto& entry : icons_)
        DestroyIcon(static_cast<HICON>(entry.second));
    icons_.clear();
}

AImage* AApp::findImage(const AString& name) const {
    auto found = images_.find(name.c_str());
    return found != images_.end() ? found->second : nullptr;
}

void AApp::setImage(const AString& name, const AImageSpec& spec) {
    AImage* image = CheckAlloc(new AImage(spec), "fappli", 1930);
    AImage*& slot = images_[name.c_str()];
    delete slot;
    slot = image;
}

void AApp::clearImages() {
    for (auto& entry : images_)
        delete entry.second;
    images_.clear();
}

void* AApp::bitmap(uint16_t number) {
    auto found = bitmaps_.find(number);
    if (found == bitmaps_.end()) {
        AImage* image = CheckAlloc(new AImage(AImageSpec(number, 0, 0, false)), "fappli", 1990);
        found = bitmaps_.emplace(number, image).first;
    }
    return found->second->getHBitmap();
}

void AApp::clearBitmaps() {
    for (auto& entry : bitmaps_)
        delete entry.second;
    bitmaps_.clear();
}
