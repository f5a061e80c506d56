// What the media print previews ask of the application and of the media pane
// that opens them. The application installs its answers at start; tests give
// their own. Without an installed application the previews show nothing.
#pragma once

#include <cstdint>

#include "base/object/AString.h"

class ABitmapSupplier;
class ALongDicInfo;
class ARenderer;
class ARendererView;
class ASVMediaPreviewDlg;
class AStyleSheet;

// The values of a movie page template, in the template's order. The texts are
// plain: the page escapes them, and puts two line breaks between the legend
// and a non-empty copyright.
struct AMediaTemplateValues {
    AString movie;
    AString pageTitle;
    AString align;
    AString stop;
    long width = 0;
    long height = 0;
    long frame = -1;
    AString background;
    AString title;
    AString legend;
    AString copyright;
};

class AMediaPreviewApp {
public:
    virtual ~AMediaPreviewApp() = default;
    static AMediaPreviewApp* current();
    static void install(AMediaPreviewApp* app);

    // The main window's print options ("print.prf"), or null.
    virtual ALongDicInfo* printOptions() = 0;
    // Renderers made on the view; the view's layer holds them.
    virtual ARenderer* createHotspotRenderer(ARendererView* view) = 0;
    virtual ARenderer* createTextRenderer(ARendererView* view, long sheet) = 0;
    virtual AStyleSheet* styleSheet(long n) = 0;
    // A new supplier of the one picture of a document (the caller releases it).
    virtual ABitmapSupplier* newDocBitmapSupplier(long docNo) = 0;
    virtual AString docTitle(long docNo) = 0;
    virtual AString docLegend(long docNo) = 0;
    virtual AString docCopyright(long docNo) = 0;
    // The document's picture copied into a temporary ".img" file (deleted at
    // the next start if not before); empty when it cannot be read.
    virtual AString extractDocImage(long docNo) = 0;
    // An HTML page written from the named template of the installation, or "".
    virtual AString fillMediaTemplate(const char* templateName, const AMediaTemplateValues& values) = 0;
};

// A component that shows one media document: the media printer's caption page
// (key 10) is made for the document of the nearest holder around the printed view.
class AMediaDocHolder {
public:
    virtual ~AMediaDocHolder() = default;
    // Negative without a document.
    virtual long mediaDocNo() = 0;
};

// The slash markup of a caption page: the document's picture (item -1, drawn
// by the renderer's supplier) centred, then its legend and its copyright.
AString MediaCaptionMarkup(AMediaPreviewApp& app, long docNo);

// The media pane that owns a preview.
class AMediaPreviewOwner {
public:
    virtual ~AMediaPreviewOwner() = default;
    // The document of the pane's navigation state; negative without one.
    virtual long previewDocNo() = 0;
    virtual AString previewTitle() = 0;
    // Opens the pane's print options sheet.
    virtual void showPreviewOptions() = 0;
    // The preview closes: the pane forgets it.
    virtual void previewClosed(ASVMediaPreviewDlg* preview) = 0;
};
