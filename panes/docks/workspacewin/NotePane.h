// The window "Mes notes": the documents that have notes on the left (which
// collapse to a narrow bar), the chosen document's title, its notes in the
// order of their markers and the text of the chosen note. Edited text goes
// to the store in memory when the reader changes note or document, deletes
// or saves; Save writes the file.
//
// Items are not owned; the note store is the application's.
#pragma once
#include <cstdint>

#include "framework/app/AWindow.h"
class AEditBox;
class ANoteManager;
class ARendererView;
class APane;
class ADisplayComponent;

class NotePane : public AWindow {
    SV_DECLARE_CLASS(NotePane)
public:
    enum : int16_t {
        kLeftColumn = 6601,
        kDocumentsPanel = 6602,
        kCollapsedBar = 6603,
        kNotePanel = 6604,
        kCollapse = 6621,
        kDocumentList = 6622,
        kExpand = 6631,
        kTitleView = 6642,
        kDeleteNote = 6643,
        kNoteList = 6644,
        kEditField = 6645,
        kSave = 6646,
        kGoTo = 6647,
        kExpandedImage = 6650,
        kCollapsedImage = 6651
    };
    NotePane() = default;
    void setUpItems() override;
    void detachItems() override;
    void bindActions() override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t commandStatus(int16_t id, long argument) override;

    void showNotesOf(long document, long noteId);
    void setOwner(APane* owner) { owner_ = owner; }
    void refresh();
    void fillNotesList();
    void selectNoteAt(long index);
    void storeEditedText();
    void deleteSelectedNote();
    void setLayoutMode(int16_t mode);
    void goToNote(long document, long position);
    // A click in the document list or the note list on the link of that name.
    void documentClicked(const char* name);
    void noteClicked(const char* name);

    long currentDocument() const { return currentDocument_; }
    long selectedNote() const { return selectedNote_; }
    int16_t layoutMode() const { return layoutMode_; }
    AEditBox* editField() const { return editField_; }
    ARendererView* noteList() const { return noteList_; }
    ARendererView* documentList() const { return documentList_; }
    ARendererView* titleView() const { return titleView_; }
    ADisplayComponent* notePanel() const { return notePanel_; }
    // The title markup of the current document (empty for none).
    AString titleText();

    // Loads the layout "Note", centres it, gives it the document and shows it.
    static NotePane* openWindow(long document, long noteId, APane* owner);

private:
    ANoteManager* notes() const;
    bool noteInList() const;

    ADisplayComponent* expandedImage_ = nullptr;
    ADisplayComponent* collapsedImage_ = nullptr;
    ADisplayComponent* leftColumn_ = nullptr;
    ADisplayComponent* documentsPanel_ = nullptr;
    ADisplayComponent* collapsedBar_ = nullptr;
    ADisplayComponent* notePanel_ = nullptr;
    ARendererView* documentList_ = nullptr;
    ARendererView* titleView_ = nullptr;
    ARendererView* noteList_ = nullptr;
    AEditBox* editField_ = nullptr;
    long panelWidth_ = 0;
    long barWidth_ = 0;
    int16_t layoutMode_ = 1;
    long openingDocument_ = 0;
    long currentDocument_ = -1;
    long selectedNote_ = -1;
    APane* owner_ = nullptr;  // kept, not used
    int16_t filling_ = 0;     // a list is given its rows
};
