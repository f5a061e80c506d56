// The full-screen window.
#include "framework/bitmaps/AFullScreenWindow.h"

#include "base/procedural/AError.h"
#include "framework/components/ALayoutLoader.h"

SV_IMPLEMENT_CLASS(AFullScreenWindow, 160, AWindow)

void AFullScreenWindow::readFrom(AMemoryStream& stream) {
    AWindow::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "foffscrn", 60);
}

void AFullScreenWindow::componentAdded(AComponent* component) {
    if (!component)
        ThrowAssert("foffscrn", 93);
    AWindow::componentAdded(component);
    if (auto* root = dynamic_cast<AOffscreenRoot*>(component))
        if (root->getParent() == this)
            root_ = root;
}

void AFullScreenWindow::componentDeleted(AComponent* component) {
    if (component && component == root_)
        root_ = nullptr;
    AWindow::componentDeleted(component);
}

long AFullScreenWindow::changeFrame(const ARect& rect) {
    (void)rect;
    return AWindow::changeFrame(ScreenRect());
}

long AFullScreenWindow::draw(const ARegion& region) {
    ARegion rest(region);
    rest.intersect(ARegion(getLocalBounds()));
    if (root_ && root_->hasFlags(kVisible))
        rest.subtract(ARegion(root_->getFrame()));
    return AWindow::draw(rest);
}
