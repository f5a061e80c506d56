// Display components: the layout record, flags, attach and detach, the shown
// and enabled states, the queued window showing and the printing entries.
#include "framework/display/ADisplayComponent.h"

#include "base/object/AMemoryStream.h"
#include "base/procedural/AError.h"
#include "base/procedural/AOutStream.h"
#include "base/procedural/SystemSeams.h"
#include "framework/components/ALayoutLoader.h"
#include "framework/display/ADisplayServices.h"
#include "framework/display/APrintRange.h"
#include "framework/graphics/AGraphicDisplay.h"
#include "framework/resources/AStringListResource.h"

SV_IMPLEMENT_CLASS(ADisplayComponent, 108, AComponent)
SV_IMPLEMENT_CLASS(ASetVisibleCommand, 206, ACommand)

ADisplayComponent::ADisplayComponent()
    : frame_(), sizer_(nullptr), windowPos_(), displayFlags_(kDefaultFlags), hwnd_(nullptr) {
    setPlaced(false);
    setChildrenPlaced(false);
}

ADisplayComponent::ADisplayComponent(AComponent* parent, int16_t id, const ASizeSpec& rule)
    : AComponent(parent, id), frame_(), sizer_(nullptr), windowPos_(), displayFlags_(kDefaultFlags), hwnd_(nullptr) {
    setSizeSpec(rule, false);
}

ADisplayComponent::~ADisplayComponent() {
    // Nothing may leave a destructor: a failure is logged and cleanup goes on.
    try {
        ADisplayServices::current().componentGone(this);
    } catch (...) {
        CurrentErrorStream().writeString("#ADisplayComponent::~ADisplayComponent() : services cleanup failed\n");
    }
    DeleteAndNull(sizer_);
}

int ADisplayComponent::setBit(uint16_t bit, bool on) {
    uint16_t next = static_cast<uint16_t>(on ? displayFlags_ | bit : displayFlags_ & ~bit);
    if (next == displayFlags_)
        return 0;
    displayFlags_ = next;
    return 1;
}

int ADisplayComponent::setVisibleFlag(bool on) {
    int changed = setBit(kVisible, on);
    if (changed)
        queueUpdate(10);
    return changed;
}

int ADisplayComponent::setTransparentFlag(bool on) {
    if (on)
        setBit(kEraseBackground, false);
    return setBit(kTransparent, on);
}

void ADisplayComponent::setTransparent(bool on) {
    if (setTransparentFlag(on))
        invalidate();
}

void ADisplayComponent::setDrawnThroughAncestor(bool on) {
    if (setDrawnThroughAncestorFlag(on))
        invalidate();
}

void ADisplayComponent::setEraseBackground(bool on) {
    if (setEraseBackgroundFlag(on))
        invalidate();
}

void ADisplayComponent::windowActivated(int16_t on) {
    AComponent::windowActivated(on);
    if (setModeFlag(on != 0) && on)
        onActivate();
}

std::vector<ADisplayComponent*> ADisplayComponent::displayChildren() {
    std::vector<ADisplayComponent*> result;
    Alist& list = children();
    for (ALink* link = list.firstLink(); link != list.sentinel(); link = link->next) {
        void* d = ChildOf(link)->castTo(&ADisplayComponent::classRecord);
        if (d)
            result.push_back(static_cast<ADisplayComponent*>(d));
    }
    return result;
}

ADisplayComponent* ADisplayComponent::getDisplayParent() const {
    for (AComponent* c = getParent(); c; c = c->getParent()) {
        if (void* d = c->castTo(&ADisplayComponent::classRecord))
            return static_cast<ADisplayComponent*>(d);
    }
    return nullptr;
}

// Record: AComponent's part (id i16 | FFFF), then the rule (32 bytes, ASizeSpec), then FFFF.
void ADisplayComponent::readFrom(AMemoryStream& stream) {
    AComponent::readFrom(stream);
    ASizeSpec rule(ARect(0, 0, 0, 0));
    rule.read(stream);
    setSizeSpec(rule, false);
    ALayoutLoader::readEndMark(stream, "fdisplay", 212);
}

void ADisplayComponent::attachItems() {
    AComponent::attachItems();
    if (!isOpeningRoot())
        setShownFlag(true);
    ADisplayComponent* p = getDisplayParent();
    if (!p)
        return;
    if (p->displayFlags_ & (kOffscreen | kOffscreenRoot))
        setOffscreenFlag(!hasFlags(kOffscreenExcluded));
    else
        setOffscreenExcludedFlag(false);
    if (p->hasFlags(kClippedByAncestors) || p->clipsChildren())
        setClippedByAncestorsFlag(true);
    if (p->hasFlags(kModeFlag))
        setModeFlag(true);
    if (p->isSettled()) {
        p->setChildrenPlaced(false);
        ADisplayServices::current().scheduleLayout(p);
    }
}

void ADisplayComponent::setUpItems() {
    AComponent::setUpItems();
    if (hasFlags(kOffscreen) && hwnd_)
        setOffscreenTree(false, true);
}

void ADisplayComponent::detachItems() {
    setVisibleFlag(false);
    setActiveFlag(false);
    DeleteAndNull(sizer_);
    ADisplayServices::current().componentGone(this);
    AComponent::detachItems();
}

void ADisplayComponent::show(bool update) {
    if (hasFlags(kShown))
        return;
    setShownFlag(true);
    visibilityChanged(true, update);
}

void ADisplayComponent::hide(bool update) {
    if (!hasFlags(kShown))
        return;
    visibilityChanged(false, update);
    setShownFlag(false);
}

void ADisplayComponent::visibilityChanged(bool showing, bool update) {
    ADisplayComponent* p = getDisplayParent();
    if (p && !p->hasFlags(kVisible))
        return;
    if (!showing) {
        invalidateBorderInParent();
        invalidate();
        setVisibleTree(false, update);
        return;
    }
    if (!isSettled()) {
        if (p && !p->hasFlags(kPlaced))
            ThrowAssert("fdisplay", 621);
        updateLayout();
    }
    setVisibleTree(true, update);
    invalidateBorderInParent();
    invalidate();
}

void ADisplayComponent::setVisibleTree(bool showing, bool update) {
    if (!showing) {
        if (update)
            hideNativeWindow();
        else
            setNativeWindowShownForced(false);
        setVisibleFlag(false);
    }
    for (ADisplayComponent* child : displayChildren()) {
        if (child->hasFlags(kShown))
            child->setVisibleTree(showing, false);
    }
    if (!showing && (flags() & kOnTargetChain))
        ADisplayServices::current().releaseTarget(this);
    if (showing) {
        setVisibleFlag(true);
        if (update)
            showNativeWindow();
        else
            setNativeWindowShownForced(true);
    }
}

void ADisplayComponent::setEnabled(bool on) {
    if (setEnabledFlag(on))
        enableTree(on);
}

void ADisplayComponent::enableTree(bool enabling) {
    ADisplayComponent* p = getDisplayParent();
    if (!p || p->hasFlags(kActive))
        setActiveTree(enabling);
}

void ADisplayComponent::setActiveTree(bool enabling) {
    if (!enabling) {
        enableWindow(false);
        setActiveFlag(false);
    }
    for (ADisplayComponent* child : displayChildren()) {
        if (child->hasFlags(kEnabled))
            child->setActiveTree(enabling);
    }
    if (!enabling && (flags() & kOnTargetChain))
        ADisplayServices::current().releaseTarget(this);
    if (enabling) {
        setActiveFlag(true);
        enableWindow(true);
    }
}

void ADisplayComponent::enableWindow(bool on) {
    if (hwnd_ && IsWindow(hwnd_))
        EnableWindow(hwnd_, on ? TRUE : FALSE);
}

void ADisplayComponent::setNativeWindowShown(bool show, bool force) {
    if (!hwnd_ || !IsWindow(hwnd_))
        return;
    if (!force && (IsWindowVisible(hwnd_) != 0) == show)
        return;
    if (force && !hasFlags(kOffscreenRoot) && findOffscreenRoot()) {
        ADisplayServices& services = ADisplayServices::current();
        if (services.lookOptions() & ADisplayServices::kQueueWindowShowing) {
            perform(CheckAlloc(new (std::nothrow) ASetVisibleCommand(this, show), "fdisplay", 1796));
            return;
        }
        services.lockWindowUpdate(findWindowedAncestor());
    }
    ShowWindow(hwnd_, show ? SW_SHOWNA : SW_HIDE);
}

void ASetVisibleCommand::execute() {
    AComponent* t = target();
    if (!t || !t->isKindOf(&ADisplayComponent::classRecord))
        return;
    auto* d = static_cast<ADisplayComponent*>(t->castTo(&ADisplayComponent::classRecord));
    if (!d)
        ThrowAssert("fdisplay", 118);
    d->setNativeWindowShown(visible_ != 0, false);
    d->invalidate();
}

COLORREF ADisplayComponent::getBackColor() {
    ADisplayComponent* p = getDisplayParent();
    return p ? p->getBackColor() : RGB(255, 255, 255);
}

HDC ADisplayComponent::getDisplay() {
    if (isWindowed())
        return nullptr;
    ADisplayComponent* p = getDisplayParent();
    return p ? p->getDisplay() : nullptr;
}

ACommand* ADisplayComponent::keyDefault(long arg) {
    (void)arg;
    return passThroughCommand();
}

bool ADisplayComponent::queryAllows(ADisplayComponent* component, long value) {
    ADisplayComponent* p = getDisplayParent();
    return p ? p->queryAllows(component, value) : value == 0;
}

AString FrameworkString(uint16_t list, short index, const char* builtIn) {
    if (!AResource(kStringListType, list).exists())
        return AString(builtIn);
    AStringListResource strings(list);
    return index < strings.count() ? strings.get(index) : AString(builtIn);
}

// The printing module overrides these entries; here printing is possible
// only when the display context holds a printer and someone supplies one.
namespace {

ACommand* NoPrinterMessage() {
    MessageBeep(0);
    AString text = FrameworkString(128, 7, "Driver d'impression introuvable !");
    AString caption;
    if (AComponent* app = AComponent::application())
        caption = AString(app->getClass()->name());
    SeamMessageBox(nullptr, text.c_str(), caption.c_str(), MB_OK);
    return AComponent::noChangeCommand();
}

}  // namespace

ACommand* ADisplayComponent::noPrinter() {
    return NoPrinterMessage();
}

ACommand* ADisplayComponent::print() {
    ADisplayComponent* printer = canPrint() ? getPrinter() : nullptr;
    if (!printer)
        return noPrinter();
    ACommand* answer = printer->printWithDialog(this);
    // The printer goes from the command queue, after the job that used it.
    perform(CheckAlloc(new (std::nothrow) ADeleteComponentCmd(1, printer), "fdisplay", 1986));
    return answer;
}

ACommand* ADisplayComponent::printWithDialog(ADisplayComponent* component) {
    (void)component;
    return noChangeCommand();
}

ACommand* ADisplayComponent::printAllPages(ADisplayComponent* component) {
    (void)component;
    return noChangeCommand();
}

ACommand* ADisplayComponent::printWithSettings() {
    ADisplayComponent* printer = canPrint() ? getPrinter() : nullptr;
    if (!printer)
        return noPrinter();
    perform(printer->printAllPages(this));
    perform(CheckAlloc(new (std::nothrow) ADeleteComponentCmd(1, printer), "fdisplay", 1986));
    return noChangeCommand();
}

namespace {

uint16_t g_printLevel = 1;

}  // namespace

uint16_t ADisplayComponent::printLevel() {
    return g_printLevel;
}

void ADisplayComponent::setPrintLevel(uint16_t level) {
    g_printLevel = level;
}

ACommand* ADisplayComponent::printDefault() {
    ADisplayContext* context = ADisplayContext::existing();
    ADisplayComponent* printer =
        context && context->printer() ? ADisplayServices::current().makePrinter(nullptr) : nullptr;
    if (!printer)
        return NoPrinterMessage();
    printer->perform(printer->printAllPages(nullptr));
    printer->perform(CheckAlloc(new (std::nothrow) ADeleteComponentCmd(1, printer), "fdisplay", 1986));
    return noChangeCommand();
}

// The dialog is the window a layout loaded, or holds it.
void ADisplayComponent::showDialog(AComponent* dialog, long line) {
    const AClass* windowClass = AClass::findByName("AWindow");
    AComponent* w = dialog && windowClass && !dialog->isKindOf(windowClass)
                        ? dialog->findDescendant(windowClass, nullptr)
                        : dialog;
    auto* window = dynamic_cast<ADisplayComponent*>(w);
    if (!window)
        ThrowAssert("fdisplay", line);
    window->setFrame(window->getScreenFrame(), false);
    window->showUpdate();
}

ACommand* ADisplayComponent::printPreview() {
    if (!printLevel() || !canPrint())
        return noPrinter();
    AComponent* dialog = getPreviewDialog();
    if (!dialog)
        ThrowAssert("fdisplay", 2028);
    showDialog(dialog, 2029);
    return noChangeCommand();
}

ACommand* ADisplayComponent::printOptions() {
    if (!printLevel() || !canPrint())
        return noPrinter();
    if (AComponent* dialog = getPrintOptionsDialog())
        showDialog(dialog, 2029);
    return noChangeCommand();
}

AComponent* ADisplayComponent::makePreviewDialog(ADisplayComponent* component) {
    ADisplayComponent* p = getDisplayParent();
    return p ? p->makePreviewDialog(component) : ADisplayServices::current().makePreviewDialog(component);
}

AComponent* ADisplayComponent::makePrintOptionsDialog(ADisplayComponent* component) {
    ADisplayComponent* p = getDisplayParent();
    return p ? p->makePrintOptionsDialog(component) : ADisplayServices::current().makePrintOptionsDialog(component);
}

ADisplayComponent* ADisplayComponent::findPrinter(ADisplayComponent* component) {
    ADisplayComponent* p = getDisplayParent();
    return p ? p->findPrinter(component) : ADisplayServices::current().makePrinter(component);
}

AComponent* ADisplayComponent::findPrintOptions(ADisplayComponent* component) {
    ADisplayComponent* p = getDisplayParent();
    return p ? p->findPrintOptions(component) : nullptr;
}

AComponent* ADisplayComponent::findPrintSource(ADisplayComponent* component) {
    ADisplayComponent* p = getDisplayParent();
    return p ? p->findPrintSource(component) : nullptr;
}

bool ADisplayComponent::pageAvailable(const APrintRange& range, long page) {
    return page <= range.lastPage;
}

void ADisplayComponent::getDocumentType(AString& out) {
    ADisplayComponent* p = getDisplayParent();
    if (p)
        p->getDocumentType(out);
    else
        out = AString("KYCF");
}

void ADisplayComponent::findDocumentTitle(AString& out, ADisplayComponent* component) {
    ADisplayComponent* p = getDisplayParent();
    if (p)
        p->findDocumentTitle(out, component);
    else
        out = AString(component->description().c_str());
}

void ADisplayComponent::findHeaderText(AString& out, ADisplayComponent* component) {
    ADisplayComponent* p = getDisplayParent();
    if (p)
        p->findHeaderText(out, component);
    else
        getDocumentType(out);
}

void ADisplayComponent::findPageLabelFormat(AString& out, ADisplayComponent* component) {
    ADisplayComponent* p = getDisplayParent();
    if (p) {
        p->findPageLabelFormat(out, component);
        return;
    }
    out = FrameworkString(129, 2, "Page %d");
}
