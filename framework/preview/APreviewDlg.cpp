// The print preview dialogs: commands, page navigation and zoom.
#include "framework/preview/APreviewDlg.h"

#include <cstdio>
#include <cstdlib>

#include "base/procedural/AError.h"
#include "framework/clusters/AStaticItem.h"
#include "framework/components/AKindSet.h"
#include "framework/components/ALayoutLoader.h"
#include "framework/controls/AEditBox.h"
#include "framework/controls/APopupMenu.h"
#include "framework/preview/APreviewView.h"
#include "framework/preview/APrintOptionsDlg.h"
#include "framework/printing/APrinter.h"

SV_IMPLEMENT_CLASS(APreviewDlg, 0, AWindow)
SV_IMPLEMENT_CLASS(AStandardPreviewDlg, 0, APreviewDlg)

APreviewDlg* APreviewDlg::current_ = nullptr;

namespace {

template <class T>
T* ItemAs(AComponent* window, int16_t id, long line) {
    AComponent* item = window->findById(id, 0);
    void* cast = item ? item->castTo(&T::classRecord) : nullptr;
    return CheckAlloc(static_cast<T*>(cast), "fpreview", line);
}

}  // namespace

// The stored parents: a window reports the application as its parent.
ADisplayComponent* PrintedComponentOf(AComponent* window, long line) {
    AComponent* p = window->AComponent::getParent();
    while (p && !p->isKindOf(&ADisplayComponent::classRecord))
        p = p->AComponent::getParent();
    return CheckAlloc(static_cast<ADisplayComponent*>(p), "fpreview", line);
}

APreviewDlg::APreviewDlg() {
    current_ = this;
}

APreviewDlg::~APreviewDlg() {
    // Only this dialog's own slot: an older one closing keeps the newer one findable.
    if (current_ == this)
        current_ = nullptr;
}

// Record: AWindow's, then FFFF (this class adds no field).
void APreviewDlg::readFrom(AMemoryStream& stream) {
    AWindow::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "fpreview", 120);
}

ADisplayComponent* APreviewDlg::printed(long line) {
    return PrintedComponentOf(this, line);
}

void APreviewDlg::setUpItems() {
    AWindow::setUpItems();
    ADisplayComponent* component = printed(429);
    view_ = ItemAs<APreviewView>(this, kViewItem, 430);
    view_->setSource(component);
    view_->addLink(this);
    setMargins(APoint(20, 20));
}

void APreviewDlg::detachItems() {
    if (view_)
        view_->removeLink(this);
    view_ = nullptr;
    AWindow::detachItems();
}

void APreviewDlg::bindActions() {
    AWindow::bindActions();
    for (int16_t id :
         {kViewItem, kPrintCommand, kPreviousCommand, kNextCommand, kCloseItemCommand, kSetUpCommand, kOptionsCommand})
        addAction(id, this, id, nullptr);
}

ACommand* APreviewDlg::doCommand(int16_t id, long argument) {
    switch (id) {
        case kViewItem:
            return noChangeCommand();
        case kPrintCommand:
            return printed(489)->print();
        case kSetUpCommand:
            PrinterSetUpForApp();
            if (view_) {
                countPages();
                goToPage(0, 1);
            }
            return noChangeCommand();
        case kPreviousCommand:
        case kNextCommand:
            if (view_)
                goToPage(static_cast<int16_t>(view_->currentPage() + (id == kNextCommand ? 1 : -1)), 0);
            return noChangeCommand();
        case kCloseItemCommand:
            return AWindow::closeWindow();
        case kOptionsCommand:
            if (APrintOptionsDlg* options = APrintOptionsDlg::current()) {
                options->select();
                return noChangeCommand();
            }
            return printed(518)->printOptions();
        default:
            return AWindow::doCommand(id, argument);
    }
}

int16_t APreviewDlg::commandStatus(int16_t id, long argument) {
    switch (id) {
        case kPreviousCommand:
            return view_ && view_->currentPage() > 0 ? 1 : 2;
        case kNextCommand:
            return view_ && view_->currentPage() < count_ - 1 ? 1 : 2;
        case kViewItem:
        case kPrintCommand:
        case kSetUpCommand:
        case kCloseItemCommand:
        case kOptionsCommand:
            return 1;
        default:
            return AWindow::commandStatus(id, argument);
    }
}

void APreviewDlg::linkChanged(AComponent* source, const AKindSet& kinds) {
    if (source == view_ && kinds.contains(6))
        queueUpdate(0);
    AWindow::linkChanged(source, kinds);
}

void APreviewDlg::goToPage(int16_t page, int16_t force) {
    if (!view_)
        return;
    if (force || page != view_->currentPage())
        view_->showPage(page, force);
    pageShown(static_cast<int16_t>(view_->currentPage() + 1));
}

void APreviewDlg::countPages() {
    count_ = view_ ? view_->countPages() : 0;
    printed(554)->setPageCount(count_);
}

int16_t APreviewDlg::resolveZoom(int16_t zoom) {
    if (zoom >= 0 || zoom < -2 || !view_)
        return zoom;
    const ARect& paper = view_->paperRect();
    // Nothing laid out yet: no size to fit, so the zoom stays.
    if (paper.width() <= 0 || paper.height() <= 0)
        return view_->zoom();
    ARect bounds = view_->getLocalBounds();
    APoint m = view_->margin();
    auto w = static_cast<int16_t>(MulDiv(bounds.width() - 2 * m.x, 100, paper.width()));
    auto h = static_cast<int16_t>(MulDiv(bounds.height() - 2 * m.y, 100, paper.height()));
    if (zoom == -2)
        return w;
    return h < w ? h : w;
}

void APreviewDlg::setZoom(int16_t zoom) {
    if (view_)
        view_->setZoom(resolveZoom(zoom));
}

int16_t APreviewDlg::zoom() const {
    return view_ ? view_->zoom() : 100;
}

void APreviewDlg::setMargins(const APoint& margin) {
    if (view_)
        view_->setMargins(margin);
}

void APreviewDlg::setBackground(COLORREF color) {
    if (view_)
        view_->setBackground(color);
}

// Record: APreviewDlg's, then FFFF.
void AStandardPreviewDlg::readFrom(AMemoryStream& stream) {
    APreviewDlg::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "fpreview", 604);
}

void AStandardPreviewDlg::setUpItems() {
    APreviewDlg::setUpItems();
    field_ = ItemAs<AEditBox>(this, kPageField, 624);
    field_->addLink(this);
    zoomPopup_ = ItemAs<APopupButton>(this, kZoomPopup, 626);
    selectZoomChoice(0);
    goToPage(0, 0);
}

void AStandardPreviewDlg::detachItems() {
    if (field_)
        field_->removeLink(this);
    field_ = nullptr;
    zoomPopup_ = nullptr;
    APreviewDlg::detachItems();
}

void AStandardPreviewDlg::bindActions() {
    APreviewDlg::bindActions();
    addAction(kZoomPopup, this, kZoomPopup, nullptr);
    addAction(kPageField, this, kPageField, nullptr);
}

ACommand* AStandardPreviewDlg::doCommand(int16_t id, long argument) {
    switch (id) {
        case kPageField:
            return noChangeCommand();
        case kZoomPopup:
            selectZoomChoice(zoomPopup_->selectedIndex());
            return noChangeCommand();
        default:
            return APreviewDlg::doCommand(id, argument);
    }
}

int16_t AStandardPreviewDlg::commandStatus(int16_t id, long argument) {
    switch (id) {
        case kPageField:
            return 1;
        case kZoomPopup:
            return view() ? 1 : 2;
        default:
            return APreviewDlg::commandStatus(id, argument);
    }
}

void AStandardPreviewDlg::linkChanged(AComponent* source, const AKindSet& kinds) {
    APreviewDlg::linkChanged(source, kinds);
    if (source != field_ || !kinds.contains(6))
        return;
    long n = atol(field_->getText().c_str());
    if (view())
        goToPage(static_cast<int16_t>(n - 1), 0);
    // pageShown rewrote the field: that is not the reader typing.
    field_->dequeueUpdate(6);
}

void AStandardPreviewDlg::selectZoomChoice(int16_t index) {
    if (!view())
        return;
    auto n = static_cast<int16_t>(atol(zoomPopup_->getItemText(index).c_str()));
    AString label = zoomPopup_->getItemText(zoomPopup_->selectedIndex());
    if (n < 0) {
        n = resolveZoom(n);
        char text[16];
        snprintf(text, sizeof text, "%d %%", n);
        label = text;
    }
    view()->setZoom(n);
    ItemAs<AStaticText>(this, kZoomLabel, 707)->setText(label.c_str());
}

void AStandardPreviewDlg::pageShown(int16_t number) {
    char text[8];
    snprintf(text, sizeof text, "%d", number);
    field_->setText(text);
}
