// The sample's sound-alike base, advanced search base and choice texts.
#include "tools/samplebase/SampleAdvanced.h"

#include <algorithm>
#include <set>
#include <utility>

#include "search/engine/trees/KyAbp.h"
#include "search/engine/phon/KyPhon.h"
#include "search/writers/AbpWriter.h"
#include "search/writers/DescriptorWriter.h"
#include "search/writers/TableWriter.h"
#include "search/writers/FileImage.h"

namespace {

// The question fields of the advanced search: with inflection the question
// goes into fields 13 to 24, so 24 fields hold both halves.
const int kExpertFields = 24;

std::string WriteTable(const std::string& data, const std::string& name, const std::vector<std::string>& records) {
    TablePartFiles files;
    files.data = data + "\\" + name + ".fmt";
    files.catalogue = data + "\\" + name + ".of7";
    files.companion = data + "\\" + name + ".uf7";
    return WriteTablePart(files, records, 0, 0, {});
}

// A reading holds '~' (nasal vowels): it must not separate words there.
std::string WithoutTilde(std::string separators) {
    separators.erase(std::remove(separators.begin(), separators.end(), '~'), separators.end());
    return separators;
}

}  // namespace

std::string WritePhonemBase(const std::string& work, const std::string& data, const std::string& separators,
                            DescriptorSpec* spec) {
    std::string text;
    if (!LoadFile(work + "\\words.txt", &text))
        return "cannot read words.txt";
    // words.txt: "key TAB document TAB position" lines, keys in byte order.
    std::vector<std::string> words;
    for (size_t at = 0; at < text.size();) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos)
            end = text.size();
        size_t tab = text.find('\t', at);
        if (tab != std::string::npos && tab < end) {
            std::string key = text.substr(at, tab - at);
            if (words.empty() || words.back() != key)
                words.push_back(key);
        }
        at = end + 1;
    }
    // Index items "reading TAB record", sorted, once each.
    std::set<std::pair<std::string, long>> items;
    for (size_t r = 0; r < words.size(); ++r) {
        KyPhonList* list = nullptr;
        if (KY_PhonCandidates(words[r].c_str(), 0, &list) != 0 || !list)
            continue;
        for (int32_t k = 0; k < list->count; ++k) {
            std::string reading = list->strings[k];
            // A key ends at byte 0x40; such a reading is left out.
            if (!reading.empty() && reading.find('@') == std::string::npos && reading.size() < 127)
                items.insert({reading, static_cast<long>(r)});
        }
        KY_PhonFreeList(list);
    }
    std::string lines;
    for (const auto& item : items)
        lines += item.first + "\t" + std::to_string(item.second) + "\n";
    const std::string itemsPath = work + "\\phonem.txt";
    std::string why = SaveFileReplacing(itemsPath, lines);
    if (!why.empty())
        return why;
    // Without positions the engine reads deltas as wide as the document count needs.
    AbpTreeOptions options;
    options.width = abpWidthOf(static_cast<uint32_t>(words.size()));
    if (!(why = abpBuildFirstLevel(itemsPath, data + "\\phonem_phon.abp", options)).empty())
        return why;
    if (!(why = WriteTable(data, "phonem_hdg", words)).empty())
        return why;
    DescriptorBase base{"PHONEM", "SVDATA", {{"HDG", "phonem_hdg", 0, 0}},
                        {{"PHON", "phonem_phon", static_cast<int>(words.size())}}};
    DescriptorMapping mapping;
    mapping.defaults = {{"direct", "PHON"}, {"opdef", "AND"}};
    mapping.op = ",ET,OU,SAUF,";
    mapping.sep = WithoutTilde(separators);
    mapping.forms = {{"SEARCH", 1, {}}};
    base.mapping = {mapping};
    spec->bases.push_back(base);
    return "";
}

namespace {

// Each field index: its id, its file, the question field of each half
// (numbered from 0: slot n of the pane is field n - 1) that searches it.
struct FieldIndex {
    const char* id;
    const char* file;
    int field;
};

const FieldIndex kFieldIndexes[] = {
    {"THEMES", "champ_themes", 5}, {"TITRES", "champ_titres", 9}, {"LEGENDES", "champ_legendes", 10},
    {"RESUMES", "champ_resumes", 11}};

}  // namespace

std::vector<std::string> WriteFieldIndexes(const std::string& work, const std::string& data, std::string* why) {
    std::vector<std::string> ids;
    AbpTreeOptions positions;
    positions.positions = true;
    positions.width = 32;
    for (const FieldIndex& f : kFieldIndexes) {
        std::string items = work + "\\" + f.file + ".txt", text;
        if (!LoadFile(items, &text) || text.empty())
            continue;
        *why = abpBuildFirstLevel(items, data + "\\" + f.file + ".abp", positions);
        if (!why->empty())
            return {};
        ids.push_back(f.id);
    }
    return ids;
}

void AddExpertBase(const std::string& titlesFile, const DescriptorMapping& textMapping, int documents,
                   const std::vector<std::string>& fieldIndexes, DescriptorSpec* spec) {
    DescriptorBase base{"EXPERT", "SVDATA", {{"HDGLIB", titlesFile, 0, 0}}, {{"MOTS", "mots", documents, "PROXW"}}};
    DescriptorMapping mapping = textMapping;
    DescriptorForm form{"SEARCH", kExpertFields, {{"thes", "N"}}};
    for (const FieldIndex& f : kFieldIndexes) {
        if (std::find(fieldIndexes.begin(), fieldIndexes.end(), f.id) == fieldIndexes.end())
            continue;
        base.indexes.push_back({f.id, f.file, documents, "PROXW"});
        for (int half : {0, kExpertFields / 2})
            form.own.push_back({f.field + half, {{"direct", f.id}}});
    }
    mapping.forms = {form};
    base.mapping = {mapping};
    spec->bases.push_back(base);
}

void AddChoiceTexts(std::map<std::string, std::vector<std::string>>* records) {
    (*records)["COM:AVSRC"] = {
        "Dans toute l'encyclop\xE9" "die#0\r\nDans les titres#1\r\nDans les l\xE9gendes#2\r\nDans les r\xE9sum\xE9s#3"};
    (*records)["GLB:THEMES"] = {
        "Dans tous les th\xE8mes#-1\r\nImages#image\r\nLogiciels#logiciel\r\nCommandes#commande\r\nFichiers#fichier"};
}
