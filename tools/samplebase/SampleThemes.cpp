// The sample's theme text and the links records of its themes.
#include "tools/samplebase/SampleThemes.h"

#include <algorithm>
#include <cstdlib>

#include "search/writers/FileImage.h"

namespace {

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    size_t at = 0;
    for (;;) {
        size_t end = text.find(separator, at);
        parts.push_back(text.substr(at, end == std::string::npos ? std::string::npos : end - at));
        if (end == std::string::npos)
            return parts;
        at = end + 1;
    }
}

bool ReadNumber(const std::string& text, long* value) {
    char* end = nullptr;
    *value = std::strtol(text.c_str(), &end, 10);
    return !text.empty() && end && *end == 0;
}

}  // namespace

std::vector<SampleTheme> ParseSampleThemes(const std::string& text, std::string* why) {
    std::vector<SampleTheme> themes;
    std::vector<std::string> lines = Split(text, '\n');
    for (size_t n = 0; n < lines.size(); ++n) {
        if (lines[n].empty())
            continue;
        std::vector<std::string> fields = Split(lines[n], '\t');
        long depth = 0;
        if (fields.size() != 3 || !ReadNumber(fields[0], &depth) || depth < 0 || depth > 4 ||
            depth > (themes.empty() ? 0 : themes.back().depth + 1)) {
            *why = "themes.txt line " + std::to_string(n + 1) + ": not depth TAB label TAB documents";
            return {};
        }
        SampleTheme theme;
        theme.depth = static_cast<int>(depth);
        theme.label = fields[1];
        if (!fields[2].empty()) {
            for (const std::string& d : Split(fields[2], ',')) {
                long doc = 0;
                if (!ReadNumber(d, &doc) || doc < 0) {
                    *why = "themes.txt line " + std::to_string(n + 1) + ": bad document \"" + d + "\"";
                    return {};
                }
                theme.docs.push_back(doc);
            }
        }
        themes.push_back(theme);
    }
    return themes;
}

void AddSampleThemeRecords(const std::vector<SampleTheme>& themes, size_t documents,
                           std::map<std::string, std::vector<std::string>>* records) {
    std::vector<std::string>& links = (*records)["LINKS:HDG"];
    const std::string last = std::to_string(documents > 0 ? documents - 1 : 0);
    std::string text;
    for (const SampleTheme& theme : themes) {
        text += std::string(static_cast<size_t>(theme.depth), '\t') + theme.label;
        if (!theme.docs.empty()) {
            std::string list;
            for (long d : theme.docs)
                list += (list.empty() ? "" : ",") + std::to_string(d);
            links.push_back(std::to_string(theme.docs.size()) + ":" + last + ":" + list);
            text += "#0:" + std::to_string(links.size() - 1);
        }
        text += "\r\n";
    }
    (*records)["GLB:THMLST"] = {text};

    std::vector<std::vector<long>> groups(documents);
    long next = 0, upper[2] = {-1, -1};
    for (const SampleTheme& theme : themes) {
        if (theme.depth == 0)
            upper[1] = -1;
        long group = theme.depth <= 1 ? (upper[theme.depth] = next++) : upper[1] >= 0 ? upper[1] : upper[0];
        if (group < 0 || group > 255)
            continue;
        for (long d : theme.docs)
            if (d >= 0 && static_cast<size_t>(d) < documents)
                groups[static_cast<size_t>(d)].push_back(group);
    }
    std::vector<std::string>& byDoc = (*records)["GLB:HDGTHM"];
    byDoc.clear();
    for (std::vector<long>& list : groups) {
        std::sort(list.begin(), list.end());
        list.erase(std::unique(list.begin(), list.end()), list.end());
        std::string record;
        for (long g : list)
            record += (record.empty() ? "" : ",") + std::to_string(g);
        byDoc.push_back(record);
    }
    if (byDoc.empty())
        byDoc.push_back("");
}

std::string ReadSampleThemes(const std::string& work, size_t documents,
                             std::map<std::string, std::vector<std::string>>* records) {
    std::string text;
    if (!LoadFile(work + "\\themes.txt", &text))
        return std::string();
    std::string why;
    std::vector<SampleTheme> themes = ParseSampleThemes(text, &why);
    if (!why.empty())
        return why;
    AddSampleThemeRecords(themes, documents, records);
    return std::string();
}
