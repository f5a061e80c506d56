// Reading the sample atlas's work files.
#include "tools/samplebase/SampleAtlas.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>

#include "base/procedural/KyFilter.h"
#include "search/engine/descriptor/XkFilter.h"
#include "search/writers/AbpWriter.h"
#include "search/writers/DescriptorWriter.h"
#include "search/writers/FileImage.h"
#include "search/writers/TableWriter.h"
#include "tools/samplebase/SampleBaseInternal.h"

namespace {

std::vector<std::string> SplitAt(const std::string& text, char separator) {
    std::vector<std::string> out;
    size_t at = 0;
    while (at <= text.size()) {
        size_t end = text.find(separator, at);
        if (end == std::string::npos)
            end = text.size();
        out.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    return out;
}

// The lines of a text, without CR and without the empty last line.
std::vector<std::string> TextLines(const std::string& text) {
    std::vector<std::string> lines = SplitAt(text, '\n');
    if (!lines.empty() && lines.back().empty())
        lines.pop_back();
    for (std::string& line : lines)
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
    return lines;
}

// "@k" becomes document firstDoc + k for k below maps; false for another k.
bool Resolve(std::string& text, long firstDoc, size_t maps) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '@') {
            out += text[i];
            continue;
        }
        char* end = nullptr;
        long k = std::strtol(text.c_str() + i + 1, &end, 10);
        if (end == text.c_str() + i + 1 || k < 0 || static_cast<size_t>(k) >= maps)
            return false;
        out += std::to_string(firstDoc + k);
        i = static_cast<size_t>(end - text.c_str()) - 1;
    }
    text = out;
    return true;
}

// "key TAB text" lines, "@k" resolved, sorted by key.
std::string KeyedLines(const std::string& path, long firstDoc, size_t maps,
                       std::vector<std::pair<std::string, std::string>>* out) {
    std::string text;
    if (!LoadFile(path, &text))
        return "cannot read " + path;
    for (const std::string& line : TextLines(text)) {
        size_t tab = line.find('\t');
        if (tab == std::string::npos)
            return path + ": line without key";
        std::string key = line.substr(0, tab), value = line.substr(tab + 1);
        if (!Resolve(key, firstDoc, maps) || !Resolve(value, firstDoc, maps))
            return path + ": unknown map in \"" + line + "\"";
        out->push_back({key, value});
    }
    std::stable_sort(out->begin(), out->end(),
                     [](const std::pair<std::string, std::string>& a, const std::pair<std::string, std::string>& b) {
                         return a.first < b.first;
                     });
    return "";
}

// A lexicon of unique keys in key order: <path>.abp (key -> rank), and the
// records, one per key, in <path>.hdg with their catalogue <path>.hd7.
std::string WriteLexiconFiles(const std::vector<std::pair<std::string, std::string>>& entries, const std::string& path) {
    for (size_t i = 1; i < entries.size(); ++i)
        if (!(entries[i - 1].first < entries[i].first))
            return path + ": key \"" + entries[i].first + "\" out of order or repeated";
    return WriteKeyedRecords(entries, path);
}

// The corpus's key table (256 lines, byte n's key byte) as a compiled filter.
std::string WriteKeyTable(const std::string& chars, const std::string& path) {
    std::string text;
    if (!LoadFile(chars, &text))
        return "cannot read " + chars;
    std::vector<std::string> lines = TextLines(text);
    if (lines.size() != 256)
        return chars + ": not 256 lines";
    unsigned char table[256];
    for (int i = 0; i < 256; ++i)
        table[i] = static_cast<unsigned char>(std::atoi(lines[i].c_str()));
    KY_Filter* filter = KY_FilterNewIdentity(table);
    int code = filter ? EXK_WriteFilter(filter, path.c_str()) : 110;
    if (filter)
        KY_FilterRelease(filter);
    return code ? path + ": cannot write the filter (" + std::to_string(code) + ")" : "";
}

}  // namespace

std::string WriteAtlas(const SampleAtlas& atlas, const std::string& chars, const std::string& data,
                       const std::string& out, DescriptorSpec* spec) {
    if (atlas.titles.empty())
        return "";
    std::string why = WriteKeyTable(chars, data + "\\cletopo.rck");
    if (why.empty())
        why = WriteLexiconFiles(atlas.places, data + "\\topo");
    if (why.empty())
        why = WriteLexiconFiles(atlas.targets, data + "\\cartesfs");
    if (!why.empty())
        return why;
    spec->resources.push_back({"filter", "CLETOPO", "cletopo", ""});
    spec->lexicons.push_back({"TOPO", "topo", "CLETOPO"});
    spec->lexicons.push_back({"CARTESFS", "cartesfs", ""});
    CreateDirectoryA((out + "\\salles").c_str(), nullptr);
    return SaveFileReplacing(out + "\\salles\\hg_lespays.html", atlas.countriesPage);
}

std::string ReadAtlas(const std::string& work, long firstDoc, SampleAtlas* atlas,
                      std::map<std::string, std::vector<std::string>>* records) {
    const std::string folder = work + "\\atlas\\";
    std::string text;
    if (!LoadFile(folder + "maps.txt", &text))
        return "";
    std::vector<std::string> maps = TextLines(text);
    std::vector<std::string>& doc = (*records)["CARTES:DOC"];
    std::vector<std::string>& preview = (*records)["CARTES:PREVIEW"];
    std::vector<std::string>& dim = (*records)["CARTES:DIM"];
    for (size_t k = 0; k < maps.size(); ++k) {
        std::vector<std::string> f = SplitAt(maps[k], '\t');
        if (f.size() != 4 || std::atol(f[0].c_str()) != static_cast<long>(k))
            return folder + "maps.txt: line " + std::to_string(k + 1) + " is not \"k TAB title TAB w TAB h\"";
        atlas->titles.push_back(f[1]);
        dim.push_back(f[2] + ":" + f[3]);
        std::string movie, small;
        if (!LoadFile(folder + "map" + f[0] + ".swf", &movie) || !LoadFile(folder + "prev" + f[0] + ".swf", &small))
            return folder + ": map " + f[0] + " lacks its movies";
        doc.push_back(movie);
        preview.push_back(small);
    }
    (*records)["CARTES:TITLE"] = atlas->titles;
    for (const char* table : {"CARTES:EXT", "CARTES:LEG", "CARTES:COPYRIGHT"})
        (*records)[table].assign(maps.size(), "");
    if (!LoadFile(folder + "vecteur.txt", &text))
        return "cannot read " + folder + "vecteur.txt";
    (*records)["CARTES:VECTEUR"] = TextLines(text);
    if ((*records)["CARTES:VECTEUR"].size() != maps.size())
        return folder + "vecteur.txt: not one line per map";
    std::string why = KeyedLines(folder + "topo.txt", firstDoc, maps.size(), &atlas->places);
    if (why.empty())
        why = KeyedLines(folder + "fs.txt", firstDoc, maps.size(), &atlas->targets);
    if (!why.empty())
        return why;
    std::vector<std::string>& fs = (*records)["CARTES:FS"];
    for (const auto& target : atlas->targets)
        fs.push_back(target.second);
    if (!LoadFile(folder + "pays.html", &atlas->countriesPage))
        return "cannot read " + folder + "pays.html";
    return "";
}
