// The sample's theme tree: the theme text the themes pane reads (record 0 of
// GLB:THMLST) and the links records of the themes' articles.
//
// Input, the corpus's work file themes.txt, one theme a line in tree order:
//   depth TAB label TAB d1,d2,...   depth 0-4; documents ascending, may be empty
// Theme text, one line per theme, CR LF after each:
//   TAB*depth label "#0:" m         m the LINKS:HDG record of its articles
//   TAB*depth label                 a theme without articles
// Links record m: "count:maxDoc:d1,d2,..." (maxDoc = documents - 1).
// GLB:HDGTHM record d, the groups of document d: "g1,g2,..." ascending, g the
// number of a theme of depth 0 or 1 in tree order (0 first); a document listed
// deeper belongs to its theme's ancestor of depth 1 (or 0). Groups past 255
// are left out, as the reader reads 8 bits.
#pragma once

#include <map>
#include <string>
#include <vector>

struct SampleTheme {
    int depth = 0;
    std::string label;
    std::vector<long> docs;
};

// The themes of a themes.txt text; a line that breaks the form gives its
// number in *why and stops.
std::vector<SampleTheme> ParseSampleThemes(const std::string& text, std::string* why);
// Writes GLB:THMLST record 0 and GLB:HDGTHM, and appends the themes' lists to LINKS:HDG.
void AddSampleThemeRecords(const std::vector<SampleTheme>& themes, size_t documents,
                           std::map<std::string, std::vector<std::string>>* records);
// Reads work\themes.txt (absent: no themes) and adds its records.
std::string ReadSampleThemes(const std::string& work, size_t documents,
                             std::map<std::string, std::vector<std::string>>* records);
