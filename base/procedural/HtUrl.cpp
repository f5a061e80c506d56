// URL module of the HTTP client: parts, resolution, relative names, escaping.
#include "base/procedural/HtUrl.h"

#include "base/procedural/BAlloc.h"
#include "base/procedural/StringUtil.h"

#include <cstring>
#include <string>

namespace {

// Views into one URL text; absent parts are empty with has* false.
struct UrlParts {
    std::string access, host, path, anchor;
    bool hasAccess = false, hasHost = false, hasAnchor = false;
};

UrlParts Split(const char* text) {
    UrlParts u;
    std::string s = text ? text : "";
    size_t hash = s.find('#');
    if (hash != std::string::npos) {
        u.anchor = s.substr(hash + 1);
        u.hasAnchor = true;
        s.erase(hash);
    }
    // An access name is letters, digits, "+", "-", "." before the first ":".
    size_t colon = s.find(':');
    if (colon != std::string::npos && colon > 0) {
        bool scheme = true;
        for (size_t i = 0; i < colon && scheme; ++i) {
            char c = s[i];
            scheme = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                     c == '+' || c == '-' || c == '.';
        }
        if (scheme && s.find('/') > colon) {
            u.access = s.substr(0, colon);
            u.hasAccess = true;
            s.erase(0, colon + 1);
        }
    }
    if (s.compare(0, 2, "//") == 0) {
        size_t end = s.find_first_of("/?", 2);
        u.host = s.substr(2, end == std::string::npos ? std::string::npos : end - 2);
        u.hasHost = true;
        s.erase(0, end == std::string::npos ? s.size() : end);
    }
    u.path = s;
    return u;
}

// Removes "." and ".." segments of an absolute path, keeping any query untouched.
std::string Simplify(const std::string& path) {
    size_t q = path.find('?');
    std::string p = path.substr(0, q), query = q == std::string::npos ? "" : path.substr(q);
    std::string out;
    size_t i = 0;
    while (i < p.size()) {
        size_t next = p.find('/', i + 1);
        std::string seg = p.substr(i, next == std::string::npos ? std::string::npos : next - i);
        if (seg == "/.") {
            if (next == std::string::npos)
                out += '/';
        } else if (seg == "/..") {
            size_t cut = out.rfind('/');
            out.erase(cut == std::string::npos ? 0 : cut);
            if (next == std::string::npos)
                out += '/';
        } else {
            out += seg;
        }
        i = next == std::string::npos ? p.size() : next;
    }
    return out + query;
}

char* Copy(const std::string& s) {
    char* out = static_cast<char*>(KY_Malloc(s.size() + 1));
    if (out)
        std::memcpy(out, s.c_str(), s.size() + 1);
    return out;
}

}  // namespace

char* HTParse(const char* name, const char* related, int wanted) {
    UrlParts n = Split(name), r = Split(related);
    UrlParts u = n;
    if (!n.hasAccess && r.hasAccess) {
        u.access = r.access;
        u.hasAccess = true;
    }
    bool sameAccess = !n.hasAccess || !r.hasAccess || n.access == r.access;
    if (!n.hasHost && sameAccess && r.hasHost) {
        u.host = r.host;
        u.hasHost = true;
        if (n.path.empty()) {
            u.path = r.path;
        } else if (n.path[0] != '/') {
            if (n.path[0] == '?') {
                u.path = r.path.substr(0, r.path.find('?')) + n.path;
            } else {
                std::string base = r.path.substr(0, r.path.find('?'));
                size_t slash = base.rfind('/');
                u.path = (slash == std::string::npos ? std::string("/") : base.substr(0, slash + 1)) + n.path;
            }
        }
    }
    if (!u.path.empty() && u.path[0] == '/')
        u.path = Simplify(u.path);

    std::string out;
    bool punct = (wanted & PARSE_PUNCTUATION) != 0;
    if ((wanted & PARSE_ACCESS) && u.hasAccess)
        out += u.access + (punct ? ":" : "");
    if ((wanted & PARSE_HOST) && u.hasHost)
        out += (punct ? "//" : "") + u.host;
    if (wanted & PARSE_PATH) {
        if (u.hasHost && u.path.empty() && punct)
            out += '/';
        out += u.path;
    }
    if ((wanted & PARSE_ANCHOR) && u.hasAnchor)
        out += (punct ? "#" : "") + u.anchor;
    return Copy(out);
}

char* HTRelative(const char* name, const char* related) {
    UrlParts n = Split(name), r = Split(related);
    if (n.access != r.access || n.host != r.host || n.path.empty() || n.path[0] != '/' ||
        r.path.empty() || r.path[0] != '/')
        return Copy(name ? name : "");
    // Longest common prefix ending at a "/".
    size_t common = 0;
    for (size_t i = 0; i < n.path.size() && i < r.path.size() && n.path[i] == r.path[i]; ++i)
        if (n.path[i] == '/')
            common = i + 1;
    std::string out;
    for (size_t i = common; i < r.path.size(); ++i)
        if (r.path[i] == '/')
            out += "../";
    out += n.path.substr(common);
    if (n.hasAnchor)
        out += "#" + n.anchor;
    return Copy(out);
}

namespace {

char* EscapeOutside(const char* text, const char* kept) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text ? text : ""); *p; ++p) {
        unsigned char c = *p;
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || std::strchr(kept, c)) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return Copy(out);
}

}  // namespace

char* HTEscape(const char* text) { return EscapeOutside(text, "-._~"); }

char* HTEscapeXAlpha(const char* text) { return EscapeOutside(text, "*-.@_"); }

char* HTUnEscape(char* text) {
    if (!text)
        return nullptr;
    char* out = text;
    for (const char* p = text; *p; ++p) {
        // p[1] is checked before p[2] is read: the text ends at the first NUL.
        if (*p == '%' && HexDigit(p[1]) >= 0 && HexDigit(p[2]) >= 0) {
            *out++ = static_cast<char>(HexDigit(p[1]) * 16 + HexDigit(p[2]));
            p += 2;
        } else {
            *out++ = *p;
        }
    }
    *out = 0;
    return text;
}

char* HTSACopy(char** dest, const char* source) {
    KY_Free(*dest);
    *dest = nullptr;
    if (source) {
        size_t n = std::strlen(source) + 1;
        *dest = static_cast<char*>(KY_Malloc(n));
        if (*dest)
            std::memcpy(*dest, source, n);
    }
    return *dest;
}
