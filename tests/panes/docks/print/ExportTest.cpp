// The reader's export provider through the RTF writer of a real view: the
// title first, the table of contents and the notes as the keys ask, the
// selection alone.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "docengine/styles/AStyleSheet.h"
#include "framework/files/AOptionsInfo.h"
#include "panes/docks/print/APrintKeys.h"
#include "panes/docks/print/APrintSources.h"
#include "panes/docks/print/ASVRendererExporter.h"
#include "tests/docengine/render/RenderTestSupport.h"

namespace {

class Sources : public APrintSources {
public:
    AString contentsText() override { return AString("Sommaire de l'article\n"); }
    AString notesText() override { return AString("Notes du lecteur\n"); }
    AString docTitle() override { return AString("Titre du document\n"); }
};

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// The order in which the marks occur in text, "-" for those missing.
std::string Order(const std::string& text, std::initializer_list<const char*> marks) {
    std::string out;
    size_t at = 0;
    for (const char* mark : marks) {
        size_t found = text.find(mark, at);
        out += found == std::string::npos ? "-" : "+";
        if (found != std::string::npos)
            at = found + 1;
    }
    return out;
}

class ExportTest : public RenderTest {};

TEST_F(ExportTest, KeysChooseThePartsAroundTheText) {
    make("Le texte de la vue\nDeuxieme ligne\n");
    Sources sources;
    auto* partSheet = new AStyleSheet();
    partSheet->addRef();
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string file = std::string(temp) + "svexport.rtf";
    struct Row {
        long selectionOnly, contents, notes;
        const char* order;  // title, table of contents, text, notes
    } rows[] = {
        {0, 0, 0, "+-+-"},
        {0, 0, 1, "+-++"},
        {0, 1, 1, "++++"},
        {1, 1, 1, "+---"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.order);
        ALongDicInfo options;
        options.setLong(PrintKey::kSelectionOnly, row.selectionOnly);
        options.setLong(PrintKey::kWithContents, row.contents);
        options.setLong(PrintKey::kWithNotes, row.notes);
        auto* exporter = new ASVRendererExporter(&options, &sources, partSheet);
        exporter->setLayer(view->rendererLayer());
        view->rendererLayer()->setExportProvider(exporter);
        model->setSelection(ADocRange{0, 0}, 0);
        ASSERT_TRUE(view->exportRtfFile(file.c_str(), !row.selectionOnly));
        view->rendererLayer()->setExportProvider(nullptr);
        std::string rtf = ReadFile(file);
        EXPECT_EQ(row.order, Order(rtf, {"Titre du document", "Sommaire de l'article", "Le texte de la vue", "Notes du lecteur"}))
            << rtf;
    }
    DeleteFileA(file.c_str());
    partSheet->release();
}

}  // namespace
