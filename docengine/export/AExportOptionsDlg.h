// The export dialog's logic: asks for an RTF file (proposing "export.rtf" in
// the folder of the last export, else the user's documents folder), exports
// the target view to it, reports a file that cannot be opened, and remembers
// a new folder in the export options.
//
// The save box, the message box and the export target are reached through
// AExportDialogHost, so that the logic runs without windows; the on-screen
// dialog supplies them. Not owned: options and host belong to the caller.
#pragma once

#include <cstdint>

#include "base/object/AFileSpec.h"
#include "base/object/AString.h"

class AExportOptions;

class AExportDialogHost {
public:
    virtual ~AExportDialogHost() = default;
    // The save box: proposes file, offers the type (pattern, name); false when cancelled.
    virtual bool askSaveFile(const AFileSpec& proposed, const char* pattern, const char* typeName, const char* title,
                             AFileSpec* chosen) = 0;
    // Exports the target's document (whole: all of it, else its selection); false when the file cannot be opened.
    virtual bool exportRtfFile(const AFileSpec& file, uint16_t whole) = 0;
    // A message box with the exclamation icon (0x30), titled with the application's title.
    virtual void showMessage(const AString& text, unsigned flags) = 0;
    // Not close(): a component host would override its own teardown with it.
    virtual void closeDialog() = 0;
    // The user's documents folder ("Personal").
    virtual AFileSpec personalFolder();
};

// The user's documents folder ("Personal"); empty when the system has none.
AFileSpec PersonalFolder();

class AExportOptionsDlg {
public:
    enum : long { kExportCommand = 1010, kCloseCommand = 1015 };

    AExportOptionsDlg(AExportOptions* options, AExportDialogHost* host, uint16_t whole);
    virtual ~AExportOptionsDlg();
    AExportOptionsDlg(const AExportOptionsDlg&) = delete;
    AExportOptionsDlg& operator=(const AExportOptionsDlg&) = delete;

    // 1010 exports and closes, 1015 closes; false for any other command.
    bool doCommand(long command);
    bool isEnabled(long command) const { return command == kExportCommand || command == kCloseCommand; }
    // Set by the dialog's window after it is made from its layout.
    void setOptions(AExportOptions* options) { options_ = options; }
    void setWhole(uint16_t whole) { whole_ = whole; }

private:
    void exportAndClose();

    AExportOptions* options_;  // not owned
    AExportDialogHost* host_;  // not owned
    uint16_t whole_;
};

// The dialog while it exists (the newest one); null otherwise.
extern AExportOptionsDlg* gExportOptionsDlg;
