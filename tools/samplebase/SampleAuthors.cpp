// The sample's authors and translators from the man pages' own sections.
#include "tools/samplebase/SampleAuthors.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <set>

namespace {

const char kDash[] = " \x97 ";  // the section titles' separator in Windows-1252

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

bool IsUpper(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7);
}

bool IsNameChar(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c >= 0xC0 || c == '-' || c == '\'' || c == '.' ||
           c == ' ';
}

std::string Trim(const std::string& text) {
    size_t a = text.find_first_not_of(" .");
    if (a == std::string::npos)
        return "";
    size_t b = text.find_last_not_of(" .");
    return text.substr(a, b - a + 1);
}

// Two to four words, each starting with a capital, of letters, hyphens, apostrophes and points.
bool LooksLikeName(const std::string& text) {
    if (text.empty() || text.size() > 60)
        return false;
    int words = 0;
    bool start = true;
    for (unsigned char c : text) {
        if (!IsNameChar(c))
            return false;
        if (c == ' ') {
            start = true;
            continue;
        }
        if (start) {
            if (!IsUpper(c))
                return false;
            ++words;
            start = false;
        }
    }
    return words >= 2 && words <= 4;
}

}  // namespace

std::vector<std::string> SectionNames(const std::string& markup) {
    // The first paragraph after the heading line.
    size_t para = markup.find("/A");
    if (para == std::string::npos)
        return {};
    size_t end = markup.find("\n", para);
    std::string text = markup.substr(para + 2, end == std::string::npos ? std::string::npos : end - para - 2);
    size_t by = text.find(" par ");
    if (by == std::string::npos)
        return {};
    text = text.substr(by + 5);
    // Addresses and remarks go.
    std::string plain;
    int depth = 0;
    for (char c : text) {
        if (c == '<' || c == '(')
            ++depth;
        else if ((c == '>' || c == ')') && depth > 0)
            --depth;
        else if (depth == 0)
            plain += c;
    }
    std::vector<std::string> names;
    size_t at = 0;
    while (at <= plain.size()) {
        size_t comma = plain.find(',', at);
        size_t et = plain.find(" et ", at);
        size_t stop = std::min(comma, et);
        std::string part = Trim(plain.substr(at, stop == std::string::npos ? std::string::npos : stop - at));
        // Collapse the spaces the dropped addresses left.
        std::string name;
        for (char c : part)
            if (!(c == ' ' && (name.empty() || name.back() == ' ')))
                name += c;
        name = Trim(name);
        if (LooksLikeName(name) && std::find(names.begin(), names.end(), name) == names.end())
            names.push_back(name);
        if (stop == std::string::npos)
            break;
        at = stop + (stop == comma ? 1 : 4);
    }
    return names;
}

std::vector<SampleAuthor> PlanSampleAuthors(const std::vector<std::string>& titles,
                                            const std::vector<std::string>& sources,
                                            const std::vector<std::string>& markups) {
    std::map<std::string, long> pages;  // whole page source -> its article
    for (size_t n = 0; n < sources.size(); ++n)
        if (sources[n].rfind("manpages-fr/", 0) == 0 && sources[n].find('#') == std::string::npos)
            pages.emplace(sources[n], static_cast<long>(n));
    std::map<std::string, std::set<long>> byName;
    for (size_t n = 0; n < titles.size() && n < sources.size() && n < markups.size(); ++n) {
        const std::string& source = sources[n];
        size_t hash = source.find('#');
        if (source.rfind("manpages-fr/", 0) != 0 || hash == std::string::npos)
            continue;
        const std::string& title = titles[n];
        if (!EndsWith(title, std::string(kDash) + "AUTEUR") && !EndsWith(title, std::string(kDash) + "AUTEURS") &&
            !EndsWith(title, std::string(kDash) + "TRADUCTION"))
            continue;
        auto page = pages.find(source.substr(0, hash));
        if (page == pages.end())
            continue;
        for (const std::string& name : SectionNames(markups[n]))
            byName[name].insert(page->second);
    }
    std::vector<SampleAuthor> authors;
    for (const auto& entry : byName)
        authors.push_back({entry.first, std::vector<long>(entry.second.begin(), entry.second.end())});
    return authors;
}

std::vector<std::pair<std::string, std::string>> AddSampleAuthorRecords(
    const std::vector<SampleAuthor>& authors, size_t documents, const unsigned char* keyTable,
    std::map<std::string, std::vector<std::string>>* records) {
    const std::string last = std::to_string(documents > 0 ? documents - 1 : 0);
    std::vector<std::string>& links = (*records)["LINKS:HDG"];
    std::vector<std::string>& names = (*records)["AUTEURS:NOMS"];
    std::vector<std::string>& notices = (*records)["AUTEURS:DOC"];
    std::vector<std::string>& lists = (*records)["AUTEURS:DOCLIST"];
    std::vector<std::pair<std::string, std::string>> entries;
    for (const SampleAuthor& a : authors) {
        std::string list;
        for (long d : a.docs)
            list += (list.empty() ? "" : ",") + std::to_string(d);
        list = std::to_string(a.docs.size()) + ":" + last + ":" + list;
        links.push_back(list);
        names.push_back(a.name);
        notices.push_back("Auteur ou traducteur de " + std::to_string(a.docs.size()) + " pages de manuel.");
        lists.push_back(list);
        std::string key;
        for (char c : a.name)
            key += static_cast<char>(keyTable[static_cast<unsigned char>(c)]);
        entries.push_back({key, a.name + "#0:" + std::to_string(links.size() - 1)});
    }
    return entries;
}
