// The main window's print and export commands for the reader: the article
// printed through the reader's printer with its title as page header, the
// export sheet opened on the article, and the RTF export of the result list.
// Installed as gFramePrinting by the application.
//
// What it needs of the application (titles, notes, the contents flag, style
// sheets, message boxes, the list's export) comes through AReaderPrintServices,
// not owned. It is itself the printers' and exporter's source of the
// article's table of contents and of the notes, for the frame whose command runs.
#pragma once

#include <cstdint>

#include "app/frame/AFramePrinting.h"
#include "base/object/AFileSpec.h"
#include "base/object/AString.h"
#include "panes/docks/print/APrintSources.h"

class ALongDicInfo;
class SVPane;
class ARendererView;
class AStyleSheet;

class AReaderPrintServices {
public:
    virtual ~AReaderPrintServices() = default;
    virtual AString docTitle(long docNo) = 0;
    // Value 9 of the document's information record: it offers a table of contents.
    virtual bool hasContents(long docNo) = 0;
    virtual bool hasNote(long docNo) = 0;
    virtual AString notesText(long docNo) = 0;
    // A sheet of the application's set, or null.
    virtual AStyleSheet* styleSheet(long number) = 0;
    // A message box titled with the application's window title (flags 0x40 information, 0x30 warning).
    virtual void message(const AString& text, unsigned flags) = 0;
    // The user's documents folder ("Personal").
    virtual AFileSpec personalFolder();
    // The save box: false when cancelled.
    virtual bool askSaveFile(const AFileSpec& proposed, const char* pattern, const char* typeName, const char* title,
                             AFileSpec* chosen);
    // Exports the list pane's first `lines` lines to file as RTF; false when the file cannot be opened.
    virtual bool exportList(ARendererView* list, const AFileSpec& file, long lines);
    // Opens the Flash print preview on the movie the pane shows; false when it is not a movie pane.
    virtual bool openFlashPreview(SVPane* pane);
};

class ASVFramePrinting : public AFramePrinting, public APrintSources {
public:
    explicit ASVFramePrinting(AReaderPrintServices* services) : services_(services) {}

    ACommand* printCommand(Frame1& frame, int16_t mode) override;
    ACommand* printDocument(Frame1& frame, int16_t mode, SVPane* pane) override;
    void exportCommand(Frame1& frame) override;
    void exportRtf(Frame1& frame) override;
    // Writes keys 1, 2 and 3 (and, for an export, clears 6 and 7) for the pane's view.
    void writeOpenerKeys(Frame1& frame, ARendererView* view, ALongDicInfo& options, bool forExport);

    // APrintSources, for the frame whose command runs.
    AString contentsText() override;
    AString notesText() override;
    AString docTitle() override;

    // The renderer view of a pane, or null.
    static ARendererView* ViewOf(SVPane* pane);
    // True when the layout resource exists: the print command looks it up before building it.
    static bool LayoutExists(const char* name);

private:
    long currentDoc() const;
    void doExport(Frame1& frame, SVPane* pane);

    AReaderPrintServices* services_;  // not owned
    Frame1* frame_ = nullptr;         // not owned: the frame of the running command
};
