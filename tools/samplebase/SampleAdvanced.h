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
// Base EXPERT: the titles (HDGLIB) and the text base's word index, with the
// form SEARCH of 24 question fields over it (the advanced search's numbering).
void AddExpertBase(const std::string& titlesFile, const DescriptorMapping& textMapping, int documents,
                   DescriptorSpec* spec);
// COM:AVSRC record 0 (the sources) and GLB:THEMES record 0 (the themes):
// lines "label#value".
void AddChoiceTexts(std::map<std::string, std::vector<std::string>>* records);
