// Writes a thesaurus data file and its relation tree.
#include "search/writers/ThesWriter.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <utility>

#include "search/engine/common/KyFileSet.h"
#include "search/writers/AbpWriter.h"
#include "search/writers/FileImage.h"

namespace {

// Tree keys hold neither byte 0 nor 0x40; 1 marks the numbered suffix and a
// line feed would end the term's line.
std::string CheckTerm(const std::string& term) {
    if (term.empty() || term.size() > static_cast<size_t>(kThesMaxTerm) ||
        term.find_first_of(std::string("\0\x01@\n\r", 5)) != std::string::npos)
        return "term \"" + term + "\" empty, longer than 122 bytes or holding a byte a key cannot hold";
    return "";
}

}  // namespace

std::string ThesRelationKey(int relation, const std::string& term, int n) {
    std::string key = std::to_string(relation) + term;
    if (n > 0) {
        char suffix[8];
        std::snprintf(suffix, sizeof suffix, "\x01%03d", n);
        key += suffix;
    }
    return key;
}

std::string WriteThesaurus(const std::string& base, const std::string& filter,
                           const std::vector<ThesRelation>& relations) {
    if (filter.size() > 128 || filter.find_first_of(std::string("\0\r\n", 3)) != std::string::npos)
        return "filter name longer than 128 bytes or holding a line end";
    std::string data = filter + "\n";
    std::map<std::string, int32_t> lines;  // term -> offset of its line
    std::map<std::pair<int, std::string>, int> counts;
    std::vector<AbpKeyItem> keys;
    auto lineOf = [&](const std::string& term) {
        auto found = lines.find(term);
        if (found != lines.end())
            return found->second;
        int32_t at = static_cast<int32_t>(data.size());
        lines[term] = at;
        data += term + "\n";
        AbpKeyItem own;
        own.key = ThesRelationKey(0, term, 0);
        own.value = at;
        keys.push_back(own);
        return at;
    };
    for (const ThesRelation& r : relations) {
        std::string why = CheckTerm(r.term);
        if (why.empty())
            why = CheckTerm(r.related);
        if (!why.empty())
            return why;
        if (r.relation < 1 || r.relation > 5)
            return "relation " + std::to_string(r.relation) + " outside 1..5";
        int& n = counts[{r.relation, r.term}];
        if (n == kThesMaxRelated)
            return "more than 1000 terms in one relation of \"" + r.term + "\"";
        lineOf(r.term);
        AbpKeyItem item;
        item.key = ThesRelationKey(r.relation, r.term, n++);
        item.value = lineOf(r.related);
        keys.push_back(item);
    }
    std::sort(keys.begin(), keys.end(), [](const AbpKeyItem& a, const AbpKeyItem& b) { return a.key < b.key; });
    AbpTreeOptions options;
    options.occurrences = false;
    // Replaced together: the tree's values are offsets of the data file's lines.
    std::string tree;
    std::string why = AbpTreeImage(keys, options, &tree);
    KyFileSet set;
    if (why.empty())
        why = set.write(base + ".abp", tree);
    if (why.empty())
        why = set.write(base + ".dct", data);
    return why.empty() ? set.commit() : why;
}
