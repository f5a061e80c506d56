// The dossier and note windows loaded from the reader's layouts over a small
// installation: dossier commands, their questions and the store they leave,
// the note window's browsing, editing and deleting; screenshots of both.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/online/ADocNetManager.h"
#include "docengine/model/ADocModel.h"
#include "docengine/model/AHiliteRangeMap.h"
#include "docengine/render/AListRenderer.h"
#include "docengine/render/ARendererViews.h"
#include "framework/controls/AEditBox.h"
#include "framework/windows/AWindowShell.h"
#include "panes/docks/workspace/ADossierManager.h"
#include "panes/docks/workspace/ANoteManager.h"
#include "panes/docks/workspacewin/AWorkspaceWinApp.h"
#include "panes/docks/workspacewin/DossierWin.h"
#include "panes/docks/workspacewin/NotePane.h"
#include "panes/docks/workspacewin/SVDialog.h"
#include "panes/docks/workspacewin/WorkspaceLineGetters.h"
#include "search/facade/ASearchBase.h"
#include "tests/reader/AppMainTestSupport.h"
#include "tests/framework/graphics/GraphicsTestSupport.h"

namespace {

class WorkspaceWindowsTest : public TheAppTest {
protected:
    void SetUp() override {
        TheAppTest::SetUp();
        startWithoutFrame();
        ASSERT_FALSE(HasFatalFailure());
        ASearchBase* base = app->getDataManager()->getBase(13);
        ASSERT_TRUE(base);
        documents = base->getRecordCount(0);
        ClearBoxes();
    }
    void TearDown() override {
        BoxAnswer() = IDOK;
        TheAppTest::TearDown();
    }
    long documents = 0;
};

std::string Names(ADossierManager& dossiers) {
    std::string out;
    for (long i = 0; i < dossiers.getDossierCount(); ++i)
        out += std::string(dossiers.getDossierAt(i)->getName().c_str()) + ";";
    return out;
}

void Snap(AWindow* window, const char* name) {
    if (AWindowShell* shell = window->getNativeWindow())
        printf("%s: %s\n", name, Canvas::saveWindow(shell->hwnd(), name, [] { AApp::current()->flushUpdates(); }).c_str());
}

// A text-entry dialog that counts its closes instead of closing.
class CountingDialog : public SVGetTextDialog {
public:
    ACommand* closeWindow() override {
        ++closes;
        return noChangeCommand();
    }
    int closes = 0;
};

void AddDocuments(ADossierManager& dossiers, Dossier* dossier, long first, long count) {
    for (long i = 0; i < count; ++i)
        dossiers.addElement(dossier, dossiers.newElement(first + i), 0);
}

}  // namespace

TEST_F(WorkspaceWindowsTest, DossierCommandsAskAndLeaveTheStoreAsShown) {
    ADossierManager& dossiers = *app->getDossierManager();
    ASSERT_GE(documents, 4);
    while (dossiers.getDossierCount() > 0)
        dossiers.removeDossier(dossiers.getDossierAt(0)->getId());
    AddDocuments(dossiers, dossiers.createDossier("Histoire", 1), 0, 3);
    AddDocuments(dossiers, dossiers.createDossier("Sciences", 0), 1, 2);
    dossiers.createDossier("Vide", 0);
    app->openDossierWindow(-1, 0);
    DossierWin* window = DossierWin::shown();
    ASSERT_TRUE(window);
    EXPECT_EQ(3, window->dossierRows()->getLineCount());
    EXPECT_EQ(3, window->elementRows()->getLineCount());
    Snap(window, "dossier-window");

    // Commands on the row selected: copy, rename, and a copy of the copy.
    window->doCommand(DossierWin::kCopy, 0);
    EXPECT_EQ("Histoire (Copie )", std::string(dossiers.getCurrentDossier()->getName().c_str()));
    EXPECT_EQ(3, dossiers.getCurrentDossier()->elements().count());
    EXPECT_EQ(2, dossiers.documentCount(0)) << "the copy's documents are counted at once";
    dossiers.removeElementAt(dossiers.getDossierAt(0), 0, 0);
    EXPECT_TRUE(dossiers.isInDossiers(0, 0)) << "held by the copy alone";
    dossiers.addElement(dossiers.getDossierAt(0), dossiers.newElement(0), 0);
    window->doCommand(DossierWin::kCopy, 0);
    EXPECT_EQ("Histoire;Sciences;Vide;Histoire (Copie );Histoire (Copie 2);", Names(dossiers));
    window->nameField()->setText("Mon dossier");
    window->doCommand(DossierWin::kRename, 0);
    EXPECT_EQ("Mon dossier", std::string(dossiers.getCurrentDossier()->getName().c_str()));

    // A dossier without documents disables the deletion of a document.
    window->selectDossier(dossiers.getDossierAt(2)->getId(), 1);
    EXPECT_EQ(2, window->commandStatus(DossierWin::kDeleteElement, 0));
    EXPECT_EQ(1, window->commandStatus(DossierWin::kDelete, 0));

    // Cancel keeps it; OK deletes it and the dossier now at row 2 becomes current.
    BoxAnswer() = IDCANCEL;
    window->doCommand(DossierWin::kDelete, 0);
    EXPECT_EQ(5, dossiers.getDossierCount());
    BoxAnswer() = IDOK;
    ClearBoxes();
    window->doCommand(DossierWin::kDelete, 0);
    ASSERT_EQ(1u, CapturedBoxes().size());
    EXPECT_EQ("Voulez-vous vraiment supprimer le dossier Vide ?", CapturedBoxes()[0].text);
    EXPECT_EQ("Dossiers", CapturedBoxes()[0].caption);
    EXPECT_EQ("Histoire;Sciences;Histoire (Copie );Mon dossier;", Names(dossiers));
    EXPECT_EQ("Histoire (Copie )", std::string(dossiers.getCurrentDossier()->getName().c_str()));

    // Deleting a document of the current dossier saves the store.
    window->doCommand(DossierWin::kDeleteElement, 0);
    EXPECT_EQ(2, dossiers.getCurrentDossier()->elements().count());

    // Deleting every dossier: the last one is replaced by "Nouveau dossier".
    while (dossiers.getDossierCount() > 1)
        window->doCommand(DossierWin::kDelete, 0);
    ClearBoxes();
    window->doCommand(DossierWin::kDelete, 0);
    ASSERT_EQ(2u, CapturedBoxes().size());
    EXPECT_EQ(
        "Le dernier dossier a \xE9t\xE9 d\xE9truit.\nUn nouveau dossier par d\xE9"
        "faut va \xEAtre ajout\xE9",
        CapturedBoxes()[1].text);
    EXPECT_EQ("Nouveau dossier;", Names(dossiers));
    EXPECT_EQ(dossiers.getDossierAt(0), dossiers.getCurrentDossier());

    // Without a selected row the commands do nothing.
    window->dossierList()->renderer()->model()->markRange(0, 1, false, 0);
    EXPECT_EQ(2, window->commandStatus(DossierWin::kCopy, 0));
    window->doCommand(DossierWin::kCopy, 0);
    EXPECT_EQ(1, dossiers.getDossierCount());

    window->perform(window->doCommand(DossierWin::kClose, 0));
    EXPECT_EQ(nullptr, DossierWin::shown());
}

TEST_F(WorkspaceWindowsTest, NotesAreBrowsedEditedAndDeletedInMarkerOrder) {
    ANoteManager& notes = *app->getNoteManager();
    ASSERT_GE(documents, 3);
    const long docA = 1, docB = 2;
    long ids[3];
    AHiliteRangeMap* set = notes.getMarkerSet(docA);
    for (long i = 0; i < 3; ++i) {
        ids[i] = (i + 1) << 24 | docA;
        set->set(10 * (i + 1), ids[i]);
        std::string text = "Note " + std::to_string(i) + "\r\nsuite";
        notes.addPostit(new Postit(ids[i], text.c_str()), ids[i]);
    }
    const long other = 1L << 24 | docB;
    notes.getMarkerSet(docB)->set(5, other);
    notes.addPostit(new Postit(other, "Autre article"), other);

    NotePane* window = NotePane::openWindow(docA, ids[1], nullptr);
    ASSERT_TRUE(window);
    EXPECT_EQ(docA, window->currentDocument());
    EXPECT_EQ(ids[1], window->selectedNote());
    EXPECT_STREQ("Note 1\r\nsuite", window->editField()->getText().c_str());
    Snap(window, "note-window");

    // Switching notes stores the edit in memory only.
    window->editField()->setText("Chang\xE9");
    window->noteClicked("2");
    EXPECT_STREQ("Chang\xE9", notes.findPostit(ids[1])->getText().c_str());
    EXPECT_EQ(ids[2], window->selectedNote());

    // Deleting the last note of the list selects the first; in the middle, the next.
    window->deleteSelectedNote();
    EXPECT_EQ(ids[0], window->selectedNote());
    window->deleteSelectedNote();
    EXPECT_EQ(ids[1], window->selectedNote());
    window->deleteSelectedNote();
    EXPECT_EQ(-1, window->selectedNote());
    EXPECT_STREQ("", window->editField()->getText().c_str());
    EXPECT_TRUE(notes.hasMarkerSet(docA)) << "the document stays until the window is opened again";

    // Another document by a click in the document list.
    window->documentClicked("2");
    EXPECT_EQ(docB, window->currentDocument());
    EXPECT_EQ(other, window->selectedNote());

    // Collapsing moves the note panel's left edge by the width difference.
    long left = window->notePanel()->getSizeSpec().edges[0].value;
    window->setLayoutMode(0);
    EXPECT_EQ(left - 219, window->notePanel()->getSizeSpec().edges[0].value);
    window->setLayoutMode(1);
    EXPECT_EQ(left, window->notePanel()->getSizeSpec().edges[0].value);
}

TEST_F(WorkspaceWindowsTest, MarkersOpenTheNoteWindowWhoseSaveWritesTheStoreAndDialogsCloseOnOkAndCancel) {
    ANoteManager& notes = *app->getNoteManager();
    const long id = 1L << 24 | 2;
    notes.getMarkerSet(2)->set(30, id);
    notes.addPostit(new Postit(id, "Nouvelle note"), id);
    ASSERT_TRUE(notes.noteWindowOpener()) << "the application hooks its notes window to the store";
    notes.noteWindowOpener()(2, id, nullptr);
    AComponent* found = app->findDescendant(&NotePane::classRecord, nullptr);
    ASSERT_TRUE(found);
    auto* window = static_cast<NotePane*>(found->castTo(&NotePane::classRecord));
    EXPECT_EQ(id, window->selectedNote());
    EXPECT_STREQ("Nouvelle note", window->editField()->getText().c_str());

    std::string file = app->getUserFilesFolder().path().c_str() + std::string("\\sv.note");
    window->editField()->setText("Relue");
    window->perform(window->doCommand(NotePane::kSave, 0));
    EXPECT_NE(std::string::npos, ReadFileBytes(file).find("Relue")) << "Save writes the store";

    struct Case {
        int16_t command;
        int closes;
    } const cases[] = {{9, 1}, {10, 1}, {11, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        CountingDialog dialog;
        ACommand* answer = dialog.doCommand(c.command, 0);
        EXPECT_EQ(c.closes, dialog.closes);
        // Other commands are the window's: it has none of its own here.
        EXPECT_EQ(c.closes ? AComponent::noChangeCommand() : nullptr, answer);
    }
}

// The reader's adapter hands the online-document store's records to the
// dossier rows, so a page in a dossier shows its title.
TEST_F(WorkspaceWindowsTest, OnlinePagesInADossierShowTheirTitle) {
    app->loadDocNet();
    ASSERT_TRUE(app->getDocNetManager());
    long page = app->getDocNetManager()->getUrlDocNo("http://exemple.fr/page.htm;Le titre de la page");
    ASSERT_GE(page, 0);
    ADossierManager& dossiers = *app->getDossierManager();
    DossierElement* element = dossiers.newElement(page);
    element->kind = DossierElement::kOnlinePage;
    dossiers.addElement(dossiers.getCurrentDossier(), element, 0);
    ADossierElementLineGetter rows(AWorkspaceWinApp::current().documentBase(), 0, dossiers.getCurrentDossier());
    long last = rows.getLineCount() - 1;
    EXPECT_EQ("@" + std::to_string(page) + "\t19\tLe titre de la page", std::string(rows.getRawLine(last, last).c_str()));
}

// The text-entry layout of the dossier name: its prompt, field and buttons.
TEST_F(WorkspaceWindowsTest, TheTextEntryLayoutAsksForADossierName) {
    AComponent* made = AComponent::loadLayout(app, "GetText", 0);
    ASSERT_TRUE(made);
    auto* dialog = static_cast<SVGetTextDialog*>(made->castTo(&SVGetTextDialog::classRecord));
    ASSERT_TRUE(dialog);
    EXPECT_STREQ("Dossiers", dialog->getTitle().c_str());
    EXPECT_STREQ("Cr\xE9" "er le dossier :", dialog->getItemText(5500).c_str());
    AClusterItem* field = dialog->findItem(5501, false);
    ASSERT_TRUE(field);
    EXPECT_TRUE(field->isKindOf(&AEditBox::classRecord));
    for (int16_t button : {1, 2})
        EXPECT_TRUE(dialog->findItem(button, false)) << button;
    dialog->showUpdate();
    Snap(dialog, "text-entry-dialog");
    DeleteComponent(made);
}
