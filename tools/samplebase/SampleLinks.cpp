// The author and section links of the sample's articles.
#include "tools/samplebase/SampleLinks.h"

#include "tools/samplebase/SampleOutlines.h"

namespace {

// At most this many section buttons: a page of fifty headings keeps its outline for the rest.
const size_t kMostSections = 12;

}  // namespace

size_t AddSampleAuthorLinks(const std::vector<SampleAuthor>& authors, std::vector<std::string>* markups) {
    size_t made = 0;
    for (size_t k = 0; k < authors.size(); ++k) {
        const std::string& name = authors[k].name;
        if (name.empty() || name.find_first_of("{}#/\\\n") != std::string::npos)
            continue;
        for (long d : authors[k].docs) {
            if (d < 0 || static_cast<size_t>(d) >= markups->size())
                continue;
            std::string& markup = (*markups)[static_cast<size_t>(d)];
            // Not inside a button already: the name after a link's start and before its end.
            size_t at = markup.find(name);
            while (at != std::string::npos) {
                size_t open = markup.rfind('{', at), close = markup.rfind('}', at);
                if (open == std::string::npos || (close != std::string::npos && close > open))
                    break;
                at = markup.find(name, at + name.size());
            }
            if (at == std::string::npos)
                continue;
            markup.replace(at, name.size(), "{@d1@/M/1" + name + "#A:" + std::to_string(k + 1) + "}");
            ++made;
        }
    }
    return made;
}

std::string SampleSectionLinks(const std::string& markup) {
    // The outline's lines after the title: "/A{@d1@" label "#" position "}".
    const std::string outline = MakeSampleOutline(markup).text;
    std::string buttons;
    size_t count = 0;
    for (size_t at = 0; at < outline.size() && count < kMostSections;) {
        size_t end = outline.find('\n', at);
        std::string line = outline.substr(at, end - at);
        at = end == std::string::npos ? outline.size() : end + 1;
        size_t hash = line.rfind('#');
        if (line.compare(0, 7, "/A{@d1@") != 0 || hash == std::string::npos || line.back() != '}')
            continue;
        buttons += std::string(count ? " \x95 " : "") + "{@d1@/M/1" + line.substr(7, hash - 7) + "#C" +
                   line.substr(hash + 1, line.size() - hash - 2) + "}";
        ++count;
    }
    return count < 2 ? "" : "/ADans cet article : " + buttons + "\n";
}

size_t AddSampleSectionLinks(const std::vector<std::string>& sources, std::vector<std::string>* markups) {
    size_t made = 0;
    for (size_t n = 0; n < markups->size() && n < sources.size(); ++n) {
        if (sources[n].find('#') != std::string::npos)
            continue;
        std::string line = SampleSectionLinks((*markups)[n]);
        made += line.empty() ? 0 : 1;
        (*markups)[n] += line;
    }
    return made;
}
