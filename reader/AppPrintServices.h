// What the reader's print and export commands ask of the application: the
// current document's title and notes, the style sheets, the message boxes.
// Owned by TheApp, which installs the main window's printing over it.
#pragma once

#include "panes/docks/print/AMediaPreviewApp.h"
#include "panes/docks/print/ASVFramePrinting.h"

class TheApp;

class AppPrintServices : public AReaderPrintServices, public AMediaPreviewApp {
public:
    explicit AppPrintServices(TheApp& app) : app_(app) {}

    // The data manager's answers; empty and false without it.
    AString docTitle(long docNo) override;
    bool hasContents(long docNo) override;
    bool hasNote(long docNo) override;
    AString notesText(long docNo) override;
    AStyleSheet* styleSheet(long number) override;
    void message(const AString& text, unsigned flags) override;
    bool openFlashPreview(SVPane* pane) override;

    // The media previews' questions.
    ALongDicInfo* printOptions() override;
    ARenderer* createHotspotRenderer(ARendererView* view) override;
    ARenderer* createTextRenderer(ARendererView* view, long sheet) override;
    ABitmapSupplier* newDocBitmapSupplier(long docNo) override;
    AString docLegend(long docNo) override;
    AString docCopyright(long docNo) override;
    AString extractDocImage(long docNo) override;
    AString fillMediaTemplate(const char* templateName, const AMediaTemplateValues& values) override;

private:
    TheApp& app_;
};
