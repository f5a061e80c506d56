// Note ids, the deletion of notes and markers, the notes text, and the note
// menu of a real text renderer bound to the note store as the article view
// binds it (a standard view in a window stands in for the article view).
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "docengine/model/AHiliteRangeMap.h"
#include "panes/docks/workspace/ANoteManager.h"
#include "panes/docks/workspace/ASVMarkerCallBack.h"
#include "tests/base/procedural/FileTestSupport.h"
#include "tests/docengine/render/RenderTestSupport.h"
#include "tests/panes/docks/workspace/StoreTestSupport.h"

namespace {

long Id(long ordinal, long number) {
    return ordinal << 24 | number;
}

class NoteMarkersTest : public RenderTest {
protected:
    void SetUp() override {
        RenderTest::SetUp();
        char temp[MAX_PATH], name[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        GetTempFileNameA(temp, "kyn", 0, name);
        DeleteFileA(name);
        ASSERT_TRUE(CreateDirectoryA(name, nullptr));
        folder = name;
        store.reset(new ANoteManager(nullptr, AFileSpec(folder.c_str()), "sv.note"));
        store->setNoteWindowOpener([this](long document, long id, APane*) {
            opened += std::to_string(document) + "/" + std::to_string(id) + ";";
        });
    }
    void TearDown() override {
        if (renderer)
            renderer->markerCallBack = nullptr;
        store.reset();
        RenderTest::TearDown();
        RemoveTree(folder);
    }
    // A right click on the position choosing the menu item.
    void menuAt(long position, int16_t item) {
        renderer->choice = item;
        renderer->setAnchor(position);
        AMouseEvent event(pointOf(position), 0);
        renderer->rightMouseDown(event);
    }
    std::string text(long id) {
        Postit* note = store->findPostit(id);
        return note ? note->getText().c_str() : "(none)";
    }

    std::string folder;
    std::unique_ptr<ANoteManager> store;
    std::string opened;
};

}  // namespace

TEST_F(NoteMarkersTest, NewNotesTakeTheSmallestOrdinalNoNoteOfTheDocumentUses) {
    struct Row {
        const char* name;
        long document;
        std::vector<long> markers;  // ids already on the document's markers
        std::vector<long> notes;    // ids of notes without a marker
        long expected;
    } rows[] = {
        {"first note of base index 0", 3051, {}, {}, Id(1, 3051)},
        {"second note", 3051, {Id(1, 3051)}, {}, Id(2, 3051)},
        {"the first deleted: its ordinal again", 3051, {Id(2, 3051)}, {}, Id(1, 3051)},
        {"a note left without marker keeps its id", 3051, {}, {Id(1, 3051)}, Id(2, 3051)},
        {"another document's ids do not count", 3051, {Id(1, 3052)}, {}, Id(1, 3051)},
        {"no base byte", 12, {}, {}, Id(1, 12)},
        {"no document", -1, {}, {}, -1},
    };
    ASVMarkerCallBack* callBack = store->getMarkerCallBack();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        AHiliteRangeMap* set = store->getMarkerSet(row.document);
        for (size_t i = 0; i < row.markers.size(); ++i)
            set->set(static_cast<long>(i) * 10, row.markers[i]);
        for (long id : row.notes)
            store->addPostit(new Postit(id, ""), id);
        callBack->document = row.document;
        EXPECT_EQ(row.expected, callBack->newNoteId(set, 0));
        for (long id : row.notes)
            store->removePostit(id);
        if (set)
            set->parse("");
    }
    // With all 127 ordinals in use there is none: the renderer is refused.
    callBack->document = 40;
    AHiliteRangeMap* full = store->getMarkerSet(40);
    for (long ordinal = 1; ordinal < 128; ++ordinal)
        full->set(ordinal, Id(ordinal, 40));
    EXPECT_EQ(-1, callBack->newNoteId(full, 0));
    full->remove(99);
    EXPECT_EQ(Id(99, 40), callBack->newNoteId(full, 0));
}

TEST_F(NoteMarkersTest, TheArticleMenuAddsMovesAndDeletesNotesInTheStore) {
    make();
    ShowNotes(*store, *renderer, 3051, nullptr);
    AHiliteRangeMap* set = store->getMarkerSet(3051);
    EXPECT_EQ(set, model->getAttachment()) << "the article shows the store's own set";
    EXPECT_EQ(1, renderer->noteMode) << "notes go to the start of the word clicked";

    menuAt(5, 0);
    EXPECT_EQ("Ajouter une note", renderer->menus.back());
    EXPECT_EQ("3,16780267,", std::string(set->toLine().c_str())) << "the start of \"texte\"";
    EXPECT_EQ("Nouvelle note\r\n", text(Id(1, 3051)));
    EXPECT_EQ("3051/16780267;", opened) << "the note window opens on the new note";

    store->findPostit(Id(1, 3051))->setText("first\r\n");
    renderer->setDraggedNote(3);
    renderer->moveNote(renderer->hitOfPosition(15));
    EXPECT_EQ(-1, set->get(3));
    EXPECT_EQ(Id(1, 3051), set->get(12)) << "a moved marker keeps its id, at the start of \"quelques\"";
    EXPECT_EQ("first\r\n", text(Id(1, 3051)));

    menuAt(23, 0);
    EXPECT_EQ(Id(2, 3051), set->get(21)) << "the start of \"mots\"";
    store->findPostit(Id(2, 3051))->setText("second\r\n");
    EXPECT_EQ("Note 1 : first\nNote 2 : second\n", std::string(store->getNotesText(3051).c_str()));

    menuAt(12, 0);
    EXPECT_EQ("Supprimer la note|Modifier ou lire la note", renderer->menus.back());
    EXPECT_EQ(-1, set->get(12));
    EXPECT_EQ("(none)", text(Id(1, 3051)));
    menuAt(26, 0);
    EXPECT_EQ(Id(1, 3051), set->get(26)) << "the freed ordinal, not a second id 2";
    EXPECT_EQ("second\r\n", text(Id(2, 3051)));

    menuAt(21, 1);
    EXPECT_EQ("3051/16780267;3051/33557483;3051/16780267;3051/33557483;", opened);

    // With every ordinal in use the renderer adds nothing.
    for (long ordinal = 3; ordinal < 128; ++ordinal)
        set->set(1000 + ordinal, Id(ordinal, 3051));
    long notes = store->notes().count();
    menuAt(5, 0);
    EXPECT_EQ(127, set->count());
    EXPECT_EQ(-1, set->get(5));
    EXPECT_EQ(notes, store->notes().count());
}

TEST_F(NoteMarkersTest, DeletingANoteRemovesItsMarkerFromItsOwnDocument) {
    make();
    AHiliteRangeMap* other = store->getMarkerSet(77);
    other->parse("5,16777293,9,33554509,");
    store->addPostit(new Postit(Id(1, 77), "abc\r\n"), Id(1, 77));
    store->addPostit(new Postit(Id(2, 77), "de"), Id(2, 77));
    EXPECT_EQ("Note 1 : abc\nNote 2 : de", std::string(store->getNotesText(77).c_str()));
    // Without a renderer the marker goes from the set directly.
    EXPECT_TRUE(store->deleteNote(77, 77, Id(2, 77)));
    EXPECT_EQ("5,16777293,", std::string(other->toLine().c_str()));

    ShowNotes(*store, *renderer, 3051, nullptr);
    menuAt(3, 0);
    std::string before = Describe(*store);
    EXPECT_FALSE(store->deleteNote(3051, 3051, -5)) << "a negative id changes nothing";
    EXPECT_EQ(before, Describe(*store));
    // The note window opened on document 77 while the article shows 3051.
    EXPECT_TRUE(store->deleteNote(77, 77, Id(1, 77)));
    EXPECT_EQ("", std::string(other->toLine().c_str()));
    EXPECT_EQ(Id(1, 3051), store->getMarkerSet(3051)->get(3)) << "the article's marker stays";
    EXPECT_TRUE(store->hasNote(3051));
    EXPECT_FALSE(store->hasNote(77));
    EXPECT_TRUE(store->hasMarkerSet(77));
    // The note of the article goes through its renderer.
    EXPECT_TRUE(store->deleteNote(3051, 3051, Id(1, 3051)));
    EXPECT_EQ(-1, model->getAttachment()->get(3));
    EXPECT_EQ("(none)", text(Id(1, 3051)));
    // Once the article view lets its renderer go, deletions reach the set directly.
    menuAt(3, 0);
    ForgetNotes(*store, *renderer);
    EXPECT_EQ(nullptr, renderer->markerCallBack);
    renderer->release();
    renderer = nullptr;
    EXPECT_TRUE(store->deleteNote(3051, 3051, Id(1, 3051)));
    EXPECT_EQ(-1, store->getMarkerSet(3051)->get(3));
    store->purgeEmptyDocuments();
    EXPECT_EQ(0, store->documentCount());
}

// The note window is built while the article's menu is still on the stack.
TEST_F(NoteMarkersTest, TheNoteWindowOpensWhileTheArticleMenuLives) {
    make();
    ShowNotes(*store, *renderer, 3051, nullptr);
    int built = 0;
    store->setNoteWindowOpener([&built](long, long, APane*) {
        AComponent noteWindow(nullptr, 0);
        ++built;
    });
    struct Row {
        const char* name;
        long position;
        int16_t item;
    } const rows[] = {{"Ajouter une note", 5, 0}, {"Modifier ou lire la note", 3, 1}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_NO_THROW(menuAt(row.position, row.item));
    }
    EXPECT_EQ(2, built);
    EXPECT_EQ("Nouvelle note\r\n", text(Id(1, 3051)));
}
