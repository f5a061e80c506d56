// The work-name dialogs of network installations: the base with the list of
// the reader's saved works (item 8202), the restore dialog ("WorkNameRestore")
// and the save dialog ("WorkNameSave", in SVWorkNameSaveDialog.h).
//
// Items are not owned (they belong to the window); the frame is not owned and
// must outlive the dialog. Missing items are assertions ("svworkname"). The
// dialogs are not modal: they close on a successful OK or on Annuler.
#pragma once

#include <cstdint>

#include "base/object/AFileSpec.h"
#include "base/object/AString.h"
#include "framework/app/AWindow.h"

class ARenderer;
class ARendererView;
class Frame1;

class SVWorkNameDialog : public AWindow {
    SV_DECLARE_CLASS(SVWorkNameDialog)
public:
    enum : int16_t { kMessageItem = 8201, kListItem = 8202, kRowHit = 3 };

    SVWorkNameDialog() = default;
    void setUpItems() override;
    void bindActions() override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t commandStatus(int16_t id, long argument) override;

    void setFrame(Frame1* frame) { frame_ = frame; }
    void setMessage(const char* text);
    // 1 save, 2 restore: the button 1 text and the title follow.
    void setMode(int16_t mode);
    int16_t mode() const { return mode_; }
    // The work to restore once the save succeeded (empty: none).
    void setWorkName(const AString& name) { workName_ = name; }
    const AString& workName() const { return workName_; }
    // The rows "name#name\n" of the folders of `folder`, in listing order;
    // names beginning with "." are left out.
    static AString buildWorkNameList(const AFileSpec& folder);
    // Rebuilds the list from the reader's folder.
    void refreshList();
    ARenderer* listRenderer() const;
    // The name of the row the reader clicked, empty when the hit is no row.
    AString clickedRow() const;

protected:
    Frame1* frame() const { return frame_; }
    // A message of the configuration in a box titled "Attention" (MB_ flags).
    int tell(const char* key, unsigned flags);

    int16_t mode_ = 0;
    ARendererView* list_ = nullptr;  // not owned
    AString workName_;
    Frame1* frame_ = nullptr;  // not owned
};

class SVWorkNameRestoreDialog : public SVWorkNameDialog {
    SV_DECLARE_CLASS(SVWorkNameRestoreDialog)
public:
    SVWorkNameRestoreDialog() = default;
    ACommand* doCommand(int16_t id, long argument) override;
    // False when the work does not exist (the reader was told); otherwise
    // asks whether to save the current work first and goes on accordingly.
    bool restoreWork(const AString& name);
};
