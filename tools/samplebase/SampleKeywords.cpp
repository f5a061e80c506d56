// The sample's keywords: the section titles, each with the documents that bear it.
#include "tools/samplebase/SampleKeywords.h"

#include <cstdio>
#include <cstring>
#include <set>
#include <tuple>

#include "search/writers/AbpWriter.h"
#include "search/writers/DescriptorWriter.h"
#include "search/writers/FileImage.h"

std::map<std::string, std::vector<std::string>> SampleKeywordRecords(const std::vector<std::string>& titles,
                                                                      size_t documents) {
    std::map<std::string, std::vector<long>> byTitle;
    for (size_t n = 0; n < titles.size(); ++n) {
        const std::string& title = titles[n];
        // A TAB or a line end would break the keyword's line.
        if (title.empty() || title.find_first_of("\t\r\n") != std::string::npos)
            continue;
        byTitle[title].push_back(static_cast<long>(n));
    }
    std::map<std::string, std::vector<std::string>> r;
    std::vector<std::string>& keywords = r["SVX:HDG"];
    std::vector<std::string>& links = r["LINKS:HDG"];
    std::string maxDoc = std::to_string(documents ? documents - 1 : 0);
    for (const auto& entry : byTitle) {
        size_t k = keywords.size();
        std::string count = std::to_string(entry.second.size());
        keywords.push_back(entry.first + "\t" + count + "\t0\t" + std::to_string(1 + k) + "\t0\t0");
        std::string list = count + ":" + maxDoc + ":";
        for (size_t i = 0; i < entry.second.size(); ++i)
            list += (i ? "," : "") + std::to_string(entry.second[i]);
        links.push_back(list);
    }
    return r;
}

namespace {

// What ends a word: the question's separators, blanks and controls, and the
// bytes the question reads as wildcards, quotes or groups.
bool EndsWord(unsigned char c, const std::string& separators) {
    return c <= 0x20 || std::strchr("!\"()*?\x7F", c) || separators.find(static_cast<char>(c)) != std::string::npos;
}

}  // namespace

std::string WriteKeywordIndex(const std::vector<std::string>& titles, const unsigned char* keyTable,
                              const std::string& separators, const DescriptorMapping& textMapping,
                              const std::string& work, const std::string& data, DescriptorSpec* spec) {
    const std::vector<std::string> keywords = SampleKeywordRecords(titles, 0)["SVX:HDG"];
    std::set<std::tuple<std::string, long, long>> items;
    for (size_t k = 0; k < keywords.size(); ++k) {
        const std::string text = keywords[k].substr(0, keywords[k].find('\t'));
        std::string key;
        long place = 0;
        for (size_t i = 0; i <= text.size(); ++i) {
            const unsigned char c = i < text.size() ? static_cast<unsigned char>(text[i]) : 0;
            if (c && !EndsWord(c, separators)) {
                key += static_cast<char>(keyTable[c]);
                continue;
            }
            // An index key ends at byte 0x40 and is cut at 127 bytes.
            if (!key.empty() && key.find('@') == std::string::npos)
                items.insert({key.substr(0, 127), static_cast<long>(k), place++});
            key.clear();
        }
    }
    std::string lines;
    for (const auto& item : items)
        lines += std::get<0>(item) + "\t" + std::to_string(std::get<1>(item)) + "\t" + std::to_string(std::get<2>(item)) + "\n";
    const std::string itemsPath = work + "\\svx_mots.txt";
    std::string why = SaveFileReplacing(itemsPath, lines);
    AbpTreeOptions positions;
    positions.positions = true;
    positions.width = 32;
    if (why.empty())
        why = abpBuildFirstLevel(itemsPath, data + "\\svx_mots.abp", positions);
    if (!why.empty())
        return why;
    DescriptorBase base{"SVX", "SVDATA", {}, {{"MOTS", "svx_mots", static_cast<int>(keywords.size()), "PROXW"}}};
    DescriptorMapping mapping = textMapping;
    mapping.forms = {{"SEARCH", 1, {{"thes", "N"}}}};
    base.mapping = {mapping};
    spec->bases.push_back(base);
    return "";
}
