// The sample's right-dock records: flags, EXT fields, sets and themes.
#include "tools/samplebase/SampleRightDock.h"

#include <algorithm>
#include <cctype>
#include <set>

namespace {

const size_t kMaxLinks = 40;

std::string ListText(const std::vector<long>& docs, size_t documents) {
    std::string text = std::to_string(docs.size()) + ":" + std::to_string(documents - 1) + ":";
    for (size_t i = 0; i < docs.size(); ++i)
        text += (i ? "," : "") + std::to_string(docs[i]);
    return text;
}

// The documents the markup's buttons open, in order, once each, without self.
std::vector<long> LinksOf(const std::string& markup, long self) {
    std::vector<long> out;
    std::set<long> seen;
    for (size_t at = markup.find("#G:"); at != std::string::npos && out.size() < kMaxLinks;
         at = markup.find("#G:", at + 3)) {
        size_t end = at + 3;
        while (end < markup.size() && std::isdigit(static_cast<unsigned char>(markup[end])))
            ++end;
        if (end == at + 3)
            continue;
        long doc = std::stol(markup.substr(at + 3, end - at - 3));
        if (doc != self && seen.insert(doc).second)
            out.push_back(doc);
    }
    return out;
}

std::string PageOf(const std::string& ext) {
    return ext.substr(0, ext.find('#'));
}

}  // namespace

SampleRightDock PlanRightDock(const std::vector<std::string>& titles, const std::vector<std::string>& exts,
                              const std::vector<std::string>& markups, size_t documents) {
    SampleRightDock dock;
    size_t articles = titles.size();
    std::vector<long> setOf(articles, -1), themeOf(articles, -1);
    for (size_t first = 0; first < articles;) {
        size_t end = first + 1;
        while (end < articles && PageOf(exts[end]) == PageOf(exts[first]))
            ++end;
        if (end - first >= 2) {
            std::string set = titles[first] + "#-1\r\n" + titles[first] + "#" + std::to_string(first) + "\r\n";
            std::vector<long> sections, linked;
            for (size_t n = first + 1; n < end; ++n) {
                set += "\t" + titles[n] + "#" + std::to_string(n) + "\r\n";
                sections.push_back(static_cast<long>(n));
            }
            for (long d : LinksOf(markups[first], static_cast<long>(first)))
                linked.push_back(d);
            for (size_t n = first; n < end; ++n) {
                setOf[n] = static_cast<long>(dock.sets.size());
                themeOf[n] = static_cast<long>(dock.themes.size());
            }
            dock.sets.push_back(set);
            dock.themes.push_back({{"Sections", sections},
                                   {"Pages li\xE9"
                                    "es",
                                    linked}});
        }
        first = end;
    }
    for (size_t n = 0; n < articles; ++n) {
        std::vector<long> links = LinksOf(markups[n], static_cast<long>(n));
        // Article 0 also links to the first figure and has the pictures' room.
        std::string room;
        if (n == 0 && documents > articles) {
            links.push_back(static_cast<long>(articles));
            std::vector<long> figures;
            for (size_t f = articles; f < documents; ++f)
                figures.push_back(static_cast<long>(f));
            room = ListText(figures, documents);
        }
        std::string flags(15, '0');
        flags[0] = setOf[n] >= 0 ? '1' : '0';
        flags[1] = links.empty() ? '0' : '1';
        flags[2] = themeOf[n] >= 0 ? '1' : '0';
        flags[3] = '1';
        flags[7] = room.empty() ? '0' : '1';
        dock.infos.push_back(flags + "\t0\t" + std::to_string(n) + "\t" + std::to_string(setOf[n]) + "\t" +
                             std::to_string(themeOf[n]) + "\tTEXT:0\t0\t");
        std::string page = PageOf(exts[n]);
        dock.exts.push_back(page + "#" + (links.empty() ? "" : ListText(links, documents)) + "##SV" +
                            std::to_string(n) + "####" + room);
    }
    return dock;
}

void AddRightDockRecords(const SampleRightDock& dock, size_t documents,
                         std::map<std::string, std::vector<std::string>>* records) {
    std::vector<std::string>& links = (*records)["LINKS:HDG"];
    std::vector<std::string>& themes = (*records)["GLB:THMEXT"];
    themes.clear();
    for (const auto& groups : dock.themes) {
        std::string record;
        for (const auto& group : groups) {
            long r = -1;
            if (!group.second.empty()) {
                r = static_cast<long>(links.size());
                links.push_back(ListText(group.second, documents));
            }
            record += group.first + "#0:" + std::to_string(r) + "\n";
        }
        themes.push_back(record);
    }
    (*records)["GLB:ESSLST"] = dock.sets;
    if (themes.empty())
        themes.push_back("");
    if ((*records)["GLB:ESSLST"].empty())
        (*records)["GLB:ESSLST"].push_back("");
}
