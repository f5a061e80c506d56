// The media pane: the window's state, the caption and credit, the command
// table, zoom, printing and the external player.
#include "panes/content/media/MediaPane.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <new>

#include "app/state/ABaseState.h"
#include "app/state/AppState.h"
#include "base/object/ARefObj.h"
#include "base/procedural/AError.h"
#include "docengine/hilite/AHighlighter.h"
#include "docengine/model/ADocModel.h"
#include "docengine/render/ARenderer.h"
#include "docengine/render/ARendererViews.h"
#include "framework/app/AppServices.h"
#include "framework/bitmaps/ABitmapLayer.h"
#include "framework/clusters/AStaticItem.h"
#include "framework/controls/AIconButton.h"
#include "panes/content/media/AExternalPlayer.h"
#include "panes/content/media/AMediaApp.h"
#include "panes/content/media/MediaWin.h"
#include "panes/docks/print/ASVFlashPreviewDlg.h"
#include "panes/docks/print/ASVJpegPreviewDlg.h"

SV_IMPLEMENT_CLASS(MediaPane, 0, SVPane)

namespace {

const char kFile[] = "MediaPane";

// Icon-type tests of the command states.
bool IsVideo(int16_t icon) {
    return icon >= 8 && icon <= 10;
}
bool IsAutoFlash(int16_t icon) {
    return icon == 11 || icon == 15;
}
bool HasFrameSteps(int16_t icon) {
    return icon == 5 || icon == 6 || icon == 7 || icon == 16;
}
bool IsPrintable(int16_t icon) {
    return icon < 8 || icon > 12;
}

// Record texts go into the slash markup as plain text.
std::string Escaped(const char* text) {
    std::string out;
    for (const char* p = text ? text : ""; *p; ++p) {
        if (*p == '/' || *p == '\\' || *p == '{' || *p == '}' || *p == '#')
            out += '\\';
        out += *p;
    }
    return out;
}

// Buttons and their tooltip entries in string list 6006.
const int16_t kTips[][2] = {{MediaPane::kLockButton, 0}, {MediaPane::kZoomOut, 1}, {MediaPane::kZoomIn, 2},
                            {MediaPane::kRewind, 3},     {MediaPane::kForward, 4}, {MediaPane::kStop, 5},
                            {MediaPane::kPlay, 6},       {MediaPane::kPrint, 7}};

}  // namespace

const MediaPane::Command MediaPane::kCommands[] = {
    {kLock, &MediaPane::toggleLock},     {kZoomOut, &MediaPane::zoomOut},
    {kZoomIn, &MediaPane::zoomIn},       {kRewind, &MediaPane::rewind},
    {kStop, &MediaPane::stop},           {kPlay, &MediaPane::playPause},
    {kForward, &MediaPane::fastForward}, {kExternal, &MediaPane::external},
    {kPrevious, &MediaPane::previousFrame}, {kNext, &MediaPane::nextFrame},
    {kFrameToggle, &MediaPane::toggleFrame}, {kCreditButton, &MediaPane::nothing},
    {kDossier, &MediaPane::addToDossier},
};

MediaPane::~MediaPane() {
    delete state_;
}

void MediaPane::attachItems() {
    SVPane::attachItems();
    AComponent* found = findAncestor(&MediaWin::classRecord);
    mediaWin_ = CheckAlloc(found ? static_cast<MediaWin*>(found->castTo(&MediaWin::classRecord)) : nullptr,
                           "MediaPane", 62);
    mediaWin_->setMediaPane(this);
}

void MediaPane::setUpItems() {
    SVPane::setUpItems();
    captionView_ = requiredItem<ARendererView>(kCaption, kFile, 70);
    zoomGroup_ = requiredItem<AStaticItem>(kZoomGroup, kFile, 71);
    zoomText_ = requiredItem<AStaticText>(kZoomText, kFile, 72);
    transportGroup_ = requiredItem<AStaticItem>(kTransportGroup, kFile, 73);
    externalButton_ = requiredItem<AIconButton>(kExternal, kFile, 74);
    rewindButton_ = requiredItem<AIconButton>(kRewind, kFile, 75);
    forwardButton_ = requiredItem<AIconButton>(kForward, kFile, 76);
    nextButton_ = requiredItem<AIconButton>(kNext, kFile, 77);
    previousButton_ = requiredItem<AIconButton>(kPrevious, kFile, 78);
    frameGroup_ = requiredItem<AStaticItem>(kFrameGroup, kFile, 79);
    frameToggleButton_ = requiredItem<AIconButton>(kFrameToggle, kFile, 80);
    creditView_ = requiredItem<ARendererView>(kCredit, kFile, 81);
    creditButton_ = requiredItem<AIconButton>(kCreditButton, kFile, 82);
    AMediaApp& app = AMediaApp::current();
    if ((captionRenderer_ = app.createTextRenderer(captionView_, 2)) != nullptr)
        captionRenderer_->options &= ~8;
    if ((creditRenderer_ = app.createTextRenderer(creditView_, 13)) != nullptr)
        creditRenderer_->options &= ~8;
    locked_ = 0;
    for (const auto& tip : kTips)
        setItemHelp(tip[0], 6006, tip[1], 0);
}

void MediaPane::detachItems() {
    captionView_ = creditView_ = nullptr;
    captionRenderer_ = creditRenderer_ = nullptr;
    zoomGroup_ = transportGroup_ = frameGroup_ = nullptr;
    zoomText_ = nullptr;
    externalButton_ = rewindButton_ = forwardButton_ = nextButton_ = previousButton_ = nullptr;
    frameToggleButton_ = creditButton_ = nullptr;
    printView_ = nullptr;
    SVPane::detachItems();
}

void MediaPane::bindActions() {
    SVPane::bindActions();
    addAction(kLockButton, this, kLock, nullptr);
    for (int16_t id = kZoomGroup; id <= kFrameToggle; ++id)
        addAction(id, this, id, nullptr);
    for (int16_t id : {kPrint, kCreditButton, kDossier})
        addAction(id, this, id, nullptr);
}

ACommand* MediaPane::doCommand(int16_t id, long argument) {
    if (id == kPrint)
        return openPrintPreview();
    for (const Command& command : kCommands)
        if (command.id == id) {
            (this->*command.run)();
            return noChangeCommand();
        }
    return SVPane::doCommand(id, argument);
}

int16_t MediaPane::showing(ADisplayComponent* item, int16_t status, bool shown) {
    if (item)
        item->setVisible(shown);
    return status;
}

int16_t MediaPane::commandStatus(int16_t id, long argument) {
    const long docNo = state_ ? state_->getDocNo() : -1;
    ADocState* doc = state_ ? state_->getDocState() : nullptr;
    const int16_t kind = doc ? doc->fDocType : -1;
    const int16_t frames = state_ ? state_->fNbFrame : 1, frame = state_ ? state_->fNumFrame : 0;
    const bool zoomable = kind == kFlash || kind == kPicture;
    switch (id) {
        case kPrint: return IsPrintable(AMediaApp::current().getDocIconType(docNo)) ? 1 : 2;
        case kLock: return locked_ == 1 ? 5 : 1;
        case kZoomGroup: return showing(zoomGroup_, zoomable ? 1 : 2, zoomable);
        case kZoomOut: return canZoom(1, kind) ? 1 : 2;
        case kZoomIn: return canZoom(0, kind) ? 1 : 2;
        case kCreditButton:
        case kDossier: return 1;
        default: break;
    }
    const int16_t icon = iconType();
    const bool video = IsVideo(icon), flash = IsAutoFlash(icon);
    switch (id) {
        case kTransportGroup:
            if (rewindButton_)
                rewindButton_->setVisible(video);
            if (forwardButton_)
                forwardButton_->setVisible(video);
            return showing(transportGroup_, video || flash ? 1 : 2, video || flash);
        case kRewind:
            if (rewindButton_)
                rewindButton_->setVisible(video);
            return video ? (video_ && video_->canRewind() ? 1 : 2) : flash ? 1 : 2;
        case kStop: return video ? (video_ && video_->canStop() ? 1 : 2) : flash ? 1 : 2;
        case kPlay:
            if (video)
                return video_ && video_->isPlaying() ? 5 : video_ && video_->isStopped() ? 1 : 2;
            return flash ? 1 : 2;
        case kForward:
            if (forwardButton_)
                forwardButton_->setVisible(video);
            return video && video_ && video_->canFastForward() ? 1 : 2;
        // Icon 8 is the video with a Director companion, the one the external player plays.
        case kExternal: return showing(externalButton_, icon == 8 ? (externalMode_ ? 5 : 1) : 2, icon == 8);
        case kFrameGroup: return showing(frameGroup_, HasFrameSteps(icon) ? 1 : 2, HasFrameSteps(icon));
        case kPrevious: return showing(previousButton_, frame > 0 ? 1 : 2, frame > 0);
        case kNext: {
            bool more = frames > 1 && frame < frames - 1;
            return showing(nextButton_, more ? 1 : 2, more);
        }
        case kFrameToggle: return showing(frameToggleButton_, icon == 16 ? (frameToggle_ ? 5 : 1) : 2, icon == 16);
        default: return SVPane::commandStatus(id, argument);
    }
}

int16_t MediaPane::iconType() {
    return state_ && state_->getDocNo() >= 0 ? AMediaApp::current().getDocIconType(state_->getDocNo()) : -1;
}

// ---- The window's state ------------------------------------------------------

void MediaPane::showDocument(long docNo, int16_t frame, int16_t keepDocPart, int16_t keepRightPart) {
    frameToggle_ = 0;
    externalMode_ = 0;
    int16_t mode = 1, kind = kPicture, frames = 1;
    if (docNo >= 0) {
        ADocRefInfo info = AMediaApp::current().getDocRefInfo(docNo);
        frames = info.fNbFrame;
        switch (info.getMediaKind()) {
            case 4: mode = 1, kind = kPicture; break;
            case 5: mode = 2, kind = kVideo; break;
            case 3: mode = 3, kind = kFlash; break;
            default: break;
        }
        mediaKind_ = kind;
    }
    ADocState* oldDoc = state_ ? state_->getDocState() : nullptr;
    ARightState* oldRight = state_ ? state_->getRightState() : nullptr;
    ADocState* doc = nullptr;
    if (!keepDocPart) {
        doc = CheckAlloc(oldDoc ? new (std::nothrow) ADocState(*oldDoc) : new (std::nothrow) ADocState(mode),
                         "MediaPane", 230);
        doc->fPane = mode;
        doc->fDocType = kind;
        doc->fNew = 1;
    } else if (oldDoc) {
        doc = static_cast<ADocState*>(oldDoc->clone());
    }
    ARightState* right = nullptr;
    if (!keepRightPart) {
        right = CheckAlloc(oldRight ? new (std::nothrow) ARightState(*oldRight)
                                    : new (std::nothrow) ARightState(6005, -1),
                           "MediaPane", 240);
        right->fNew = 1;
    } else if (oldRight) {
        right = static_cast<ARightState*>(oldRight->clone());
    }
    auto* state = CheckAlloc(new (std::nothrow) AppState(5, -1, doc, nullptr, right, nullptr, docNo), kFile, 246);
    state->fNbFrame = frames;
    state->fNumFrame = frame;
    setState(state);
}

void MediaPane::setState(AppState* state) {
    delete state_;
    state_ = state;
    updatePane();
}

int16_t MediaPane::isLocked() {
    return state_ && state_->hasDocCadenas() ? 1 : 0;
}

void MediaPane::stopMedia() {
    ADocState* doc = state_ ? state_->getDocState() : nullptr;
    if (!doc)
        return;
    if (doc->fDocType == kFlash && flash_)
        flash_->stopAndRewind();
    else if (doc->fDocType == kVideo && video_)
        video_->stop();
}

void MediaPane::resumeVideo() {
    ADocState* doc = state_ ? state_->getDocState() : nullptr;
    if (doc && doc->fDocType == kVideo && video_)
        video_->play();
}

AString MediaPane::title() {
    return state_ ? AMediaApp::current().getDocTitle(state_->getDocNo()) : AString();
}

void MediaPane::showText(ARenderer* renderer, const std::string& text) {
    if (!renderer)
        return;
    // Laid out outside painting: measured where the view is drawn.
    AViewMeasureLock measuring(renderer == captionRenderer_ ? captionView_ : creditView_);
    renderer->setTextModel(text.c_str(), nullptr);
    renderer->relayoutFrom(0, true);
}

void MediaPane::updatePane() {
    SVPane::updatePane();
    if (!state_)
        return;
    const long docNo = state_->getDocNo();
    AMediaApp& app = AMediaApp::current();
    if (docNo < 0) {
        caption_.clear();
        credit_.clear();
        showText(captionRenderer_, caption_);
        showText(creditRenderer_, credit_);
        refreshCommands();
        return;
    }
    std::string title = app.getDocTitle(docNo).c_str();
    caption_ = "/!" + std::to_string(app.getDocIconType(docNo) + 4) + "!/ ";
    if (app.hasReferenceBase()) {
        size_t colon = title.find(':');
        std::string prefix = title.substr(0, colon), rest = colon == std::string::npos ? "" : title.substr(colon + 1);
        caption_ += "/3" + Escaped(prefix.c_str()) + " : /0" + Escaped(rest.c_str());
    } else {
        caption_ += Escaped(title.c_str());
    }
    showText(captionRenderer_, caption_);
    highlightCaption();
    AString credit = app.getDocCredit(docNo);
    credit_ = Escaped(credit.c_str());
    showText(creditRenderer_, credit_);
    if (creditButton_)
        creditButton_->setHelpText(credit.c_str(), 0);
    ADocState* doc = state_->getDocState();
    locked_ = doc ? doc->fCadenas : 0;
    refreshCommands();
}

void MediaPane::highlightCaption() {
    ADocModel* model = captionRenderer_ ? captionRenderer_->model() : nullptr;
    ARefHold<AHighlighter> held(model ? AMediaApp::current().newCaptionHighlighter() : nullptr);
    if (!held.get())
        return;
    AViewMeasureLock measuring(captionView_);
    // The words take the sheet's highlight styles, as in the article view.
    captionRenderer_->styleNumbers[0] = 3;
    captionRenderer_->styleNumbers[1] = 15;
    model->setHighlighter(held.get());
    captionRenderer_->layOut();
    held->scanAll(model);
    captionView_->invalidate();
}

// ---- Commands ----------------------------------------------------------------

void MediaPane::toggleLock() {
    locked_ = locked_ == 1 ? 0 : 1;
    if (ADocState* doc = state_ ? state_->getDocState() : nullptr)
        doc->fCadenas = locked_;
    refreshCommands();
}

void MediaPane::rewind() {
    if (IsVideo(iconType()) && video_)
        video_->rewind();
}

void MediaPane::stop() {
    int16_t icon = iconType();
    if (IsVideo(icon) && video_)
        video_->stop();
    else if (IsAutoFlash(icon) && flash_)
        flash_->stopAndRewind();
}

void MediaPane::playPause() {
    int16_t icon = iconType();
    if (IsVideo(icon) && video_)
        video_->isPlaying() ? video_->pause() : video_->play();
    else if (IsAutoFlash(icon) && flash_)
        flash_->play();
}

void MediaPane::fastForward() {
    if (IsVideo(iconType()) && video_)
        video_->fastForward();
}

void MediaPane::external() {
    if (videoFile_.empty() || directorFile_.empty() || GetFileAttributesA(videoFile_.c_str()) == INVALID_FILE_ATTRIBUTES ||
        GetFileAttributesA(directorFile_.c_str()) == INVALID_FILE_ATTRIBUTES)
        return;
    if (video_)
        video_->stop();
    AMediaApp& app = AMediaApp::current();
    runExternalPlayer(directorFile_, videoFile_, app.isNetworkInstall() ? app.tempFolder() : AString());
}

int16_t MediaPane::runExternalPlayer(const AString& directorPath, const AString& videoPath, const AString& folder) {
    char here[MAX_PATH];
    DWORD n = GetCurrentDirectoryA(MAX_PATH, here);
    AExternalPlayerResult result = RunExternalPlayer(directorPath.c_str(), videoPath.c_str(), folder.c_str(),
                                                     n && n < MAX_PATH ? here : ".");
    if (!result.written)
        AMediaApp::current().message(result.error.c_str());
    return result.started;
}

void MediaPane::previousFrame() {
    if (!state_ || state_->fNumFrame < 1)
        return;
    --state_->fNumFrame;
    if (flash_)
        flash_->gotoFrame(state_->fNumFrame);
    refreshCommands();
}

void MediaPane::nextFrame() {
    if (!state_ || state_->fNbFrame < 2 || state_->fNumFrame >= state_->fNbFrame - 1)
        return;
    ++state_->fNumFrame;
    if (flash_)
        flash_->gotoFrame(state_->fNumFrame);
    refreshCommands();
}

void MediaPane::toggleFrame() {
    if (flash_)
        flash_->gotoFrame(frameToggle_ ? 0 : 1);
    frameToggle_ = frameToggle_ ? 0 : 1;
}

void MediaPane::addToDossier() {
    if (state_)
        AMediaApp::current().addToCurrentDossier(state_);
}

// ---- Zoom --------------------------------------------------------------------

void MediaPane::setImageScales(int16_t defaultPercent) {
    setScales(AMediaApp::current().configString("IMAGE_SCALES").c_str(), defaultPercent);
}

void MediaPane::setFlashScales(int16_t defaultPercent) {
    setScales(AMediaApp::current().configString("FLASH_SCALES").c_str(), defaultPercent);
}

void MediaPane::setScales(const char* list, int16_t defaultPercent) {
    // Steps of 0 or less would draw nothing (or divide by zero): only the
    // positive numbers of the list are kept.
    std::string kept, text = list ? list : "";
    for (size_t at = 0; at <= text.size();) {
        size_t comma = text.find(',', at);
        long value = std::atol(text.substr(at, comma - at).c_str());
        if (value > 0 && value <= 32767)
            kept += (kept.empty() ? "" : ",") + std::to_string(value);
        at = comma == std::string::npos ? text.size() + 1 : comma + 1;
    }
    scales_.clear();
    const int16_t value = defaultPercent > 0 ? defaultPercent : 100;
    if (kept.empty()) {
        // Without a list the cycler would read an empty text as a step of 0.
        scales_.append(value);
        scales_.setCurrent(0);
        defaultScaleIndex_ = 0;
    } else {
        defaultScaleIndex_ = scales_.fill(kept.c_str(), value);
    }
    updateZoomLabel();
}

bool MediaPane::canZoom(int16_t direction, int16_t kind) {
    if ((kind != kFlash && kind != kPicture) || scales_.count() == 0)
        return false;
    return direction == 1 ? scales_.hasPrevious() : scales_.hasNext();
}

void MediaPane::zoomStep(int16_t direction) {
    ADocState* doc = state_ ? state_->getDocState() : nullptr;
    if (!doc || !canZoom(direction, doc->fDocType))
        return;
    if (scales_.step(direction == 1 ? 1 : 0)) {
        applyZoom();
        updateZoomLabel();
    }
}

void MediaPane::applyZoom() {
    ADocState* doc = state_ ? state_->getDocState() : nullptr;
    if (!doc || scales_.count() == 0)
        return;
    long percent = scales_.currentValue();
    if (doc->fDocType == kPicture) {
        if (auto* view = dynamic_cast<AHotspotView*>(printView_))
            if (ABitmapLayer* layer = view->bitmapLayer()) {
                layer->setDisplayMode(0, true);
                layer->setScale(static_cast<int16_t>(percent), true, true);
            }
    } else if (doc->fDocType == kFlash && flash_) {
        flash_->zoom(percent, scales_.previousValue());
    }
}

AString MediaPane::zoomLabelFor(long percent) {
    if (percent == 100)
        return AString("ZOOM");
    char text[24];
    std::snprintf(text, sizeof text, "%ld%%", percent);
    return AString(text);
}

void MediaPane::updateZoomLabel() {
    if (zoomText_)
        zoomText_->setText(zoomLabelFor(scales_.count() ? scales_.currentValue() : 100).c_str());
    refreshCommands();
}

AString MediaPane::zoomText() const {
    return zoomText_ ? zoomText_->getText() : AString();
}

// ---- Printing ----------------------------------------------------------------

ACommand* MediaPane::openPrintPreview() {
    // A preview already open is prepared again (the options may have changed).
    if (auto* open = dynamic_cast<ASVMediaPreviewDlg*>(previewDialog_)) {
        open->prepare();
        return noChangeCommand();
    }
    previewDialog_ = nullptr;
    const bool flash = mediaKind_ == kFlash;
    AString movie = flash && flash_ ? flash_->movieFile() : AString();
    if (flash && movie.empty())
        return noChangeCommand();
    const char* layout = flash ? ASVFlashPreviewDlg::kLayoutName : ASVJpegPreviewDlg::kLayoutName;
    auto* preview = dynamic_cast<ASVMediaPreviewDlg*>(AComponent::loadLayout(this, layout, 0));
    if (!preview)
        return noChangeCommand();
    if (auto* flashPreview = dynamic_cast<ASVFlashPreviewDlg*>(preview))
        flashPreview->setMovie(movie, flash_->currentFrame());
    preview->setOwner(this);
    previewDialog_ = preview;
    preview->centerIn(this, true);
    preview->show(true);
    preview->prepare();
    return noChangeCommand();
}

long MediaPane::previewDocNo() {
    return state_ ? state_->getDocNo() : -1;
}

void MediaPane::showPreviewOptions() {
    if (printView_)
        perform(printView_->printOptions());
}

void MediaPane::previewClosed(ASVMediaPreviewDlg* preview) {
    if (previewDialog_ == preview)
        previewDialog_ = nullptr;
}
