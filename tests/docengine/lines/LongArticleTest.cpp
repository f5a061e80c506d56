// A long article laid out whole through the platform's fonts: its lines, runs
// and hit answers are those of measuring every piece of text on its own.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>

#include "docengine/lines/ALineRenderer.h"
#include "docengine/lines/ARunDisplay.h"
#include "docengine/model/AIndexedDocModel.h"
#include "docengine/styles/AStyleSheet.h"
#include "framework/graphics/ADisplayLock.h"
#include "tests/docengine/model/ModelTestSupport.h"
#include "tests/framework/graphics/GraphicsTestSupport.h"

namespace {

// Measures every piece of text with a call of its own, as the layout did
// before it kept the widths of a run's text.
class PieceByPieceDisplay : public AGdiRunDisplay {
public:
    bool prefixWidths(AStyleFont*, const char*, long, int32_t*, ARunExtent&) override { return false; }
};

// About 40 KB of Windows-1252 paragraphs: plain, justified, centred and right
// aligned, with bold, italic, superscript and fixed-pitch words, tabs and
// words too long for a narrow line.
std::string LongArticle() {
    static const char* const kWords[] = {"encyclop\xE9" "die", "\x9C" "uvre", "\xE9t\xE9", "h\xF4pital",
                                         "for\xEAt", "ch\xE2teau", "na\xEFve", "fa\xE7" "ade", "o\xF9",
                                         "d\xE9j\xE0", "biblioth\xE8que", "r\xE9volution", "l'\xE2me", "et",
                                         "la", "de", "Saint-\xC9tienne", "peinture", "\xAB" "grand\xBB",
                                         "anticonstitutionnellementanticonstitutionnellement"};
    static const char* const kParagraphs[] = {"", "/@J8/", "/@J1/", "/@J4/", "/@J8/", ""};
    static const char* const kStyles[] = {"/B", "/C", "/D", "/E"};
    uint32_t seed = 81;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) & 0x7FFF;
    };
    std::string text;
    for (int p = 0; text.size() < 40 * 1024; ++p) {
        text += kParagraphs[p % 6];
        int words = 5 + static_cast<int>(next() % 160);
        for (int w = 0; w < words; ++w) {
            uint32_t r = next();
            if (r % 23 == 0)
                text += kStyles[r / 23 % 4];
            text += kWords[r % 20];
            if (r % 23 == 0)
                text += "/A";
            text += r % 41 == 0 ? "\t" : r % 9 == 0 ? ", " : " ";
        }
        text += ".\n";
    }
    return text;
}

// Each line's positions, geometry and runs, then the hit position at a few
// points of it and the x of a few of its positions.
std::string Dump(ALineRenderer* renderer) {
    std::string out;
    for (long i = 0; i < renderer->lines.count(); ++i) {
        ALine* line = renderer->lines.at(i);
        out += std::to_string(line->start) + "-" + std::to_string(line->end) + "@" + std::to_string(line->top) +
               "," + std::to_string(line->baseline) + "," + std::to_string(line->height) + "," +
               std::to_string(line->right) + ":";
        for (ADataRun* r = line->runs; r; r = r->getNext())
            out += " " + std::to_string(r->start) + "+" + std::to_string(r->x) + "/" + std::to_string(r->width);
        out += " |";
        for (long x : {1L, 29L, 97L, 240L, 613L})
            out += " " + std::to_string(renderer->hitRecordAt(APoint(x, line->top + 1)).position);
        out += " |";
        for (long p = line->localStart; p < line->localEnd; p += 17)
            out += " " + std::to_string(line->xOfPosition(p, -1));
        out += "\n";
    }
    return out;
}

class LongArticleTest : public GraphicsTest {};

TEST_F(LongArticleTest, LaysOutAsEveryPieceMeasuredOnItsOwn) {
    SiteComponent* site = makeSite(app, 1, ARect(0, 0, 800, 600));
    Canvas canvas(800, 600);
    AIndexedDocModel* model = MakeIndexedModel(LongArticle());
    AStyleSheet* sheet = new AStyleSheet();
    sheet->addRef();
    sheet->setFont(0, AFontSpec("Arial,11,0"));
    sheet->setFont(1, AFontSpec("Arial,11,1"));
    sheet->setFont(2, AFontSpec("Times New Roman,12,2"));
    sheet->setFont(3, AFontSpec("Arial,10,256"));
    sheet->setFont(4, AFontSpec("Courier New,10,0"));
    AGdiRunDisplay fast;
    PieceByPieceDisplay reference;
    for (long width : {800L, 347L, 130L}) {
        SCOPED_TRACE(width);
        std::string dumps[2];
        ARunDisplay* displays[2] = {&fast, &reference};
        for (int d = 0; d < 2; ++d) {
            ADisplayLock lock(site, canvas.dc(), AGraphicDisplay::kOwnDevice, nullptr, Everywhere());
            ALineRenderer* renderer = new ALineRenderer(model, sheet, displays[d], ARect(0, 0, width, 600));
            renderer->addRef();
            renderer->flags2 |= LineFlags::kWholeDocument;
            renderer->layoutFrom(0);
            dumps[d] = Dump(renderer);
            EXPECT_EQ(model->getLength(), renderer->lastLaidOutPosition());
            renderer->release();
        }
        EXPECT_GT(dumps[0].size(), 10000u);
        // Kept for comparing layouts across changes of the measuring.
        if (FILE* f = fopen((ArtifactsFolder() + "lines-long-article-" + std::to_string(width) + ".txt").c_str(), "wb")) {
            fwrite(dumps[0].data(), 1, dumps[0].size(), f);
            fclose(f);
        }
        EXPECT_TRUE(dumps[0] == dumps[1]) << "first difference at byte "
                                          << std::mismatch(dumps[0].begin(), dumps[0].end(), dumps[1].begin(),
                                                           dumps[1].end())
                                                     .first -
                                                 dumps[0].begin();
    }
    sheet->release();
    model->release();
}

}  // namespace
