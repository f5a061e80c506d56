// Inside the runtime layer: the small HTML reader of the browser tier. It
// keeps what the content window shows (title, paragraphs of text with links)
// and what a page asks to fetch (scripts, images, style sheets, frames,
// plug-in objects), in document order. Bold, italic and headings mark their
// runs; list items start with a bullet and table cells keep apart. No
// layout, no style sheets, no scripts run.
#pragma once

#include <string>
#include <vector>

namespace webrt {

struct HtmlRun {
    enum : unsigned char { kBold = 1, kItalic = 2, kHeading = 4 };
    std::wstring text;
    int link = -1;  // index in HtmlDocument::links, -1 for plain text
    unsigned char style = 0;
};

struct HtmlLink {
    std::string href;    // as written (decoded entities), not resolved
    std::string target;  // "_blank" opens a new window
};

struct HtmlResource {
    int type;  // nsIContentPolicy type: script 1, image 2, style sheet 3, sub-document 5
    std::string src;
};

struct HtmlEmbed {
    std::string type;  // MIME type as written
    std::string src;
    int width = 0, height = 0;
    // A movie's start frame (-1: its own) and the call it runs once loaded ("stop()", "zoompan(...)").
    int frame = -1;
    std::string stop;
};

struct HtmlDocument {
    std::wstring title;
    std::vector<std::vector<HtmlRun>> paragraphs;
    std::vector<HtmlLink> links;
    std::vector<HtmlResource> resources;
    std::vector<HtmlEmbed> embeds;
    // The text of one paragraph.
    std::wstring paragraphText(size_t index) const;
};

// Reads at most kHtmlLimit bytes of the page; the charset is UTF-8 when the
// content type or the page says so, else code page 1252. Never fails: what
// cannot be read is left out. Plain text (isHtml false) is one paragraph a line.
const size_t kHtmlLimit = 4u << 20;
HtmlDocument ReadHtml(const std::string& bytes, const std::string& contentType, bool isHtml);

}  // namespace webrt
