// The sample encyclopedia: its files written through the base writers. The
// application's tables and help pages are in SampleBaseTables.cpp, the walk
// that checks a built folder in SampleBaseCheck.cpp.
#include "tools/samplebase/SampleBase.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <map>
#include <set>

#include "base/procedural/KyFilter.h"
#include "search/engine/descriptor/XkFilter.h"
#include "search/writers/AbpWriter.h"
#include "search/writers/DescriptorWriter.h"
#include "search/writers/FileImage.h"
#include "search/writers/TableWriter.h"
#include "search/writers/TextFileWriters.h"
#include "search/writers/ThesWriter.h"
#include "tools/samplebase/SampleAdvanced.h"
#include "tools/samplebase/SampleAtlas.h"
#include "tools/samplebase/SampleChrono.h"
#include "tools/samplebase/SampleRightDock.h"
#include "tools/samplebase/SampleAuthors.h"
#include "tools/samplebase/SampleKeywords.h"
#include "tools/samplebase/SampleLinks.h"
#include "tools/samplebase/SampleOutlines.h"
#include "tools/samplebase/SampleReaderKeys.h"
#include "tools/samplebase/SampleBaseInternal.h"

namespace {

// LZSS: LZW sets up its dictionary banks for each record, which cost 89 s for
// the 23,700 articles under Wine against 6 s here; LZSS also expands fastest.
const int kTextMode = 3;

struct Article {
    std::string title, ext, markup;
};

void Say(void (*progress)(const char*), const std::string& line) {
    if (progress)
        progress(line.c_str());
}

// articles.dat: for each article a header line "n TAB title length TAB ext
// length TAB markup length LF", then the title, ext and markup bytes.
std::string ReadArticles(const std::string& path, std::vector<Article>* articles) {
    std::string bytes;
    if (!LoadFile(path, &bytes))
        return "cannot read " + path;
    size_t at = 0;
    while (at < bytes.size()) {
        size_t nl = bytes.find('\n', at);
        if (nl == std::string::npos)
            return path + ": header without line end at byte " + std::to_string(at);
        std::vector<std::string> f = Fields(bytes.substr(at, nl - at));
        if (f.size() != 4 || std::atol(f[0].c_str()) != static_cast<long>(articles->size()))
            return path + ": bad header at byte " + std::to_string(at);
        size_t lengths[3];
        for (int i = 0; i < 3; ++i)
            lengths[i] = std::strtoul(f[i + 1].c_str(), nullptr, 10);
        at = nl + 1;
        if (lengths[0] + lengths[1] + lengths[2] > bytes.size() - at)
            return path + ": article " + f[0] + " runs past the end";
        Article a;
        a.title = bytes.substr(at, lengths[0]);
        a.ext = bytes.substr(at + lengths[0], lengths[1]);
        a.markup = bytes.substr(at + lengths[0] + lengths[1], lengths[2]);
        at += lengths[0] + lengths[1] + lengths[2];
        articles->push_back(std::move(a));
    }
    return "";
}

}  // namespace

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    return lines;
}

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    size_t at = 0;
    for (;;) {
        size_t tab = line.find('\t', at);
        fields.push_back(line.substr(at, tab == std::string::npos ? std::string::npos : tab - at));
        if (tab == std::string::npos)
            return fields;
        at = tab + 1;
    }
}

std::string WriteTable(const std::string& data, const std::string& name, const std::vector<std::string>& records,
                       int mode) {
    TablePartFiles files;
    files.data = data + "\\" + name + ".fmt";
    files.catalogue = data + "\\" + name + ".of7";
    files.companion = data + "\\" + name + ".uf7";
    return WriteTablePart(files, records, mode, 0, {});
}

std::string WriteKeyedRecords(const std::vector<std::pair<std::string, std::string>>& rows, const std::string& path) {
    std::vector<AbpKeyItem> keys;
    std::vector<std::string> records;
    for (const auto& r : rows) {
        AbpKeyItem item;
        item.key = r.first;
        item.value = static_cast<int32_t>(keys.size());
        keys.push_back(item);
        records.push_back(r.second);
    }
    AbpTreeOptions options;
    options.occurrences = false;
    std::string why = AbpWriteTree(path + ".abp", keys, options);
    if (!why.empty())
        return why;
    TablePartFiles files{path + ".hdg", path + ".hd7", "", ""};
    return WriteTablePart(files, records, 0, 0, {});
}

// A lexicon: the key tree (values: the keys' ranks) and one record per key,
// in key order, "name#key" (see app/lines/ASVLexLineGetter.h):
//   <file>.abp  keys -> rank;  <file>.hdg  records;  <file>.hd7  their catalogue
// entries: (filtered key, record); keys are made unique with byte 1 and a rank.
std::string WriteLexicon(std::vector<std::pair<std::string, std::string>> entries, const std::string& path) {
    std::stable_sort(entries.begin(), entries.end(),
                     [](const std::pair<std::string, std::string>& a, const std::pair<std::string, std::string>& b) {
                         return a.first < b.first;
                     });
    std::vector<std::pair<std::string, std::string>> rows;
    std::string previous;
    int repeat = 0;
    for (const auto& e : entries) {
        std::string key = e.first.substr(0, 123);
        if (key.empty())
            key = "_";
        repeat = !rows.empty() && key == previous ? repeat + 1 : 0;
        previous = key;
        if (repeat > 999)
            continue;
        if (repeat) {
            char rank[8];
            std::snprintf(rank, sizeof rank, "\x01%03d", repeat);
            key += rank;
        }
        rows.emplace_back(key, e.second);
    }
    return WriteKeyedRecords(rows, path);
}

namespace {

// The A-to-Z lexicon from the corpus's keys ("key TAB document" lines, keys
// filtered and unique): each record the document's heading and number.
std::string WriteAzLexicon(const std::string& items, const std::vector<std::string>& headings, const std::string& path) {
    std::string text;
    if (!LoadFile(items, &text))
        return "cannot read " + items;
    std::vector<std::pair<std::string, std::string>> entries;
    for (const std::string& line : Lines(text)) {
        size_t tab = line.rfind('\t');
        if (tab == std::string::npos)
            return items + ": line without value";
        long doc = std::atol(line.c_str() + tab + 1);
        std::string title = doc >= 0 && static_cast<size_t>(doc) < headings.size() ? headings[doc] : "";
        for (char& c : title)
            if (c == '#' || c == '\r' || c == '\n')
                c = ' ';
        entries.push_back({line.substr(0, tab), title + "#" + std::to_string(doc)});
    }
    return WriteLexicon(entries, path);
}

std::string WriteThes(const std::string& items, const std::string& base, const std::string& filter) {
    std::string text;
    if (!LoadFile(items, &text))
        return "cannot read " + items;
    std::vector<ThesRelation> relations;
    for (const std::string& line : Lines(text)) {
        std::vector<std::string> f = Fields(line);
        if (f.size() != 3)
            return items + ": line without three fields";
        relations.push_back({f[0], std::atoi(f[1].c_str()), f[2]});
        // A criterion expands its terms through their generic terms (TG) only:
        // a synonym is written as one too, or the thesaurus form reaches none.
        if (relations.back().relation == 3)
            relations.push_back({f[0], 2, f[2]});
    }
    return WriteThesaurus(base, filter, relations);
}

// The 256 entries of the key filter, one number a line.
std::string LoadCharTable(const std::string& items, unsigned char* table) {
    std::string text;
    if (!LoadFile(items, &text))
        return "cannot read " + items;
    std::vector<std::string> lines = Lines(text);
    if (lines.size() != 256)
        return items + ": not 256 lines";
    for (int i = 0; i < 256; ++i)
        table[i] = static_cast<unsigned char>(std::atoi(lines[i].c_str()));
    return "";
}

std::string WriteChars(const std::string& items, const std::string& path, unsigned char* table) {
    std::string why = LoadCharTable(items, table);
    return why.empty() ? WriteCharTable(path, table) : why;
}

// A byte-for-byte table as a compiled filter (the key filter through which
// the lexicons' lookups go, the upper-case filter of the highlights).
std::string WriteCompiledFilter(const unsigned char* table, const std::string& path) {
    KY_Filter* filter = KY_FilterNewIdentity(table);
    int code = filter ? EXK_WriteFilter(filter, path.c_str()) : 110;
    if (filter)
        KY_FilterRelease(filter);
    return code ? path + ": cannot write the filter (" + std::to_string(code) + ")" : "";
}

DescriptorSpec Descriptor(int documents, const std::string& separators) {
    DescriptorSpec spec;
    spec.paths = {{"SVDATA", "rel", "_APPLIPATH_", "data"}};
    spec.resourcePath = "SVDATA";
    spec.resources = {
        {"flt", "MOTSCLES", "motscles", ""}, {"filter", "HILITEMAJ", "majuscules", ""}, {"filter", "CLEAZ", "cleaz", ""},
        {"stp", "STOPFR", "stopfr", ""},
        {"thes", "THESFR", "thesfr", "MOTSCLES"}};
    spec.files = {{"MAJ", "SVDATA", "majuscules.rck"}};
    // The A-to-Z index as the panes open it: its keys, and one "title#document" record each.
    spec.lexicons = {{"IDXAZ", "idxaz", "CLEAZ"}};
    DescriptorBase text{"TEXT",
                        "SVDATA",
                        {{"DOC", "doc", kTextMode, 0}, {"EXT", "ext", 0, 0}, {"TITLE", "title", 0, 0}},
                        {{"MOTS", "mots", documents, "PROXW"}, {"IDXAZ", "idxaz", documents}}};
    DescriptorMapping mapping;
    // A field without a lexicon takes a quoted phrase as one key; the placeholder
    // lexicon makes it the phrase's words joined by proximity operators.
    mapping.defaults = {
        {"direct", "MOTS"}, {"prox", "Y"}, {"thes", "Y"}, {"opdef", "AND"}, {"lexsec", "_FORCESECTOPROX_"}};
    mapping.formDefaults = {{"thes", "THESFR"}, {"stp", "STOPFR"}, {"stpflt", "MOTSCLES"}, {"keyflt", "MOTSCLES"}};
    // Each word list starts with its own separator.
    mapping.op = ",ET,OU,SAUF,";
    mapping.proxop = ",PRES,CHAMP,PARAG,";
    mapping.sep = separators;
    // RECH searches the words as typed (a thesaurus field cannot truncate);
    // RECHTHES widens each word by its thesaurus relations; SEARCH is the
    // reader's own full-text channel, as RECH.
    mapping.forms = {{"RECH", 1, {{"thes", "N"}}}, {"RECHTHES", 1, {}}, {"SEARCH", 1, {{"thes", "N"}}}};
    text.mapping = {mapping};
    DescriptorBase info{"HDFILES", "SVDATA", {{"HDGLIB", "hdglib", 0, 0}, {"HDGINFO", "hdginfo", 0, 0}}, {}};
    spec.bases = {text, info};
    spec.keys = {{"VERSION", "1.0"}};
    spec.userStrings = {{"IDXAZ", "IDXAZ"},
                        {"TITRE", "Savantorium, encyclopedie d'exemple"},
                        {"PREFFILE", "svver.txt"},
                        {"HTMLAIDEMAIN", "aide.html"},
                        {"HTMLASSIST", "assist.html"},
                        {"WSALLE_ART_TITLE", "Salle des arts"},
                        {"WSALLE_MUSIQUE_TITLE", "Salle de musique"},
                        {"WSALLE_MUS_CHRONO_TITLE", "Chronologie musicale"},
                        {"WSALLE_MUS_GENEAL_TITLE", "G\xE9n\xE9" "alogie musicale"},
                        {"WSALLE_SCIENCE_TITLE", "Salle des sciences"},
                        {"WSALLE_MARS_TITLE", "Mars"},
                        // The stand-in movies and page templates of tools/sample/movies.py.
                        {"HTMLEMPTY", "modeles/vide.html"},
                        {"HTMLFLASH100WIN", "modeles/flash100.html"},
                        {"HTMLFLASHSALLEWIN", "modeles/flashsalle.html"},
                        {"HTMLFLASHMEDIAWIN", "modeles/flashmedia.html"},
                        {"HTMLDCRMEDIAWIN", "modeles/dcrmedia.html"},
                        {"DCRLAUNCHERWIN", "modeles/dcrlauncher.html"},
                        {"HTMLFLASHACCUEILWIN", "modeles/flashaccueil.html"},
                        {"SALLE_ACCUEIL", "accueil.swf"},
                        {"ACCUEIL_W", "1024"},
                        {"ACCUEIL_H", "768"},
                        {"SALLE_ACCUEIL_W", "800"},
                        {"SALLE_ACCUEIL_H", "500"},
                        {"SALLE_ART", "salle_art.swf"},
                        {"SALLE_BIBLIO", "salle_biblio.swf"},
                        {"SALLE_INIT", "salle_ini.swf"},
                        {"SALLE_HISTGEO", "salle_histgeo.swf"},
                        {"SALLE_MEDIATHEQUE", "salle_mediatheque.swf"},
                        {"SALLE_MUSIQUE", "salle_musique.swf"},
                        {"SALLE_MUS_CHRONO", "salle_musique.swf"},
                        {"SALLE_MUS_GENEAL", "salle_musique.swf"},
                        {"SALLE_SCIENCE", "salle_science.swf"},
                        {"SALLE_MARS", "salle_science.swf"},
                        {"SALLE_SPORT", "salle_sport.swf"},
                        {"SALLE_AUTEURS", "salle_auteurs.swf"},
                        {"ATLAS_SCALES", "50,150,200,300,400,600"},
                        {"IMAGE_SCALES", "25,50,75,100,150,200,300,400"},
                        {"FLASH_SCALES", "50,100,150,200,300"}};
    for (const auto& readerText : SampleReaderTexts())
        spec.userStrings.push_back(readerText);
    return spec;
}

// The reader's installation files (section "settings"): a hard-disk
// installation whose data folder is the installation folder itself, and the
// network file a network installation would read.
std::string WriteInstallFiles(const std::string& out) {
    const std::pair<const char*, const char*> files[] = {
        {"sv.ini",
         "[settings]\r\nWorkPath=\r\nInstallReseau=0\r\nInstallType=HD\r\nInstallCD=0\r\n"
         "CDVolume=SAVANTORIUM\r\nHdDataPath=.\r\nNetLog=0\r\n"},
        {"install.ini", "[settings]\r\nInstallType=RESEAU\r\nInstallCD=0\r\n"},
    };
    std::string why;
    for (const auto& f : files)
        if (!(why = SaveFileReplacing(out + "\\" + f.first, f.second)).empty())
            return why;
    return "";
}

// The dictionary our dictionary library answers from, when the corpus has
// one (work\dico: "dictionnaire.txt" and "lexique.txt", written by
// tools/sample/dico.py): copied into the folder "dico", which the path DICO
// names, with the keys that name the files and the library (which
// tools/sample/build.sh puts there), and the lexicon "DICO" of its headwords
// (records "word#word", keys through the key filter table). Without one
// nothing is written.
std::string WriteDictionary(const std::string& work, const std::string& out, const std::string& data,
                            const unsigned char* table, DescriptorSpec* spec) {
    const char* files[] = {"dictionnaire.txt", "lexique.txt"};
    std::string text;
    if (!LoadFile(work + "\\dico\\" + files[0], &text))
        return "";
    CreateDirectoryA((out + "\\dico").c_str(), nullptr);
    std::string why;
    for (const char* f : files) {
        if (!LoadFile(work + "\\dico\\" + f, &text))
            return std::string("cannot read dico\\") + f;
        if (!(why = SaveFileReplacing(out + "\\dico\\" + f, text)).empty())
            return why;
    }
    spec->paths.push_back({"DICO", "rel", "_APPLIPATH_", "dico"});
    spec->userStrings.push_back({"DICO_DLL", "lexical.dll"});
    spec->userStrings.push_back({"DICO_DICTIONNAIRE", files[0]});
    spec->userStrings.push_back({"DICO_LEXIQUE", files[1]});
    if (!LoadFile(work + "\\dico\\" + files[0], &text))
        return "cannot read dico\\dictionnaire.txt";
    std::vector<std::pair<std::string, std::string>> words;
    std::set<std::string> seen;
    for (const std::string& line : Lines(text)) {
        size_t tab = line.find('\t');
        if (line.empty() || line[0] == '#' || tab == std::string::npos || tab == 0)
            continue;
        std::string word = line.substr(0, tab), key;
        if (word.find('#') != std::string::npos)
            continue;
        for (char c : word)
            key += static_cast<char>(table[static_cast<unsigned char>(c)]);
        // The library answers a word whatever its case: one row for all its spellings.
        if (seen.insert(key).second)
            words.push_back({key, word + "#" + word});
    }
    if (!(why = WriteLexicon(words, data + "\\dico")).empty())
        return why;
    spec->lexicons.push_back({"DICO", "dico", "CLEAZ"});
    return "";
}

// The upper-case filter "majuscules.rck" (compiled): Windows-1252 lower-case
// letters to their capitals, every other byte to itself.
std::string WriteUpperFilter(const std::string& path) {
    unsigned char table[256];
    for (int b = 0; b < 256; ++b) {
        bool lower = (b >= 'a' && b <= 'z') || (b >= 0xE0 && b <= 0xFE && b != 0xF7);
        table[b] = static_cast<unsigned char>(lower ? b - 32 : b);
    }
    return WriteCompiledFilter(table, path);
}

}  // namespace

std::string BuildSample(const std::string& work, const std::string& out, void (*progress)(const char* line)) {
    const std::string data = out + "\\data";
    CreateDirectoryA(out.c_str(), nullptr);
    CreateDirectoryA(data.c_str(), nullptr);
    std::vector<Article> articles;
    std::string why = ReadArticles(work + "\\articles.dat", &articles);
    if (!why.empty())
        return why;
    Say(progress, "tables: " + std::to_string(articles.size()) + " articles");
    std::vector<std::string> docs, titles, sources;
    for (size_t n = 0; n < articles.size(); ++n) {
        docs.push_back(articles[n].markup);
        titles.push_back(articles[n].title);
        sources.push_back(articles[n].ext);
    }
    // The authors are read from the pages as written; then their names and the pages' sections become links.
    const std::vector<SampleAuthor> authors = PlanSampleAuthors(titles, sources, docs);
    const size_t authorLinks = AddSampleAuthorLinks(authors, &docs);
    const size_t sectionLines = AddSampleSectionLinks(sources, &docs);
    Say(progress, "links: " + std::to_string(authorLinks) + " to authors, section buttons in " +
                      std::to_string(sectionLines) + " articles");
    // The flags, set and theme numbers and EXT fields the right dock reads.
    const std::vector<SamplePicture> pictures = ReadPictures(work);
    SampleRightDock dock = PlanRightDock(titles, sources, docs, articles.size() + kFigures + pictures.size());
    std::vector<std::string> exts = dock.exts, infos = dock.infos;
    // The outlines and time strips the article view reads; flags 9 and 11 in infos.
    SampleOutlines outlines =
        PlanSampleOutlines(docs, out + "\\images", articles.size() + kFigures + pictures.size(), &infos);
    Say(progress, "outlines: " + std::to_string(std::count_if(outlines.maps.begin(), outlines.maps.end(),
                                                              [](const std::string& m) { return !m.empty(); })) +
                      " articles, time strips: " + std::to_string(outlines.strips.size()));
    // The figure documents follow the articles in the document tables only.
    std::vector<std::string> headings = titles;
    std::map<std::string, long> mediaRecords;  // the next record of each media base
    for (size_t n = 0; n < kFigures + pictures.size(); ++n) {
        headings.push_back(n < kFigures ? "Figure " + std::to_string(n) : pictures[n - kFigures].caption);
        const SamplePicture* media = n >= kFigures && pictures[n - kFigures].base != "FIG" ? &pictures[n - kFigures] : nullptr;
        infos.push_back(media ? "000000000000000\t" + media->type + "\t" + std::to_string(mediaRecords[media->base]) +
                                    "\t0\t0\t" + media->base + ":" + std::to_string(mediaRecords[media->base]) + "\t0\t"
                              : "000000000000000\t1\t" + std::to_string(n) + "\t0\t0\tFIG:" + std::to_string(n) + "\t0\t");
        if (media)
            ++mediaRecords[media->base];
    }
    // Key 12: every figure has a caption (FIG:LEG), which the right dock shows.
    for (size_t n = titles.size(); n < infos.size(); ++n)
        infos[n][12] = '1';
    // The atlas's maps, when the corpus has them, follow the figures and pictures.
    SampleAtlas atlas;
    std::map<std::string, std::vector<std::string>> atlasRecords;
    if (!(why = ReadAtlas(work, static_cast<long>(articles.size() + kFigures + pictures.size()), &atlas,
                          &atlasRecords)).empty())
        return why;
    for (size_t k = 0; k < atlas.titles.size(); ++k) {
        headings.push_back(atlas.titles[k]);
        infos.push_back("000000000000000\t2\t" + std::to_string(k) + "\t0\t0\tCARTES:" + std::to_string(k) + "\t0\t");
    }
    const std::pair<const char*, const std::vector<std::string>*> tables[] = {
        {"ext", &exts}, {"title", &titles}, {"hdglib", &headings}, {"hdginfo", &infos}};
    if (!(why = WriteTable(data, "doc", docs, kTextMode)).empty())
        return why;
    Say(progress, "tables: compressed articles written");
    for (const auto& t : tables)
        if (!(why = WriteTable(data, t.first, *t.second, 0)).empty())
            return why;
    Say(progress, "word index");
    AbpTreeOptions positions;
    positions.positions = true;
    positions.width = 32;
    if (!(why = abpBuildFirstLevel(work + "\\words.txt", data + "\\mots.abp", positions)).empty())
        return why;
    Say(progress, "A-to-Z index, thesaurus, character table, stop list");
    if (!(why = WriteAzLexicon(work + "\\az.txt", headings, data + "\\idxaz")).empty())
        return why;
    if (!(why = WriteThes(work + "\\thesaurus.txt", data + "\\thesfr", "motscles")).empty())
        return why;
    unsigned char keyTable[256];
    if (!(why = WriteChars(work + "\\chars.txt", data + "\\motscles.flt", keyTable)).empty() ||
        !(why = WriteCompiledFilter(keyTable, data + "\\cleaz.rck")).empty())
        return why;
    std::string stops;
    if (!LoadFile(work + "\\stop.txt", &stops))
        return "cannot read stop.txt";
    if (!(why = WriteStopList(data + "\\stopfr.stp", Lines(stops))).empty())
        return why;
    std::string separators;
    if (!LoadFile(work + "\\separators.txt", &separators))
        return "cannot read separators.txt";
    Say(progress, "descriptors and installation files");
    // One pair per kind of installation: hard disk, CD set, network.
    DescriptorSpec spec = Descriptor(static_cast<int>(articles.size()), separators);
    Say(progress, "sound-alike base and advanced search base");
    if (!(why = WritePhonemBase(work, data, separators, &spec)).empty())
        return why;
    const std::vector<std::string> fieldIndexes = WriteFieldIndexes(work, data, &why);
    if (!why.empty())
        return why;
    AddExpertBase("title", spec.bases[0].mapping[0], static_cast<int>(articles.size()), fieldIndexes, &spec);
    Say(progress, "the application's other tables and the help pages");
    if (!(why = WriteChronoKeywords(work, data, "HILITEMAJ", &spec.resources)).empty() ||
        !(why = WriteKeywordIndex(titles, keyTable, separators, spec.bases[0].mapping[0], work, data, &spec)).empty())
        return why;
    if (!(why = WriteSkeleton(work, data, titles, dock, outlines, atlasRecords, authors, keyTable, &spec)).empty() ||
        !(why = WriteHelpPages(out)).empty() ||
        !(why = WriteAtlas(atlas, work + "\\chars.txt", data, out, &spec)).empty() ||
        !(why = WriteUpperFilter(data + "\\majuscules.rck")).empty() || !(why = WriteDictionary(work, out, data, keyTable, &spec)).empty())
        return why;
    for (const char* pair : {"sv", "svcd", "svres"})
        if (!(why = WriteDescriptor(out + "\\" + pair + ".sgm", spec)).empty())
            return why;
    return WriteInstallFiles(out);
}

