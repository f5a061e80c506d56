// The sample's fixed searches through the search facade, beside the documents
// that a brute-force scan of its words found (tools/sample/searches.py).
#pragma once

#include <set>
#include <string>
#include <vector>

struct SampleSearch {
    std::string text;         // as typed in the form; a leading "~" asks for the thesaurus
    std::set<long> expected;  // the scan's documents
    std::set<long> found;     // the request's documents
    long count = -1;          // the request's result count; -2 when it raised an error
};

// Opens the descriptor of `out`, runs each search of `work`\searches.txt on the
// form "RECH" of base "TEXT". `error` receives why nothing could run.
std::vector<SampleSearch> RunSampleSearches(const std::string& out, const std::string& work, std::string* error);
