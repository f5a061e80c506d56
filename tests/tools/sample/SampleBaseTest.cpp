// The sample encyclopedia from a small corpus converted from fixture pages
// (make_fixture.py, then tools/sample/corpus.py at build time): its markup
// parses with the document engine's parser, its text is Windows-1252, and the
// checker finds no fault in the built folder but finds each damage done to it.
#include <gtest/gtest.h>
#include <windows.h>

#include <cctype>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "base/object/ARefObj.h"
#include "docengine/kytab/AKytabFragment.h"
#include "search/facade/ADataLocation.h"
#include "search/facade/ASearchRequest.h"
#include "search/writers/FileImage.h"
#include "tests/base/procedural/FileTestSupport.h"
#include "tests/docengine/parser/ParserTestSupport.h"
#include "tools/samplebase/SampleBase.h"
#include "tools/samplebase/SampleChrono.h"
#include "tools/samplebase/SampleLinks.h"
#include "tools/samplebase/SampleOutlines.h"
#include "tools/samplebase/SampleSearches.h"
#include "tools/samplebase/SampleThemes.h"

namespace {

std::string Native(std::string path) {
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return "Z:" + path;
}

const std::string kWork = Native(SV_SAMPLE_CORPUS "/work");

struct Article {
    std::string title, ext, markup;
};

std::vector<Article> Articles() {
    std::string bytes;
    std::vector<Article> out;
    if (!LoadFile(kWork + "\\articles.dat", &bytes))
        return out;
    size_t at = 0;
    while (at < bytes.size()) {
        size_t nl = bytes.find('\n', at);
        size_t t1 = bytes.find('\t', at), t2 = bytes.find('\t', t1 + 1), t3 = bytes.find('\t', t2 + 1);
        size_t lt = std::stoul(bytes.substr(t1 + 1)), le = std::stoul(bytes.substr(t2 + 1)),
               lm = std::stoul(bytes.substr(t3 + 1));
        out.push_back({bytes.substr(nl + 1, lt), bytes.substr(nl + 1 + lt, le), bytes.substr(nl + 1 + lt + le, lm)});
        at = nl + 1 + lt + le + lm;
    }
    return out;
}

std::string Parse(const std::string& markup) {
    return ParseText(markup, new ATextFragParser('/'));
}

}  // namespace

TEST(SampleCorpus, ArticlesParseAsSlashMarkup) {
    std::vector<Article> articles = Articles();
    ASSERT_EQ(8u, articles.size());
    for (const Article& a : articles) {
        SCOPED_TRACE(a.ext);
        std::string description = Parse(a.markup);
        EXPECT_EQ(std::string::npos, description.find("error:")) << description;
        EXPECT_EQ(std::string::npos, description.find("/s-1")) << description;  // no construct left open
    }
    struct Row {
        size_t article;
        const char* piece;
    } rows[] = {
        {0, "\"Calques\"/s7"},
        {0, "\"calque\"/s4"},
        {0, "\"Calque\"/s1"},
        {0, "\"la retouche photo\"/s12/c1 n=G:2 k=0x3"},
        {0, "K\"images/i00000.bmp\"#-1"},
        {1, "\"  \"/s3 | \"/tmp\"/s3 | \"/\"/s3 | \"{fond\"/s3 | \"}\"/s3 | \"#1\"/s3"},  // escaped, not codes
        {3,
         "donn\xE9"
         "es. Ctrl+F12.\""},  // the variant text left out
        {5, "\"exemple\"/s1"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.piece);
        std::string description = Parse(articles[r.article].markup);
        EXPECT_NE(std::string::npos, description.find(r.piece)) << description;
    }
}

TEST(SampleCorpus, TextIsWindows1252) {
    std::vector<Article> articles = Articles();
    ASSERT_EQ(8u, articles.size());
    struct Row {
        size_t article;
        std::string bytes;
    } rows[] = {
        {1, "Calques \x97 Propri\xE9t\xE9s"},     // em dash and e acute
        {2, "l'\x9Cuvre ; un \x9Cil exerc\xE9"},  // oe ligature
        {0, "-> tout ou rien ; chinois : ?."},    // an arrow read closely, a Chinese character lost
        {0, "/A\x95 Calque actif"},               // the bullet of a list item
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.bytes);
        EXPECT_NE(std::string::npos, (articles[r.article].title + articles[r.article].markup).find(r.bytes));
    }
    for (const Article& a : articles)
        EXPECT_EQ(std::string::npos, a.markup.find('\xC3')) << a.ext;  // no UTF-8 left
    std::string report;
    ASSERT_TRUE(LoadFile(kWork + "\\report.txt", &report));
    EXPECT_NE(std::string::npos, report.find("2 lost: U+4E2D x2")) << report;
}

// The sample built into the test's folder, with the fixture's two pictures.
class SampleCheck : public TempFolderTest {};

TEST_F(SampleCheck, PassesTheBuiltSampleAndFindsEachDamage) {
    ASSERT_EQ("", BuildSample(kWork, folder_, nullptr));
    ASSERT_TRUE(CreateDirectoryA(PathOf("images").c_str(), nullptr));
    for (const char* name : {"i00000.bmp", "i00001.jpg"}) {
        std::string bytes;
        ASSERT_TRUE(LoadFile(Native(SV_SAMPLE_CORPUS "/images/") + name, &bytes));
        ASSERT_EQ("", SaveFileReplacing(PathOf("images\\") + name, bytes));
    }
    SampleCheckReport report = CheckSample(folder_);
    for (const std::string& e : report.errors)
        ADD_FAILURE() << e;
    // The articles' DOC, EXT, TITLE, HDGLIB and HDGINFO, then the other bases'
    // tables, which grow as screens need records.
    EXPECT_GT(report.records, 8 * 5);
    EXPECT_EQ(2, report.images);

    struct Row {
        const char* file;
        size_t offset;  // the byte changed, or past the end to cut the file there
        const char* names;
    } rows[] = {
        {"data\\doc.fmt", 1u << 30, "TEXT:DOC"},
        {"data\\title.of7", 4, "title.of7"},
        {"data\\mots.abp", 4096 + 2, "mots.abp"},
        {"data\\idxaz.abp", 0, "idxaz.abp"},
        {"data\\thesfr.abp", 4096 + 7, "thesfr.abp"},
        {"images\\i00000.bmp", 80, "i00000.bmp"},
        {"sv.sgm", 0, "sv.sgm"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.file);
        std::string path = PathOf(r.file), good, bad;
        ASSERT_TRUE(LoadFile(path, &good));
        bad = good;
        if (r.offset < bad.size())
            bad[r.offset] = static_cast<char>(bad[r.offset] ^ 0x5A);
        else
            bad.resize(bad.size() - 7);
        ASSERT_EQ("", SaveFileReplacing(path, bad));
        SampleCheckReport damaged = CheckSample(folder_);
        ASSERT_FALSE(damaged.errors.empty());
        EXPECT_NE(std::string::npos, damaged.errors[0].find(r.names)) << damaged.errors[0];
        ASSERT_EQ("", SaveFileReplacing(path, good));
    }
}

// The names the reader asks for: each kind found in the built descriptor, and
// each name the sample lacks reported with the place that reads it.
TEST_F(SampleCheck, ReaderNamesAreFoundAndEachMissingOneIsNamed) {
    ASSERT_EQ("", BuildSample(kWork, folder_, nullptr));
    const std::string keys = PathOf("keys.txt");
    ASSERT_EQ("", SaveFileReplacing(keys,
                                    "str\tDLG_NO_RES\ta.cpp:1\nstr\tHISTO_NBLINES\ta.cpp:2\n"
                                    "prefix\tFONT_ADJUST_WIN_\ta.cpp:3\ntable\tAIDE:GUIDE\ta.cpp:4\n"
                                    "lex\tAUTEUR\ta.cpp:5\nfile\tMAJ\ta.cpp:6\nfilter\tHILITEMAJ\ta.cpp:7\n"
                                    "path\tSVDATA\ta.cpp:8\n"));
    SampleCheckReport report = CheckSample(folder_, keys);
    for (const std::string& e : report.errors)
        ADD_FAILURE() << e;
    EXPECT_EQ(8, report.names);

    ASSERT_EQ("", SaveFileReplacing(keys,
                                    "str\tDLG_NOWHERE\tb.cpp:9\nprefix\tNO_SUCH_\tb.cpp:10\n"
                                    "table\tAIDE:NOPE\tb.cpp:11\nlex\tNOLEX\tb.cpp:12\nstr\tSVSITE\tb.cpp:13\n"));
    report = CheckSample(folder_, keys);
    ASSERT_EQ(4u, report.errors.size());
    EXPECT_EQ("the sample lacks the str \"DLG_NOWHERE\" that b.cpp:9 reads", report.errors[0]);
    EXPECT_NE(std::string::npos, report.errors[1].find("NO_SUCH_"));
    EXPECT_NE(std::string::npos, report.errors[2].find("AIDE:NOPE"));
    EXPECT_NE(std::string::npos, report.errors[3].find("NOLEX"));
    EXPECT_FALSE(CheckSample(folder_, PathOf("absent.txt")).errors.empty());
}

// Searches through the request layer give the documents a scan of the fixture's
// words gives: the word index is read with its positions, the form's operators,
// separators and key filter reach the question, quotes make proximity words,
// "*!" truncates and the thesaurus form widens by synonyms. The fixture's two
// pictures are documents 10 ("Photo") and 11 ("Calque"), found by their captions.
TEST_F(SampleCheck, RequestsFindTheDocumentsOfTheScan) {
    ASSERT_EQ("", BuildSample(kWork, folder_, nullptr));
    const char* const kSearches =
        "calque\t3\t0 1 11\n"
        "retouche ET photo\t2\t0 2\n"
        "image OU tableau\t6\t0 3 4 5 6 7\n"
        "image SAUF retouche\t1\t6\n"
        "filtre\t2\t3 4\n"
        "exemple ET image\t3\t5 6 7\n"
        "CALQUE\t3\t0 1 11\n"
        "Tableau Crois\xE9\t2\t3 4\n"
        "retouch*!\t5\t0 2 5 6 7\n"
        "\"photo retouche\"\t1\t0\n"
        "~image\t6\t0 2 5 6 7 10\n";
    ASSERT_EQ("", SaveFileReplacing(PathOf("searches.txt"), kSearches));
    std::string error;
    std::vector<SampleSearch> searches = RunSampleSearches(folder_, folder_, &error);
    ASSERT_EQ("", error);
    ASSERT_EQ(11u, searches.size());
    for (const SampleSearch& s : searches) {
        SCOPED_TRACE(s.text);
        EXPECT_EQ(static_cast<long>(s.expected.size()), s.count);
        EXPECT_EQ(s.expected, s.found);
    }
}

// A small chronology beside a copy of the fixture's corpus: the built base
// passes the check, and each fault of the chronology's texts and pictures is
// named by its table.
TEST_F(SampleCheck, ChronologyPassesAndEachFaultIsNamed) {
    const std::string work = PathOf("work"), chrono = work + "\\chrono\\", out = PathOf("out");
    ASSERT_TRUE(CreateDirectoryA(work.c_str(), nullptr));
    for (const char* name :
         {"articles.dat", "words.txt", "az.txt", "thesaurus.txt", "chars.txt", "stop.txt", "separators.txt"}) {
        std::string bytes;
        ASSERT_TRUE(LoadFile(kWork + "\\" + name, &bytes)) << name;
        ASSERT_EQ("", SaveFileReplacing(work + "\\" + name, bytes));
    }
    ASSERT_TRUE(CreateDirectoryA(chrono.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((chrono + "bmp").c_str(), nullptr));
    // A 1 x 1 24-bit picture: file header, info header, one padded row.
    std::string bmp = std::string("BM") + '\x3A' + std::string(3, '\0') + std::string(4, '\0') + '\x36' +
                      std::string(3, '\0') + '\x28' + std::string(3, '\0') + '\x01' + std::string(3, '\0') + '\x01' +
                      std::string(3, '\0') + '\x01' + '\0' + '\x18' + '\0' + std::string(24, '\0') +
                      std::string("\xFF\x00\x00\x00", 4);
    ASSERT_EQ(58u, bmp.size());
    std::string periods;
    for (int year = 1000; year < 2000; year += 100)
        periods += std::to_string(year) + "\tp\r\n";
    const std::pair<const char*, std::string> good[] = {
        {"hdg.txt", "\t\t1\t1\f12\tBastille\t1789\t0\f\tValmy\t1792\t0"},
        {"lnk.txt", "2:2:1,2\f1:1:1"},
        {"events.txt", "1789|0|1|0|0|Bastille|12\f1792|3|2|4|0|Valmy|"},
        {"scale.txt", "-3000\t500\r\n0\t100\r\n1500\t2\r\n2000\t5\r\n\f" + periods},
        {"bkgnd.txt", "1700,0,1,2\r\n1789,0,0,1\r\n"},
        {"bmp.txt", "1"},
        {"bmp\\0.bmp", bmp},
    };
    for (const auto& f : good)
        ASSERT_EQ("", SaveFileReplacing(chrono + f.first, f.second));
    ASSERT_EQ("", BuildSample(work, out, nullptr));
    SampleCheckReport report = CheckSample(out);
    for (const std::string& e : report.errors)
        ADD_FAILURE() << e;

    struct Row {
        const char* file;
        std::string bad;
        const char* names;
    } const rows[] = {
        {"scale.txt", "-3000\t500\n0\t0\n2000\t5\n\f" + periods, "CHRONO:SCALE"},  // a zero factor
        {"scale.txt", "-3000\t500\n2000\t5\n\f1\n2\n3\n4\n5\n6\n7\n8\n9\n", "CHRONO:SCALE"},  // nine periods
        {"events.txt", "1789|0|1|0|0|Bastille\f1792|3|2|4|0|Valmy|", "CHRONO:EVENTS"},       // six fields
        {"events.txt", "1792|3|2|4|0|Valmy|\f1789|0|1|0|0|Bastille|12", "CHRONO:EVENTS"},    // years back
        {"events.txt", "1789|0|1|0|0|A:Bastille|12", "CHRONO:EVENTS"},                      // a cut label
        {"events.txt", "1789|0|7|0|0|Bastille|12", "CHRONO:EVENTS"},                        // no heading 7
        {"lnk.txt", "2:3:1,3", "CHRONO:LNK"},
        {"hdg.txt", "\t\t1\f12\tBastille\t1789\t0\f\tValmy\t1792\t0", "CHRONO:HDG"},
        {"bkgnd.txt", "1700,1,1,2\n", "CHRONO:BKGND"},  // no picture 1
        {"bmp\\0.bmp", bmp.substr(0, 50), "CHRONO:BMP"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.bad);
        std::string before;
        ASSERT_TRUE(LoadFile(chrono + r.file, &before));
        ASSERT_EQ("", SaveFileReplacing(chrono + r.file, r.bad));
        ASSERT_EQ("", BuildSample(work, out, nullptr));
        SampleCheckReport damaged = CheckSample(out);
        ASSERT_FALSE(damaged.errors.empty());
        EXPECT_NE(std::string::npos, damaged.errors[0].find(r.names)) << damaged.errors[0];
        ASSERT_EQ("", SaveFileReplacing(chrono + r.file, before));
    }
}

TEST(SampleOutlines, HeadingsMakeTheOutlineAndItsMapYearsTheStrip) {
    const std::string article = "/HLe titre\n/AUn texte.\n/G1.\xA0Premi\xE8re partie\n/AEn 1789, puis en 1848.\n"
                                "/G{@d1@/M/1Voir \\/ lien#G:12}\n/AEn 1914 et 1789, page 1200.\n";
    struct Row {
        std::string markup, text, map;
    } const rows[] = {
        {article,
         "/B{@d1@Le titre#0}\n/A{@d1@1.\xA0Premi\xE8re partie#23}\n/A{@d1@Voir \\/ lien#69}\n",
         "3,0:0,23:19,69:49"},
        {"/HSeul titre\n/APas de section.\n", "", ""},
        {"/AIntroduction\n/GSection\n/Atexte", "/A{@d1@Section#15}\n", "1,15:0"},
        {"/HT\n/G{B-1#images/i1.bmp}\n/GSuite\n", "/B{@d1@T#0}\n/A{@d1@Suite#26}\n", "2,0:0,26:12"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.markup);
        SampleOutline outline = MakeSampleOutline(r.markup);
        EXPECT_EQ(r.text, outline.text);
        EXPECT_EQ(r.map, outline.map);
        // Each line is a link (kind 3) named by the article position of its heading.
        for (size_t at = r.map.find(','); at != std::string::npos; at = r.map.find(',', at + 1)) {
            std::string position = r.map.substr(at + 1, r.map.find(':', at) - at - 1);
            EXPECT_EQ(r.markup.compare(std::stoul(position), 1, "/"), 0) << "a line start";
            EXPECT_NE(std::string::npos, Parse(outline.text).find("n=" + position + " k=0x3")) << position;
        }
    }
    EXPECT_EQ("Voir / lien", SamplePlainText("{@d1@/M/1Voir \\/ lien#G:12}"));

    std::string strip = MakeSampleTimeStrip(article, 7);
    EXPECT_EQ("/G{B-1#7} Rep\xE8res dans le temps\n/&TABLE:100%:N0:[[0,0,0,0,0|/B{@d1@1789#>49}"
              "#0,0,0,0,0|/B{@d1@1848#>63}#0,0,0,0,0|/B{@d1@1914#>104}]]&/\n",
              strip) << "years in order at their first mention; a size is no year";
    EXPECT_EQ("1789", article.substr(49, 4));
    EXPECT_EQ("1914", article.substr(104, 4));
    // The strip's row parses as a table with the renderer's separator.
    ATextFragParser* parser = new ATextFragParser('/');
    ARefHold<AKytabSubParser> tables(new AKytabSubParser('#'));
    parser->setSubParser(tables.get());
    std::string parsed = ParseText(strip, parser);
    EXPECT_EQ(std::string::npos, parsed.find("error:")) << parsed;
    EXPECT_EQ("", MakeSampleTimeStrip("/AEn 1789 et en 1848, page 12345 et i01900.bmp{B-1#images/i01950.bmp}, "
                                      "1600 pixels, {@d1@voir#G:1920}",
                                      -1))
        << "two years only: no strip";
    EXPECT_NE("", MakeSampleTimeStrip("/AEn 1789 (1848) depuis 1920", -1));
    EXPECT_EQ("", MakeSampleTimeStrip("/A1600 px, 1920\xD7" "1080, 1200 dpi, 1600x1200, 2048 Mo, 1789", -1));
    EXPECT_NE("", MakeSampleTimeStrip("/AVers 1200, 1648 et 1789", -1));
}

TEST(SampleThemesTest, ThemesBecomeTheThemeTextAndLinksRecords) {
    struct Bad {
        const char* text;
        const char* why;
    } const bad[] = {
        {"0\tA\t1\n2\tB\t2\n", "themes.txt line 2: not depth TAB label TAB documents"},
        {"1\tA\t\n", "themes.txt line 1: not depth TAB label TAB documents"},
        {"0\tA\n", "themes.txt line 1: not depth TAB label TAB documents"},
        {"5\tA\t1\n", "themes.txt line 1: not depth TAB label TAB documents"},
        {"0\tA\t1,x\n", "themes.txt line 1: bad document \"x\""},
        {"0\tA\t-3\n", "themes.txt line 1: bad document \"-3\""},
    };
    for (const Bad& b : bad) {
        SCOPED_TRACE(b.text);
        std::string why;
        EXPECT_TRUE(ParseSampleThemes(b.text, &why).empty());
        EXPECT_EQ(b.why, why);
    }
    std::string why;
    std::vector<SampleTheme> themes =
        ParseSampleThemes("0\tArts\t\n1\tPeinture\t2,5\n2\tHuile\t7\n0\tSciences\t5\n1\tChimie\t8\n2\tOrganique\t9\n", &why);
    ASSERT_EQ("", why);
    std::map<std::string, std::vector<std::string>> records;
    records["LINKS:HDG"] = {"first"};
    AddSampleThemeRecords(themes, 10, &records);
    EXPECT_EQ((std::vector<std::string>{"first", "2:9:2,5", "1:9:7", "1:9:5", "1:9:8", "1:9:9"}), records["LINKS:HDG"]);
    EXPECT_EQ((std::vector<std::string>{"Arts\r\n\tPeinture#0:1\r\n\t\tHuile#0:2\r\nSciences#0:3\r\n\tChimie#0:4\r\n\t\tOrganique#0:5\r\n"}),
              records["GLB:THMLST"]);
    // Groups: 0 Arts, 1 Peinture (Huile folds into it), 2 Sciences, 3 Chimie (and Organique).
    EXPECT_EQ((std::vector<std::string>{"", "", "1", "", "", "1,2", "", "1", "3", "3"}), records["GLB:HDGTHM"]);
}

// An author's name becomes her button outside the links already there; a page
// with two headings or more ends with buttons to its sections' positions.
TEST(SampleLinks, AuthorNamesAndSectionsBecomeButtons) {
    std::vector<std::string> markups = {"/Hx\n/Avoir {@d1@/M/1Jean Dupont#G:3} puis Jean Dupont et Jean Dupont\n",
                                        "/Hy\n/Apar Ana Lima\n", "/Hz\n/Apersonne\n"};
    EXPECT_EQ(2u, AddSampleAuthorLinks({{"Jean Dupont", {0, 7}}, {"Ana Lima", {1, 2}}}, &markups));
    EXPECT_EQ("/Hx\n/Avoir {@d1@/M/1Jean Dupont#G:3} puis {@d1@/M/1Jean Dupont#A:1} et Jean Dupont\n", markups[0]);
    EXPECT_EQ("/Hy\n/Apar {@d1@/M/1Ana Lima#A:2}\n", markups[1]);
    EXPECT_EQ("/Hz\n/Apersonne\n", markups[2]);

    const std::string page = "/HTitre\n/Aa\n/GUn\n/Ab\n/GDeux \\/ trois\n/Ac\n";
    const std::string links = SampleSectionLinks(page);
    EXPECT_EQ("/ADans cet article : {@d1@/M/1Un#C" + std::to_string(page.find("/GUn")) +
                  "} \x95 {@d1@/M/1Deux \\/ trois#C" + std::to_string(page.find("/GDeux")) + "}\n",
              links);
    EXPECT_EQ("", SampleSectionLinks("/HT\n/GSeul\n/Aa\n")) << "one section needs no buttons";
    std::vector<std::string> pages = {page, page};
    EXPECT_EQ(1u, AddSampleSectionLinks({"gimp-help-fr/a.html", "gimp-help-fr/a.html#1"}, &pages));
    EXPECT_EQ(page + links, pages[0]);
    EXPECT_EQ(page, pages[1]) << "a section's own article keeps its text";
}

namespace {

// A field index's documents by key, from its "key TAB document TAB position" list.
std::map<std::string, std::set<long>> IndexList(const std::string& file) {
    std::map<std::string, std::set<long>> keys;
    std::string text;
    LoadFile(kWork + "\\" + file, &text);
    for (size_t at = 0, nl; (nl = text.find('\n', at)) != std::string::npos; at = nl + 1) {
        std::string line = text.substr(at, nl - at);
        size_t tab = line.find('\t');
        keys[line.substr(0, tab)].insert(std::atol(line.c_str() + tab + 1));
    }
    return keys;
}

}  // namespace

// The advanced search's fields search their own index: "Dans les titres"
// (field 10, and 22 in the inflected half) finds a title's word in the titles
// only, and a word of the text alone not at all, which field 1 finds.
TEST_F(SampleCheck, AdvancedSearchFieldsSearchTheirOwnIndex) {
    ASSERT_EQ("", BuildSample(kWork, folder_, nullptr));
    std::map<std::string, std::set<long>> titles = IndexList("champ_titres.txt"), words = IndexList("words.txt");
    ASSERT_FALSE(titles.empty());
    const auto title = *titles.begin();
    std::string stops, textOnly;
    LoadFile(kWork + "\\stop.txt", &stops);
    for (const auto& w : words)
        if (!titles.count(w.first) && w.first.size() > 3 && stops.find(w.first + "\n") == std::string::npos &&
            (textOnly.empty() || w.second.size() > words[textOnly].size()))
            textOnly = w.first;
    ASSERT_FALSE(textOnly.empty());
    char previous[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, previous);
    SetCurrentDirectoryA(folder_.c_str());
    {
        ADataLocation location;
        ASSERT_EQ(0, location.open((folder_ + "\\sv.sgm").c_str())) << location.getLastError().c_str();
        std::unique_ptr<ASearchRequest> request(location.createRequest("EXPERT", "SEARCH"));
        auto found = [&](short field, const std::string& word) {
            request->clearField(0);
            // The pane empties every field before it fills one.
            for (short i = 1; i <= request->getItemCount(); ++i)
                request->setQuestion(i, i == field ? word.c_str() : "", 0);
            request->execute(0);
            std::set<long> docs;
            for (long k = 1; k <= request->getResultCount(0); ++k)
                docs.insert(request->getResultDoc(k) & 0xFFFFFF);
            return docs;
        };
        struct Row {
            short field;
            std::string word;
            std::set<long> expected;
        } rows[] = {{10, title.first, title.second}, {22, title.first, title.second}, {10, textOnly, {}},
                    {1, textOnly, words[textOnly]}};
        for (const Row& r : rows) {
            SCOPED_TRACE(std::to_string(r.field) + " " + r.word);
            EXPECT_EQ(r.expected, found(r.field, r.word));
        }
    }
    SetCurrentDirectoryA(previous);
}

namespace {

// A title's words in lower case, accents kept: the keywords' own reading.
std::set<std::string> LowerWords(const std::string& text) {
    std::set<std::string> words;
    std::string word;
    for (size_t i = 0; i <= text.size(); ++i) {
        auto c = i < text.size() ? static_cast<unsigned char>(text[i]) : 0;
        if (std::isalnum(c) || (c >= 0xC0 && c != 0xD7 && c != 0xF7)) {
            word += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c >= 0xC0 && c <= 0xDE ? c + 32 : c);
            continue;
        }
        if (!word.empty())
            words.insert(word);
        word.clear();
    }
    return words;
}

}  // namespace

// The keyword base answers the reader's index search: a word of section
// titles finds the keywords (one per distinct title, in byte order) that hold
// it, whatever its case and accents as typed; a word of no title finds none.
TEST_F(SampleCheck, TheKeywordBaseFindsTheKeywordsOfAWord) {
    ASSERT_EQ("", BuildSample(kWork, folder_, nullptr));
    std::set<std::string> distinct;
    for (const Article& a : Articles())
        if (!a.title.empty())
            distinct.insert(a.title);
    const std::vector<std::string> keywords(distinct.begin(), distinct.end());
    ASSERT_GT(keywords.size(), 2u);
    char previous[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, previous);
    SetCurrentDirectoryA(folder_.c_str());
    {
        ADataLocation location;
        ASSERT_EQ(0, location.open((folder_ + "\\sv.sgm").c_str())) << location.getLastError().c_str();
        std::unique_ptr<ASearchRequest> request(location.createRequest("SVX", "SEARCH"));
        ASSERT_TRUE(request);
        struct Row {
            const char* typed;
            const char* word;  // as the titles hold it, in lower case
        } const rows[] = {{"calques", "calques"},
                          {"TABLEAU", "tableau"},
                          {"propri\xC9t\xE9s", "propri\xE9t\xE9s"},
                          {"girafe", "girafe"}};
        for (const Row& r : rows) {
            SCOPED_TRACE(r.typed);
            std::set<long> expected, found;
            for (size_t k = 0; k < keywords.size(); ++k)
                if (LowerWords(keywords[k]).count(r.word))
                    expected.insert(static_cast<long>(k));
            request->clearField(0);
            request->setQuestion(1, r.typed, 0);
            request->execute(0);
            for (long k = 1; k <= request->getResultCount(0); ++k)
                found.insert(request->getResultDoc(k) & 0xFFFFFF);
            EXPECT_EQ(expected, found);
            if (std::string(r.word) != "girafe") {
                EXPECT_FALSE(expected.empty()) << "the fixture's titles hold the word";
            }
        }
    }
    SetCurrentDirectoryA(previous);
}

// The ephemeris's media event joins its day after the day's own events, its
// text after the others and its picture the document's thumbnail; a day
// outside the year is refused.
TEST(SampleEphemeris, AMediaEventJoinsItsDayWithTheDocumentsPicture) {
    std::map<std::string, std::vector<std::string>> records;
    records["EPHEMERIDE:HDG"].assign(372, "");
    records["EPHEMERIDE:HDG"][kMediaEventDay] = "1900:0:3:1";
    records["EPHEMERIDE:BASE"] = {"/Aun"};
    EXPECT_EQ("", AddMediaEphemerisEvent(kMediaEventDay, 42, "vid\xE9o", &records));
    EXPECT_EQ("1900:0:3:1,-1:1:42:42", records["EPHEMERIDE:HDG"][kMediaEventDay]);
    EXPECT_EQ((std::vector<std::string>{"/Aun", "/Avid\xE9o"}), records["EPHEMERIDE:BASE"]);
    EXPECT_EQ("", AddMediaEphemerisEvent(0, 7, "seul", &records));
    EXPECT_EQ("-1:2:7:7", records["EPHEMERIDE:HDG"][0]);
    EXPECT_NE("", AddMediaEphemerisEvent(372, 7, "hors", &records));
    EXPECT_NE("", AddMediaEphemerisEvent(-1, 7, "hors", &records));
    EXPECT_EQ(3u, records["EPHEMERIDE:BASE"].size());
}
