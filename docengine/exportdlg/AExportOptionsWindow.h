// The export options dialog on screen: a window opened from the layout
// "AExportOptionsDlg" (registered under that name, class number 0) whose
// Export (1010) and Close (1015) buttons run the export dialog's logic.
//
// It is the logic's host: the Save As box (AFileBox), the message box
// captioned with the application's title, and the export target. Options and
// target are not owned and must outlive the window; the logic is a member.
#pragma once

#include <cstdint>

#include "docengine/export/AExportOptionsDlg.h"
#include "framework/app/AWindow.h"

class AExportOptions;

// What the dialog exports: a view's document as an RTF file.
class AExportTarget {
public:
    virtual ~AExportTarget() = default;
    // whole: nonzero the whole document, 0 the selection; false when the file cannot be opened.
    virtual bool exportRtfFile(const AFileSpec& file, uint16_t whole) = 0;
};

class AExportOptionsWindow : public AWindow, public AExportDialogHost {
    SV_DECLARE_CLASS(AExportOptionsWindow)
public:
    // The layout's name.
    static const char* const kLayoutName;

    AExportOptionsWindow();
    ~AExportOptionsWindow() override;

    // Opens the dialog from its layout under parent; null when the layout
    // does not make one. The caller sets options, target and whole flag next.
    static AExportOptionsWindow* openDialog(AComponent* parent);

    void setOptions(AExportOptions* options) { logic_.setOptions(options); }
    void setTarget(AExportTarget* target) { target_ = target; }
    void setWhole(uint16_t whole) { logic_.setWhole(whole); }
    AExportOptionsDlg& logic() { return logic_; }

    // AComponent.
    // Record: AWindow's, FFFF.
    void readFrom(AMemoryStream& stream) override;
    void bindActions() override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t commandStatus(int16_t id, long argument) override;

    // AExportDialogHost.
    bool askSaveFile(const AFileSpec& proposed, const char* pattern, const char* typeName, const char* title,
                     AFileSpec* chosen) override;
    bool exportRtfFile(const AFileSpec& file, uint16_t whole) override;
    void showMessage(const AString& text, unsigned flags) override;
    void closeDialog() override { closing_ = true; }

private:
    AExportOptionsDlg logic_;
    AExportTarget* target_ = nullptr;  // not owned
    bool closing_ = false;
};
