// The reader's printer: which passes print under the sheet's keys, what each
// pass puts on the pages of a real text renderer, the text size of key 9 and
// the keys the main window writes before a sheet opens.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "docengine/model/ALaidOutDocModel.h"
#include "docengine/styles/AStyleSheet.h"
#include "framework/files/AOptionsInfo.h"
#include "panes/docks/print/AMediaRendererPrinter.h"
#include "panes/docks/print/APrintKeys.h"
#include "panes/docks/print/APrintSources.h"
#include "panes/docks/print/ASVRendererPrinter.h"
#include "tests/docengine/render/RenderTestSupport.h"

namespace {

class FixedSources : public APrintSources {
public:
    AString contentsText() override { return AString(contents.c_str()); }
    AString notesText() override { return AString(notes.c_str()); }
    AString docTitle() override { return AString("Titre"); }
    std::string contents = "Sommaire de l'article\n";
    std::string notes = "Notes du lecteur\n";
};

// Records the passes instead of installing them.
class RecordingPrinter : public ASVRendererPrinter {
public:
    using ASVRendererPrinter::ASVRendererPrinter;
    std::string passes;

protected:
    void install(PrintPass action, ARenderer*) override { passes += std::string(passes.empty() ? "" : ",") + PrintPassName(action); }
};

std::string ModelText(ARenderer* r) {
    if (!r || !r->model())
        return "(none)";
    AString text = r->model()->exportToMemory(0, r->model()->getLength(), nullptr);
    std::string s = text.c_str();
    return s.substr(0, s.find_first_of("\r\n"));
}

class PrintPassTest : public RenderTest {};

TEST(PrintPass, KeysFiveSixSevenChooseThePasses) {
    struct Row {
        long selectionOnly, contents, notes;
        const char* passes;
    } rows[] = {
        {1, 0, 0, "selection"},
        {1, 1, 1, "selection"},
        {0, 1, 1, "contents,view,notes"},
        {0, 0, 1, "view,notes"},
        {0, 1, 0, "contents,view"},
        {0, 0, 0, "view"},
    };
    FixedSources sources;
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.selectionOnly) + std::to_string(row.contents) + std::to_string(row.notes));
        ALongDicInfo options;
        options.setLong(PrintKey::kSelectionOnly, row.selectionOnly);
        options.setLong(PrintKey::kWithContents, row.contents);
        options.setLong(PrintKey::kWithNotes, row.notes);
        RecordingPrinter printer(&options, &sources);
        ARenderer* any = reinterpret_cast<ARenderer*>(&sources);  // never touched by the recorder
        std::string answers;
        for (int16_t pass = 0; pass < 5; ++pass)
            answers += std::to_string(printer.preparePass(pass, any));
        EXPECT_EQ(row.passes, printer.passes);
        size_t count = std::count(row.passes, row.passes + strlen(row.passes), ',') + 1;
        EXPECT_EQ(std::string(count, '1') + std::string(5 - count, '0'), answers);
    }
}

TEST(PrintPass, KeyNineMovesTheSizeFromTheNominalOne) {
    struct Row {
        long key;
        int16_t delta;
    } rows[] = {{0, -2}, {1, 0}, {2, 2}, {7, 4}, {-1, 4}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.key);
        auto* sheet = new AStyleSheet();
        sheet->addRef();
        AFontDesc desc = AStyleSheet::defaultFont(0);
        desc.size = 10;
        sheet->setStyleFont(0, desc, AFontSizeRange(desc, 4, 30));
        sheet->addSizeDelta(4);  // the view's own size, kept by values out of range
        EXPECT_EQ(row.key >= 0 && row.key <= 2, ApplyTextSize(sheet, row.key));
        EXPECT_EQ(row.delta, sheet->sizeDelta());
        EXPECT_EQ(10 + row.delta, sheet->getFont(0, 0)->desc().size);
        sheet->release();
    }
}

TEST(PrintPass, OpenersWriteKeysOneToThreeAndTheExportClearsSixAndSeven) {
    struct Row {
        bool selection, contents, notes, forExport;
        const char* keys;  // keys 1, 2, 3, 6, 7 after the write; 6 and 7 were 1
    } rows[] = {
        {true, true, true, false, "11111"},  {false, false, false, false, "00011"},
        {false, false, false, true, "00000"}, {true, true, false, true, "11010"},
        {false, false, true, true, "00101"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.keys);
        ALongDicInfo options;
        options.setLong(6, 1);
        options.setLong(7, 1);
        WriteOpenerKeys(options, row.selection, row.contents, row.notes, row.forExport);
        std::string keys;
        for (long key : {1, 2, 3, 6, 7})
            keys += std::to_string(options.getLong(key));
        EXPECT_EQ(row.keys, keys);
    }
}

TEST_F(PrintPassTest, PassesFollowEachOtherOnTheNumberedPages) {
    make("Le texte de la vue\nDeuxieme ligne\n");
    FixedSources sources;
    struct Row {
        long selectionOnly, contents, notes;
        const char* pages;  // the first line printed by each pass, in order
    } rows[] = {
        {0, 0, 1, "Le texte de la vue|Notes du lecteur"},
        {0, 1, 1, "Sommaire de l'article|Le texte de la vue|Notes du lecteur"},
        {0, 0, 0, "Le texte de la vue"},
        {0, 2, 1, "Le texte de la vue|Notes du lecteur"},  // key 6 set, but no contents to print
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.pages);
        ALongDicInfo options;
        options.setLong(PrintKey::kSelectionOnly, row.selectionOnly);
        options.setLong(PrintKey::kWithContents, row.contents != 0);
        options.setLong(PrintKey::kWithNotes, row.notes);
        sources.contents = row.contents == 2 ? "" : "Sommaire de l'article\n";
        ASVRendererPrinter printer(&options, &sources);
        uint16_t viewOptions = renderer->options;
        ARect page(0, 0, 300, 400);
        ASSERT_NE(0, printer.prepare(page, renderer));
        std::string printed;
        int16_t lastPass = -1;
        for (long n = 0; n < 20; ++n) {
            if (n > 0 && !printer.hasMorePages())
                break;
            if (printer.currentPass() != lastPass) {
                printed += std::string(printed.empty() ? "" : "|") + ModelText(printer.printedRenderer());
                lastPass = printer.currentPass();
            }
            printer.printPage(page, n, false);
        }
        EXPECT_EQ(row.pages, printed);
        EXPECT_EQ(viewOptions, renderer->options) << "the print copy's mode does not stay on the view";
    }
}

TEST_F(PrintPassTest, KeyEightOpensTheMediaOnPaperAndLeavesTheScreenAsItWas) {
    makeView();
    view->rendererLayer()->setRenderer(renderer);
    renderer->setLaidOutTextModel(AString("Le texte {C#Image du volcan}la suite\nFin\n"), nullptr);
    renderer->setFrame(ARect(0, 0, 300, 200), false);
    renderer->attach();
    auto* shown = dynamic_cast<ALaidOutDocModel*>(renderer->model());
    ASSERT_NE(nullptr, shown);
    FixedSources sources;
    for (long withMedia : {1, 0}) {
        SCOPED_TRACE(withMedia);
        // The screen shows the media with key 8 clear and hides them with it set.
        withMedia ? shown->collapseAll(0) : shown->expandAll(0);
        renderer->relayoutFrom(0, true);
        long onScreen = shown->getPositionCount();
        ALongDicInfo options;
        options.setLong(PrintKey::kWithMedia, withMedia);
        ASVRendererPrinter printer(&options, &sources);
        ASSERT_NE(0, printer.prepare(ARect(0, 0, 300, 400), renderer));
        ADocModel* printed = printer.printedRenderer()->model();
        std::string text = printed->exportText(0, printed->getPositionCount()).c_str();
        EXPECT_EQ(withMedia != 0, text.find("Image du volcan") != std::string::npos) << text;
        EXPECT_NE(std::string::npos, text.find("la suite")) << text;
        EXPECT_EQ(onScreen, shown->getPositionCount()) << "the article on screen keeps its sections";
    }
}

TEST_F(PrintPassTest, TheMediaPrinterPrintsOnePassOfTheImageView) {
    make("Une image\n");
    ALongDicInfo options;
    AMediaRendererPrinter printer(&options);
    struct Row {
        int16_t pass;
        bool withRenderer;
        int16_t answer;
    } rows[] = {{1, true, 0}, {0, false, 0}, {2, true, 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.pass);
        EXPECT_EQ(row.answer, printer.preparePass(row.pass, row.withRenderer ? renderer : nullptr));
        EXPECT_EQ(nullptr, printer.printedRenderer());
    }
    // A text view is not an image view: the allocation check names the place.
    EXPECT_NE("", assertionText([&] { printer.preparePass(0, renderer); }));
}

}  // namespace
