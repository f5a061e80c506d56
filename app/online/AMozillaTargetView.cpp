// The target view: a picture over the page.
#include "app/online/AMozillaTargetView.h"

#include <new>
#include <vector>

#include "framework/app/AApp.h"

SV_IMPLEMENT_CLASS(AMozillaTargetView, 0, AMozillaView)

AMozillaTargetView::AMozillaTargetView() {
    loadPicture();
}

AMozillaTargetView::AMozillaTargetView(AComponent* parent, int16_t id, const ASizeSpec& rule)
    : AMozillaView(parent, id, rule) {
    loadPicture();
}

void AMozillaTargetView::loadPicture() {
    AApp* app = AApp::current();
    HINSTANCE instance = app ? static_cast<HINSTANCE>(app->instance()) : GetModuleHandleA(nullptr);
    fPicture = static_cast<HBITMAP>(
        LoadImageA(instance, MAKEINTRESOURCEA(kPictureResource), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

AMozillaTargetView::~AMozillaTargetView() {
    if (fPicture)
        DeleteObject(fPicture);
}

void AMozillaTargetView::setPicture(HBITMAP picture) {
    if (fPicture)
        DeleteObject(fPicture);
    fPicture = picture;
}

ARect AMozillaTargetView::targetRect() const {
    BITMAP info{};
    if (!fPicture || (fTargetPoint.x == 0 && fTargetPoint.y == 0) ||
        !GetObjectA(fPicture, sizeof info, &info))
        return ARect();
    int32_t left = fTargetPoint.x - info.bmWidth / 2;
    int32_t top = fTargetPoint.y - info.bmHeight / 2;
    return ARect(left, top, left + info.bmWidth, top + info.bmHeight);
}

long AMozillaTargetView::drawContent(const ARect& rect) {
    long drawn = AMozillaView::drawContent(rect);
    ARect target = targetRect();
    if (target.width() <= 0)
        return drawn;
    // The page has a window of its own over the view: the picture goes on it,
    // else on the view's place in its window.
    HWND surface = nullptr;
    if (nsPtr<nsIBaseWindow> base = QueryAs<nsIBaseWindow>(webBrowser())) {
        void* widget = nullptr;
        base->GetMainWidget(&widget);
        surface = static_cast<HWND>(widget);
    }
    if (!surface) {
        surface = getNativeWindow();
        target = target + getWindowBounds().first;
    }
    HDC dc = surface ? GetDC(surface) : nullptr;
    if (!dc)
        return drawn;
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, fPicture);
    BitBlt(dc, target.left(), target.top(), target.width(), target.height(), source, 0, 0, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
    ReleaseDC(surface, dc);
    return 1;
}

int16_t AMozillaTargetView::loadUrl(const AString& url) {
    fTargetPoint = APoint();
    return AMozillaView::loadUrl(url);
}
