// The browser tier's page reader and URL resolution: what a page shows and
// asks to fetch, bounded against damaged or hostile input.
#include "platform/webrt/nsHtmlReader.h"
#include "platform/webrt/nsWebBrowserImpl.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace {

// "title|paragraph|paragraph" then " [link href target]..." then " {type src}..." then " <type src WxH>..."
std::string Describe(const webrt::HtmlDocument& doc) {
    std::string out = NS_LossyConvertUTF16toNative(doc.title);
    for (size_t p = 0; p < doc.paragraphs.size(); ++p)
        out += "|" + NS_LossyConvertUTF16toNative(doc.paragraphText(p));
    for (const auto& l : doc.links)
        out += " [" + l.href + (l.target.empty() ? "" : " " + l.target) + "]";
    for (const auto& r : doc.resources)
        out += " {" + std::to_string(r.type) + " " + r.src + "}";
    for (const auto& e : doc.embeds)
        out += " <" + e.type + " " + e.src + " " + std::to_string(e.width) + "x" + std::to_string(e.height) +
               (e.frame >= 0 ? " frame " + std::to_string(e.frame) : "") + (e.stop.empty() ? "" : " " + e.stop) + ">";
    return out;
}

}  // namespace

TEST(WebrtHtmlReader, KeepsTitleTextLinksAndRequestsInDocumentOrder) {
    struct Row {
        const char* name;
        std::string page;
        const char* type;
        const char* expected;
    } rows[] = {
        {"title and paragraphs, white space collapsed",
         "<html><head><title> Un\n titre </title></head><body><p>Premier   para\ngraphe</p><div>Deux</div></body>",
         "text/html", "Un titre|Premier para graphe|Deux"},
        {"entities and a UTF-8 page", "<meta charset=\"utf-8\"><p>\xC3\xA9t\xC3\xA9 &amp; &eacute;t&#233; &#x41; &bogus;</p>",
         "text/html", "|\xE9t\xE9 & \xE9t\xE9 A &bogus;"},
        {"code page 1252 without a charset", "<p>\xE9t\xE9 \x80</p>", "text/html", "|\xE9t\xE9 \x80"},
        {"bad UTF-8 falls back to 1252", "<meta charset=utf-8><p>\xE9t\xE9</p>", "text/html", "|\xE9t\xE9"},
        {"scripts, styles and comments show nothing",
         "<p>a<script>document.write('<p>x</p>')</script>b<style>p{}</style><!-- <p>c</p> -->d</p>", "text/html",
         "|abd"},
        {"links keep href and target",
         "<p><a href='x.html'>X</a> et <a href=\"y.html\" target=\"_BLANK\">Y</a></p>", "text/html",
         "|X et Y [x.html] [y.html _blank]"},
        {"requests in document order", "<img src=i.png><script src=s.js></script><iframe src=f.html></iframe>"
                                       "<link rel=stylesheet href=c.css><link rel=next href=n.html>",
         "text/html", "| {2 i.png} {1 s.js} {5 f.html} {3 c.css}"},
        {"embeds and objects with their sizes",
         "<embed src=m.mov type=Video/Quicktime width=320 height=240><object data=o.swf type=x/y width=-5>",
         "text/html", " <video/quicktime m.mov 320x240> <x/y o.swf 0x0>"},
        {"a movie's start frame and stop call; a frame that is not a number is none",
         "<embed src=a.swf type=x/y frame=\"2\" stop=\"zoompan(50,-35,12,0)\"><embed src=b.swf type=x/y frame=-1 "
         "stop=\"stop()\"><embed src=c.swf type=x/y frame=2x>",
         "text/html", " <x/y a.swf 0x0 frame 2 zoompan(50,-35,12,0)> <x/y b.swf 0x0 stop()> <x/y c.swf 0x0>"},
        {"plain text is one paragraph a line", "ligne 1\r\nligne <2>\n", "text/plain", "|ligne 1|ligne <2>"},
        {"an unterminated tag and a lone <", "<p>a < b</p><p>c<a href='", "text/html", "|a < b|c"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        bool html = std::string(row.type) == "text/html";
        EXPECT_EQ(row.expected, Describe(webrt::ReadHtml(row.page, row.type, html)));
    }
}

TEST(WebrtHtmlReader, MarksBoldItalicHeadingsListsAndTableCells) {
    // Each run as "text/style" (1 bold, 2 italic, 4 heading), paragraphs by "|".
    auto runs = [](const char* page) {
        webrt::HtmlDocument doc = webrt::ReadHtml(page, "text/html", true);
        std::string out;
        for (const auto& paragraph : doc.paragraphs) {
            out += out.empty() ? "" : "|";
            for (const auto& run : paragraph)
                out += "[" + NS_LossyConvertUTF16toNative(run.text.c_str()) + "/" + std::to_string(run.style) + "]";
        }
        return out;
    };
    struct Row {
        const char* page;
        const char* expected;
    } rows[] = {
        {"<h1>Titre <i>fin</i></h1><p>un <b>gras</b> et <strong><em>les deux</em></strong></p>",
         "[Titre/4][ fin/6]|[un/0][ gras/1][ et/0][ les deux/3]"},
        {"<p><b>a<b>b</b>c</b>d</b>e</p>", "[abc/1][de/0]"},
        {"<ul><li>un<li>deux</ul>", "[\x95 un/0]|[\x95 deux/0]"},
        {"<table><tr><td>x</td><td>y</td></tr><tr><th>z</th></tr></table>", "[x/0]|[y/0]|[z/1]"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.page);
        EXPECT_EQ(row.expected, runs(row.page));
    }
}

TEST(WebrtHtmlReader, NumbersOrderedListsAndKnowsHowDeepEachItemLies) {
    // Each paragraph as "depth:text", apart by "|".
    auto items = [](const std::string& page) {
        webrt::HtmlDocument doc = webrt::ReadHtml(page, "text/html", true);
        std::string out;
        for (size_t p = 0; p < doc.paragraphs.size(); ++p)
            out += (p ? "|" : "") + std::to_string(doc.listDepths.at(p)) + ":" +
                   NS_LossyConvertUTF16toNative(doc.paragraphText(p));
        return out;
    };
    struct Row {
        std::string page;
        const char* expected;
    } rows[] = {
        {"<p>a</p><ol><li>un<li>deux</ol><p>b", "0:a|1:1. un|1:2. deux|0:b"},
        {"<ul><li>x<ol start=7><li>y<li value=2>z<li>w</ol><li>v</ul>", "1:\x95 x|2:7. y|2:2. z|2:3. w|1:\x95 v"},
        {"<ol><li>a</ol><ol><li>b</ol>", "1:1. a|1:1. b"},
        {"<li>seul</li></ul></ol><p>c", "0:\x95 seul|0:c"},
        {"<ol start=-5><li>a<li value=x>b<li value=999999999>c</ol>", "1:0. a|1:0. b|1:99999. c"},
        // Lists past the deepest kept still pair with their closings.
        {std::string(20, ' ') + [] {
             std::string s;
             for (int i = 0; i < 20; ++i)
                 s += "<ul>";
             s += "<li>bas";
             for (int i = 0; i < 20; ++i)
                 s += "</ul>";
             return s;
         }() + "<p>haut",
         "16:\x95 bas|0:haut"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.page);
        EXPECT_EQ(row.expected, items(row.page));
    }
}

TEST(WebrtHtmlReader, StaysBoundedOnHugeOrDamagedPages) {
    std::string huge(webrt::kHtmlLimit + 1000, 'a');
    huge.replace(0, 3, "<p>");
    webrt::HtmlDocument doc = webrt::ReadHtml(huge, "text/html", true);
    ASSERT_EQ(1u, doc.paragraphs.size());
    EXPECT_EQ(webrt::kHtmlLimit - 3, doc.paragraphText(0).size());
    std::string attributes = "<img src=\"" + std::string(100000, 'x') + "\">";
    doc = webrt::ReadHtml(attributes, "text/html", true);
    ASSERT_EQ(1u, doc.resources.size());
    EXPECT_EQ(4096u, doc.resources[0].src.size());
    std::string fields;
    for (int i = 0; i < 5000; ++i)
        fields += "<input name=f>";
    EXPECT_EQ(1000u, webrt::ReadHtml(fields, "text/html", true).controls.size());
    for (const char* damaged : {"<", "<a", "<a href", "<a href=", "&", "&#", "&#x;", "<!--", "<script>", "\xC3"}) {
        SCOPED_TRACE(damaged);
        webrt::ReadHtml(damaged, "text/html; charset=utf-8", true);
    }
}

TEST(WebrtResolveUrl, ResolvesRelativeReferencesAgainstThePage) {
    struct Row {
        const char* base;
        const char* relative;
        const char* expected;
    } rows[] = {
        {"http://h:8/a/b/c.html", "d.html", "http://h:8/a/b/d.html"},
        {"http://h:8/a/b/c.html", "../d.html", "http://h:8/a/d.html"},
        {"http://h:8/a/b/c.html", "../../../../d.html", "http://h:8/d.html"},
        {"http://h:8/a/b/c.html", "./img/x.png?q=1#f", "http://h:8/a/b/img/x.png?q=1#f"},
        {"http://h:8/a/b/c.html", "/root.html", "http://h:8/root.html"},
        {"http://h:8/a/b/c.html", "//other/x", "http://other/x"},
        {"http://h:8/a/b/c.html?q", "#top", "http://h:8/a/b/c.html#top"},
        {"http://h:8/a/b/c.html", "javascript:foo()", "javascript:foo()"},
        {"http://h:8", "x.html", "http://h:8/x.html"},
        {"file:///C:/pages/p.html", "i.png", "file:///C:/pages/i.png"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.base) + " + " + row.relative);
        EXPECT_EQ(row.expected, webrt::ResolveUrl(row.base, row.relative));
    }
}

namespace {

// Each paragraph as "text@table.row.column" (no "@" outside a table), objects as "<img N>" and "<field N>".
std::string Places(const webrt::HtmlDocument& doc) {
    std::string out;
    for (size_t p = 0; p < doc.paragraphs.size(); ++p) {
        out += out.empty() ? "" : "|";
        for (const auto& run : doc.paragraphs[p]) {
            if (run.image >= 0)
                out += "<img " + std::to_string(run.image) + ">";
            else if (run.control >= 0)
                out += "<field " + std::to_string(run.control) + ">";
            else
                out += NS_LossyConvertUTF16toNative(run.text.c_str());
        }
        const webrt::HtmlCell& cell = doc.cells.at(p);
        if (cell.table >= 0)
            out += "@" + std::to_string(cell.table) + "." + std::to_string(cell.row) + "." + std::to_string(cell.column);
    }
    return out;
}

}  // namespace

TEST(WebrtHtmlReader, PlacesPicturesFieldsAndTableCells) {
    webrt::HtmlDocument doc = webrt::ReadHtml(
        "<p>a <img src=x.png alt=\"un x\" width=30> b <img src=y.gif height=12% width=9999></p>"
        "<table border=1><tr><td colspan=2>t</td><td>u</td></tr><tr><td><table><tr><td>in</td></tr></table></td>"
        "<th>v</th></tr></table><table border=0><td>w</td></table><p>after</p>"
        "<form action=/go method=POST><input name=n value='d&eacute;j&agrave;'><input type=password name=p>"
        "<input type=checkbox name=c checked><input type=hidden name=h value=1><input type=submit></form>"
        "<input type=text size=500 name=outside>",
        "text/html", true);
    EXPECT_EQ("a <img 0> b <img 1>|t@0.0.0|u@0.0.2|in@0.1.0|v@0.1.1|w@1.0.0|after|"
              "<field 0><field 1><field 2><field 4>|<field 5>",
              Places(doc));
    ASSERT_EQ(2u, doc.tables.size());
    EXPECT_EQ(3, doc.tables[0].columns);
    EXPECT_EQ(2, doc.tables[0].rows);
    EXPECT_TRUE(doc.tables[0].border);
    EXPECT_FALSE(doc.tables[1].border);
    ASSERT_EQ(2u, doc.images.size());
    EXPECT_EQ(L"un x", doc.images[0].alt);
    EXPECT_EQ(30, doc.images[0].width);
    EXPECT_EQ(0, doc.images[1].width) << "past the limit";
    EXPECT_EQ(0, doc.images[1].height) << "a percentage is no size in pixels";
    EXPECT_EQ(1u, doc.images[1].resource);
    ASSERT_EQ(1u, doc.forms.size());
    EXPECT_EQ("/go", doc.forms[0].action);
    EXPECT_TRUE(doc.forms[0].post);
    ASSERT_EQ(6u, doc.controls.size());
    EXPECT_EQ(webrt::HtmlControl::kText, doc.controls[0].kind);
    EXPECT_EQ(L"d\u00E9j\u00E0", doc.controls[0].value);
    EXPECT_EQ(webrt::HtmlControl::kPassword, doc.controls[1].kind);
    EXPECT_TRUE(doc.controls[2].checked);
    EXPECT_EQ(L"on", doc.controls[2].value);
    EXPECT_EQ(webrt::HtmlControl::kHidden, doc.controls[3].kind);
    EXPECT_EQ(webrt::HtmlControl::kSubmit, doc.controls[4].kind);
    EXPECT_EQ(0, doc.controls[4].form);
    EXPECT_EQ(-1, doc.controls[5].form) << "a field after its form's end";
    EXPECT_EQ(20, doc.controls[5].size) << "an unreasonable width is the usual one";
}

TEST(WebrtHtmlReader, FormQueryEncodesTheFieldsAsTheServerReadsThem) {
    const char* page = "<form><input name=q><input type=checkbox name=a><input type=checkbox name=b value=oui checked>"
                       "<input type=hidden name=h value='x y'><input type=submit name=go value=Aller>"
                       "<input type=submit name=other value=Non><input value=anonymous></form>"
                       "<form><input name=elsewhere value=z></form>";
    struct Row {
        const char* name;
        const char* charset;
        std::wstring typed;
        bool checkA, checkB;
        int submitter;
        const char* expected;
    } rows[] = {
        {"written values, the clicked button last", "", L"", false, true, 4, "q=&b=oui&h=x+y&go=Aller"},
        {"typed text and check boxes as left", "", L"caf\u00E9 & co=1", true, false, 5,
         "q=caf%E9+%26+co%3D1&a=on&h=x+y&other=Non"},
        {"a UTF-8 page sends UTF-8", "<meta charset=utf-8>", L"\u00E9t\u00E9", false, false, -1, "q=%C3%A9t%C3%A9&h=x+y"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        webrt::HtmlDocument doc = webrt::ReadHtml(std::string(row.charset) + page, "text/html", true);
        ASSERT_EQ(8u, doc.controls.size());
        std::vector<std::wstring> values(doc.controls.size());
        std::vector<bool> checked(doc.controls.size());
        values[0] = row.typed;
        checked[1] = row.checkA;
        checked[2] = row.checkB;
        EXPECT_EQ(row.expected, webrt::FormQuery(doc, 0, values, checked, row.submitter));
    }
    webrt::HtmlDocument doc = webrt::ReadHtml(page, "text/html", true);
    EXPECT_EQ("elsewhere=z", webrt::FormQuery(doc, 1, {}, {}, -1)) << "without values, the written ones";
}

namespace {

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

TEST(WebrtPictures, DecodesTheFourKindsAPageHoldsAndRefusesTheRest) {
    struct Row {
        const char* file;
        LONG width, height;
        COLORREF colour;
    } rows[] = {
        {"red.png", 30, 20, RGB(255, 0, 0)},
        {"blue.jpg", 40, 20, RGB(0, 0, 255)},
        {"green.gif", 10, 6, RGB(0, 255, 0)},
        {"yellow.bmp", 7, 5, RGB(255, 255, 0)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file);
        std::string bytes = ReadBytes(std::string(SV_SOURCE_DIR) + "/tests/web/browser/pages/images/" + row.file);
        ASSERT_FALSE(bytes.empty());
        SIZE size;
        HBITMAP bitmap = webrt::DecodePicture(bytes, size);
        ASSERT_NE(nullptr, bitmap);
        EXPECT_EQ(row.width, size.cx);
        EXPECT_EQ(row.height, size.cy);
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, bitmap);
        COLORREF c = GetPixel(dc, size.cx / 2, size.cy / 2);
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(bitmap);
        EXPECT_LE(std::abs(GetRValue(c) - GetRValue(row.colour)) + std::abs(GetGValue(c) - GetGValue(row.colour)) +
                      std::abs(GetBValue(c) - GetBValue(row.colour)),
                  12);
        // A picture cut short or not a picture at all is refused, never read past.
        SIZE none;
        EXPECT_EQ(nullptr, webrt::DecodePicture(bytes.substr(0, 12), none));
        EXPECT_EQ(0, none.cx);
    }
    SIZE none;
    EXPECT_EQ(nullptr, webrt::DecodePicture("<html>not a picture</html>", none));
    EXPECT_EQ(nullptr, webrt::DecodePicture(std::string(), none));
}
