// The files of the dossier and note stores: their lines, round trips of
// random stores, and damaged files that load as an error and are kept aside.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <random>
#include <string>

#include "base/object/AFile.h"
#include "base/object/AFileStream.h"
#include "docengine/model/AHiliteRangeMap.h"
#include "panes/docks/workspace/ADossierManager.h"
#include "panes/docks/workspace/ANoteManager.h"
#include "panes/docks/workspace/AWorkspace.h"
#include "tests/base/procedural/FileTestSupport.h"
#include "tests/panes/docks/workspace/StoreTestSupport.h"

namespace {

class StoreFilesTest : public TempFolderTest {
protected:
    AFileSpec Folder() const { return AFileSpec(folder_.c_str()); }
};

}  // namespace

TEST_F(StoreFilesTest, DossierFilesHoldTheirLines) {
    struct Row {
        const char* name;
        std::function<void(ADossierManager&)> change;
        const char* file;
    } rows[] = {
        {"no file: the default dossier, current", [](ADossierManager&) {},
         "DOSSIERS\r\n1\r\n0\r\nDOSSIER\r\nNouveau dossier\r\nINTERNALS\r\n0\r\n"},
        {"a document R and a page P",
         [](ADossierManager& m) {
             m.addElementStrict(m.getCurrentDossier(), m.newElement(3051), 0);
             DossierElement* page = m.newElement(77);
             page->kind = DossierElement::kOnlinePage;
             m.addElementStrict(m.getCurrentDossier(), page, 0);
             EXPECT_TRUE(m.isInDossiers(3051, 0));
             EXPECT_TRUE(m.isInDossiers(77, 1));
             EXPECT_FALSE(m.isInDossiers(77, 0));
             EXPECT_EQ(1, m.documentCount(16777216 + 77));
             EXPECT_EQ(1, m.documentCount(3051));
         },
         "DOSSIERS\r\n1\r\n0\r\nDOSSIER\r\nNouveau dossier\r\nINTERNALS\r\n2\r\n"
         "ELEM\r\n0\r\n3051\r\nREF\r\n10\r\nELEM\r\n1\r\n77\r\nREF\r\n10\r\n"},
        {"the current dossier is its position after a removal",
         [](ADossierManager& m) {
             m.createDossier("B\r\nsecond", 0);
             Dossier* c = m.createDossier("C", 1);
             m.removeDossier(m.getDossierAt(0)->getId());
             EXPECT_EQ(c, m.getCurrentDossier());
             EXPECT_EQ(m.getDossierAt(0), m.getDossierAt(5));
         },
         "DOSSIERS\r\n2\r\n1\r\nDOSSIER\r\nB  second\r\nINTERNALS\r\n0\r\nDOSSIER\r\nC\r\nINTERNALS\r\n0\r\n"},
        {"no current dossier",
         [](ADossierManager& m) {
             m.createDossier("B", 0);
             m.setCurrentId(-1);
         },
         "DOSSIERS\r\n2\r\n-1\r\nDOSSIER\r\nNouveau dossier\r\nINTERNALS\r\n0\r\nDOSSIER\r\nB\r\nINTERNALS\r\n0\r\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        DeleteFileA(PathOf("sv.dos").c_str());
        std::string before;
        {
            ADossierManager store(nullptr, 50, Folder(), "sv.dos");
            row.change(store);
            store.save();
            before = Describe(store);
        }
        EXPECT_EQ(row.file, ReadAll(PathOf("sv.dos")));
        ADossierManager back(nullptr, 50, Folder(), "sv.dos");
        EXPECT_FALSE(back.loadFailed());
        // Read back, a file without a current dossier makes the first one current.
        if (std::string(row.name) == "no current dossier")
            before.replace(0, 10, "current=0");
        EXPECT_EQ(before, Describe(back));
    }
    // A reader stopped between deleting its last dossier and saving the
    // default one leaves a file of no dossier.
    WriteAll(PathOf("sv.dos"), "DOSSIERS\r\n0\r\n0\r\n");
    ADossierManager empty(nullptr, 50, Folder(), "sv.dos");
    EXPECT_FALSE(empty.loadFailed());
    ASSERT_EQ(1, empty.getDossierCount());
    ASSERT_NE(nullptr, empty.getCurrentDossier());
    EXPECT_STREQ("Nouveau dossier", empty.getCurrentDossier()->getName().c_str());
}

TEST_F(StoreFilesTest, DocumentCountsFollowEveryElementAndDossierChange) {
    ADossierManager store(nullptr, 50, Folder(), "sv.dos");
    Dossier* first = store.getCurrentDossier();
    Dossier* second = store.createDossier("Second", 0);
    DossierElement* page = store.newElement(77);
    page->kind = DossierElement::kOnlinePage;
    store.addElementStrict(first, page, 0);
    store.addElementStrict(first, store.newElement(77), 0);
    store.addElementStrict(second, store.newElement(77), 0);
    store.addElementStrict(second, store.newElement(12), 1);  // bulk: counted by the recount
    DossierElement basePage77(*store.elementAt(second, 0, 0));
    struct Row {
        const char* name;
        std::function<void()> change;
        long pages77, documents77, documents12;
    } rows[] = {
        {"as added (bulk not counted)", [] {}, 1, 2, 0},
        {"recount", [&] { store.recount(); }, 1, 2, 1},
        {"an element removed", [&] { store.removeElementAt(first, 1, 0); }, 1, 1, 1},
        {"a dossier removed", [&] { store.removeDossier(second->getId()); }, 1, 0, 0},
        {"the last page removed", [&] { store.removeElement(first, store.elementAt(first, 0, 0), 0); }, 0, 0, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        row.change();
        EXPECT_EQ(row.pages77, store.documentCount(DocumentKeyOf(77, 1)));
        EXPECT_EQ(row.documents77, store.documentCount(77));
        EXPECT_EQ(row.documents12, store.documentCount(12));
        EXPECT_EQ(row.pages77 > 0, store.isInDossiers(77, 1));
    }
    // A page P and a base document of reference P are different members.
    DossierElement page77 = basePage77;
    page77.kind = DossierElement::kOnlinePage;
    store.addElementStrict(first, new DossierElement(basePage77), 0);
    EXPECT_TRUE(first->contains(basePage77));
    EXPECT_FALSE(first->contains(page77));
    EXPECT_EQ(nullptr, store.findDossier(1)) << "a removed dossier's id is not given again";
}

TEST_F(StoreFilesTest, NoteFilesHoldTheirLines) {
    struct Row {
        const char* name;
        const char* file;         // null: made by change from an empty store
        std::function<void(ANoteManager&)> change;
        const char* description;  // after loading (and change)
        const char* saved;        // the file written back
    } rows[] = {
        {"empty store", nullptr, [](ANoteManager&) {}, "", "0\r\n0\r\n"},
        {"line breaks in a note", nullptr,
         [](ANoteManager& m) {
             m.addPostit(new Postit(16780267, "x\r\ny"), 16780267);
             m.getMarkerSet(3051)->set(120, 16780267);
         },
         "16780267=x\r\ny;3051:120,16780267,;", "1\r\nx\x02\x01y\r\n16780267\r\n1\r\n3051\r\n120,16780267,\r\n"},
        {"bytes 1 and 2 typed into a note become spaces", nullptr,
         [](ANoteManager& m) { m.addPostit(new Postit(5, "a\x01" "b\x02"), 5); }, "5=a b ;",
         "1\r\na b \r\n5\r\n0\r\n"},
        {"a count of 65537 reads one note", "65537\r\nabc\r\n7\r\n0\r\n", [](ANoteManager&) {}, "7=abc;",
         "1\r\nabc\r\n7\r\n0\r\n"},
        {"an empty marker line is a document without markers", "0\r\n1\r\n42\r\n\r\n",
         [](ANoteManager& m) { EXPECT_TRUE(m.hasMarkerSet(42)); }, "42:;", "0\r\n1\r\n42\r\n\r\n"},
        {"negative ids read back", "1\r\nold\r\n-2130703877\r\n1\r\n3051\r\n9,-2130703877,\r\n", [](ANoteManager&) {},
         "-2130703877=old;3051:9,-2130703877,;", "1\r\nold\r\n-2130703877\r\n1\r\n3051\r\n9,-2130703877,\r\n"},
        {"two notes of one id: the later stays", "2\r\na\r\n3\r\nb\r\n3\r\n0\r\n", [](ANoteManager&) {}, "3=b;",
         "1\r\nb\r\n3\r\n0\r\n"},
        {"a negative document count reads none", "0\r\n-4\r\n", [](ANoteManager&) {}, "", "0\r\n0\r\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        DeleteFileA(PathOf("sv.note").c_str());
        if (row.file)
            WriteAll(PathOf("sv.note"), row.file);
        {
            ANoteManager store(nullptr, Folder(), "sv.note");
            EXPECT_FALSE(store.loadFailed());
            row.change(store);
            EXPECT_EQ(row.description, Describe(store));
        }
        EXPECT_EQ(row.saved, ReadAll(PathOf("sv.note")));
        ANoteManager back(nullptr, Folder(), "sv.note");
        EXPECT_EQ(row.description, Describe(back));
    }
}

TEST_F(StoreFilesTest, AScrambledStoreIsReadAndWrittenBackPlain) {
    const std::string plain = "1\r\nabc\r\n5\r\n0\r\n";
    // A key that makes the first byte look scrambled (0x31 ^ 0xB1 = 0x80).
    KY_FileSys* fs = KY_GetGlobalFileSys();
    uint32_t previousKey = fs->scrambleKey;
    KY_SetScrambleKey(fs, 0xB1C2D3E4);
    {
        AFile file(AFileSpec(PathOf("sv.note").c_str()), 1, kPlainFileOptions, true);
        AFileStream stream(file, "w+", 0);
        stream.write(plain.data(), static_cast<long>(plain.size()));
        stream.close();
    }
    ASSERT_NE(plain, ReadAll(PathOf("sv.note")));
    {
        ANoteManager store(nullptr, Folder(), "sv.note");
        EXPECT_FALSE(store.loadFailed());
        EXPECT_EQ("5=abc;", Describe(store));
    }
    fs->scrambleKey = previousKey;
    EXPECT_EQ(plain, ReadAll(PathOf("sv.note")));
}

TEST_F(StoreFilesTest, DamagedFilesAreKeptAsideAndReported) {
    struct Row {
        const char* name;
        const char* file;  // the store is chosen by the first line
        long line;         // where the damage shows
    } rows[] = {
        {"more dossiers than the file holds", "DOSSIERS\r\n2\r\n0\r\nDOSSIER\r\nA\r\nINTERNALS\r\n0\r\n", 8},
        {"a dossier count that is no number", "DOSSIERS\r\nx2\r\n0\r\n", 2},
        {"a negative dossier count", "DOSSIERS\r\n-1\r\n0\r\n", 2},
        {"a negative element count", "DOSSIERS\r\n1\r\n0\r\nDOSSIER\r\nA\r\nINTERNALS\r\n-3\r\n", 7},
        {"an element cut short", "DOSSIERS\r\n1\r\n0\r\nDOSSIER\r\nA\r\nINTERNALS\r\n1\r\nELEM\r\n0\r\n", 10},
        {"a reference that is no number", "DOSSIERS\r\n1\r\n0\r\nDOSSIER\r\nA\r\nINTERNALS\r\n1\r\nELEM\r\n0\r\n12a\r\n",
         10},
        {"more notes than the file holds", "2\r\nabc\r\n5\r\n", 4},
        {"a note id that is no number", "1\r\nabc\r\n5 \r\n0\r\n", 3},
        {"a note id beyond 32 bits", "1\r\nabc\r\n99999999999\r\n0\r\n", 3},
        {"a document promised and missing", "0\r\n2\r\n7\r\n1,2,\r\n", 5},
        {"no document count", "0\r\n", 2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        bool dossiers = row.file[0] == 'D';
        const char* name = dossiers ? "sv.dos" : "sv.note";
        DeleteFileA(PathOf(std::string(name) + ".damaged").c_str());
        WriteAll(PathOf(name), row.file);
        AFileSpec folder = Folder();
        AWorkspace workspace;
        AString message = dossiers ? workspace.loadDossiers(nullptr, &folder) : workspace.loadNotes(nullptr, &folder);
        EXPECT_STREQ(DamagedStoreMessage(name, row.line, AString((PathOf(name) + ".damaged").c_str())).c_str(),
                     message.c_str());
        // The damaged file is kept as it was; the store starts as for a missing file.
        EXPECT_EQ(row.file, ReadAll(PathOf(std::string(name) + ".damaged")));
        EXPECT_FALSE(PathExistsOnDisk(PathOf(name)));
        if (dossiers)
            EXPECT_EQ("current=0[Nouveau dossier]", Describe(*workspace.dossiers()));
        else
            EXPECT_EQ("", Describe(*workspace.notes()));
        workspace.releaseDossiers();
        workspace.releaseNotes();
        EXPECT_EQ(dossiers ? "DOSSIERS\r\n1\r\n0\r\nDOSSIER\r\nNouveau dossier\r\nINTERNALS\r\n0\r\n" : "0\r\n0\r\n",
                  ReadAll(PathOf(name)));
    }
    // A second damaged file does not replace the first one kept.
    WriteAll(PathOf("sv.note"), "3\r\n");
    AFileSpec folder = Folder();
    AWorkspace workspace;
    workspace.loadNotes(nullptr, &folder);
    EXPECT_EQ("3\r\n", ReadAll(PathOf("sv.note.damaged2")));
}

TEST_F(StoreFilesTest, RandomStoresSaveLoadAndSaveAgainUnchanged) {
    std::mt19937 random(60);
    for (int round = 0; round < 2000; ++round) {
        SCOPED_TRACE(round);
        DeleteFileA(PathOf("r.dos").c_str());
        DeleteFileA(PathOf("r.note").c_str());
        std::string dossiers, notes;
        {
            ADossierManager dos(nullptr, 50, Folder(), "r.dos");
            FillRandom(dos, random);
            dossiers = Describe(dos);
            ANoteManager note(nullptr, Folder(), "r.note");
            FillRandom(note, random);
            notes = Describe(note);
        }
        std::string dosFile = ReadAll(PathOf("r.dos"));
        std::string noteFile = ReadAll(PathOf("r.note"));
        {
            ADossierManager dos(nullptr, 50, Folder(), "r.dos");
            ASSERT_EQ(dossiers, Describe(dos));
            ANoteManager note(nullptr, Folder(), "r.note");
            ASSERT_EQ(notes, Describe(note));
        }
        ASSERT_EQ(dosFile, ReadAll(PathOf("r.dos")));
        ASSERT_EQ(noteFile, ReadAll(PathOf("r.note")));
    }
}

// Each mutated file either loads, or fails with the damage reported and the
// file kept aside byte for byte.
TEST_F(StoreFilesTest, MutatedFilesLoadOrFailWithTheReportedError) {
    std::mt19937 random(6060);
    std::string sources[2];
    {
        ADossierManager dos(nullptr, 50, Folder(), "m.dos");
        FillRandom(dos, random);
        dos.createDossier("Extra", 1)->addElement(dos.newElement(12));
        ANoteManager note(nullptr, Folder(), "m.note");
        FillRandom(note, random);
        note.addPostit(new Postit(16777228, "Nouvelle note\r\n"), 16777228);
        note.getMarkerSet(12)->set(30, 16777228);
    }
    sources[0] = ReadAll(PathOf("m.dos"));
    sources[1] = ReadAll(PathOf("m.note"));
    int failed[2] = {0, 0};
    for (int round = 0; round < 10000; ++round) {
        SCOPED_TRACE(round);
        int which = round % 2;
        const char* name = which ? "m.note" : "m.dos";
        std::string file = sources[which];
        int edits = 1 + random() % 4;
        for (int e = 0; e < edits && !file.empty(); ++e) {
            size_t at = random() % file.size();
            switch (random() % 4) {
            case 0: file[at] = static_cast<char>(random() % 256); break;
            case 1: file.erase(at, 1 + random() % 8); break;
            case 2: file.insert(at, 1, static_cast<char>(random() % 256)); break;
            default: file.resize(at); break;
            }
        }
        DeleteFileA((PathOf(name) + ".damaged").c_str());
        WriteAll(PathOf(name), file);
        bool loadFailed;
        std::string kept;
        if (which) {
            ANoteManager note(nullptr, Folder(), name);
            note.setReadOnly(1);
            loadFailed = note.loadFailed();
            kept = note.keptAs().c_str();
        } else {
            ADossierManager dos(nullptr, 50, Folder(), name);
            dos.setReadOnly(1);
            loadFailed = dos.loadFailed();
            kept = dos.keptAs().c_str();
        }
        if (loadFailed) {
            ++failed[which];
            ASSERT_EQ(PathOf(name) + ".damaged", kept);
            ASSERT_EQ(file, ReadAll(kept));
        }
    }
    // The mutations reach both outcomes for both stores.
    EXPECT_GT(failed[0], 100);
    EXPECT_GT(failed[1], 100);
    EXPECT_LT(failed[0], 4900);
    EXPECT_LT(failed[1], 4900);
}
