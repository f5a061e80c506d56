// The application's part of printing and export: its services to the main
// window's commands, its print sheet and preview, the option files' folder.
#include "reader/AppPrintServices.h"
#include "reader/TheApp.h"

#include "app/data/AppDataManager.h"
#include "app/lists/StandardBitmapSupplier.h"
#include "docengine/render/ATextRenderer.h"
#include "docengine/render/AHotspotRenderer.h"
#include "base/procedural/AError.h"
#include "app/frame/Frame1.h"
#include "app/state/AppState.h"
#include "docengine/styles/AStyleSheetSet.h"
#include "framework/components/ALayoutLoader.h"
#include "framework/printing/APrinterOptions.h"
#include "panes/content/flash/FlashPane.h"
#include "panes/docks/print/ASVFlashPreviewDlg.h"
#include "panes/docks/print/ASVPrintOptionsDlg.h"
#include "panes/docks/workspace/ANoteManager.h"

AString AppPrintServices::docTitle(long docNo) {
    AppDataManager* data = app_.getDataManager();
    return data && docNo >= 0 ? data->getDocTitle(docNo) : AString();
}

bool AppPrintServices::hasContents(long docNo) {
    AppDataManager* data = app_.getDataManager();
    return data && docNo >= 0 && data->getDocRefInfo(docNo).getInfo(9) != 0;
}

bool AppPrintServices::hasNote(long docNo) {
    ANoteManager* notes = app_.getNoteManager();
    return notes && notes->hasNote(docNo);
}

AString AppPrintServices::notesText(long docNo) {
    ANoteManager* notes = app_.getNoteManager();
    return notes ? notes->getNotesText(docNo) : AString();
}

AStyleSheet* AppPrintServices::styleSheet(long number) {
    AStyleSheetSet* sheets = app_.styleSheets();
    return sheets ? sheets->getSheet(number) : nullptr;
}

void AppPrintServices::message(const AString& text, unsigned flags) {
    app_.messageBox(text.c_str(), app_.getWindowTitle().c_str(), flags, nullptr);
}

bool AppPrintServices::openFlashPreview(SVPane* pane) {
    auto* flash = dynamic_cast<FlashPane*>(pane);
    if (!flash)
        return false;
    AString movie = flash->movieFile().empty() ? flash->roomMovie() : flash->movieFile();
    auto* preview = dynamic_cast<ASVFlashPreviewDlg*>(AComponent::loadLayout(pane, ASVFlashPreviewDlg::kLayoutName, 0));
    if (!preview)
        return false;
    // The main window's own movie: no owner pane, so no caption page.
    preview->setMovie(movie, -1);
    preview->centerIn(pane, true);
    preview->show(true);
    preview->prepare();
    return true;
}

ALongDicInfo* AppPrintServices::printOptions() {
    Frame1* frame = app_.getFrame();
    return frame ? frame->getPrintOptionsFile() : nullptr;
}

ARenderer* AppPrintServices::createHotspotRenderer(ARendererView* view) {
    return app_.createHotspotRenderer(view);
}

ARenderer* AppPrintServices::createTextRenderer(ARendererView* view, long sheet) {
    return app_.createTextRenderer(view, sheet);
}

ABitmapSupplier* AppPrintServices::newDocBitmapSupplier(long docNo) {
    auto* supplier = new ASingleDocBitmapSupplier(docNo);
    supplier->addRef();
    return supplier;
}

// A media base without a legend or copyright field gives an empty text, not an
// assertion: the preview still shows the picture.
AString AppPrintServices::docLegend(long docNo) {
    AppDataManager* data = app_.getDataManager();
    try {
        return data && docNo >= 0 ? data->getDocLegend(docNo) : AString();
    } catch (const AError&) {
        return AString();
    }
}

AString AppPrintServices::docCopyright(long docNo) {
    AppDataManager* data = app_.getDataManager();
    try {
        return data && docNo >= 0 ? data->getDocCopyright(docNo) : AString();
    } catch (const AError&) {
        return AString();
    }
}

AString AppPrintServices::extractDocImage(long docNo) {
    AppDataManager* data = app_.getDataManager();
    if (!data || docNo < 0)
        return AString();
    ADocRefInfo info = data->getDocRefInfo(docNo);
    return app_.extractRecordToTemp(info.fCdBase, 0, info.fRecord, ".img");
}

AString AppPrintServices::fillMediaTemplate(const char* templateName, const AMediaTemplateValues& v) {
    AMediaPageValues values;
    values.file = v.movie;
    values.title = v.title;
    values.stop = v.stop;
    values.align = v.align;
    values.width = v.width;
    values.height = v.height;
    values.frame = v.frame;
    values.background = v.background;
    values.pageTitle = v.pageTitle;
    values.legend = v.legend;
    return app_.fillMediaTemplate(templateName, values, v.copyright);
}

AComponent* TheApp::makePrintOptionsDialog(ADisplayComponent* printed) {
    return ASVPrintOptionsDlg::openSheet(printed, ASVPrintOptionsDlg::kText);
}

AComponent* TheApp::makePreviewDialog(ADisplayComponent* printed) {
    if (!ASVFramePrinting::LayoutExists("Impression"))
        return AQuickTimeApp::makePreviewDialog(printed);
    AComponent* made = AComponent::loadLayout(printed, "Impression", 0);
    // Its layout's place counts from the printed view's corner: centred, the
    // window opens whole inside the screen, its title bar within reach.
    if (auto* window = made ? dynamic_cast<ADisplayComponent*>(made) : nullptr)
        window->centerIn(nullptr, true);
    return made;
}

AString TheApp::printFilesFolder() {
    return isNetworkInstall() ? getUserFilesFolder().path() : AString();
}

AString TheApp::getCurrentDocTitle() {
    Frame1* frame = getFrame();
    AppState* state = frame ? frame->currentState() : nullptr;
    return state && printServices_ ? printServices_->docTitle(state->getDocNo()) : AString();
}
