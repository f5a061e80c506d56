// The query table of the search benchmarks on the sample encyclopedia: the
// corpus's word items read back, and fixed queries drawn from them, each in the
// request's question language and in FTS5's.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "search/writers/FileImage.h"

namespace fts_queries {

struct Occurrence {
    uint32_t position;
    std::string key;
};

// words.txt: "key TAB document TAB position" lines.
struct Corpus {
    std::map<long, std::vector<Occurrence>> docs;
    std::map<std::string, std::set<long>> postings;
};

inline bool ReadCorpus(const std::string& path, Corpus* c) {
    std::string text;
    if (!LoadFile(path, &text))
        return false;
    size_t at = 0;
    while (at < text.size()) {
        size_t nl = text.find('\n', at);
        if (nl == std::string::npos)
            nl = text.size();
        size_t t1 = text.find('\t', at), t2 = t1 < nl ? text.find('\t', t1 + 1) : nl;
        if (t2 < nl) {
            std::string key = text.substr(at, t1 - at);
            long doc = std::strtol(text.c_str() + t1 + 1, nullptr, 10);
            uint32_t pos = static_cast<uint32_t>(std::strtoul(text.c_str() + t2 + 1, nullptr, 10));
            c->docs[doc].push_back({pos, key});
            c->postings[key].insert(doc);
        }
        at = nl + 1;
    }
    for (auto& d : c->docs)
        std::sort(d.second.begin(), d.second.end(),
                  [](const Occurrence& a, const Occurrence& b) { return a.position < b.position; });
    return true;
}

inline std::string Utf8(const std::string& cp1252) {
    std::wstring wide(cp1252.size() + 1, L'\0');
    int n = MultiByteToWideChar(1252, 0, cp1252.data(), static_cast<int>(cp1252.size()), &wide[0],
                                static_cast<int>(wide.size()));
    std::string out(static_cast<size_t>(n) * 3 + 1, '\0');
    int m = WideCharToMultiByte(CP_UTF8, 0, wide.data(), n, &out[0], static_cast<int>(out.size()), nullptr, nullptr);
    out.resize(static_cast<size_t>(std::max(0, m)));
    return out;
}

struct Query {
    std::string kind, ours, fts;
};

// Words that either question language reads as an operator, and stop words.
inline bool Plain(const std::string& k, const std::set<std::string>& stops) {
    static const char* const kOperators[] = {"et", "ou", "sauf", "pres", "champ", "parag", "and", "or", "not", "near"};
    for (const char* op : kOperators)
        if (k.compare(0, std::strlen(op), op) == 0)
            return false;
    if (stops.count(k) || k.size() < 2)
        return false;
    for (unsigned char ch : k)
        if (!std::isalnum(ch) && ch < 0x80)
            return false;
    return true;
}

inline std::string Q(const std::string& key) {
    return "\"" + Utf8(key) + "\"";
}

// The fixed table: words of each document-frequency band, pairs joined by each
// operator, adjacent words as phrases, words five apart as proximity, prefixes.
inline std::vector<Query> MakeQueries(const Corpus& c, const std::set<std::string>& stops) {
    std::vector<std::pair<size_t, std::string>> byFreq;
    for (const auto& p : c.postings)
        if (Plain(p.first, stops))
            byFreq.push_back({p.second.size(), p.first});
    std::sort(byFreq.begin(), byFreq.end());
    std::vector<Query> q;
    const size_t bands[][2] = {{1, 1}, {2, 9}, {10, 99}, {100, 999}, {1000, 1u << 30}};
    const char* names[] = {"word 1", "word 2-9", "word 10-99", "word 100-999", "word 1000+"};
    std::vector<std::string> common;
    for (size_t b = 0; b < 5; ++b) {
        std::vector<std::string> in;
        for (const auto& f : byFreq)
            if (f.first >= bands[b][0] && f.first <= bands[b][1])
                in.push_back(f.second);
        for (size_t i = 0; i < 10 && !in.empty(); ++i) {
            const std::string& k = in[(i * 7919 + 13) % in.size()];
            q.push_back({names[b], k, Q(k)});
        }
        if (b >= 2)
            for (size_t i = 0; i < 12 && !in.empty(); ++i)
                common.push_back(in[(i * 104729 + 7) % in.size()]);
    }
    for (size_t i = 0; i + 1 < common.size() && i < 30; ++i) {
        const std::string &a = common[i], &b = common[(i * 5 + 11) % common.size()];
        if (a == b)
            continue;
        q.push_back({"AND", a + " ET " + b, Q(a) + " AND " + Q(b)});
        q.push_back({"OR", a + " OU " + b, Q(a) + " OR " + Q(b)});
        q.push_back({"EXCEPT", a + " SAUF " + b, Q(a) + " NOT " + Q(b)});
    }
    // Phrases and proximity pairs from the texts of every 97th document.
    size_t phrases = 0, proxes = 0, n = 0;
    for (const auto& d : c.docs) {
        if (n++ % 97 != 0)
            continue;
        const std::vector<Occurrence>& o = d.second;
        for (size_t i = 0; i + 5 < o.size() && (phrases < 30 || proxes < 25); i += 17) {
            const std::string &a = o[i].key, &b = o[i + 1].key, &e = o[i + 5].key;
            if (!Plain(a, stops) || a == b || a == e)
                continue;
            if (phrases < 30 && Plain(b, stops) && o[i + 1].position == o[i].position + 1) {
                // Two words as a phrase are the request's words one apart in
                // either order: FTS5's NEAR with no word between them.
                q.push_back({"phrase", "\"" + a + " " + b + "\"", "NEAR(" + Q(a) + " " + Q(b) + ", 0)"});
                ++phrases;
            } else if (proxes < 25 && Plain(e, stops) && o[i + 5].position == o[i].position + 5) {
                q.push_back({"PRES5", a + " PRES5 " + e, "NEAR(" + Q(a) + " " + Q(e) + ", 4)"});
                ++proxes;
            }
        }
    }
    for (size_t i = 0; i < common.size() && i < 25; ++i) {
        std::string p = common[i].substr(0, std::max<size_t>(3, common[i].size() / 2));
        if (!Plain(p, stops))
            continue;
        q.push_back({"prefix", p + "*!", Q(p) + "*"});
    }
    return q;
}

// stop.txt: one stop word a line.
inline std::set<std::string> ReadStops(const std::string& text) {
    std::set<std::string> stops;
    for (size_t at = 0, nl; at < text.size(); at = nl + 1) {
        nl = text.find('\n', at);
        if (nl == std::string::npos)
            nl = text.size();
        stops.insert(text.substr(at, nl - at));
    }
    return stops;
}

}  // namespace fts_queries
