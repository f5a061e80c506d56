// The rows of the dossier and note windows, the copies' names and the
// dialog bases' commands.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "base/object/AFileSpec.h"
#include "docengine/model/AHiliteRangeMap.h"
#include "panes/docks/workspace/ADossierManager.h"
#include "panes/docks/workspace/ANoteManager.h"
#include "panes/docks/workspacewin/AWorkspaceWinApp.h"
#include "panes/docks/workspacewin/WorkspaceLineGetters.h"
#include "search/facade/ASearchBase.h"
#include "tests/base/procedural/FileTestSupport.h"

namespace {

// Online pages 12 and 13 are known; backslashes in titles are dropped.
class PagesApp : public AWorkspaceWinApp {
public:
    AString onlinePageRecord(long number) override {
        if (number == 12)
            return "page12.htm;Le Lou\\vre {et} /Orsay\\";
        if (number == 13)
            return "sans-titre.htm";
        return AString();
    }
};

std::string Row(SortableLineGetter& rows, long n) {
    return rows.getRawLine(n, n).c_str();
}

std::string Shown(SortableLineGetter& rows, long n) {
    AString out;
    rows.getLine(out, n);
    return out.c_str();
}

class WorkspaceRowsTest : public TempFolderTest {
protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        AWorkspaceWinApp::install(&pages);
        dossiers.reset(new ADossierManager(nullptr, 50, AFileSpec(folder_.c_str()), "sv.dos"));
        notes.reset(new ANoteManager(nullptr, AFileSpec(folder_.c_str()), "sv.note"));
    }
    void TearDown() override {
        AWorkspaceWinApp::install(nullptr);
        notes.reset();
        dossiers.reset();
        TempFolderTest::TearDown();
    }
    PagesApp pages;
    std::unique_ptr<ADossierManager> dossiers;
    std::unique_ptr<ANoteManager> notes;
};

}  // namespace

TEST_F(WorkspaceRowsTest, DossierRowsAreNameHashIdAndPageRowsCarryTheirEscapedTitle) {
    while (dossiers->getDossierCount() > 0)
        dossiers->removeDossier(dossiers->getDossierAt(0)->getId());
    ADossierLineGetter none(dossiers.get());
    EXPECT_EQ(0, none.getLineCount());
    EXPECT_EQ("", Row(none, 0)) << "no dossier: an empty row";

    while (dossiers->nextId() < 4) {
    }
    Dossier* projets = dossiers->createDossier("Projets", 0);
    Dossier* hash = dossiers->createDossier("A#7 b", 0);
    ADossierLineGetter rows(dossiers.get());
    ASSERT_EQ(2, rows.getLineCount());
    EXPECT_EQ("Projets#" + std::to_string(projets->getId()), Row(rows, 0));
    EXPECT_EQ(5, projets->getId());
    EXPECT_EQ(hash->getId(), IdAfterLastHash(Row(rows, 1).c_str())) << "the id after the last '#'";
    EXPECT_EQ(-1, IdAfterLastHash("sans"));

    ASearchBase base;
    ADossierElementLineGetter empty(&base, 0, projets);
    EXPECT_EQ(0, empty.getLineCount());

    struct Case {
        long page;
        const char* row;
    } const cases[] = {
        {12, "@12\t19\tLe Louvre \\{et\\} \\/Orsay"},
        {13, "@13\t19\t"},
        {99, "@99\t19\t"},
    };
    for (const Case& c : cases) {
        auto* element = new DossierElement;
        element->reference = c.page;
        element->kind = DossierElement::kOnlinePage;
        projets->addElement(element);
    }
    ADossierElementLineGetter elements(&base, 0, projets);
    ASSERT_EQ(3, elements.getLineCount());
    for (long i = 0; i < 3; ++i) {
        SCOPED_TRACE(cases[i].page);
        EXPECT_EQ(cases[i].row, Row(elements, i));
        std::string shown = Shown(elements, i);
        EXPECT_EQ("#@" + std::to_string(cases[i].page), shown.substr(shown.rfind('#'))) << "the row links to the page";
    }
}

TEST_F(WorkspaceRowsTest, CopyNamesCountTheirCopies) {
    struct Case {
        const char* name;
        const char* copy;
    } const cases[] = {
        {"Voyage", "Voyage (Copie )"},
        {"Voyage (Copie )", "Voyage (Copie 2)"},
        {"Voyage (Copie 2)", "Voyage (Copie 3)"},
        {"Voyage (Copie 41)", "Voyage (Copie 42)"},
        {"Voyage (Copie ", "Voyage"},
        {"Voyage (Copie x)", "Voyage (Copie 1)"},
        {"", " (Copie )"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_STREQ(c.copy, MakeCopyName(c.name).c_str());
    }
}

TEST_F(WorkspaceRowsTest, NoteRowsShowFirstLinesInMarkerOrderAndDocumentRowsLinkToTheDocument) {
    AHiliteRangeMap* set = notes->getMarkerSet(7);
    const long first = 1L << 24 | 7, second = 2L << 24 | 7, lost = 3L << 24 | 7;
    set->set(40, first);
    set->set(10, second);
    set->set(90, lost);  // its note is missing
    notes->addPostit(new Postit(first, "Premi\xE8re ligne\r\nseconde"), first);
    notes->addPostit(new Postit(second, "Une seule"), second);
    notes->getMarkerSet(3);

    PostitLineGetter rows(notes.get(), 7);
    ASSERT_EQ(3, rows.getLineCount());
    struct Case {
        long line;
        const char* raw;
        const char* shown;
    } const cases[] = {
        {0, "Une seule", "/EUne seule#0"},
        {1, "Premi\xE8re ligne", "/EPremi\xE8re ligne#1"},
        {2, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(c.raw, Row(rows, c.line));
        EXPECT_EQ(c.shown, Shown(rows, c.line));
    }
    PostitLineGetter without(notes.get(), 8);
    EXPECT_EQ(0, without.getLineCount());

    DocumentPostitLineGetter documents(notes.get(), nullptr);
    ASSERT_EQ(2, documents.getLineCount());
    EXPECT_EQ("3\t0\t", Row(documents, 0)) << "ascending document numbers, linked without a base";
    EXPECT_EQ("/E/!4!/ #7", Shown(documents, 1));
    EXPECT_EQ("", Row(documents, 5));

    // A '#' or braces in a first line stay text: the row's link is its own line.
    const long hashed = 1L << 24 | 9;
    notes->getMarkerSet(9)->set(5, hashed);
    notes->addPostit(new Postit(hashed, "Voir #3 {b}\r\nsuite"), hashed);
    PostitLineGetter hashRows(notes.get(), 9);
    std::string row = Shown(hashRows, 0);
    EXPECT_EQ("/EVoir \\#3 \\{b\\}#0", row);
    size_t link = 0;
    while ((link = row.find('#', link + 1)) != std::string::npos && row[link - 1] == '\\') {
    }
    ASSERT_NE(std::string::npos, link);
    EXPECT_EQ("0", row.substr(link + 1)) << "the first unescaped '#' names the row";
}
