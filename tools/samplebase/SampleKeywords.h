// The sample's keyword base and its occurrence lists: one keyword per
// distinct section title (the help pages have no index entries of their own).
#pragma once

#include <map>
#include <string>
#include <vector>

// Records of table "SVX:HDG" (the keyword base, data base 3) and the records
// "LINKS:HDG" gets after its first one (data base 4), for the titles of
// documents 0 .. titles.size() - 1:
//   SVX:HDG   record k: keyword TAB count TAB 0 TAB 1 + k TAB 0 TAB 0
//             (fields 3 to 6 are the result key "0:<LINKS record>:0:0")
//   LINKS:HDG record 1 + k: "count:maxDoc:d1,d2,..." the documents of keyword k, ascending
// Keywords are in byte order; documents count is the documents' total (for maxDoc).
std::map<std::string, std::vector<std::string>> SampleKeywordRecords(const std::vector<std::string>& titles,
                                                                      size_t documents);

struct DescriptorMapping;
struct DescriptorSpec;

// The keyword base's word index and its search form, for the reader's index
// search: index MOTS of base SVX lists each word of keyword k (filtered by
// keyTable) under document k, with its place in the keyword, and the form
// SEARCH asks it as the text base's mapping asks its own index. The items go
// to work\svx_mots.txt, the tree to data\svx_mots.abp. "" or the reason.
std::string WriteKeywordIndex(const std::vector<std::string>& titles, const unsigned char* keyTable,
                              const std::string& separators, const DescriptorMapping& textMapping,
                              const std::string& work, const std::string& data, DescriptorSpec* spec);
