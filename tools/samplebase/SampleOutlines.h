// What the sample gives the article view beside each article: its outline
// (the title and the "/G" headings of its markup, each a link to the heading's
// position) with the outline map, and, for a few dozen articles that name
// years, a time strip whose links lead to those years in the text.
//
// Positions are byte offsets in the article's markup (the reader's text
// positions) and in the outline text. Formats:
//   TEXT:STRUCT    record n: one line a heading, LF-separated:
//                  "/B{@d1@" title "#0}" then "/A{@d1@" heading "#" position "}"
//   TEXT:STRUCTPOS record n: count "," position ":" outline position ... (one
//                  entry a line of TEXT:STRUCT, ascending)
//   GLB:FRISE      record r: "/G" ["{B-1#" DOCVIG record "} "] caption LF
//                  (the thumbnail when the article holds a small picture),
//                  then one inline table row "/&TABLE:100%:N0:[[" cell "#"
//                  cell ... "]]&/" (cells separated by '#'), per year
//                  "/B{@d1@" year "#>" position "}" (the base's upper-case
//                  stream filter makes it "{@D1@": a link drawn as a button
//                  with the sheet's picture 0)
//   HDGINFO        flag digit 9 (outline), digit 11 and field 6 (strip record)
#pragma once

#include <map>
#include <string>
#include <vector>

struct SampleOutline {
    std::string text, map;  // both empty for an article without headings
};

// The text that a markup line shows: style and colour codes, escapes, link
// targets and pictures taken out.
std::string SamplePlainText(const std::string& markup);
// The outline of one article's markup.
SampleOutline MakeSampleOutline(const std::string& markup);
// The strip of one article: "" when its text names fewer than three years
// (1000 to 2099 after a word of dates: "en", "in", "depuis", "(", ...; 1500
// to 2030 anywhere), measures ("1600 pixels", "800 x 1200") left out.
// thumbnail: a DOCVIG record number, or -1 for none.
std::string MakeSampleTimeStrip(const std::string& markup, long thumbnail);

struct SampleOutlines {
    std::vector<std::string> outlines, maps;  // one each per article
    std::vector<std::string> strips;          // GLB:FRISE records
    std::vector<std::string> thumbnails;      // appended to GLB:DOCVIG
};

// Plans the outlines and strips of every article and marks them in infos
// (HDGINFO records of the articles). images: the folder of the sample's
// pictures, which the strips' thumbnails come from; documents: the count of
// GLB:DOCVIG records before the thumbnails.
SampleOutlines PlanSampleOutlines(const std::vector<std::string>& markups, const std::string& images,
                                  size_t documents, std::vector<std::string>* infos);
// Puts the plan into the records of the application's tables.
void AddSampleOutlineRecords(const SampleOutlines& plan, std::map<std::string, std::vector<std::string>>* records);
