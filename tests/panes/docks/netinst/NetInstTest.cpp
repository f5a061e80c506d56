// Network installations driven through the reader's layouts: identification,
// saving a work (passwords, replacement, refused names), restoring it (only
// the files it holds, the password dialog, the chained save), the list of
// works; screenshots of "Identification" and "WorkNameSave".
#include <gtest/gtest.h>
#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "app/frame/AWorkFolders.h"
#include "app/frame/Frame1.h"
#include "app/prefs/APrefManager.h"
#include "app/state/AppState.h"
#include "base/procedural/AError.h"
#include "docengine/render/ARenderer.h"
#include "framework/windows/AWindowShell.h"
#include "panes/docks/workspace/ADossierManager.h"
#include "panes/docks/netinst/AWorkNamePasswdDlg.h"
#include "panes/docks/netinst/SVIdentificationDialog.h"
#include "panes/docks/netinst/SVWorkNameSaveDialog.h"
#include "tests/reader/AppMainTestSupport.h"
#include "tests/base/procedural/FileTestSupport.h"
#include "tests/framework/graphics/GraphicsTestSupport.h"

namespace {

// Message texts are their keys, so that the boxes say which message they show.
class NetInstApp : public FramelessTheApp {
public:
    AString configMessage(const char* key) override { return AString(key); }
};

// A command as the window's button gives it, and the queued work it leaves (closing).
void Act(AWindow* window, int16_t id) {
    AApp* app = AApp::current();
    app->perform(window->doCommand(id, 0));
    app->commandQueue().run();
}

// The answers the password dialog gets, one a turn: a text then OK, or Annuler.
struct PasswordAnswer {
    std::string text;
    bool ok;
};
std::deque<PasswordAnswer> g_answers;
int g_prompts = 0;

void AnswerPassword(AWindow* dialog) {
    AApp* app = AApp::current();
    if (g_answers.empty()) {
        ADD_FAILURE() << "the password dialog stayed open";
        app->setDialogResult(1);
        return;
    }
    PasswordAnswer answer = g_answers.front();
    g_answers.pop_front();
    ++g_prompts;
    dialog->setItemText(AWorkNamePasswdDlg::kPasswordItem, answer.text.c_str());
    Act(dialog, answer.ok ? AWindow::kOkCommand : AWindow::kCancelCommand);
}




std::vector<std::string> Texts() {
    std::vector<std::string> texts;
    for (const CapturedBox& box : CapturedBoxes())
        texts.push_back(box.text);
    return texts;
}

void Snap(AWindow* window, const char* name) {
    if (AWindowShell* shell = window->getNativeWindow())
        printf("%s: %s\n", name, Canvas::saveWindow(shell->hwnd(), name, [] { AApp::current()->flushUpdates(); }).c_str());
}

class NetInstTest : public TheAppTest {
protected:
    void SetUp() override {
        try {
            setUp();
        } catch (const AError& e) {
            CaptureStream report;
            e.report(report);
            FAIL() << "set-up: " << report.text;
        } catch (const struct FatalExit& e) {
            FAIL() << "set-up: fatal " << e.code << errors.text;
        }
    }
    void setUp() {
        TheAppTest::SetUp();
        ASSERT_TRUE(app);
        AComponent* root = app;
        DeleteComponent(root);
        app = testApp = new NetInstApp;
        app->setInstance(GetModuleHandleA(nullptr), "", SW_HIDE);
        AObject::completeNew(app);
        users = install.path("users");
        CreateDirectoryA(users.c_str(), nullptr);
        for (const char* reader : {"alice", "bob"})
            CreateDirectoryA((users + "\\" + reader).c_str(), nullptr);
        svIni("InstallReseau=1\r\nWorkPath=" + users + "\r\n");
        ASSERT_TRUE(app->readConfiguration());
        ASSERT_TRUE(app->findDataRoot());
        ASSERT_TRUE(app->createDataManager());
        ASSERT_TRUE(app->initData());
        ASSERT_TRUE(app->mountBases());
        AComponent* made = AComponent::loadLayout(app, "NetInstFrame", 0);
        frame = made ? static_cast<Frame1*>(made->castTo(&Frame1::classRecord)) : nullptr;
        ASSERT_TRUE(frame);
        ASSERT_EQ(frame, app->getFrame());
        previousStep_ = SetWorkDialogStep(AnswerPassword);
        g_answers.clear();
        g_prompts = 0;
        BoxAnswer() = IDOK;
        ClearBoxes();
    }
    void TearDown() override {
        SetWorkDialogStep(previousStep_);
        BoxAnswer() = IDOK;
        TheAppTest::TearDown();
    }
    // Reports a framework error or a fatal end with its text instead of an unknown exception.
    void guarded(const std::function<void()>& body) {
        try {
            body();
        } catch (const AError& e) {
            CaptureStream report;
            e.report(report);
            ADD_FAILURE() << report.text;
        } catch (const struct FatalExit& e) {
            ADD_FAILURE() << "fatal " << e.code << errors.text;
        }
    }
    template <class T>
    T* shown() {
        AComponent* found = app->findDescendant(&T::classRecord, nullptr);
        return found ? static_cast<T*>(found->castTo(&T::classRecord)) : nullptr;
    }
    template <class T>
    void closeAll() {
        while (T* window = shown<T>()) {
            AComponent* root = window;
            DeleteComponent(root);
        }
    }
    // The reader's save dialog with the name, the check box and the two fields.
    SVWorkNameSaveDialog* saveDialog(const char* name, bool checked, const char* password, const char* confirmation) {
        closeAll<SVWorkNameSaveDialog>();
        frame->workNameCommand(1, "");
        SVWorkNameSaveDialog* dialog = shown<SVWorkNameSaveDialog>();
        if (!dialog)
            return nullptr;
        dialog->setItemText(SVWorkNameSaveDialog::kNameItem, name);
        dialog->setPasswordChecked(checked);
        dialog->setItemText(SVWorkNameSaveDialog::kPasswordItem, password);
        dialog->setItemText(SVWorkNameSaveDialog::kConfirmItem, confirmation);
        return dialog;
    }
    std::string reader(const std::string& name) const { return users + "\\alice\\" + name; }

    std::string users;
    Frame1* frame = nullptr;

private:
    AWorkDialogStep previousStep_ = nullptr;
};

}  // namespace

TEST_F(NetInstTest, IdentificationAcceptsReadersAndRefusesOtherNamesWithoutTouchingTheDisc) {
    guarded([&] {
        frame->doMenuAction(3, 10);
        SVIdentificationDialog* dialog = shown<SVIdentificationDialog>();
        ASSERT_TRUE(dialog);
        EXPECT_EQ(1, dialog->mode());
        EXPECT_STREQ("MSG_RESEAU_USERNAME", dialog->getItemText(SVIdentificationDialog::kMessageItem).c_str());
        dialog->setItemText(SVIdentificationDialog::kNameItem, "alice");
        Snap(dialog, "identification");

        struct Row {
            const char* name;
            int16_t command;
            const char* message;
        } const rows[] = {
            {"zoe", AWindow::kOkCommand, "MSG_RESEAU_USERNAME_UNKNOWN"},
            {"", AWindow::kOkCommand, "MSG_RESEAU_USERNAME_UNKNOWN"},
            {"..", AWindow::kOkCommand, "MSG_RESEAU_USERNAME_UNKNOWN"},
            {"a\\b", AWindow::kOkCommand, "MSG_RESEAU_USERNAME_UNKNOWN"},
            {"CON", AWindow::kOkCommand, "MSG_RESEAU_USERNAME_UNKNOWN"},
            {"alice", SVIdentificationDialog::kNewItem, "MSG_RESEAU_USERNAME_EXISTYET"},
            {"", SVIdentificationDialog::kNewItem, "MSG_RESEAU_USERNAME_ERRCREATE"},
            {"..", SVIdentificationDialog::kNewItem, "MSG_RESEAU_USERNAME_ERRCREATE"},
            {"a\\b", SVIdentificationDialog::kNewItem, "MSG_RESEAU_USERNAME_ERRCREATE"},
            {"CON", SVIdentificationDialog::kNewItem, "MSG_RESEAU_USERNAME_ERRCREATE"},
        };
        std::vector<std::string> before = FolderEntries(users);
        for (const Row& row : rows) {
            SCOPED_TRACE(std::string(row.name) + " " + std::to_string(row.command));
            ClearBoxes();
            dialog->setItemText(SVIdentificationDialog::kNameItem, row.name);
            Act(dialog, row.command);
            ASSERT_EQ(1u, CapturedBoxes().size());
            EXPECT_EQ(row.message, CapturedBoxes()[0].text);
            EXPECT_EQ("Nom d'utilisateur incorrect", CapturedBoxes()[0].caption);
            EXPECT_EQ(dialog, shown<SVIdentificationDialog>()) << "a refused name leaves the dialog open";
            EXPECT_STREQ("", app->getCurrentUserName().c_str());
            EXPECT_EQ(before, FolderEntries(users));
        }

        // Annuler keeps the name empty: the next command asks again.
        Act(dialog, AWindow::kCancelCommand);
        EXPECT_FALSE(shown<SVIdentificationDialog>());
        EXPECT_STREQ("", app->getCurrentUserName().c_str());
        frame->doMenuAction(3, 11);
        dialog = shown<SVIdentificationDialog>();
        ASSERT_TRUE(dialog);
        EXPECT_EQ(2, dialog->mode());

        // A new reader gets a folder, and the dialog asked for opens with an empty list.
        dialog->setItemText(SVIdentificationDialog::kNameItem, "carol");
        Act(dialog, SVIdentificationDialog::kNewItem);
        EXPECT_FALSE(shown<SVIdentificationDialog>());
        EXPECT_STREQ("carol", app->getCurrentUserName().c_str());
        EXPECT_TRUE(PathExistsOnDisk(users + "\\carol"));
        SVWorkNameRestoreDialog* restore = shown<SVWorkNameRestoreDialog>();
        ASSERT_TRUE(restore);
        EXPECT_STREQ("", SVWorkNameDialog::buildWorkNameList(AFileSpec((users + "\\carol").c_str())).c_str());
        closeAll<SVWorkNameRestoreDialog>();

        // From now on the commands open the work-name dialogs directly.
        frame->doMenuAction(3, 10);
        EXPECT_FALSE(shown<SVIdentificationDialog>());
        SVWorkNameSaveDialog* save = shown<SVWorkNameSaveDialog>();
        ASSERT_TRUE(save);
        EXPECT_STREQ("MSG_RESEAU_WORKNAME_SAVE", save->getItemText(SVWorkNameDialog::kMessageItem).c_str());
        EXPECT_STREQ("Sauvegarder le travail en cours", save->getItemText(1).c_str());

        // An existing reader is taken by OK.
        Act(save, AWindow::kCancelCommand);
        EXPECT_FALSE(shown<SVWorkNameSaveDialog>());
        EXPECT_TRUE(app->setUserName("bob"));
        EXPECT_STREQ("bob", app->getCurrentUserName().c_str());
    });
}

TEST_F(NetInstTest, SavingWritesTheFilesAndThePasswordAndRefusesBadInput) {
    guarded([&] {
        ASSERT_TRUE(app->setUserName("alice"));
        WriteAll(reader("svnet.par"), "net");
        WriteAll(reader("sv.prf"), "prf");
        WriteAll(reader("sv.dos"), "dos");

        struct Row {
            const char* name;
            bool checked;
            const char* password;
            const char* confirmation;
            const char* message;     // the first box
            const char* passewd;     // "passewd.db", or null: no work made
        } const rows[] = {
            {"sans", false, "ignored", "other", "MSG_RESEAU_WORKNAME_SAVEOK", ""},
            {"vide", true, "", "", "MSG_RESEAU_WORKNAME_SAVEOK", ""},
            {"secret", true, "Secret", "Secret", "MSG_RESEAU_WORKNAME_SAVEOK", "Secret"},
            {"differe", true, "a", "b", "MSG_RESEAU_WORKNAME_DIFFERENTPASSE", nullptr},
            {"moitie", true, "a", "", "MSG_RESEAU_WORKNAME_CONFIRMPASSE", nullptr},
            {"", false, "", "", "MSG_RESEAU_WORKNAME_ERRCREATE", nullptr},
            {"..", false, "", "", "MSG_RESEAU_WORKNAME_ERRCREATE", nullptr},
            {"a\\b", false, "", "", "MSG_RESEAU_WORKNAME_ERRCREATE", nullptr},
            {"CON", false, "", "", "MSG_RESEAU_WORKNAME_ERRCREATE", nullptr},
        };
        for (const Row& row : rows) {
            SCOPED_TRACE(row.name);
            std::vector<std::string> before = FolderEntries(users + "\\alice");
            SVWorkNameSaveDialog* dialog = saveDialog(row.name, row.checked, row.password, row.confirmation);
            ASSERT_TRUE(dialog);
            ClearBoxes();
            Act(dialog, AWindow::kOkCommand);
            ASSERT_FALSE(CapturedBoxes().empty());
            EXPECT_EQ(row.message, CapturedBoxes()[0].text);
            EXPECT_EQ("Attention", CapturedBoxes()[0].caption);
            std::string work = reader(row.name);
            if (!row.passewd) {
                EXPECT_EQ(dialog, shown<SVWorkNameSaveDialog>()) << "a failed save leaves the dialog open";
                EXPECT_EQ(before, FolderEntries(users + "\\alice"));
                continue;
            }
            EXPECT_FALSE(shown<SVWorkNameSaveDialog>());
            EXPECT_EQ(row.passewd, ReadFileBytes(work + "\\passewd.db"));
            EXPECT_TRUE(PathExistsOnDisk(work + "\\passewd.db"));
            EXPECT_EQ("net", ReadFileBytes(work + "\\svnet.par"));
            EXPECT_EQ("prf", ReadFileBytes(work + "\\sv.prf"));
            EXPECT_EQ("dos", ReadFileBytes(work + "\\sv.dos"));
            EXPECT_FALSE(PathExistsOnDisk(work + "\\sv.note"));
            EXPECT_FALSE(PathExistsOnDisk(work + "\\docnet.par"));
            EXPECT_TRUE(PathExistsOnDisk(work + "\\sv.histo"));
        }
        // The differing confirmation is emptied.
        SVWorkNameSaveDialog* dialog = saveDialog("differe", true, "a", "b");
        Act(dialog, AWindow::kOkCommand);
        EXPECT_STREQ("", dialog->getItemText(SVWorkNameSaveDialog::kConfirmItem).c_str());
        EXPECT_STREQ("a", dialog->getItemText(SVWorkNameSaveDialog::kPasswordItem).c_str());

        // Replacing a protected work asks its password first: a refusal keeps it whole.
        WriteAll(reader("sv.prf"), "prf2");
        BoxAnswer() = IDYES;
        g_answers = {{"secret", true}, {"", false}};
        dialog = saveDialog("secret", false, "", "");
        ClearBoxes();
        Act(dialog, AWindow::kOkCommand);
        EXPECT_EQ(2, g_prompts);
        EXPECT_EQ((std::vector<std::string>{"MSG_RESEAU_WORKNAME_REPLACE", "MSG_RESEAU_WORKNAME_BAD_PASSEWORD"}), Texts());
        EXPECT_EQ("Mot de passe", CapturedBoxes()[1].caption);
        EXPECT_EQ("Secret", ReadFileBytes(reader("secret\\passewd.db")));
        EXPECT_EQ("prf", ReadFileBytes(reader("secret\\sv.prf")));
        // The right password replaces it.
        g_answers = {{"Secret", true}};
        Act(dialog, AWindow::kOkCommand);
        EXPECT_EQ("", ReadFileBytes(reader("secret\\passewd.db")));
        EXPECT_EQ("prf2", ReadFileBytes(reader("secret\\sv.prf")));
        for (const std::string& name : FolderEntries(users + "\\alice"))
            EXPECT_NE('.', name[0]) << "a sibling left: " << name;
    });
}

TEST_F(NetInstTest, RestoringBringsBackTheFilesOfTheWorkBehindItsPassword) {
    guarded([&] {
        ASSERT_TRUE(app->setUserName("alice"));
        app->loadPreferences();
        app->loadHistory(false, false);
        ASSERT_TRUE(app->getPrefManager());
        long states = app->getPrefManager()->getLong(APrefManager::kMaxStates);
        // Works made as the save makes them: one with preferences only, one protected.
        APrefManager saved(AFileSpec(users.c_str()), "sv.prf");
        saved.setLong(APrefManager::kMaxStates, states + 7);
        saved.save();
        for (const char* work : {"prefs", "locked"}) {
            CreateDirectoryA(reader(work).c_str(), nullptr);
            ASSERT_TRUE(CopyFileA((users + "\\sv.prf").c_str(), (reader(work) + "\\sv.prf").c_str(), FALSE));
        }
        WriteAll(reader("locked\\passewd.db"), "Secret");
        frame->goToState(frame->makeNavState(0, 0, 0, 0, 0, 1, 1), 1);
        AppState* shownState = frame->currentState();
        ASSERT_TRUE(shownState);

        struct Row {
            const char* work;
            std::deque<PasswordAnswer> answers;
            int16_t result;
            int prompts;
            std::vector<std::string> boxes;
        } const rows[] = {
            {"prefs", {}, 1, 0, {"MSG_RESEAU_WORKNAME_RESTOREOK"}},
            {"locked", {{"secret", true}, {"", false}}, 0, 2, {"MSG_RESEAU_WORKNAME_BAD_PASSEWORD"}},
            {"locked", {{"secret", true}, {"Secret", true}}, 1, 2,
             {"MSG_RESEAU_WORKNAME_BAD_PASSEWORD", "MSG_RESEAU_WORKNAME_RESTOREOK"}},
            {"absent", {}, 0, 0, {}},
            {"..", {}, 0, 0, {}},
            {"", {}, 0, 0, {}},
        };
        for (const Row& row : rows) {
            SCOPED_TRACE(row.work);
            app->getPrefManager()->setLong(APrefManager::kMaxStates, states);
            g_answers = row.answers;
            g_prompts = 0;
            ClearBoxes();
            EXPECT_EQ(row.result, frame->restoreWork(row.work));
            EXPECT_EQ(row.prompts, g_prompts);
            EXPECT_EQ(row.boxes, Texts());
            EXPECT_EQ(row.result ? states + 7 : states, app->getPrefManager()->getLong(APrefManager::kMaxStates));
            if (row.prompts) {
                EXPECT_EQ(row.result ? 2 : 1, app->modalAnswer());
            }
            // Without "sv.histo" the window stays on its state.
            EXPECT_EQ(shownState, frame->currentState());
        }
    });
}

TEST_F(NetInstTest, ARestoreAnsweredYesSavesTheCurrentWorkFirst) {
    guarded([&] {
        ASSERT_TRUE(app->setUserName("alice"));
        app->loadPreferences();
        app->loadHistory(false, false);
        // Three states in the chain, saved with the work "avant".
        for (int16_t mode = 1; mode <= 3; ++mode)
            frame->goToState(frame->makeNavState(0, 0, 0, 0, 0, 1, mode), 1);
        ASSERT_EQ(3, frame->stateCount());
        SVWorkNameSaveDialog* save = saveDialog("avant", false, "", "");
        ASSERT_TRUE(save);
        Act(save, AWindow::kOkCommand);
        ASSERT_TRUE(PathExistsOnDisk(reader("avant\\sv.histo")));
        // A different chain now; restoring "avant" after saving under "apres".
        frame->goToState(frame->makeNavState(0, 0, 0, 0, 0, 1, 1), 1);
        frame->goBack(1);
        frame->goToState(frame->makeNavState(0, 0, 0, 0, 0, 1, 2), 1);

        frame->workNameCommand(2, "");
        SVWorkNameRestoreDialog* restore = shown<SVWorkNameRestoreDialog>();
        ASSERT_TRUE(restore);
        EXPECT_STREQ("avant#avant\n", SVWorkNameDialog::buildWorkNameList(AFileSpec((users + "\\alice").c_str())).c_str());
        BoxAnswer() = IDYES;
        ClearBoxes();
        EXPECT_TRUE(restore->restoreWork("avant"));
        EXPECT_EQ(std::vector<std::string>{"MSG_RESEAU_WORKNAME_RESTORE_ASK"}, Texts());
        save = shown<SVWorkNameSaveDialog>();
        ASSERT_TRUE(save);
        EXPECT_STREQ("avant", save->workName().c_str());
        save->setItemText(SVWorkNameSaveDialog::kNameItem, "apres");
        ClearBoxes();
        Act(save, AWindow::kOkCommand);
        EXPECT_EQ((std::vector<std::string>{"MSG_RESEAU_WORKNAME_SAVEOK", "MSG_RESEAU_WORKNAME_RESTOREOK"}), Texts());
        EXPECT_TRUE(PathExistsOnDisk(reader("apres\\sv.histo")));
        // The restored history replaced the chain and its newest state shows.
        EXPECT_EQ(3, frame->stateCount());
        EXPECT_EQ(frame->headState(), frame->currentState());
        ASSERT_TRUE(frame->currentState());
        EXPECT_EQ(3, frame->currentState()->getScreenMode());
    });
}

TEST_F(NetInstTest, TheListHoldsTheFoldersAndAClickOnlyFillsTheName) {
    guarded([&] {
        std::string folder = install.path("liste");
        RemoveTree(folder);
        CreateDirectoryA(folder.c_str(), nullptr);
        EXPECT_STREQ("", SVWorkNameDialog::buildWorkNameList(AFileSpec(folder.c_str())).c_str());
        for (const char* sub : {"premier", "second", ".cache"})
            CreateDirectoryA((folder + "\\" + sub).c_str(), nullptr);
        WriteAll(folder + "\\fichier.txt", "x");
        std::string rows = SVWorkNameDialog::buildWorkNameList(AFileSpec(folder.c_str())).c_str();
        EXPECT_TRUE(rows == "premier#premier\nsecond#second\n" || rows == "second#second\npremier#premier\n") << rows;

        ASSERT_TRUE(app->setUserName("alice"));
        for (const char* work : {"Atlas du ciel", "Botanique"}) {
            SVWorkNameSaveDialog* save = saveDialog(work, false, "", "");
            ASSERT_TRUE(save);
            Act(save, AWindow::kOkCommand);
        }
        SVWorkNameSaveDialog* save = saveDialog("", true, "", "");
        ASSERT_TRUE(save);
        std::vector<std::string> before = FolderEntries(users + "\\alice");
        ARenderer* renderer = save->listRenderer();
        ASSERT_TRUE(renderer);
        save->setItemText(SVWorkNameSaveDialog::kNameItem, "Nouveau travail");
        app->flushUpdates();
        Snap(save, "worknamesave");
        save->setItemText(SVWorkNameSaveDialog::kNameItem, "");
        // The first point of the list that falls on a row.
        for (int y = 0; y < 60 && renderer->getHitKind() != SVWorkNameDialog::kRowHit; y += 2) {
            for (int x = 2; x < 120 && renderer->getHitKind() != SVWorkNameDialog::kRowHit; x += 6)
                renderer->setHitRecord(renderer->hitRecordAt(APoint(x, y)), false);
        }
        EXPECT_EQ(SVWorkNameDialog::kRowHit, renderer->getHitKind());
        Act(save, SVWorkNameDialog::kListItem);
        EXPECT_STREQ(renderer->getHitName().c_str(), save->getItemText(SVWorkNameSaveDialog::kNameItem).c_str());
        EXPECT_FALSE(save->getItemText(SVWorkNameSaveDialog::kNameItem).empty());
        EXPECT_EQ(before, FolderEntries(users + "\\alice")) << "a click saves nothing";
        EXPECT_EQ(save, shown<SVWorkNameSaveDialog>());
        closeAll<SVWorkNameSaveDialog>();
    });
}

// Before identification the reader uses the shared files; once named, the
// files in use go on in the reader's own folder, and a saved work holds them.
TEST_F(NetInstTest, AnIdentifiedReaderWorksInItsOwnFolderAndItsWorksHoldThoseFiles) {
    guarded([&] {
        ASSERT_TRUE(app->loadDossiers());
        app->getDossierManager()->createDossier("Commun", 0);
        app->getDossierManager()->save();
        const std::string shared = ReadFileBytes(users + "\\sv.dos");
        ASSERT_NE(std::string::npos, shared.find("Commun"));

        ASSERT_TRUE(app->createUserName("carole"));
        const std::string own = users + "\\carole\\sv.dos";
        EXPECT_EQ(shared, ReadFileBytes(own)) << "the dossiers in use carried over";
        app->getDossierManager()->createDossier("Carole seule", 0);
        app->getDossierManager()->save();
        EXPECT_NE(std::string::npos, ReadFileBytes(own).find("Carole seule"));
        EXPECT_EQ(shared, ReadFileBytes(users + "\\sv.dos")) << "the shared file is left alone";

        SVWorkNameSaveDialog* dialog = saveDialog("travail", false, "", "");
        ASSERT_TRUE(dialog);
        Act(dialog, AWindow::kOkCommand);
        EXPECT_EQ(ReadFileBytes(own), ReadFileBytes(users + "\\carole\\travail\\sv.dos"));
    });
}
