// The print preview of a Flash media ("ImpFlash"): the movie itself, or with
// key 10 a page from the template "flashMediaPrint.html" carrying the title,
// legend and copyright, stopped at the chosen frame once the page has loaded;
// IMPRIMER prints the browser view, then closes. Opening the preview resets
// key 10 to full page; its MISE EN PAGE... button stays hidden.
#pragma once

#include <cstdint>

#include "base/object/AString.h"
#include "framework/components/ACommand.h"
#include "panes/docks/print/ASVMediaPreviewDlg.h"
#include "web/browser/AMozillaEvent.h"

class AMozillaView;
class ASVFlashPreviewDlg;

// Stops the movie and sends it to its frame at the end of a load: the page's
// script calls go through the view as "javascript:" addresses.
class ASVFlashPreviewHandler : public AMozillaHandler {
public:
    enum : int16_t { kBusy = -2 };
    ASVFlashPreviewHandler(ASVFlashPreviewDlg* preview, int16_t frame) : preview_(preview), frame_(frame) {}
    int16_t onEvent(AMozillaView* view, AMozillaEvent* event) override;
    int16_t frame() const { return frame_; }

private:
    ASVFlashPreviewDlg* preview_;  // not owned
    int16_t frame_;
};

class ASVFlashPreviewDlg : public ASVMediaPreviewDlg {
    SV_DECLARE_CLASS(ASVFlashPreviewDlg)
public:
    static constexpr const char* kLayoutName = "ImpFlash";
    static constexpr const char* kTemplate = "flashMediaPrint.html";

    ASVFlashPreviewDlg() = default;
    ~ASVFlashPreviewDlg() override;

    void setUpItems() override;
    void detachItems() override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t commandStatus(int16_t id, long argument) override;
    void prepare() override;
    void discard() override;

    // Keeps the movie and the frame to stop at (negative: none); answers the movie.
    const AString& setMovie(const AString& movie, int16_t frame);

    AMozillaView* view() const { return view_; }
    ASVFlashPreviewHandler* handler() const { return handler_; }
    const AString& page() const { return page_; }

private:
    void releaseHandler();

    AMozillaView* view_ = nullptr;              // not owned
    ASVFlashPreviewHandler* handler_ = nullptr;  // one reference held
    int16_t frame_ = -1;
    AString movie_;
    AString page_;
};

// Loads an address into a browser view when the command queue runs it.
class AFlashPreviewDlgCmd : public ACommand {
    SV_DECLARE_CLASS(AFlashPreviewDlgCmd)
public:
    AFlashPreviewDlgCmd() : AFlashPreviewDlgCmd(nullptr, nullptr, AString()) {}
    AFlashPreviewDlgCmd(AComponent* owner, AMozillaView* view, const AString& url);
    void execute() override;

    AMozillaView* fView;  // not owned
    AString fUrl;
};
