// The sample's sound-alike base "PHONEM" and the advanced search's base
// "EXPERT" with their request forms, and the advanced search's two choice
// texts.
#pragma once

#include <map>
#include <string>
#include <vector>

struct DescriptorSpec;
struct DescriptorMapping;

// Base PHONEM: one record per distinct key of work\words.txt (table HDG,
// record r = key r in byte order) and the index PHON of each key's readings
// by the phonetic matcher; its form SEARCH takes one question of readings
// joined by " OU ". "" or the reason.
std::string WritePhonemBase(const std::string& work, const std::string& data, const std::string& separators,
                            DescriptorSpec* spec);
// The advanced search's field indexes from the work folder's lists
// (champ_titres.txt, champ_resumes.txt, champ_legendes.txt, champ_themes.txt, written by
// tools/sample/corpus.py) into the data folder; the ids of those written
// (none for a corpus without them), or *why set.
std::vector<std::string> WriteFieldIndexes(const std::string& work, const std::string& data, std::string* why);
// Base EXPERT: the titles (HDGLIB), the text base's word index and the field
// indexes, with the form SEARCH of 24 question fields (the advanced search's
// numbering): the sources' fields (titles, captions, summaries) and the
// themes' search their own index, every other field the words.
void AddExpertBase(const std::string& titlesFile, const DescriptorMapping& textMapping, int documents,
                   const std::vector<std::string>& fieldIndexes, DescriptorSpec* spec);
// COM:AVSRC record 0 (the sources) and GLB:THEMES record 0 (the themes):
// lines "label#value".
void AddChoiceTexts(std::map<std::string, std::vector<std::string>>* records);
