// What the sample gives the right dock: each article's information flags,
// set and theme numbers and "EXT" field, and the global base's sets (ESSLST)
// and themes (THMEXT) with the links records that list the themes' documents.
//
// Pages cut into sections (articles whose ext shares the page before '#')
// make one set and one theme record each. An article's links are the
// documents its markup's buttons open ("#G:n"). Formats:
//   HDGINFO fields 0, 3, 4   flags (digit k = key k: 0 set, 1 linked documents,
//                            2 themes, 3 web link, 7 pictures' room), set, theme
//   EXT     page '#' linked list '#' '#' web key '#' '#' '#' '#' room list
//           (lists "count:max:d1,d2,...", the web key "SV<n>")
//   ESSLST  "<page title>#-1" CRLF "<title>#<page doc>" CRLF ("\t<title>#<doc>" CRLF)...
//   THMEXT  "Sections#0:<r>" LF "Pages li\xE9" "es#0:<r or -1>"  (r: LINKS:HDG record)
#pragma once

#include <map>
#include <string>
#include <vector>

struct SampleRightDock {
    std::vector<std::string> infos;  // HDGINFO of each article
    std::vector<std::string> exts;   // EXT of each article
    std::vector<std::string> sets;   // ESSLST records
    // THMEXT records as (label, documents) groups.
    std::vector<std::vector<std::pair<std::string, std::vector<long>>>> themes;
};

// titles, exts and markups of the articles; documents counts the figures after them.
SampleRightDock PlanRightDock(const std::vector<std::string>& titles, const std::vector<std::string>& exts,
                              const std::vector<std::string>& markups, size_t documents);
// Appends the themes' documents to "LINKS:HDG" and writes "GLB:ESSLST" and "GLB:THMEXT".
void AddRightDockRecords(const SampleRightDock& dock, size_t documents,
                         std::map<std::string, std::vector<std::string>>* records);
