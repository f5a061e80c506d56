// Builds the sample encyclopedia's installation folder from the corpus that
// tools/sample/corpus.py writes, and checks every file of a built folder.
// Errors come back as texts, "" for success.
#pragma once

#include <string>
#include <vector>

// Writes into `out` the descriptor pairs of the three kinds of installation
// ("sv", "svcd", "svres" ".sgm"/".gen", all alike), "sv.ini" and "install.ini" and, under "data",
// the TEXT and HDFILES tables, the word index, the A-to-Z index, the
// thesaurus, the character table and the stop list. `progress` receives one
// line per stage when not null.
std::string BuildSample(const std::string& work, const std::string& out, void (*progress)(const char* line));

struct SampleCheckReport {
    std::vector<std::string> errors;  // each names its file
    long records = 0, keys = 0, occurrences = 0, images = 0;
    long names = 0;  // names the reader asks for, looked up
};

// Parses and mounts the descriptor of `out`, then walks every catalogue and
// record of every table, every index and the thesaurus, and every picture
// under "images"; with `keys` (the list tools/sample/keys.py writes), every
// message, setting, table and lexicon the reader's code names.
SampleCheckReport CheckSample(const std::string& out, const std::string& keys = "");
