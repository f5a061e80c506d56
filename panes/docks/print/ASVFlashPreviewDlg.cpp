// The Flash print preview.
#include "panes/docks/print/ASVFlashPreviewDlg.h"

#include <windows.h>

#include <string>

#include "base/procedural/AError.h"
#include "framework/files/AOptionsInfo.h"
#include "panes/docks/print/AMediaPreviewApp.h"
#include "panes/docks/print/APrintKeys.h"
#include "web/browser/AMozillaView.h"

SV_IMPLEMENT_CLASS(ASVFlashPreviewDlg, 0, ASVMediaPreviewDlg)
SV_IMPLEMENT_CLASS(AFlashPreviewDlgCmd, 0, ACommand)

int16_t ASVFlashPreviewHandler::onEvent(AMozillaView* view, AMozillaEvent* event) {
    // The end of a load raises a status change with an empty text while the
    // view is no longer loading: only then does the movie take the script.
    auto* status = dynamic_cast<AMozillaStatusChangedEvent*>(event);
    if (!view || !status || frame_ == kBusy || !status->status.empty() || view->isLoading())
        return 0;
    int16_t frame = frame_;
    // Our own loads below raise status changes too.
    frame_ = kBusy;
    view->loadUrl(AString("javascript:document.embeds[0].StopPlay()"));
    if (frame >= 0)
        view->loadUrl(AString(("javascript:document.embeds[0].GotoFrame(" + std::to_string(frame) + ")").c_str()));
    frame_ = frame;
    view->queueUpdate(0);
    return frame >= 0 ? 1 : 0;
}

ASVFlashPreviewDlg::~ASVFlashPreviewDlg() {
    try {
        discard();
    } catch (...) {
    }
    releaseHandler();
}

void ASVFlashPreviewDlg::releaseHandler() {
    if (handler_) {
        handler_->release();
        handler_ = nullptr;
    }
}

void ASVFlashPreviewDlg::setUpItems() {
    ASVMediaPreviewDlg::setUpItems();
    view_ = dynamic_cast<AMozillaView*>(findById(1002, 0));
    if (!view_)
        ThrowAssert("appclass", 800);
    AMediaPreviewApp* app = AMediaPreviewApp::current();
    if (ALongDicInfo* options = app ? app->printOptions() : nullptr)
        options->setLong(PrintKey::kMediaCaption, 0);
}

void ASVFlashPreviewDlg::detachItems() {
    ASVMediaPreviewDlg::detachItems();
}

const AString& ASVFlashPreviewDlg::setMovie(const AString& movie, int16_t frame) {
    movie_ = movie;
    frame_ = frame;
    return movie_;
}

int16_t ASVFlashPreviewDlg::commandStatus(int16_t id, long argument) {
    if (id == 1020) {
        if (AComponent* button = findById(1020, 0))
            if (auto* shown = dynamic_cast<ADisplayComponent*>(button))
                shown->hide(true);
        return 2;
    }
    return ASVMediaPreviewDlg::commandStatus(id, argument);
}

ACommand* ASVFlashPreviewDlg::doCommand(int16_t id, long argument) {
    if (id != 1010)
        return ASVMediaPreviewDlg::doCommand(id, argument);
    perform(view_->print());
    return closeWindow();
}

void ASVFlashPreviewDlg::prepare() {
    releaseHandler();
    handler_ = new ASVFlashPreviewHandler(this, frame_);
    handler_->addRef();
    view_->addHandler("AllEvent", handler_);
    AString url = movie_;
    discard();
    AMediaPreviewApp* app = AMediaPreviewApp::current();
    if (captionKey() == 1 && app) {
        if (!owner())
            ThrowAssert("appclass", 810);
        long docNo = owner()->previewDocNo();
        AMediaTemplateValues values;
        values.movie = movie_;
        values.pageTitle = "printing page";
        values.align = "1";
        values.frame = -1;
        values.background = "#FFFFFF";
        values.title = app->docTitle(docNo);
        values.legend = app->docLegend(docNo);
        values.copyright = app->docCopyright(docNo);
        page_ = app->fillMediaTemplate(kTemplate, values);
        if (!page_.empty())
            url = page_;
    }
    view_->loadUrl(url);
}

void ASVFlashPreviewDlg::discard() {
    if (page_.empty())
        return;
    DeleteFileA(page_.c_str());
    page_ = AString();
}

AFlashPreviewDlgCmd::AFlashPreviewDlgCmd(AComponent* owner, AMozillaView* view, const AString& url)
    : ACommand(owner, 0, 1), fView(view), fUrl(url) {}

void AFlashPreviewDlgCmd::execute() {
    if (fView)
        fView->loadUrl(fUrl);
}
