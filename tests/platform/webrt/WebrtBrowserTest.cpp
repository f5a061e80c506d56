// The browser tier's page reader and URL resolution: what a page shows and
// asks to fetch, bounded against damaged or hostile input.
#include "platform/webrt/nsHtmlReader.h"
#include "platform/webrt/nsWebBrowserImpl.h"

#include <gtest/gtest.h>

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
         "text/html", " {2 i.png} {1 s.js} {5 f.html} {3 c.css}"},
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
        {"<table><tr><td>x</td><td>y</td></tr><tr><th>z</th></tr></table>", "[x   y/0]|[z/0]"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.page);
        EXPECT_EQ(row.expected, runs(row.page));
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
