// Rows of an online search.
#include "app/results/ASVNetSearchLineGetter.h"

#include <cstring>

#include "app/results/ASVResultLineGetter.h"

ASVNetSearchLineGetter::ASVNetSearchLineGetter(const char* resultText, int16_t summary) : summary_(summary) {
    const char* p = resultText ? resultText : "";
    while (*p) {
        size_t n = strcspn(p, "\n\r");
        if (n > 0) {
            std::vector<std::string> fields;
            std::string line(p, n);
            for (size_t at = 0;;) {
                size_t tab = line.find('\t', at);
                fields.push_back(line.substr(at, tab == std::string::npos ? std::string::npos : tab - at));
                if (tab == std::string::npos)
                    break;
                at = tab + 1;
            }
            fields.resize(std::max<size_t>(fields.size(), 4));
            rows_.push_back(fields);
        }
        p += n;
        while (*p == '\n' || *p == '\r')
            ++p;
    }
}

AString ASVNetSearchLineGetter::getRawLine(long record, long line) {
    (void)line;
    if (record < 0 || record >= getLineCount())
        return AString();
    const std::vector<std::string>& f = rows_[static_cast<size_t>(record)];
    std::string title = EscapeMarkup((f[1].empty() ? f[2] : f[1]).c_str()).c_str();
    std::string address = EscapeMarkup(f[2].c_str()).c_str();
    if (!summary_)
        return AString((title + "#" + address).c_str());
    return AString(("/B" + title + "/A\n" + EscapeMarkup(f[3].c_str()).c_str() + "#" + address).c_str());
}
