// The window "Mes dossiers": the reader's dossiers on the left, the documents
// of the current dossier on the right, and the buttons that create, copy,
// rename and delete dossiers and delete documents. A click on a document
// opens it in the main window (a media document in the media window).
//
// Holds one reference on each line getter it shows; the manager, the frame
// and the items are not owned. Commands that take a selected row do nothing
// without one.
#pragma once
#include <cstdint>

#include "framework/app/AWindow.h"
class ADossierElementLineGetter;
class ADossierLineGetter;
class ADossierManager;
class AEditBox;
class AListRenderer;
class ARenderer;
class ARendererView;
class Dossier;

class DossierWin : public AWindow {
    SV_DECLARE_CLASS(DossierWin)
public:
    enum : int16_t {
        kNew = 6501,
        kCopy = 6502,
        kDelete = 6503,
        kDeleteElement = 6504,
        kNameField = 6505,
        kDossierList = 6506,
        kElementList = 6507,
        kRename = 6508,
        kClose = 6646
    };
    DossierWin() = default;
    ~DossierWin() override;
    void setUpItems() override;
    void detachItems() override;
    void bindActions() override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t commandStatus(int16_t id, long argument) override;
    void linkChanged(AComponent* source, const AKindSet& kinds) override;
    ACommand* closeWindow() override;

    void setManager(ADossierManager* manager);
    void refreshLists();
    void setPendingElement(long reference, int16_t kind) {
        pendingReference_ = reference;
        pendingKind_ = kind;
    }
    void selectDossier(long id, int16_t rebuild);
    void newDossier();
    void copyDossier();
    void setDossierName();
    void deleteDossier();
    void deleteElement();
    void openElement(ARenderer* renderer);
    void openOnlinePage(long number);
    void openDocument(long reference);

    long dossierIdAt(long row);
    long lineOfDossier(const Dossier* dossier);
    long lineOfElement(long reference, int16_t kind);
    long selectedDossierRow() const;
    long selectedElementRow() const;
    ADossierLineGetter* dossierRows() const { return dossierRows_; }
    ADossierElementLineGetter* elementRows() const { return elementRows_; }
    AEditBox* nameField() const { return nameField_; }
    ARendererView* dossierList() const { return dossierList_; }
    ARendererView* elementList() const { return elementList_; }

    // The one window of the main frame: made from the layout "Dossier" on
    // first use, refreshed after; the element to select is set last.
    static DossierWin* show(ADossierManager* manager, long reference, int16_t kind);
    static DossierWin* shown() { return theWindow_; }

private:
    void showCurrentName();
    // The current dossier, else the first: the one the lists show; -1 for none.
    long shownDossierId() const;
    AListRenderer* listRenderer(ARendererView* view) const;

    ARendererView* dossierList_ = nullptr;              // not owned
    ARendererView* elementList_ = nullptr;              // not owned
    AEditBox* nameField_ = nullptr;                     // not owned
    ADossierLineGetter* dossierRows_ = nullptr;         // one reference
    ADossierElementLineGetter* elementRows_ = nullptr;  // one reference
    ADossierManager* manager_ = nullptr;                // not owned
    int16_t elementCount_ = 0;
    int16_t rebuildElements_ = 0;
    int16_t rebuildDossiers_ = 0;
    long pendingReference_ = 0;
    int16_t pendingKind_ = 0;
    int16_t showingName_ = 0;
    int16_t rebuilding_ = 0;
    static DossierWin* theWindow_;
};
