// The sample's authors: every person named in the author (AUTEUR, AUTEURS)
// and translation (TRADUCTION) sections of the French man pages, with the
// pages (each page's whole article) that name them.
//
// Written: one LINKS:HDG record per person ("count:maxDoc:d1,d2,..."), the
// AUTEURS tables (NOMS the name, DOC a notice, DOCLIST the pages) after
// their first record, and the lexicon "AUTEUR" whose records are
// "name#0:b", b the person's LINKS:HDG record.
#pragma once

#include <map>
#include <string>
#include <vector>

struct SampleAuthor {
    std::string name;        // Windows-1252
    std::vector<long> docs;  // the pages' whole articles, ascending
};

// The names of a section's markup: after "par" in its first paragraph, the
// names separated by "," and "et", addresses and remarks in brackets dropped.
std::vector<std::string> SectionNames(const std::string& markup);

// By name; titles and sources are the articles' (sources "manpages-fr/page[#n]").
std::vector<SampleAuthor> PlanSampleAuthors(const std::vector<std::string>& titles,
                                            const std::vector<std::string>& sources,
                                            const std::vector<std::string>& markups);

// Appends the links and AUTEURS records; answers the lexicon entries
// (filtered key through keyTable, record).
std::vector<std::pair<std::string, std::string>> AddSampleAuthorRecords(
    const std::vector<SampleAuthor>& authors, size_t documents, const unsigned char* keyTable,
    std::map<std::string, std::vector<std::string>>* records);
