// What the reader's print and export commands ask of the application: the
// current document's title and notes, the style sheets, the message boxes.
// Owned by TheApp, which installs the main window's printing over it.
#pragma once

#include "panes/docks/print/ASVFramePrinting.h"

class TheApp;

class AppPrintServices : public AReaderPrintServices {
public:
    explicit AppPrintServices(TheApp& app) : app_(app) {}

    // The data manager's answers; empty and false without it.
    AString docTitle(long docNo) override;
    bool hasContents(long docNo) override;
    bool hasNote(long docNo) override;
    AString notesText(long docNo) override;
    AStyleSheet* styleSheet(long number) override;
    void message(const AString& text, unsigned flags) override;

private:
    TheApp& app_;
};
