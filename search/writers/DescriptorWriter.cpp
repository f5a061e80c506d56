// Writes a descriptor and its ".gen" companion (layout in BASE-LAYOUT.md).
#include "search/writers/DescriptorWriter.h"

#include "search/engine/common/KyFileSet.h"
#include "search/writers/FileImage.h"

namespace {

const char* const kCompression[5] = {"NONE", "TEXT", "SON", "GRAPH", "BIN"};

// Element text: markup characters through the built-in entities, paths in the
// descriptor's syntax where ':' separates folders and '|' follows the drive.
std::string Text(const std::string& s, bool path) {
    std::string out;
    for (char c : s) {
        if (c == '<')
            out += "&inf;";
        else if (c == '>')
            out += "&sup;";
        else if (c == '&')
            out += "&ampersand;";
        else if (path && c == ':')
            out += '|';
        else if (path && c == '\\')
            out += ':';
        else
            out += c;
    }
    return out;
}

bool Plain(const std::string& s) {
    return s.find_first_of("\"<>&\r\n\t") == std::string::npos;
}

std::string Attr(const char* name, const std::string& value) {
    return std::string(" ") + name + "=\"" + value + "\"";
}

// A prolog line is read into 128 bytes and its value ends at a blank: values
// that would not come back as written are refused.
std::string PrologLine(const std::string& name, const std::string& value, std::string* out) {
    if (name.empty() || name.find_first_of(" \t\r\n\"") != std::string::npos)
        return "key name \"" + name + "\" empty or holding a blank";
    if (value.find_first_of(" \t\r\n") != std::string::npos || (!value.empty() && value.back() == '>'))
        return "key \"" + name + "\": value holding a blank or ending in '>'";
    std::string line = "<!ENTITY " + name + " " + (value.empty() ? "\"\"" : value) + " >\r\n";
    if (line.size() > 127)
        return "key \"" + name + "\": line longer than 127 characters";
    *out += line;
    return "";
}

std::string Attrs(const DescriptorKeys& keys, std::string* out) {
    for (const auto& k : keys) {
        if (!Plain(k.first) || !Plain(k.second))
            return "attribute \"" + k.first + "\" holding markup";
        *out += Attr(k.first.c_str(), k.second);
    }
    return "";
}

// The form defaults and word lists of a mapping or of one of its forms: a form
// keeps none of the mapping's unless it names them itself.
std::string FormTexts(const DescriptorMapping& m, std::string* out) {
    std::string why;
    *out += "<formDefaults";
    if (!(why = Attrs(m.formDefaults, out)).empty())
        return why;
    *out += "></formDefaults>\r\n";
    const std::pair<const char*, const std::string*> texts[] = {
        {"op", &m.op}, {"proxop", &m.proxop}, {"sep", &m.sep}, {"hisep", &m.hisep}};
    for (const auto& t : texts) {
        if (t.second->find_first_of("\r\n\t") != std::string::npos)
            return std::string(t.first) + " text holding a line end or a tab";
        if (!t.second->empty())
            *out += std::string("<") + t.first + ">" + Text(*t.second, false) + "</" + t.first + ">\r\n";
    }
    return "";
}

std::string Mapping(const DescriptorMapping& m, std::string* out) {
    std::string why;
    *out += "<mapping><reqDefaults";
    if (!(why = Attrs(m.defaults, out)).empty())
        return why;
    *out += "></reqDefaults>";
    if (!(why = FormTexts(m, out)).empty())
        return why;
    for (const DescriptorForm& f : m.forms) {
        if (!Plain(f.id) || f.fields < 1)
            return "form \"" + f.id + "\": bad id or field count";
        *out += "<form" + Attr("id", f.id) + Attr("nbReq", std::to_string(f.fields)) + "><reqDefaults";
        if (!(why = Attrs(f.defaults, out)).empty())
            return why;
        *out += "></reqDefaults>";
        for (const auto& field : f.own) {
            if (field.first < 0 || field.first >= f.fields)
                return "form \"" + f.id + "\": field " + std::to_string(field.first) + " out of range";
            *out += "<req" + Attr("num", std::to_string(field.first));
            if (!(why = Attrs(field.second, out)).empty())
                return why;
            *out += "></req>";
        }
        if (!(why = FormTexts(m, out)).empty())
            return why;
        *out += "</form>\r\n";
    }
    *out += "</mapping>";
    return "";
}

}  // namespace

std::string WriteDescriptor(const std::string& sgmPath, const DescriptorSpec& spec) {
    size_t dot = sgmPath.find_last_of(".\\/");
    if (dot == std::string::npos || sgmPath[dot] != '.')
        return "descriptor path without extension";
    std::string sgm, gen, why;
    // Without the mark on its first line the request layer reads the file as scrambled.
    sgm = "<!-- KY MEDIA -->\r\n<!ENTITY START " + std::to_string(spec.keys.size() + spec.generated.size()) + " >\r\n";
    for (const auto& k : spec.keys) {
        if (k.second == "ASK" || k.second == "\"\"")
            return "key \"" + k.first + "\": value read as a request";
        if (!(why = PrologLine(k.first, k.second, &sgm)).empty())
            return why;
    }
    for (const auto& k : spec.generated) {
        if (!(why = PrologLine(k.first, "ASK", &sgm)).empty())
            return why;
        if (k.second.find_first_of("\r\n") != std::string::npos)
            return "key \"" + k.first + "\": value holding a line end";
        gen += k.first + "=" + k.second + "\r\n";
    }
    sgm += "<KYDesc><pathinfo>\r\n";
    for (const DescriptorPathVar& p : spec.paths) {
        if (!Plain(p.id) || !Plain(p.type) || !Plain(p.root))
            return "path \"" + p.id + "\": attribute holding markup";
        sgm += "<path" + Attr("id", p.id) + Attr("type", p.type) + (p.root.empty() ? "" : Attr("root", p.root)) + ">" +
               Text(p.value, true) + "</path>\r\n";
    }
    sgm += "</pathinfo>\r\n";
    if (!spec.files.empty() || !spec.resources.empty() || !spec.lexicons.empty()) {
        if (!Plain(spec.resourcePath) || ((!spec.resources.empty() || !spec.lexicons.empty()) && spec.resourcePath.empty()))
            return "resource path empty or holding markup";
        sgm += "<resource" + (spec.resourcePath.empty() ? "" : Attr("path", spec.resourcePath)) + ">\r\n";
        for (const DescriptorFile& f : spec.files) {
            if (!Plain(f.id) || !Plain(f.path))
                return "file \"" + f.id + "\": attribute holding markup";
            sgm +=
                "<userdata" + Attr("id", f.id) + Attr("path", f.path) + ">" + Text(f.file, false) + "</userdata>\r\n";
        }
        for (const DescriptorResource& r : spec.resources) {
            if (!Plain(r.id) || !Plain(r.filter))
                return "resource \"" + r.id + "\": attribute holding markup";
            if (r.kind == "flt")
                sgm += "<flt" + Attr("id", r.id) + "><platform plat=\"win\">" + Text(r.file, false) + "</platform></flt>";
            else if (r.kind == "filter")
                sgm += "<filter" + Attr("id", r.id) + "><platform plat=\"win\">" + Text(r.file, false) +
                       "</platform></filter>";
            else if (r.kind == "stp")
                sgm += "<stp" + Attr("id", r.id) + ">" + Text(r.file, false) + "</stp>";
            else if (r.kind == "thes")
                sgm += "<thes" + Attr("id", r.id) + (r.filter.empty() ? "" : Attr("flt", r.filter)) + ">" +
                       Text(r.file, false) + "</thes>";
            else if (r.kind == "lex")
                sgm += "<lex" + Attr("id", r.id) + (r.filter.empty() ? "" : Attr("filterkey", r.filter)) + "><lexabp>" +
                       Text(r.file, false) + "</lexabp><lexhdg>" + Text(r.file, false) + "</lexhdg></lex>";
            else
                return "resource \"" + r.id + "\": unknown kind \"" + r.kind + "\"";
            sgm += "\r\n";
        }
        for (const DescriptorLexicon& l : spec.lexicons) {
            if (!Plain(l.id) || !Plain(l.filterKey))
                return "lexicon \"" + l.id + "\": attribute holding markup";
            sgm += "<lex" + Attr("id", l.id) + (l.filterKey.empty() ? "" : Attr("filterkey", l.filterKey)) + "><lexabp>" +
                   Text(l.file, false) + "</lexabp>" + (l.records ? "<lexhdg>" + Text(l.file, false) + "</lexhdg>" : "") +
                   "</lex>\r\n";
        }
        sgm += "</resource>\r\n";
    }
    sgm += "<common>\r\n";
    for (const DescriptorBase& b : spec.bases) {
        if (!Plain(b.id) || !Plain(b.path))
            return "base \"" + b.id + "\": attribute holding markup";
        sgm += "<base" + Attr("id", b.id) + "><data" + Attr("path", b.path) + ">\r\n";
        for (const DescriptorData& d : b.data) {
            if (!Plain(d.id) || d.compression < 0 || d.compression > 4 || d.adjust < 0)
                return "data \"" + d.id + "\": bad id, compression or adjust";
            sgm += "<db" + Attr("id", d.id) + Attr("compression", kCompression[d.compression]) +
                   Attr("adjust", std::to_string(d.adjust)) + ">" + Text(d.file, false) + "</db>\r\n";
        }
        sgm += "</data><index" + Attr("path", b.path) + ">\r\n";
        for (const DescriptorIndex& i : b.indexes) {
            if (!Plain(i.id) || i.nbdoc <= 0 || !Plain(i.prox))
                return "index \"" + i.id + "\": bad id, document count or proximity mode";
            sgm += "<idx" + Attr("id", i.id) + Attr("nbdoc", std::to_string(i.nbdoc)) +
                   (i.prox.empty() ? "" : Attr("prox", i.prox)) + ">" + Text(i.file, false) + "</idx>\r\n";
        }
        sgm += "</index>";
        if (!b.headings.empty()) {
            if (!Plain(b.headings) || !Plain(b.documents))
                return "base \"" + b.id + "\": heading attribute holding markup";
            sgm += "<hdg" + Attr("db", b.headings) + (b.documents.empty() ? "" : Attr("docdb", b.documents)) + "></hdg>";
        }
        for (const DescriptorMapping& m : b.mapping)
            if (!(why = Mapping(m, &sgm)).empty())
                return why;
        sgm += "</base>\r\n";
    }
    sgm += "</common>";
    if (!spec.userStrings.empty()) {
        sgm += "<userstr>\r\n";
        for (const auto& k : spec.userStrings) {
            if (!Plain(k.first) || k.second.find_first_of("\r\n\t") != std::string::npos)
                return "user string \"" + k.first + "\": bad key or value";
            sgm += "<str" + Attr("id", k.first) + ">" + Text(k.second, false) + "</str>\r\n";
        }
        sgm += "</userstr>";
    }
    sgm += "</KYDesc>\r\n";
    // Replaced together: a descriptor is never left asking for keys it lacks.
    KyFileSet set;
    if ((why = set.write(sgmPath.substr(0, dot) + ".gen", gen)).empty())
        why = set.write(sgmPath, sgm);
    return why.empty() ? set.commit() : why;
}
