// The sample's keywords: the section titles, each with the documents that bear it.
#include "tools/samplebase/SampleKeywords.h"

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
