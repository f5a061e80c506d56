// The row formatter's cells and rows, the shared row algorithm of the line
// getters, and the table, result, word-list and buffer sources over a
// generated base.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "app/lines/ALineSorter.h"
#include "app/lines/KyTabRowFormat.h"
#include "app/lines/StandardLineGetter.h"
#include "app/state/ALongTextDic.h"
#include "base/object/AStringList.h"
#include "base/procedural/AError.h"
#include "docengine/kytab/KyTab.h"
#include "search/facade/ADataLocation.h"
#include "search/facade/ASearchBase.h"
#include "search/facade/ASearchRequest.h"
#include "tests/app/lines/LinesTestSupport.h"
#include "tests/search/facade/FacadeTestSupport.h"

namespace {

KyTab::Column MakeColumn(int16_t kind, std::vector<int16_t> fields, const char* text = "", const char* sep = "") {
    KyTab::Column c;
    c.kind = kind;
    c.displayFields = fields;
    c.sortFields = fields;
    c.text = text;
    c.separator = sep;
    return c;
}

// A cell of one column over one raw line.
std::string Cell(const KyTab::Column& column, const char* raw, bool sortMode, int32_t current = -1) {
    KyTab::RowFormat format;
    format.currentValue = current;
    auto* list = new ALongTextDic;
    list->set(2, "deux");
    format.addList("", list);
    // Split option 0: fields keep their slashes (option 1 strips slash codes).
    format.setLine(raw, 0);
    return format.cell(column, sortMode, 4).c_str();
}

// A getter over fixed raw lines.
class FixedLines : public SortableLineGetter {
public:
    explicit FixedLines(std::vector<std::string> lines) : lines_(std::move(lines)) {}
    long getLineCount() override { return static_cast<long>(lines_.size()); }
    AString getRawLine(long record, long line) override {
        (void)line;
        return record >= 0 && record < getLineCount() ? AString(lines_[static_cast<size_t>(record)].c_str())
                                                      : AString();
    }

private:
    std::vector<std::string> lines_;
};

class Upper : public ALineGetterCallBack {
public:
    AString transformRawText(const AString& raw) override { return AString(("<" + std::string(raw.c_str()) + ">").c_str()); }
    AString formatLine(long line, const AString& raw, int16_t rowMarkup) override {
        return AString((std::to_string(line) + ":" + std::to_string(rowMarkup) + ":" + raw.c_str()).c_str());
    }
};

class Locator : public ALineGetterLocationCallBack {
public:
    int16_t locate(const AString& raw) override { return static_cast<int16_t>(raw.length()); }
};

std::string Row(ALineGetter& getter, long n) {
    AString out;
    getter.getLine(out, n);
    return out.c_str();
}

}  // namespace

TEST(RowFormat, SplitsRawLinesIntoFieldsAndTail) {
    struct Case {
        const char* raw;
        const char* fields;
        const char* tail;
    } const cases[] = {
        {"a\tb#T\n", "a|b", "T"},
        {"a\tb#T\r\n", "a|b", "T"},
        {"seul\n", "seul", ""},
        {"#x#y", "", "x#y"},
        {"a\t\tc#", "a||c", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.raw);
        KyTab::RowFormat format;
        format.setLine(c.raw, 1);
        std::string fields;
        for (long i = 0; i < format.fieldCount(); ++i)
            fields += (i ? "|" : "") + std::string(format.field(i));
        EXPECT_EQ(c.fields, fields);
        EXPECT_STREQ(c.tail, format.tail().c_str());
        EXPECT_STREQ("", format.field(99));
        EXPECT_EQ(0, format.fieldLength(-1));
    }
}

TEST(RowFormat, WritesEachCellKind) {
    struct Case {
        const char* what;
        KyTab::Column column;
        const char* raw;
        bool sort;
        const char* cell;
    } const cases[] = {
        {"kind 0", MakeColumn(0, {0, 1, 2}, "T:", ","), "a\t\tb", false, "T:a,b,"},
        {"kind 1 format", MakeColumn(1, {0}, "n=%03d"), "7", false, "n=007"},
        {"kind 1 long format", MakeColumn(1, {0}, "%ld%%"), "42", false, "42%"},
        {"kind 1 two conversions", MakeColumn(1, {0}, "%s%s"), "7", false, "%s%s7"},
        {"kind 1 string conversion", MakeColumn(1, {0}, "%d%n"), "7", false, "%d%n7"},
        {"kind 1 huge width", MakeColumn(1, {0}, "%999999d"), "7", false, "%999999d7"},
        {"kind 1 without percent", MakeColumn(1, {0}, "x"), "7", false, "x7"},
        {"kind 2", MakeColumn(2, {0}, "fixe"), "7", false, "fixe"},
        {"kind 3", MakeColumn(3, {0}, ">", ""), "2", false, ">deux"},
        {"kind 3 negative", MakeColumn(3, {0}, ">"), "-1", false, "  "},
        {"kind 3 sort", MakeColumn(3, {0}, ">"), "2", true, "2"},
        {"kind 4 slashes", MakeColumn(4, {0}), "12/03/1999", false, "12-03-1999"},
        {"kind 4 slashes sort", MakeColumn(4, {0}), "12/03/1999", true, "19990312"},
        {"kind 4 blanks", MakeColumn(4, {0}), "12 03 1999", false, "12-03-1999"},
        {"kind 4 digits", MakeColumn(4, {0}), "19990312", false, "1999-03-12"},
        {"kind 4 digits sort", MakeColumn(4, {0}), "19990312", true, "19990312"},
        {"kind 4 short", MakeColumn(4, {0}), "1999", false, "1999"},
        {"kind 4 one part", MakeColumn(4, {0}), "12/", false, "12--"},
        {"kind 7 current", MakeColumn(7, {0}, "Tri"), "x", false, "{r/!3!/Tri#04}"},
        {"kind 8", MakeColumn(8, {0}), "x", false, "/!10!/"},
        {"kind 9 zero", MakeColumn(9, {0}), "0", false, "/!10!/"},
        {"kind 9 empty", MakeColumn(9, {0}), "", false, "/!10!/"},
        {"kind 9 one", MakeColumn(9, {0}), "3", false, "/!11!/"},
        {"kind 10 zero", MakeColumn(10, {0}), "0", false, "   "},
        {"kind 10 one", MakeColumn(10, {0}), "1", false, "/!12!/"},
        {"kind 10 sort", MakeColumn(10, {0}), "1", true, "1"},
        {"other kind", MakeColumn(6, {0}), "brut", false, "brut"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.cell, Cell(c.column, c.raw, c.sort, 4));
    }
    EXPECT_EQ("{rTri#04}", Cell(MakeColumn(7, {0}, "Tri"), "x", false, 3)) << "another column is current";
    KyTab::RowFormat noList;
    noList.setLine("2", 1);
    EXPECT_EQ("fatal File ulinegtr;line 410", Outcome([&] { noList.cell(MakeColumn(3, {0}, ">"), false, 0); }));
    EXPECT_EQ("fatal File ulinegtr;line 520", Outcome([&] { noList.columnSortText(0); }));
}

TEST(RowFormat, WritesRowsWithMarkupRuleAndTableRows) {
    KyTab::RowFormat format;
    format.addColumn(MakeColumn(0, {1}));
    format.addColumn(MakeColumn(0, {0}, "/"));
    format.setLine("a\tb#T\n", 1);
    const std::string rule = "/A/$///S/0" + std::string(825, '\x97');
    EXPECT_EQ("b/a" + rule + "#T", std::string(format.formatRow(3, 0, nullptr).c_str()));
    std::string marked = format.formatRow(3, 1, nullptr).c_str();
    EXPECT_EQ(0u, marked.find("{r #3}{@R0!0,^!/@ #C:3}{r b/a/A/$"));
    EXPECT_EQ('}', marked.back());
    EXPECT_EQ("/a", std::string(format.columnSortText(1).c_str()));

    KyTab::RowTable table{"100%:N0:", {"-15,0,0,0,0:0|x", "100,0,0,0,0:0|y", "-20,0,0,0,0:0|z"}};
    format.alternateRows = 1;
    struct Case {
        long n;
        const char* row;
    } const cases[] = {
        {2, "/&TABLE:100%:N0:[[-15,0,0,0,0:0|x*100,0,0,0,0:0|y*-20,0,0,0,0:0|z]]&/#T"},
        {3, "/&TABLE:100%:N0:0:2[[-15,0,0,0,0:0|x*100,0,0,0,0:0|y*-20,0,0,0,0:0|z]]&/#T"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.n);
        EXPECT_STREQ(c.row, format.formatRow(c.n, 0, &table).c_str());
    }
}

// Random raw lines: each gives a row or an error, never a crash.
TEST(RowFormat, RandomRawLinesGiveRowsOrErrors) {
    std::mt19937 random(44);
    const char alphabet[] = "ab\t#%0123456789/-{}\\\n";
    KyTab::RowFormat format;
    for (int16_t kind = 0; kind <= 11; ++kind)
        format.addColumn(MakeColumn(kind, {0, 1, 2, 40}, kind == 1 ? "%05d" : "%s", "%"));
    format.addList("", new ALongTextDic);
    long rows = 0, errors = 0;
    for (int i = 0; i < 1000; ++i) {
        std::string raw;
        size_t length = random() % (i % 10 == 0 ? 3000 : 40);
        for (size_t k = 0; k < length; ++k)
            raw += alphabet[random() % (sizeof alphabet - 1)];
        try {
            format.setLine(raw.c_str(), static_cast<int16_t>(i % 2));
            format.formatRow(i, static_cast<int16_t>(i % 2), nullptr);
            for (int16_t c = 0; c < 12; ++c)
                format.columnSortText(c);
            ++rows;
        } catch (const AError&) {
            ++errors;
        }
    }
    EXPECT_EQ(1000, rows + errors);
}

TEST(SortableLineGetter, RowsThroughFormatterCallbackOrRawText) {
    ARefHold<FixedLines> getter(new FixedLines({"a\tb#T\n", "c\td#U\n", "e#V\n", "f\tg#W\n"}));
    EXPECT_EQ("c\td#U\n", Row(*getter.get(), 1)) << "neither formatter nor callback: the raw line";

    getter->setCallBack(new Upper);
    getter->setRowMarkup(1);
    EXPECT_EQ("2:1:e#V\n", Row(*getter.get(), 2));

    KyTab::RowFormat format;
    format.addColumn(MakeColumn(0, {0}));
    format.locationPerLine = 1;
    getter->setFormatter(&format);
    std::string row = Row(*getter.get(), 3);
    EXPECT_EQ(0u, row.find("{r #3}{@R0!0,^!/@ #C:3}{r f/A/$"));
    EXPECT_EQ('}', row.back());
    EXPECT_EQ(0, format.location) << "the getter's own location without a location callback";
    getter->setLocationCallBack(new Locator);
    Row(*getter.get(), 0);
    EXPECT_EQ(6, format.location);

    getter->prepareLine(1, 1);
    EXPECT_STREQ("c", getter->getColumnSortText(0).c_str());
    EXPECT_EQ(0u, getter->getSortKey(0));
    EXPECT_EQ("fatal File ulinegtr;line 120", Outcome([&] { getter->setLineMap(nullptr); }));

    // Through a line map the rows follow the sorter's records.
    class Keyed : public FixedLines {
    public:
        Keyed() : FixedLines({"z", "x", "y"}) {}
        void prepareLine(long record, int16_t) override { key = static_cast<uint32_t>(getRawLine(record, -1)[0]); }
        uint32_t getSortKey(int16_t) override { return key; }
        uint32_t key = 0;
    };
    // Sorting always splits with option 1, which strips slash codes: a
    // date's slashes are no codes and stay, so dates sort by date.
    ARefHold<FixedLines> dated(new FixedLines({"12/03/1999\t/Bgras/b#1", "05/11/1998\tx#2"}));
    KyTab::RowFormat dates;
    dates.addColumn(MakeColumn(4, {0}));
    dates.addColumn(MakeColumn(0, {1}));
    dated->setFormatter(&dates);
    struct Dated {
        long record;
        int16_t column;
        const char* text;
    } const sorted[] = {{0, 0, "19990312"}, {1, 0, "19981105"}, {0, 1, "gras"}};
    for (const Dated& d : sorted) {
        SCOPED_TRACE(d.text);
        dated->prepareLine(d.record, 1);
        EXPECT_STREQ(d.text, dated->getColumnSortText(d.column).c_str());
    }
    EXPECT_EQ(0u, Row(*dated.get(), 0).find("12-03-1999")) << "shown with option 1 too";

    ARefHold<Keyed> keyed(new Keyed);
    keyed->setLineMap(new AMemLongLineSorter(keyed.get(), "NORM", 0, nullptr));
    EXPECT_EQ("x,y,z", Row(*keyed.get(), 0) + "," + Row(*keyed.get(), 1) + "," + Row(*keyed.get(), 2));
}

TEST(StandardLineGetter, RangesResultsWordsAndBuffers) {
    LinesBase base(50);
    ASSERT_EQ(0, base.code) << base.error;
    ASearchBase* tableBase = base.open();
    ASSERT_NE(nullptr, tableBase);

    ARefHold<StandardLineGetter> whole(new StandardLineGetter(tableBase, nullptr, 0, 0, 0));
    EXPECT_EQ(50, whole->getLineCount()) << "an empty range is the whole table";
    EXPECT_EQ("titre 0\t0#0\n", Row(*whole.get(), 0));

    ARefHold<StandardLineGetter> range(new StandardLineGetter(tableBase, nullptr, 0, 5, 15));
    struct Case {
        long line;
        const char* row;
    } const rangeRows[] = {{0, "titre 5\t5#5\n"}, {9, "titre 14\t14#14\n"}};
    EXPECT_EQ(10, range->getLineCount());
    for (const Case& c : rangeRows) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(c.row, Row(*range.get(), c.line));
    }
    // A sorted range not starting at 0 keeps its own rows.
    class Reversed : public StandardLineGetter {
    public:
        using StandardLineGetter::StandardLineGetter;
        void prepareLine(long record, int16_t) override { key = static_cast<uint32_t>(1000 - record); }
        uint32_t getSortKey(int16_t) override { return key; }
        uint32_t key = 0;
    };
    ARefHold<Reversed> sorted(new Reversed(tableBase, nullptr, 0, 5, 15));
    sorted->setLineMap(new AMemLongLineSorter(sorted.get(), "NORM", 0, nullptr));
    EXPECT_EQ("titre 14\t14#14\n", Row(*sorted.get(), 0));
    EXPECT_EQ("titre 5\t5#5\n", Row(*sorted.get(), 9));

    ASearchRequest request(base.location, base.location.ensureBase("A"), "SEARCH");
    EXPECT_EQ("fatal File ulinegtr;line 204",
              Outcome([&] { ARefHold<StandardLineGetter> g(new StandardLineGetter(tableBase, &request, 0, 0, 0)); }))
        << "a request without a run";
    request.setQuestion(1, "chat", 0);
    request.execute(0);
    ARefHold<StandardLineGetter> hits(new StandardLineGetter(tableBase, &request, 0, 0, 0));
    ASSERT_EQ(3, hits->getLineCount());
    const Case hitRows[] = {{0, "titre 2\t2#2\n"}, {1, "titre 7\t7#7\n"}, {2, "titre 31\t31#31\n"}};
    for (const Case& c : hitRows) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(c.row, Row(*hits.get(), c.line)) << "each hit shows its own row";
    }
    hits->setCallBack(new Upper);
    EXPECT_EQ("<titre 7\t7#7>\n", std::string(hits->getRawLine(1, -1).c_str()));
    EXPECT_EQ("fatal File ulinegtr;line 200",
              Outcome([&] { ARefHold<StandardLineGetter> g(new StandardLineGetter(nullptr, nullptr, 0, 0, 0)); }));

    ARefHold<AStringList> words(new AStringList("un,deux,trois,quatre", ','));
    ARefHold<StandardLexLineGetter> lex(new StandardLexLineGetter(words.get(), 1, 3));
    EXPECT_EQ(2, lex->getLineCount());
    EXPECT_EQ("deux\n", Row(*lex.get(), 0));
    ARefHold<StandardLexLineGetter> allWords(new StandardLexLineGetter(words.get(), 0, 0));
    EXPECT_EQ(4, allWords->getLineCount());
    EXPECT_EQ("\n", Row(*allWords.get(), 9)) << "past the list: an empty entry";

    ARefHold<BufferedLineGetter> buffer(new BufferedLineGetter("l0\nl1\nl2", 5));
    EXPECT_EQ(2, buffer->getLineCount());
    EXPECT_EQ("l1", Row(*buffer.get(), 1));
    buffer->setText("x\ny\nz", -1);
    EXPECT_EQ(3, buffer->getLineCount());
    EXPECT_EQ("", Row(*buffer.get(), 7));
    EXPECT_EQ("fatal File ulinegtr;line 400", Outcome([&] { buffer->setText(nullptr, 0); }));
}
