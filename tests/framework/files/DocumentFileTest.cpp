// Document handlers, openers and choosers on a small tree: titles, Save and
// Save As, files open twice, wrong types, numbering and the close question.
#include <gtest/gtest.h>
#include <windows.h>
// The dialog declarations need windows.h first.
#include <commdlg.h>

#include <deque>
#include <string>
#include <vector>

#include "framework/components/AActionTable.h"
#include "framework/files/AFileChooser.h"
#include "framework/files/AFileHandler.h"
#include "tests/framework/FrameworkTestSupport.h"

namespace {

// The files the next dialogs choose ("" cancels), and the names they were offered.
std::deque<std::string> gAnswers;
std::vector<std::string> gOffered;

int AnswerDialog(void* record, bool) {
    auto* d = static_cast<OPENFILENAMEA*>(record);
    gOffered.push_back(std::string(d->lpstrTitle ? d->lpstrTitle : "") + ":" + d->lpstrFile);
    std::string answer = gAnswers.empty() ? "" : gAnswers.front();
    if (!gAnswers.empty())
        gAnswers.pop_front();
    if (answer.empty())
        return 0;
    lstrcpynA(d->lpstrFile, answer.c_str(), d->nMaxFile);
    d->nFileOffset = static_cast<WORD>(answer.find_last_of('\\') + 1);
    return 1;
}

class TestWindow : public AComponent, public ADocumentWindow {
public:
    using AComponent::AComponent;
    AString windowTitle() override { return title; }
    void setWindowTitle(const AString& text) override { title = text; }
    void showWindow() override { ++shown; }
    AString title;
    int shown = 0;
};

// Writes succeed unless failWrites; counts them.
class TestHandler : public AFileHandler {
public:
    using AFileHandler::AFileHandler;
    using AFileHandler::readFrom;
    ACommand* writeTo(const AFileSpec& file) override {
        writes.push_back(file.name().c_str());
        return failWrites ? nullptr : noChangeCommand();
    }
    std::vector<std::string> writes;
    bool failWrites = false;
};

// Accepts files of its extension; its handlers go under the application.
class TestOpener : public AFileOpener {
public:
    TestOpener(AComponent* parent, int16_t id, const char* extension)
        : AFileOpener(parent, id), extension_(extension) {}
    bool canOpen(const AFileSpec& file) override {
        std::string name = file.name().c_str();
        return name.size() > extension_.size() &&
               name.compare(name.size() - extension_.size(), std::string::npos, extension_) == 0;
    }
    AFileHandler* makeDocument() override {
        auto* handler = new TestHandler(getApp(), 0);
        AObject::completeNew(handler);
        made.push_back(handler);
        return handler;
    }
    std::vector<TestHandler*> made;

private:
    std::string extension_;
};

template <class T, class... Args>
T* Make(Args... args) {
    T* c = new T(args...);
    AObject::completeNew(c);
    return c;
}

std::vector<std::string> Boxes() {
    std::vector<std::string> texts;
    for (const CapturedBox& box : CapturedBoxes())
        texts.push_back(box.text);
    ClearBoxes();
    return texts;
}

class DocumentFileTest : public FrameworkTest {
protected:
    void SetUp() override {
        FrameworkTest::SetUp();
        gAnswers.clear();
        gOffered.clear();
        previous_ = SetFileDialogCall(AnswerDialog);
        ClearBoxes();
    }
    void TearDown() override {
        SetFileDialogCall(previous_);
        FrameworkTest::TearDown();
    }
    // A document of one handler shown by `windows` windows, each with its menu handler.
    TestHandler* MakeDocument(int windows, std::vector<TestWindow*>* made, std::vector<AFileMenuHandler*>* menus) {
        AComponent* root = Make<AComponent>(static_cast<AComponent*>(app), int16_t{0});
        auto* handler = Make<TestHandler>(root, int16_t{0});
        for (int i = 0; i < windows; ++i) {
            auto* window = Make<TestWindow>(root, int16_t{0});
            made->push_back(window);
            menus->push_back(Make<AFileMenuHandler>(static_cast<AComponent*>(window), int16_t{0}));
        }
        return handler;
    }
    AFileDialogCall previous_ = nullptr;
};

TEST_F(DocumentFileTest, TitlesSavesAndTheAlreadyOpenQuestion) {
    std::vector<TestWindow*> windows;
    std::vector<AFileMenuHandler*> menus;
    TestHandler* handler = MakeDocument(1, &windows, &menus);
    ASSERT_EQ(handler, menus[0]->handler());
    handler->initUntitled(1);
    EXPECT_EQ("Sans Titre1", std::string(windows[0]->title.c_str()));

    // Save of an untitled document is Save As, offered under its title.
    gAnswers = {"C:\\docs\\a.txt"};
    EXPECT_EQ(1, menus[0]->commandStatus(AFileMenuHandler::kSaveAs, 0));
    EXPECT_EQ(2, menus[0]->commandStatus(AFileMenuHandler::kSave, 0));
    handler->setModified(1);
    EXPECT_EQ(1, menus[0]->commandStatus(AFileMenuHandler::kSave, 0));
    menus[0]->doCommand(AFileMenuHandler::kSave, 0);
    EXPECT_EQ((std::vector<std::string>{"Enregistrer sous:Sans Titre1"}), gOffered);
    EXPECT_EQ((std::vector<std::string>{"a.txt"}), handler->writes);
    EXPECT_EQ("a.txt", std::string(windows[0]->title.c_str()));
    EXPECT_FALSE(handler->isModified());

    // A read-only copy is titled so; its Save is Save As, which refuses a file
    // open anywhere (this one's own included) and asks again.
    auto* copy = Make<TestHandler>(static_cast<AComponent*>(app), int16_t{0});
    auto* copyWindow = Make<TestWindow>(static_cast<AComponent*>(app), int16_t{0});
    auto* copyMenu = Make<AFileMenuHandler>(static_cast<AComponent*>(copyWindow), int16_t{0});
    copyMenu->setHandler(copy);
    copy->setReadOnly(1);
    copy->openFile(AFileSpec("C:\\docs\\b.txt"));
    EXPECT_EQ("b.txt [Lecture seule]", std::string(copyWindow->title.c_str()));
    gOffered.clear();
    gAnswers = {"C:\\docs\\a.txt", "C:\\docs\\b.txt", "C:\\docs\\c.txt"};
    copy->setModified(1);
    copy->save();
    EXPECT_EQ((std::vector<std::string>{"a.txt est d\xE9j\xE0 ouvert", "b.txt est d\xE9j\xE0 ouvert"}), Boxes());
    EXPECT_EQ(3u, gOffered.size());
    EXPECT_EQ((std::vector<std::string>{"c.txt"}), copy->writes);
    EXPECT_EQ("c.txt", std::string(copyWindow->title.c_str()));
    EXPECT_FALSE(copy->isReadOnly());

    // A failed write keeps the file, the flags and the title; Save As keeps read-only.
    copy->failWrites = true;
    copy->setReadOnly(1);
    copy->setModified(1);
    gAnswers = {"C:\\docs\\d.txt"};
    copy->saveAs();
    EXPECT_TRUE(copy->isReadOnly());
    EXPECT_TRUE(copy->isModified());
    EXPECT_EQ("c.txt", std::string(copy->file().name().c_str()));

    // Save a copy changes nothing of the handler.
    copy->failWrites = false;
    gAnswers = {"C:\\docs\\e.txt"};
    copy->saveCopy();
    EXPECT_EQ("c.txt", std::string(copy->file().name().c_str()));
    EXPECT_TRUE(copy->isModified());
    EXPECT_EQ("e.txt", copy->writes.back());
}

TEST_F(DocumentFileTest, OpenersNumberNewDocumentsAndRefuseOtherTypes) {
    auto* texts = Make<TestOpener>(static_cast<AComponent*>(app), int16_t{31}, ".txt");
    auto* pages = Make<TestOpener>(static_cast<AComponent*>(app), int16_t{32}, ".htm");
    auto* chooser = Make<AFileChooser>(static_cast<AComponent*>(app), int16_t{0});
    EXPECT_EQ(texts, AFileOpener::find(0));
    EXPECT_EQ(pages, AFileOpener::find(32));

    // New and Open come with their trigger code: base 11 plus the offset.
    AActionRecord newCode = MakeActionRecord(nullptr, 1, 11, 0, 0);
    AActionRecord openCode = MakeActionRecord(nullptr, 1, 11, 1, 0);
    EXPECT_EQ(1, chooser->commandStatus(AFileChooser::kNew, ActionArgument(&newCode)));
    EXPECT_EQ(0, chooser->commandStatus(AFileChooser::kNew, ActionArgument(&openCode)));
    EXPECT_EQ(nullptr, chooser->doCommand(AFileChooser::kNew, ActionArgument(&openCode)));
    EXPECT_EQ(0u, texts->made.size());
    chooser->doCommand(AFileChooser::kNew, ActionArgument(&newCode));
    pages->newDocument();
    chooser->newDocument();
    ASSERT_EQ(2u, texts->made.size());
    ASSERT_EQ(1u, pages->made.size());
    int16_t first = texts->made[0]->untitledNumber();
    EXPECT_EQ(first + 1, pages->made[0]->untitledNumber());
    EXPECT_EQ(first + 2, texts->made[1]->untitledNumber());

    struct Row {
        int16_t openerId;
        const char* chosen;
        const char* box;  // "" for none
        size_t textsMade, pagesMade;
    } rows[] = {
        {0, "C:\\w\\p.htm", "", 2, 2},
        {0, "C:\\w\\q.doc", "q.doc n'est pas du type attendu", 2, 2},
        {31, "C:\\w\\r.htm", "r.htm n'est pas du type attendu", 2, 2},
        {31, "C:\\w\\s.txt", "", 3, 2},
        {0, "", "", 3, 2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.chosen);
        chooser->setOpenerId(row.openerId);
        gAnswers = {row.chosen};
        chooser->chooseAndOpen();
        std::vector<std::string> boxes = Boxes();
        EXPECT_EQ(*row.box ? std::vector<std::string>{row.box} : std::vector<std::string>(), boxes);
        EXPECT_EQ(row.textsMade, texts->made.size());
        EXPECT_EQ(row.pagesMade, pages->made.size());
    }
    EXPECT_EQ("s.txt", std::string(texts->made.back()->file().name().c_str()));

    // A file open already: the read-only question; yes opens a read-only copy.
    struct Again {
        int answer;
        size_t made;
    } again[] = {{IDNO, 3}, {IDYES, 4}};
    for (const Again& a : again) {
        SCOPED_TRACE(a.answer);
        BoxAnswer() = a.answer;
        texts->open(AFileSpec("C:\\W\\S.TXT"));
        EXPECT_EQ((std::vector<std::string>{
                      "S.TXT est d\xE9j\xE0 ouvert.\nSouhaitez-vous en ouvrir une copie en lecture seule ?"}),
                  Boxes());
        EXPECT_EQ(a.made, texts->made.size());
    }
    EXPECT_TRUE(texts->made.back()->isReadOnly());
    BoxAnswer() = IDOK;
}

TEST_F(DocumentFileTest, OnlyTheLastWindowAsksBeforeClosing) {
    std::vector<TestWindow*> windows;
    std::vector<AFileMenuHandler*> menus;
    TestHandler* handler = MakeDocument(2, &windows, &menus);
    handler->initUntitled(7);
    EXPECT_TRUE(menus[0]->canClose(true));
    handler->setModified(1);
    EXPECT_TRUE(AFileMenuHandler::canCloseWindow(windows[0], true));
    EXPECT_TRUE(Boxes().empty());
    AComponent* first = windows[0];
    DeleteComponent(first);

    struct Row {
        int answer;
        bool allowCancel;
        bool closes;
        size_t boxes;
    } rows[] = {
        {IDNO, true, true, 1},
        {IDCANCEL, true, false, 1},
        {IDCANCEL, false, true, 1},
        {IDYES, true, false, 1},  // the save dialog is cancelled
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.answer);
        BoxAnswer() = row.answer;
        gAnswers.clear();
        EXPECT_EQ(row.closes, AFileMenuHandler::canCloseWindow(windows[1], row.allowCancel));
        std::vector<std::string> boxes = Boxes();
        ASSERT_EQ(row.boxes, boxes.size());
        EXPECT_EQ("Enregistrer Sans Titre7  avant de fermer ?", boxes[0]);
    }
    EXPECT_GT(windows[1]->shown, 0);

    // Yes, then a save that works, closes.
    BoxAnswer() = IDYES;
    gAnswers = {"C:\\docs\\z.txt"};
    EXPECT_TRUE(menus[1]->canClose(true));
    EXPECT_FALSE(handler->isModified());
    BoxAnswer() = IDOK;

    // A handler that goes leaves its menu handlers without one: disabled, closing freely.
    AComponent* gone = handler;
    DeleteComponent(gone);
    EXPECT_EQ(nullptr, menus[1]->handler());
    EXPECT_EQ(2, menus[1]->commandStatus(AFileMenuHandler::kSaveAs, 0));
    EXPECT_TRUE(menus[1]->canClose(true));
}

}  // namespace
