// The browser tier's HTML reader: tags, entities, charsets, bounded.
#include "platform/webrt/nsHtmlReader.h"

#include "platform/webrt/nsStrings.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <map>

namespace webrt {

namespace {

const size_t kAttributeLimit = 4096;
const size_t kParagraphLimit = 100000;
// Each field is a window of its own: a page may not use up the program's.
const size_t kControlLimit = 1000;

std::string Lower(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// Decodes UTF-8; false on a malformed sequence.
bool DecodeUtf8(const std::string& in, std::wstring& out) {
    out.clear();
    out.reserve(in.size());
    for (size_t i = 0; i < in.size();) {
        unsigned char c = static_cast<unsigned char>(in[i]);
        unsigned code;
        size_t extra;
        if (c < 0x80) {
            code = c;
            extra = 0;
        } else if ((c & 0xE0) == 0xC0) {
            code = c & 0x1F;
            extra = 1;
        } else if ((c & 0xF0) == 0xE0) {
            code = c & 0x0F;
            extra = 2;
        } else if ((c & 0xF8) == 0xF0) {
            code = c & 0x07;
            extra = 3;
        } else {
            return false;
        }
        if (extra > 0 && i + extra >= in.size())
            return false;
        for (size_t k = 1; k <= extra; ++k) {
            unsigned char d = static_cast<unsigned char>(in[i + k]);
            if ((d & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (d & 0x3F);
        }
        i += extra + 1;
        out.push_back(code > 0xFFFF ? L'?' : static_cast<wchar_t>(code));
    }
    return true;
}

std::wstring DecodeBytes(const std::string& bytes, bool utf8) {
    std::wstring out;
    if (utf8 && DecodeUtf8(bytes, out))
        return out;
    return NS_ConvertNativeToUTF16(bytes.data(), bytes.size());
}

const std::map<std::string, wchar_t>& NamedEntities() {
    static const std::map<std::string, wchar_t> table = {
        {"amp", L'&'},      {"lt", L'<'},        {"gt", L'>'},        {"quot", L'"'},     {"apos", L'\''},
        {"nbsp", 0xA0},     {"copy", 0xA9},      {"laquo", 0xAB},     {"raquo", 0xBB},    {"eacute", 0xE9},
        {"egrave", 0xE8},   {"ecirc", 0xEA},     {"euml", 0xEB},      {"agrave", 0xE0},   {"acirc", 0xE2},
        {"ccedil", 0xE7},   {"icirc", 0xEE},     {"iuml", 0xEF},      {"ocirc", 0xF4},    {"ugrave", 0xF9},
        {"ucirc", 0xFB},    {"Eacute", 0xC9},    {"Egrave", 0xC8},    {"Agrave", 0xC0},   {"Ccedil", 0xC7},
        {"oelig", 0x153},   {"hellip", 0x2026},  {"rsquo", 0x2019},   {"lsquo", 0x2018},  {"mdash", 0x2014},
        {"ndash", 0x2013},  {"euro", 0x20AC},    {"deg", 0xB0},       {"middot", 0xB7},   {"times", 0xD7},
    };
    return table;
}

// Replaces the character references of a decoded text; unknown ones stay as written.
std::wstring DecodeEntities(const std::wstring& text) {
    std::wstring out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != L'&') {
            out.push_back(text[i]);
            continue;
        }
        size_t semi = text.find(L';', i + 1);
        if (semi == std::wstring::npos || semi - i > 10) {
            out.push_back(text[i]);
            continue;
        }
        std::wstring name = text.substr(i + 1, semi - i - 1);
        wchar_t value = 0;
        if (!name.empty() && name[0] == L'#') {
            bool hex = name.size() > 1 && (name[1] == L'x' || name[1] == L'X');
            std::string digits = NS_LossyConvertUTF16toNative(name.substr(hex ? 2 : 1));
            char* end = nullptr;
            unsigned long n = digits.empty() ? 0 : std::strtoul(digits.c_str(), &end, hex ? 16 : 10);
            if (!digits.empty() && end && *end == 0 && n > 0 && n <= 0xFFFF)
                value = static_cast<wchar_t>(n);
        } else {
            auto it = NamedEntities().find(NS_LossyConvertUTF16toNative(name));
            if (it != NamedEntities().end())
                value = it->second;
        }
        if (!value) {
            out.push_back(text[i]);
            continue;
        }
        out.push_back(value);
        i = semi;
    }
    return out;
}

std::string Narrow(const std::wstring& text) {
    return NS_LossyConvertUTF16toNative(text);
}

struct Tag {
    std::string name;  // lower case
    bool closing = false;
    std::map<std::string, std::wstring> attributes;  // names lower case, values decoded
    std::string attribute(const char* key) const {
        auto it = attributes.find(key);
        return it == attributes.end() ? std::string() : Narrow(it->second);
    }
};

// Reads the tag starting after "<" at text[i]; i ends after ">".
Tag ReadTag(const std::wstring& text, size_t& i) {
    Tag tag;
    size_t n = text.size();
    if (i < n && text[i] == L'/') {
        tag.closing = true;
        ++i;
    }
    while (i < n && (iswalnum(text[i]) || text[i] == L':' || text[i] == L'-'))
        tag.name.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(text[i++] & 0x7F))));
    while (i < n && text[i] != L'>') {
        if (iswspace(text[i]) || text[i] == L'/') {
            ++i;
            continue;
        }
        std::string name;
        while (i < n && !iswspace(text[i]) && text[i] != L'=' && text[i] != L'>' && text[i] != L'/')
            name.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(text[i++] & 0x7F))));
        while (i < n && iswspace(text[i]))
            ++i;
        std::wstring value;
        if (i < n && text[i] == L'=') {
            ++i;
            while (i < n && iswspace(text[i]))
                ++i;
            if (i < n && (text[i] == L'"' || text[i] == L'\'')) {
                wchar_t quote = text[i++];
                size_t end = text.find(quote, i);
                if (end == std::wstring::npos)
                    end = n;
                value = text.substr(i, end - i);
                i = end < n ? end + 1 : n;
            } else {
                while (i < n && !iswspace(text[i]) && text[i] != L'>')
                    value.push_back(text[i++]);
            }
        }
        if (name.empty()) {
            ++i;  // a stray character: skip it so the scan always moves
            continue;
        }
        if (value.size() > kAttributeLimit)
            value.resize(kAttributeLimit);
        tag.attributes[name] = DecodeEntities(value);
    }
    if (i < n)
        ++i;
    return tag;
}

// A width or height attribute in pixels; 0 when absent or unreasonable.
int Dimension(const std::string& text) {
    int n = std::atoi(text.c_str());
    return n > 0 && n <= 4096 && text.find('%') == std::string::npos ? n : 0;
}

const size_t kListDepthLimit = 16;

// An item's number as written, kept to what a line can show.
long ListNumber(const std::string& text) {
    return std::max(0L, std::min(std::atol(text.c_str()), 99999L));
}

bool IsBlock(const std::string& name) {
    static const char* const blocks[] = {"p",  "div", "h1", "h2", "h3",  "h4",    "h5",         "h6",
                                         "li", "br",  "tr", "pre", "dt", "dd",    "blockquote", "hr",
                                         "ul", "ol",  "table", "body", "dl", "title", "td", "th", "form"};
    for (const char* b : blocks)
        if (name == b)
            return true;
    return false;
}

class Builder {
public:
    explicit Builder(HtmlDocument& doc) : doc_(doc) {}

    void text(const std::wstring& raw) {
        for (wchar_t c : raw) {
            if (!pre_ && (c == L' ' || c == L'\t' || c == L'\r' || c == L'\n')) {
                pendingSpace_ = true;
                continue;
            }
            if (pre_ && c == L'\n') {
                flush();
                continue;
            }
            if (pre_ && c == L'\r')
                continue;
            if (pendingSpace_ && !current_.empty())
                append(L' ');
            pendingSpace_ = false;
            append(c == 0xA0 ? L' ' : c);
        }
    }
    void flush() {
        if (!current_.empty() && doc_.paragraphs.size() < kParagraphLimit) {
            doc_.paragraphs.push_back(current_);
            doc_.cells.push_back(cell_);
            doc_.listDepths.push_back(listDepth_);
        }
        current_.clear();
        pendingSpace_ = false;
    }
    void setLink(int link) { link_ = link; }
    void setCell(const HtmlCell& cell) { cell_ = cell; }
    void setListDepth(int depth) { listDepth_ = depth; }
    // A picture or a field in the text, a run of its own.
    void object(int image, int control) {
        if (pendingSpace_ && !current_.empty())
            append(L' ');
        pendingSpace_ = false;
        HtmlRun run{std::wstring(), link_, style()};
        run.image = image;
        run.control = control;
        current_.push_back(run);
    }
    void setPre(bool on) { pre_ = on; }
    // Opening and closing tags of a kind nest; a stray close is ignored.
    void mark(unsigned char style, bool on) {
        int& depth = style == HtmlRun::kBold ? bold_ : style == HtmlRun::kItalic ? italic_ : heading_;
        depth = on ? std::min(depth + 1, 64) : std::max(depth - 1, 0);
    }
    // Kept as written (no white space collapsing): a bullet, a cell's gap.
    void literal(const std::wstring& text) {
        for (wchar_t c : text)
            append(c);
        pendingSpace_ = false;
    }
    bool empty() const { return current_.empty(); }

private:
    unsigned char style() const {
        return static_cast<unsigned char>((bold_ ? HtmlRun::kBold : 0) | (italic_ ? HtmlRun::kItalic : 0) |
                                          (heading_ ? HtmlRun::kHeading : 0));
    }
    void append(wchar_t c) {
        if (current_.empty() || current_.back().link != link_ || current_.back().style != style() ||
            current_.back().image >= 0 || current_.back().control >= 0)
            current_.push_back(HtmlRun{std::wstring(), link_, style()});
        current_.back().text.push_back(c);
    }
    HtmlDocument& doc_;
    std::vector<HtmlRun> current_;
    HtmlCell cell_;
    int listDepth_ = 0;
    int link_ = -1;
    int bold_ = 0, italic_ = 0, heading_ = 0;
    bool pre_ = false;
    bool pendingSpace_ = false;
};

bool SaysUtf8(const std::string& text) {
    std::string lower = Lower(text);
    return lower.find("utf-8") != std::string::npos || lower.find("utf8") != std::string::npos;
}

}  // namespace

std::wstring HtmlDocument::paragraphText(size_t index) const {
    std::wstring out;
    if (index < paragraphs.size())
        for (const HtmlRun& run : paragraphs[index])
            out += run.text;
    return out;
}

HtmlDocument ReadHtml(const std::string& input, const std::string& contentType, bool isHtml) {
    HtmlDocument doc;
    std::string bytes = input.size() > kHtmlLimit ? input.substr(0, kHtmlLimit) : input;
    // The page's own declaration lies in its first bytes when it has one.
    std::string head = Lower(bytes.substr(0, 2048));
    bool utf8 = SaysUtf8(contentType);
    size_t charset = head.find("charset=");
    size_t encoding = head.find("encoding=");
    if (charset != std::string::npos)
        utf8 = SaysUtf8(head.substr(charset, 20));
    else if (encoding != std::string::npos)
        utf8 = SaysUtf8(head.substr(encoding, 20));
    std::wstring text;
    doc.utf8 = utf8 && DecodeUtf8(bytes, text);
    if (!doc.utf8)
        text = DecodeBytes(bytes, false);
    Builder builder(doc);
    if (!isHtml) {
        builder.setPre(true);
        builder.text(text);
        builder.flush();
        return doc;
    }
    size_t n = text.size();
    bool inTitle = false;
    // Only a page's outer tables are grids; a table inside a cell reads as its cell's paragraphs.
    int tableDepth = 0;
    int form = -1;
    HtmlCell cell;
    // The open lists, innermost last: the next item's number, or -1 in a bulleted list.
    std::vector<long> lists;
    int deeperLists = 0;
    for (size_t i = 0; i < n;) {
        if (text[i] != L'<') {
            size_t next = text.find(L'<', i);
            if (next == std::wstring::npos)
                next = n;
            std::wstring chunk = DecodeEntities(text.substr(i, next - i));
            if (inTitle)
                doc.title += chunk;
            else
                builder.text(chunk);
            i = next;
            continue;
        }
        if (text.compare(i, 4, L"<!--") == 0) {
            size_t end = text.find(L"-->", i + 4);
            i = end == std::wstring::npos ? n : end + 3;
            continue;
        }
        if (i + 1 < n && (text[i + 1] == L'!' || text[i + 1] == L'?')) {
            size_t end = text.find(L'>', i);
            i = end == std::wstring::npos ? n : end + 1;
            continue;
        }
        if (i + 1 >= n || !(iswalpha(text[i + 1]) || text[i + 1] == L'/')) {
            builder.text(L"<");
            ++i;
            continue;
        }
        ++i;
        Tag tag = ReadTag(text, i);
        if (tag.name == "script" || tag.name == "style") {
            if (!tag.closing) {
                if (tag.name == "script" && !tag.attribute("src").empty())
                    doc.resources.push_back(HtmlResource{1, tag.attribute("src")});
                std::wstring close = tag.name == "script" ? L"</script" : L"</style";
                size_t end = n;
                for (size_t k = i; k + close.size() <= n; ++k) {
                    if (towlower(text[k]) == L'<' && text.compare(k, 2, L"</") == 0) {
                        std::wstring candidate = text.substr(k, close.size());
                        for (wchar_t& c : candidate)
                            c = towlower(c);
                        if (candidate == close) {
                            end = k;
                            break;
                        }
                    }
                }
                i = end;
            }
            continue;
        }
        if (tag.name == "title") {
            inTitle = !tag.closing;
            continue;
        }
        if (IsBlock(tag.name))
            builder.flush();
        if (tag.name == "pre")
            builder.setPre(!tag.closing);
        if (tag.name == "b" || tag.name == "strong")
            builder.mark(HtmlRun::kBold, !tag.closing);
        else if (tag.name == "i" || tag.name == "em")
            builder.mark(HtmlRun::kItalic, !tag.closing);
        else if (tag.name.size() == 2 && tag.name[0] == 'h' && tag.name[1] >= '1' && tag.name[1] <= '6')
            builder.mark(HtmlRun::kHeading, !tag.closing);
        else if (tag.name == "li" && !tag.closing) {
            if (!lists.empty() && lists.back() >= 0) {
                std::string value = tag.attribute("value");
                if (!value.empty())
                    lists.back() = ListNumber(value);
                builder.literal(std::to_wstring(lists.back()) + L". ");
                lists.back() = std::min(lists.back() + 1, 99999L);
            } else {
                builder.literal(L"\u2022 ");
            }
        }
        else if (tag.name == "th")
            builder.mark(HtmlRun::kBold, !tag.closing);
        if (tag.name == "ul" || tag.name == "ol") {
            // Lists past the deepest kept still close in pairs with their openings.
            if (tag.closing && deeperLists > 0) {
                --deeperLists;
            } else if (tag.closing && !lists.empty()) {
                lists.pop_back();
            } else if (!tag.closing && lists.size() >= kListDepthLimit) {
                deeperLists = std::min(deeperLists + 1, 100000);
            } else if (!tag.closing) {
                std::string start = tag.attribute("start");
                lists.push_back(tag.name == "ul" ? -1 : start.empty() ? 1 : ListNumber(start));
            }
            builder.setListDepth(static_cast<int>(lists.size()));
        }
        if (tag.name == "table") {
            tableDepth = tag.closing ? std::max(tableDepth - 1, 0) : std::min(tableDepth + 1, 64);
            if (!tag.closing && tableDepth == 1 && doc.tables.size() < kParagraphLimit) {
                HtmlTable table;
                std::string border = tag.attribute("border");
                table.border = tag.attributes.count("border") && border != "0";
                doc.tables.push_back(table);
                cell = HtmlCell{static_cast<int>(doc.tables.size()) - 1, -1, -1};
            } else if (tag.closing && tableDepth == 0) {
                cell = HtmlCell();
            }
            builder.setCell(cell);
        } else if (tableDepth == 1 && cell.table >= 0 && !tag.closing) {
            HtmlTable& table = doc.tables[cell.table];
            if (tag.name == "tr") {
                cell.row = std::min(cell.row + 1, 10000);
                cell.column = -1;
            } else if (tag.name == "td" || tag.name == "th") {
                cell.row = std::max(cell.row, 0);
                // A spanned cell takes its columns from the ones after it.
                int span = std::max(1, std::min(std::atoi(tag.attribute("colspan").c_str()), 100));
                cell.column = std::min(cell.column + 1, 1000);
                table.columns = std::max(table.columns, std::min(cell.column + span, 1000));
                table.rows = std::max(table.rows, cell.row + 1);
                builder.setCell(cell);
                cell.column += span - 1;
            }
        }
        if (tag.closing) {
            if (tag.name == "a")
                builder.setLink(-1);
            else if (tag.name == "form")
                form = -1;
            continue;
        }
        if (tag.name == "a" && !tag.attribute("href").empty()) {
            doc.links.push_back(HtmlLink{tag.attribute("href"), Lower(tag.attribute("target"))});
            builder.setLink(static_cast<int>(doc.links.size()) - 1);
        } else if (tag.name == "img" && !tag.attribute("src").empty()) {
            doc.resources.push_back(HtmlResource{2, tag.attribute("src")});
            HtmlImage image;
            auto alt = tag.attributes.find("alt");
            if (alt != tag.attributes.end())
                image.alt = alt->second;
            image.width = Dimension(tag.attribute("width"));
            image.height = Dimension(tag.attribute("height"));
            image.resource = doc.resources.size() - 1;
            doc.images.push_back(image);
            builder.object(static_cast<int>(doc.images.size()) - 1, -1);
        } else if (tag.name == "form") {
            HtmlForm f;
            f.action = tag.attribute("action");
            f.post = Lower(tag.attribute("method")) == "post";
            doc.forms.push_back(f);
            form = static_cast<int>(doc.forms.size()) - 1;
        } else if (tag.name == "input" && doc.controls.size() < kControlLimit) {
            std::string type = Lower(tag.attribute("type"));
            HtmlControl control;
            control.kind = type == "password" ? HtmlControl::kPassword
                           : type == "checkbox" ? HtmlControl::kCheckbox
                           : type == "submit" ? HtmlControl::kSubmit
                           : type == "button" || type == "reset" ? HtmlControl::kButton
                           : type == "hidden" ? HtmlControl::kHidden
                           : HtmlControl::kText;
            control.form = form;
            control.name = tag.attribute("name");
            auto value = tag.attributes.find("value");
            if (value != tag.attributes.end())
                control.value = value->second;
            else if (control.kind == HtmlControl::kSubmit)
                control.value = L"Envoyer";
            else if (control.kind == HtmlControl::kCheckbox)
                control.value = L"on";
            control.checked = tag.attributes.count("checked") != 0;
            int size = std::atoi(tag.attribute("size").c_str());
            if (size > 0 && size <= 200)
                control.size = size;
            doc.controls.push_back(control);
            if (control.kind != HtmlControl::kHidden)
                builder.object(-1, static_cast<int>(doc.controls.size()) - 1);
        } else if (tag.name == "link" && Lower(tag.attribute("rel")) == "stylesheet" &&
                   !tag.attribute("href").empty()) {
            doc.resources.push_back(HtmlResource{3, tag.attribute("href")});
        } else if ((tag.name == "iframe" || tag.name == "frame") && !tag.attribute("src").empty()) {
            doc.resources.push_back(HtmlResource{5, tag.attribute("src")});
        } else if (tag.name == "embed" || tag.name == "object") {
            HtmlEmbed embed;
            embed.type = Lower(tag.attribute("type"));
            embed.src = tag.attribute(tag.name == "embed" ? "src" : "data");
            embed.width = std::atoi(tag.attribute("width").c_str());
            embed.height = std::atoi(tag.attribute("height").c_str());
            if (embed.width < 0 || embed.width > 4096)
                embed.width = 0;
            if (embed.height < 0 || embed.height > 4096)
                embed.height = 0;
            std::string frame = tag.attribute("frame");
            if (!frame.empty() && frame.find_first_not_of("0123456789") == std::string::npos && frame.size() < 6)
                embed.frame = std::atoi(frame.c_str());
            embed.stop = tag.attribute("stop");
            doc.embeds.push_back(embed);
        }
    }
    builder.flush();
    // Collapse the title's white space as the text's.
    std::wstring title;
    bool space = false;
    for (wchar_t c : doc.title) {
        if (iswspace(c)) {
            space = !title.empty();
            continue;
        }
        if (space)
            title.push_back(L' ');
        space = false;
        title.push_back(c);
    }
    doc.title = title;
    return doc;
}

namespace {

void AppendEncoded(std::string& out, const std::string& bytes) {
    static const char hex[] = "0123456789ABCDEF";
    for (unsigned char c : bytes) {
        if (std::isalnum(c) || c == '-' || c == '_' || c == '.' || c == '*') {
            out.push_back(static_cast<char>(c));
        } else if (c == ' ') {
            out.push_back('+');
        } else {
            out.push_back('%');
            out.push_back(hex[c >> 4]);
            out.push_back(hex[c & 15]);
        }
    }
}

std::string EncodeText(const std::wstring& text, bool utf8) {
    if (!utf8)
        return NS_LossyConvertUTF16toNative(text);
    std::string out;
    for (wchar_t w : text) {
        unsigned c = static_cast<unsigned>(w);
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

}  // namespace

std::string FormQuery(const HtmlDocument& doc, int form, const std::vector<std::wstring>& values,
                      const std::vector<bool>& checked, int submitter) {
    std::string out;
    auto add = [&](const HtmlControl& control, const std::wstring& value) {
        if (!out.empty())
            out.push_back('&');
        AppendEncoded(out, EncodeText(NS_ConvertNativeToUTF16(control.name.c_str()), doc.utf8));
        out.push_back('=');
        AppendEncoded(out, EncodeText(value, doc.utf8));
    };
    for (size_t i = 0; i < doc.controls.size(); ++i) {
        const HtmlControl& control = doc.controls[i];
        if (control.form != form || control.name.empty())
            continue;
        const std::wstring& value = i < values.size() ? values[i] : control.value;
        switch (control.kind) {
        case HtmlControl::kText:
        case HtmlControl::kPassword:
            add(control, value);
            break;
        case HtmlControl::kHidden:
            add(control, control.value);
            break;
        case HtmlControl::kCheckbox:
            if (i < checked.size() ? checked[i] : control.checked)
                add(control, control.value);
            break;
        default:
            break;
        }
    }
    if (submitter >= 0 && static_cast<size_t>(submitter) < doc.controls.size() &&
        doc.controls[submitter].kind == HtmlControl::kSubmit && !doc.controls[submitter].name.empty())
        add(doc.controls[submitter], doc.controls[submitter].value);
    return out;
}

}  // namespace webrt
