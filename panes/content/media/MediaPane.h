// The whole content of a media window: the caption band with its buttons,
// the media area (one sub-pane per media kind), the credit line and the
// zoom, transport and frame groups. It owns the window's own navigation
// state (never the main frame's), which its sub-panes take as theirs;
// commands go through one table of ids.
//
// Owns its state; the window, the sub-panes, the views and the items are
// not owned. A missing window or item is a layout fault ("MediaPane",
// line). Zoom steps are percentages.
#pragma once

#include <cstdint>
#include <string>

#include "app/frame/SVPane.h"
#include "app/state/ALongCycler.h"
#include "base/object/AString.h"
#include "panes/content/media/AMediaStatePane.h"
#include "panes/docks/print/AMediaPreviewApp.h"

class ADisplayComponent;
class AIconButton;
class AppState;
class ARenderer;
class ARendererView;
class AStaticItem;
class AStaticText;
class MediaImagePane;
class MediaWin;

// What the media pane asks of the video pane (document kind 5).
class AMediaVideoControl {
public:
    virtual ~AMediaVideoControl() = default;
    virtual void play() = 0;
    virtual void pause() = 0;
    virtual void stop() = 0;
    virtual void rewind() = 0;
    virtual void fastForward() = 0;
    virtual bool isStopped() = 0;
    virtual bool isPlaying() = 0;
    virtual bool canRewind() = 0;
    virtual bool canStop() = 0;
    virtual bool canFastForward() = 0;
};

// What the media pane asks of the Flash pane (document kind 3).
class AMediaFlashControl {
public:
    virtual ~AMediaFlashControl() = default;
    virtual void play() = 0;
    virtual void stopAndRewind() = 0;
    virtual void gotoFrame(int16_t frame) = 0;
    virtual void zoom(long percent, long previous) = 0;
    // The movie printed and the frame it stops at (negative: none).
    virtual AString movieFile() { return AString(); }
    virtual int16_t currentFrame() { return -1; }
};

class MediaPane : public SVPane, public AMediaPreviewOwner, public AMediaStatePane {
    SV_DECLARE_CLASS(MediaPane)
    friend struct MediaPaneTestAccess;
public:
    enum : int16_t {
        kDossier = 1048,
        kLockButton = 6010,
        kLock = 6011,
        kCaption = 6012,
        kZoomGroup = 6013,
        kZoomOut = 6014,
        kZoomIn = 6015,
        kTransportGroup = 6016,
        kRewind = 6017,
        kStop = 6018,
        kPlay = 6019,
        kForward = 6020,
        kExternal = 6021,
        kFrameGroup = 6022,
        kPrevious = 6023,
        kNext = 6024,
        kFrameToggle = 6025,
        kZoomText = 6026,
        kPrint = 6027,
        kCreditButton = 6028,
        kCredit = 6029,
    };
    // Media kinds, the document part's fDocType.
    enum : int16_t { kFlash = 3, kPicture = 4, kVideo = 5 };

    MediaPane() = default;
    ~MediaPane() override;

    void attachItems() override;
    void setUpItems() override;
    void detachItems() override;
    void bindActions() override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t commandStatus(int16_t id, long argument) override;
    void updatePane() override;
    AppState* currentState() override { return state_; }

    // The window's operations.
    void showDocument(long docNo, int16_t frame, int16_t keepDocPart, int16_t keepRightPart);
    int16_t isLocked();
    void stopMedia();
    void resumeVideo();
    int16_t mediaKind() const { return mediaKind_; }

    // Zoom steps from the configuration list with the default inserted.
    void setImageScales(int16_t defaultPercent);
    void setFlashScales(int16_t defaultPercent);
    void setScales(const char* list, int16_t defaultPercent);
    bool canZoom(int16_t direction, int16_t kind);
    void zoomStep(int16_t direction);
    void applyZoom();
    void updateZoomLabel();
    // "ZOOM" at 100, else "<n>%".
    static AString zoomLabelFor(long percent);

    // Command 6027: the preview of the picture (or the Flash frame) shown.
    ACommand* openPrintPreview();
    // Command 6021: the Director movie and its video handed to the player.
    int16_t runExternalPlayer(const AString& directorPath, const AString& videoPath, const AString& folder);

    AString title();

    // The window's own state, which its caption list reads.
    AppState* mediaState() override { return state_; }

    // The print preview's questions.
    long previewDocNo() override;
    AString previewTitle() override { return title(); }
    void showPreviewOptions() override;
    void previewClosed(ASVMediaPreviewDlg* preview) override;
    AString videoPath() const { return videoFile_; }
    AString directorPath() const { return directorFile_; }

    // Set by the sub-panes.
    void setWindow(MediaWin* window) { mediaWin_ = window; }
    void setImagePane(MediaImagePane* pane) { imagePane_ = pane; }
    void setVideoControl(AMediaVideoControl* video) { video_ = video; }
    void setFlashControl(AMediaFlashControl* flash) { flash_ = flash; }
    void setDirectorPane(SVPane* pane) { directorPane_ = pane; }
    SVPane* directorPane() const { return directorPane_; }
    void setMediaFiles(const AString& video, const AString& director) {
        videoFile_ = video;
        directorFile_ = director;
    }
    void setPrintView(ADisplayComponent* view) { printView_ = view; }
    void setFrameToggle(int16_t on) { frameToggle_ = on; }
    int16_t frameToggle() const { return frameToggle_; }
    // Cleared by every showDocument and set nowhere: the Director pane's road stays closed.
    int16_t externalMode() const { return externalMode_; }

    MediaImagePane* imagePane() const { return imagePane_; }
    ADisplayComponent* printView() const { return printView_; }
    ADisplayComponent* previewDialog() const { return previewDialog_; }
    AMediaItemCycler& scales() { return scales_; }
    const std::string& captionText() const { return caption_; }
    const std::string& creditText() const { return credit_; }
    AString zoomText() const;

private:
    // One handler per command id (the pane's command table).
    struct Command {
        int16_t id;
        void (MediaPane::*run)();
    };
    static const Command kCommands[];

    void toggleLock();
    void zoomOut() { zoomStep(1); }
    void zoomIn() { zoomStep(0); }
    void rewind();
    void stop();
    void playPause();
    void fastForward();
    void external();
    void previousFrame();
    void nextFrame();
    void toggleFrame();
    void nothing() {}
    void addToDossier();

    void setState(AppState* state);
    void refreshCommands() { queueUpdate(0); }
    void showText(ARenderer* renderer, const std::string& text);
    // The main window's search words marked in the caption.
    void highlightCaption();
    int16_t iconType();
    // Shows or hides an item with the status that decides it.
    int16_t showing(ADisplayComponent* item, int16_t status, bool shown);

    MediaWin* mediaWin_ = nullptr;             // not owned
    MediaImagePane* imagePane_ = nullptr;      // not owned
    AMediaVideoControl* video_ = nullptr;      // not owned
    AMediaFlashControl* flash_ = nullptr;      // not owned
    SVPane* directorPane_ = nullptr;           // not owned
    AString videoFile_;
    AString directorFile_;
    int16_t frameToggle_ = 0;
    int16_t externalMode_ = 0;
    ADisplayComponent* printView_ = nullptr;      // not owned
    ADisplayComponent* previewDialog_ = nullptr;  // not owned: the window owns itself
    AppState* state_ = nullptr;                   // owned
    int16_t locked_ = 0;
    ARendererView* captionView_ = nullptr;        // not owned
    ARenderer* captionRenderer_ = nullptr;        // held by the view
    AStaticItem* zoomGroup_ = nullptr;            // not owned
    AStaticText* zoomText_ = nullptr;             // not owned
    AStaticItem* transportGroup_ = nullptr;       // not owned
    AIconButton* externalButton_ = nullptr;       // not owned
    AIconButton* rewindButton_ = nullptr;         // not owned
    AIconButton* forwardButton_ = nullptr;        // not owned
    AIconButton* nextButton_ = nullptr;           // not owned
    AIconButton* previousButton_ = nullptr;       // not owned
    AMediaItemCycler scales_;
    long defaultScaleIndex_ = 0;
    AStaticItem* frameGroup_ = nullptr;           // not owned
    AIconButton* frameToggleButton_ = nullptr;    // not owned
    ARendererView* creditView_ = nullptr;         // not owned
    ARenderer* creditRenderer_ = nullptr;         // held by the view
    AIconButton* creditButton_ = nullptr;         // not owned
    int16_t mediaKind_ = kPicture;
    std::string caption_;
    std::string credit_;
};
