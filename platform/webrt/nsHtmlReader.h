// Inside the runtime layer: the small HTML reader of the browser tier. It
// keeps what the content window shows (title, paragraphs of text with links,
// pictures and form fields in their places, the cells of tables) and what a
// page asks to fetch (scripts, images, style sheets, frames, plug-in
// objects), in document order. Bold, italic and headings mark their runs;
// list items start with a bullet, or their number in an ordered list, and
// know how deep in lists they lie. No layout, no style sheets, no scripts run.
#pragma once

#include <string>
#include <vector>

namespace webrt {

struct HtmlRun {
    enum : unsigned char { kBold = 1, kItalic = 2, kHeading = 4 };
    std::wstring text;
    int link = -1;  // index in HtmlDocument::links, -1 for plain text
    unsigned char style = 0;
    // A picture or a form field standing in the text (its text is empty), -1 for none.
    int image = -1;    // index in HtmlDocument::images
    int control = -1;  // index in HtmlDocument::controls
};

struct HtmlImage {
    std::wstring alt;
    int width = 0, height = 0;  // as written, 0 when not given
    size_t resource = 0;        // index in HtmlDocument::resources
};

struct HtmlForm {
    std::string action;  // as written; empty submits to the page itself
    bool post = false;
};

struct HtmlControl {
    enum Kind { kText, kPassword, kCheckbox, kSubmit, kButton, kHidden };
    Kind kind = kText;
    int form = -1;  // index in HtmlDocument::forms, -1 outside a form
    std::string name;
    std::wstring value;
    bool checked = false;
    int size = 20;  // a text field's width in characters
};

// Where a paragraph lies: a cell of a table of the page, or outside any (table -1).
struct HtmlCell {
    int table = -1;
    int row = 0, column = 0;
};

struct HtmlTable {
    int rows = 0, columns = 0;
    bool border = false;
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
    std::vector<HtmlCell> cells;  // one per paragraph
    std::vector<int> listDepths;  // one per paragraph: the lists it lies in, 0 outside any
    std::vector<HtmlTable> tables;
    std::vector<HtmlImage> images;
    std::vector<HtmlForm> forms;
    std::vector<HtmlControl> controls;
    bool utf8 = false;  // the page's characters were read as UTF-8
    // The text of one paragraph.
    std::wstring paragraphText(size_t index) const;
};

// Reads at most kHtmlLimit bytes of the page; the charset is UTF-8 when the
// content type or the page says so, else code page 1252. Never fails: what
// cannot be read is left out. Plain text (isHtml false) is one paragraph a line.
const size_t kHtmlLimit = 4u << 20;
HtmlDocument ReadHtml(const std::string& bytes, const std::string& contentType, bool isHtml);

// The application/x-www-form-urlencoded fields of a form: its named fields
// (a check box only when checked), their values given by `values` (one per
// control of the document; the written value where it is shorter), the
// submitting button's own pair last. Characters go as UTF-8 on a UTF-8 page,
// else as code page 1252.
std::string FormQuery(const HtmlDocument& doc, int form, const std::vector<std::wstring>& values,
                      const std::vector<bool>& checked, int submitter);

}  // namespace webrt
