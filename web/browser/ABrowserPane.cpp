// The browser pane's set-up, commands and event display.
#include "web/browser/ABrowserPane.h"

#include "base/procedural/AError.h"
#include "framework/clusters/AStaticItem.h"
#include "framework/components/AKindSet.h"
#include "framework/controls/AEditBox.h"
#include "framework/extras/AProgressBar.h"
#include "web/browser/AMozillaView.h"
#include "web/browser/BrowserPaneHandler.h"
#include "web/browser/KyMozillaGetUrl.h"
#include "web/embed/AAlertCallBack.h"
#include "web/embed/AMozillaFeature.h"

#include <new>

SV_IMPLEMENT_CLASS(ABrowserPane, 0, ALocalCluster)

// The home page of the program's web runtime.
const char* const ABrowserPane::kDefaultAddress = "http://www.savantorium.fr/webrt/";

namespace {

// The ids bound to the pane, each with its own id as the code.
const int16_t kBoundIds[] = {ABrowserPane::kView,    ABrowserPane::kFetch,        ABrowserPane::kBack,
                             ABrowserPane::kForward, ABrowserPane::kStop,         ABrowserPane::kReload,
                             ABrowserPane::kLoad,    ABrowserPane::kAddressField, ABrowserPane::kFindField,
                             ABrowserPane::kAlert};

AAlertCallBack* InstalledAlertCallBack() {
    return AMozillaFeature::current ? AMozillaFeature::current->getAlertCallBack() : nullptr;
}

int16_t Enabled(bool on) {
    return on ? 1 : 2;
}

}  // namespace

void ABrowserPane::setUpItems() {
    ALocalCluster::setUpItems();
    AClusterItem* item = CheckAlloc(findItem(kView, false), "kyMozillaPane", 72);
    view_ = static_cast<AMozillaView*>(item->castTo(&AMozillaView::classRecord));
    if (!view_)
        ThrowAssert("kyMozillaPane", 73);
    addressField_ = static_cast<AEditBox*>(findItem(kAddressField, false));
    if (addressField_ && !addressField_->castTo(&AEditBox::classRecord))
        addressField_ = nullptr;
    if (addressField_)
        addressField_->setText(kDefaultAddress);
    if (AClusterItem* find = findItem(kFindField, false))
        findField_ = static_cast<AEditBox*>(find->castTo(&AEditBox::classRecord));
    if (AClusterItem* status = findItem(kStatusText, false))
        statusText_ = static_cast<AStaticText*>(status->castTo(&AStaticText::classRecord));
    if (statusText_) {
        // Drawn over its strip, never erasing it.
        int changed = statusText_->setTransparentFlag(true) | statusText_->setEraseBackgroundFlag(false);
        if (changed)
            statusText_->invalidate();
    }
    if (AClusterItem* bar = findItem(kProgressBar, false))
        progressBar_ = static_cast<AProgressBar*>(bar->castTo(&AProgressBar::classRecord));
    if (progressBar_) {
        progressBar_->setBarColour(0xFF0000);
        progressBar_->hide(true);
    }
    HookBrowserHandler(view_, this, handler_, "kyMozillaPane", 99);
}

void ABrowserPane::detachItems() {
    UnhookBrowserHandler(view_, this, handler_);
    view_ = nullptr;
    addressField_ = nullptr;
    statusText_ = nullptr;
    progressBar_ = nullptr;
    findField_ = nullptr;
    ALocalCluster::detachItems();
}

void ABrowserPane::bindActions() {
    ALocalCluster::bindActions();
    for (int16_t id : kBoundIds)
        addAction(id, this, id, nullptr);
}

ACommand* ABrowserPane::doCommand(int16_t id, long argument) {
    if (!view_)
        return ALocalCluster::doCommand(id, argument);
    switch (id) {
        case kLoad:
        case kAddressField:
            if (addressField_)
                view_->loadUrl(addressField_->getText());
            break;
        case kBack:
            if (view_->canGoBack())
                view_->goBack();
            break;
        case kForward:
            if (view_->canGoForward())
                view_->goForward();
            break;
        case kStop:
            view_->stop();
            break;
        case kReload:
            view_->reload();
            break;
        case kView:
            break;
        case kAlert:
            if (AAlertCallBack* callBack = InstalledAlertCallBack())
                callBack->alert(view_);
            break;
        case kFetch:
            // Only the fetch itself is wanted (it fills the runtime's cache).
            if (addressField_)
                KyMozillaStreamLoad(addressField_->getText().c_str(), nullptr, nullptr);
            break;
        case kFindField:
            if (findField_)
                view_->findText(findField_->getText(), 0, 0, 1, 0);
            break;
        default:
            return ALocalCluster::doCommand(id, argument);
    }
    return noChangeCommand();
}

int16_t ABrowserPane::commandStatus(int16_t id, long argument) {
    if (!view_)
        return ALocalCluster::commandStatus(id, argument);
    switch (id) {
        case kLoad:
        case kAddressField:
        case kReload:
        case kView:
        case kFetch:
        case kFindField:
            return 1;
        case kBack:
            return Enabled(view_->canGoBack() != 0);
        case kForward:
            return Enabled(view_->canGoForward() != 0);
        case kStop:
            return Enabled(view_->isLoading() != 0);
        case kAlert: {
            AAlertCallBack* callBack = InstalledAlertCallBack();
            return Enabled(callBack && callBack->canAlert(view_));
        }
        default:
            return ALocalCluster::commandStatus(id, argument);
    }
}

void ABrowserPane::linkChanged(AComponent* source, const AKindSet& kinds) {
    ALocalCluster::linkChanged(source, kinds);
    if (view_ && source == view_ && kinds.contains(6))
        queueUpdate(0);
}

void ABrowserPane::showStatus(const char* text) {
    if (statusText_ && hasFlags(kVisible))
        statusText_->setText(text ? text : "");
}

void ABrowserPane::showUrl(const char* url) {
    if (!addressField_ || !hasFlags(kVisible))
        return;
    addressField_->setText(url ? url : "");
    queueUpdate(0);
}

void ABrowserPane::showProgress(int32_t current, int32_t maximum) {
    if (!progressBar_ || !hasFlags(kVisible))
        return;
    if (view_ && view_->isLoading())
        progressBar_->show(true);
    else
        progressBar_->hide(true);
    if (maximum != 0) {
        progressBar_->setMaximum(maximum);
        progressBar_->setPosition(current);
    }
}

int16_t ABrowserPaneHandler::onEvent(AMozillaView*, AMozillaEvent* event) {
    if (!event || !pane_)
        return 0;
    if (event->name == "StatusChange") {
        if (auto* e = dynamic_cast<AMozillaStatusChangedEvent*>(event))
            pane_->showStatus(e->status.c_str());
        return 1;
    }
    if (event->name == "UpdateProgress") {
        if (auto* e = dynamic_cast<AMozillaUpdateProgressEvent*>(event))
            pane_->showProgress(e->current, e->maximum);
        return 1;
    }
    if (event->name == "UpdateUrl") {
        if (auto* e = dynamic_cast<AMozillaUpdateUrlEvent*>(event))
            pane_->showUrl(e->url.c_str());
        return 1;
    }
    return 0;
}
