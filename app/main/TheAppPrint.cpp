// The application's part of printing and export: its services to the main
// window's commands, its print sheet and preview, the option files' folder.
#include "app/main/AppPrintServices.h"
#include "app/main/TheApp.h"

#include "app/data/AppDataManager.h"
#include "app/frame/Frame1.h"
#include "app/state/AppState.h"
#include "docengine/styles/AStyleSheetSet.h"
#include "framework/components/ALayoutLoader.h"
#include "framework/printing/APrinterOptions.h"
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

AComponent* TheApp::makePrintOptionsDialog(ADisplayComponent* printed) {
    return ASVPrintOptionsDlg::openSheet(printed, ASVPrintOptionsDlg::kText);
}

AComponent* TheApp::makePreviewDialog(ADisplayComponent* printed) {
    if (!ASVFramePrinting::LayoutExists("Impression"))
        return AQuickTimeApp::makePreviewDialog(printed);
    return AComponent::loadLayout(printed, "Impression", 0);
}

AString TheApp::printFilesFolder() {
    return isNetworkInstall() ? getUserFilesFolder().path() : AString();
}

AString TheApp::getCurrentDocTitle() {
    Frame1* frame = getFrame();
    AppState* state = frame ? frame->currentState() : nullptr;
    return state && printServices_ ? printServices_->docTitle(state->getDocNo()) : AString();
}
