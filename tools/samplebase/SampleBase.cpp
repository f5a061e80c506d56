// The sample encyclopedia: its files written through the base writers, and
// the walk that checks them.
#include "tools/samplebase/SampleBase.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <algorithm>
#include <cctype>
#include <map>
#include <set>

#include "app/data/AppBaseTables.h"
#include "base/procedural/Assoc.h"
#include "base/procedural/EngineTables.h"
#include "base/procedural/KyCodec.h"
#include "base/procedural/KyFilter.h"
#include "base/procedural/KyFile.h"
#include "search/engine/trees/KyAbp.h"
#include "search/engine/records/KyAccessor.h"
#include "search/engine/descriptor/KyParse.h"
#include "search/engine/descriptor/MkDoom.h"
#include "search/engine/descriptor/XkFilter.h"
#include "search/writers/AbpWriter.h"
#include "search/writers/CatWriter.h"
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
#include "tools/samplebase/SampleRooms.h"
#include "tools/samplebase/SampleThemes.h"
#include "tools/samplebase/SampleKeywords.h"
#include "tools/samplebase/SampleLinks.h"
#include "tools/samplebase/SampleOutlines.h"
#include "tools/samplebase/SampleReaderKeys.h"

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

std::string WriteTable(const std::string& data, const std::string& name, const std::vector<std::string>& records,
                       int mode) {
    TablePartFiles files;
    files.data = data + "\\" + name + ".fmt";
    files.catalogue = data + "\\" + name + ".of7";
    files.companion = data + "\\" + name + ".uf7";
    return WriteTablePart(files, records, mode, 0, {});
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
    std::vector<AbpKeyItem> keys;
    std::vector<std::string> records;
    std::string previous;
    int repeat = 0;
    for (const auto& e : entries) {
        std::string key = e.first.substr(0, 123);
        if (key.empty())
            key = "_";
        repeat = !keys.empty() && key == previous ? repeat + 1 : 0;
        previous = key;
        if (repeat > 999)
            continue;
        if (repeat) {
            char rank[8];
            std::snprintf(rank, sizeof rank, "\x01%03d", repeat);
            key += rank;
        }
        AbpKeyItem item;
        item.key = key;
        item.value = static_cast<int32_t>(keys.size());
        keys.push_back(item);
        records.push_back(e.second);
    }
    AbpTreeOptions options;
    options.occurrences = false;
    std::string why = AbpWriteTree(path + ".abp", keys, options);
    if (!why.empty())
        return why;
    TablePartFiles files{path + ".hdg", path + ".hd7", "", ""};
    return WriteTablePart(files, records, 0, 0, {});
}

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

// The figure documents numbered after the articles: two made-up ones, then
// the help pages' pictures.
const int kFigures = 2;

// One picture document of "pictures.txt" (written by corpus.py), a line:
//   name TAB width ":" height TAB caption TAB page title [TAB source file]
// The picture's file lies in the installation's "images" folder.
struct SamplePicture {
    std::string name, dim, caption, page;
    // A media document of "media.txt" (tools/sample/media.py) instead: its
    // base, document type and icon type, the file stored in its DOC record
    // and its VIDNAME and DCRNAME fields.
    std::string base = "FIG", type = "1", icon = "2", docFile, video, director;
};

SamplePicture Picture(const std::string& name, const std::string& dim, const std::string& caption,
                      const std::string& page) {
    SamplePicture p;
    p.name = name, p.dim = dim, p.caption = caption, p.page = page;
    return p;
}

// The pictures of the work folder's list; none when there is no list (the
// tests' small samples).
std::vector<SamplePicture> ReadPictures(const std::string& work) {
    std::vector<SamplePicture> out;
    std::string text;
    if (!LoadFile(work + "\\pictures.txt", &text))
        return out;
    for (const std::string& line : Lines(text)) {
        std::vector<std::string> f;
        for (size_t at = 0;;) {
            size_t tab = line.find('\t', at);
            f.push_back(line.substr(at, tab == std::string::npos ? std::string::npos : tab - at));
            if (tab == std::string::npos)
                break;
            at = tab + 1;
        }
        if (f.size() >= 4 && !f[0].empty() && f[1].find(':') != std::string::npos)
            out.push_back(Picture(f[0], f[1], f[2].empty() ? f[3] : f[2], f[3]));
    }
    // The video and Flash documents follow the pictures, a line:
    //   base TAB type TAB icon TAB record file TAB video TAB director TAB caption
    if (!LoadFile(work + "\\media.txt", &text))
        return out;
    for (const std::string& line : Lines(text)) {
        std::vector<std::string> f = Fields(line);
        if (f.size() < 7 || (f[0] != "VIDEOS" && f[0] != "MEDIA"))
            continue;
        SamplePicture media = Picture(f[4].empty() ? f[3] : f[4], "", f[6], f[6]);
        media.base = f[0], media.type = f[1], media.icon = f[2], media.video = f[4], media.director = f[5];
        media.docFile = f[3].empty() ? "" : work + "\\" + f[3];
        out.push_back(media);
    }
    return out;
}

std::string Lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// A 64 x 48 bitmap file (24-bit, rows bottom first, blue-green-red, each row
// padded to 4 bytes): a diagonal band over a background whose hue changes
// with variant.
//   "BM" size(4) 0(4) 54(4) | 40(4) w(4) h(4) 1(2) 24(2) 0(4) pixelBytes(4)
//   2835(4) 2835(4) 0(4) 0(4) | pixels
std::string ThumbnailBitmap(int variant) {
    const int w = 64, h = 48;  // 192 bytes a row: no padding
    auto word = [](uint32_t v, int bytes) {
        std::string out;
        for (int i = 0; i < bytes; ++i)
            out += static_cast<char>((v >> (8 * i)) & 0xFF);
        return out;
    };
    std::string pixels;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            bool band = std::abs(x - y - 8) < 6;
            pixels += static_cast<char>(band ? 250 : 120 + 60 * (variant % 2));
            pixels += static_cast<char>(band ? 230 : 80 + 3 * y);
            pixels += static_cast<char>(band ? 40 : 200 - 2 * x);
        }
    std::string info = word(40, 4) + word(w, 4) + word(h, 4) + word(1, 2) + word(24, 2) + word(0, 4) +
                       word(static_cast<uint32_t>(pixels.size()), 4) + word(2835, 4) + word(2835, 4) + word(0, 4) +
                       word(0, 4);
    return "BM" + word(static_cast<uint32_t>(14 + info.size() + pixels.size()), 4) + word(0, 4) + word(54, 4) + info +
           pixels;
}

// The help guides: file, title and the reading advice each gives.
struct GuidePage {
    const char* file;
    const char* title;
    const char* text;
};

const std::vector<GuidePage>& GuidePages() {
    static const std::vector<GuidePage> pages = {
        {"guide1.html", "Bienvenue dans Savantorium",
         "Ce guide pr\xE9sente les \xE9" "crans de l'encyclop\xE9" "die. Pour commencer, tapez un mot dans le champ de "
         "recherche puis validez."},
        {"guide2.html", "La recherche simple", "Tapez un mot dans le champ de recherche puis validez."},
        {"guide3.html", "La recherche avanc\xE9" "e", "Combinez plusieurs mots et choisissez les types de documents."},
        {"guide4.html", "L'index alphab\xE9tique", "Parcourez les titres de A \xE0 Z et ouvrez un article."},
        {"guide5.html", "Les th\xE8mes", "Descendez l'arbre des th\xE8mes jusqu'aux articles."},
        {"guide6.html", "La chronologie", "Faites d\xE9" "filer les \xE9v\xE9nements sur l'\xE9" "chelle du temps."},
        {"guide7.html", "Lire un article", "Le plan, les m\xE9" "dias et les liens accompagnent le texte."},
        {"guide8.html", "Les dossiers", "Rangez vos articles dans des dossiers et retrouvez-les."},
        {"guide9.html", "Les notes", "Ajoutez une note \xE0 un article et relisez-la plus tard."},
        {"guide10.html", "Imprimer et exporter", "Imprimez un article ou exportez-le en texte."},
        {"guide11.html", "Les compl\xE9ments en ligne", "Connectez-vous pour lire les compl\xE9ments du service."},
        {"guide12.html", "Les pr\xE9" "f\xE9rences", "R\xE9glez la taille du texte et l'historique."},
    };
    return pages;
}

// The records of the application's tables that the screens and the tests
// read; a table not named here gets one empty record.
//   GLB:HDGVECT   record n (1..6): filter set n: 1 the articles, 2 and 3 the
//                 figures, 4 the first figure, 5 the last one, 6 article 0
//   GLB:COPYRIGHT record n: the copyright text number n
//   FIG:COPYRIGHT record r: r characters, the number of its copyright text
//   HDFILES:CHRHDG record 0: 4 characters, so CHRONO:HDG record 3
//   GLB:DOCVIG    record n: the thumbnail of document n, a bitmap file for
//                 the figures, empty for the articles
//   AIDE:GUIDE    records 0 to 4: the guides of the simple and advanced
//                 searches, the A-to-Z index, the themes and the chronology,
//                 records 5 to 11: the other guide pages (GuidePages),
//                 record 12: a page that is missing
//   AUTEURS:NOMS, DOC, DOCLIST record 0: an author, her notice, articles 0 and 1
//   FIG records 2 and on: the pictures, their file in DOC, caption in TITLE
//                 and LEG, "w:h" in DIM and copyright text 4
//   VIDEOS, MEDIA records 0 and on: the videos and the Flash animations of
//                 "media.txt", their video and Director file names in
//                 VIDNAME and DCRNAME (under the data folder's "VIDEOS"
//                 and "DCR"), an animation's movie in DOC
std::map<std::string, std::vector<std::string>> SkeletonRecords(size_t articles, const std::string& images,
                                                                const std::vector<SamplePicture>& pictures) {
    size_t documents = articles + kFigures + pictures.size();
    std::string last = std::to_string(documents - 1);
    std::map<std::string, std::vector<std::string>> r;
    // The four tool-bar menus (search modes, rooms, tools, online), one entry
    // a line: " label#group index:line".
    r["COM:POPS"] = {
        " Recherche simple#0:1\n Recherche avanc\xE9" "e#0:2\n Index#0:3\n Th\xE8mes#0:4\n Chronologie#0:5",
        " Arts#1:1\n Sciences#1:2\n G\xE9ographie#1:3\n Histoire#1:4\n Litt\xE9rature#1:5\n Musique#1:6\n"
        " Sports#1:7\n Techniques#1:8\n Soci\xE9t\xE9#1:9\n Accueil en ligne#1:10",
        " Aide#2:1\n Assistance#2:2\n Dictionnaire#2:3\n Exporter#2:4\n Exporter la liste#2:5\n Imprimer#2:6\n"
        " Dossiers#2:7\n Pr\xE9" "f\xE9rences#2:8\n Chercher dans le texte#2:9\n Enregistrer le travail#2:10\n"
        " Ouvrir un travail#2:11",
        " Connexion#3:1\n Abonnement#3:2\n Compte#3:3\n Pr\xE9" "f\xE9rences#3:4\n Se connecter#3:5"};
    r["COM:AIDE"] = {"Aide"};
    // The sets as occurrence-list texts "count:maxDoc:d1,d2,...".
    auto set = [&](size_t from, size_t to) {
        std::string docs;
        for (size_t d = from; d < to; ++d)
            docs += (docs.empty() ? "" : ",") + std::to_string(d);
        return std::to_string(to - from) + ":" + last + ":" + docs;
    };
    r["GLB:HDGVECT"] = {"",
                        set(0, articles),
                        set(articles, documents),
                        set(articles, documents),
                        set(articles, articles + 1),
                        set(documents - 1, documents),
                        set(0, 1)};
    r["GLB:COPYRIGHT"] = {"Copyright 0", "Copyright 1", "Copyright 2", "Copyright 3",
                          "Illustration : documentation fran\xE7" "aise de GIMP (licence GFDL)"};
    r["LINKS:HDG"] = {"0:0:1:" + last + ":0"};
    r["CHRONO:HDG"] = {"a\t\t1\t1", "b\t\t2\t2", "c\t\t3\t3", "Premier \xE9v\xE9nement\tx\t1900\t12"};
    // A search screen shows the guide of its record (its left mode less one):
    // the simple search, the advanced search, the A-to-Z index, the themes,
    // the chronology; the other guides follow, then one whose page is missing.
    r["AIDE:GUIDE"] = {"guide1.html", "guide3.html", "guide4.html", "guide5.html", "guide6.html"};
    for (const GuidePage& page : GuidePages())
        if (std::find(r["AIDE:GUIDE"].begin(), r["AIDE:GUIDE"].end(), page.file) == r["AIDE:GUIDE"].end())
            r["AIDE:GUIDE"].push_back(page.file);
    r["AIDE:GUIDE"].push_back("absent.html");
    // One author: her name, a notice and her articles (the list's text form).
    r["AUTEURS:NOMS"] = {"Jeanne Martin"};
    r["AUTEURS:DOC"] = {"Volcanologue, auteure des articles sur la Terre et ses reliefs."};
    r["AUTEURS:DOCLIST"] = {"2:" + last + ":0,1"};
    r["FIG:DOC"] = {"", ""};
    r["FIG:EXT"] = {"fig0.jpg", "fig1.jpg"};
    r["FIG:TITLE"] = {"Figure sans droits", "Figure"};
    r["FIG:LEG"] = {"L\xE9gende 0", "L\xE9gende 1"};
    r["FIG:DIM"] = {"320:200", "640:480"};
    r["FIG:COPYRIGHT"] = {"", "abc"};
    for (const SamplePicture& picture : pictures) {
        std::string bytes;
        if (picture.base != "FIG") {
            // A media document: its record in its own base.
            if (!picture.docFile.empty())
                LoadFile(picture.docFile, &bytes);
            const std::string b = picture.base + ":";
            r[b + "DOC"].push_back(bytes);
            r[b + "EXT"].push_back(picture.name);
            r[b + "TITLE"].push_back(picture.caption);
            r[b + "LEG"].push_back(picture.caption);
            r[b + "VIDNAME"].push_back(picture.video);
            r[b + "DCRNAME"].push_back(picture.director);
            r[b + "COPYRIGHT"].push_back("abcd");
            if (picture.base == "MEDIA") {
                r[b + "DIM"].push_back("400:300");
                r[b + "APPNAME"].push_back("");
                r[b + "ININAME"].push_back("");
            }
            continue;
        }
        LoadFile(images + "\\" + picture.name, &bytes);
        r["FIG:DOC"].push_back(bytes);
        r["FIG:EXT"].push_back(picture.name);
        r["FIG:TITLE"].push_back(picture.caption);
        r["FIG:LEG"].push_back(picture.caption);
        r["FIG:DIM"].push_back(picture.dim);
        r["FIG:COPYRIGHT"].push_back("abcd");
    }
    for (const char* table : {"HDFILES:ALPHATRI", "HDFILES:NBMOTS", "HDFILES:ICONTYPE", "HDFILES:CHRHDG"}) {
        std::vector<std::string>& rows = r[table];
        rows.assign(documents, "");
        if (std::string(table) == "HDFILES:ICONTYPE")
            for (size_t n = 0; n < documents; ++n)
                rows[n] = n < articles ? "1" : n < articles + kFigures ? "8" : pictures[n - articles - kFigures].icon;
    }
    r["HDFILES:CHRHDG"][0] = "abcd";
    std::vector<std::string>& thumbnails = r["GLB:DOCVIG"];
    thumbnails.assign(documents, "");
    for (size_t n = articles; n < documents; ++n)
        thumbnails[n] = ThumbnailBitmap(static_cast<int>(n - articles));
    std::vector<std::string>& infoBase = r["HDFILES:INFOBASE"];
    for (size_t n = 0; n < documents; ++n)
        infoBase.push_back(n < articles ? "TEXT" : n < articles + kFigures ? "FIG" : pictures[n - articles - kFigures].base);
    for (const char* table : {"TEXT:STRUCT", "TEXT:STRUCTPOS", "TEXT:FORMULE", "TEXT:DECOUPE"})
        r[table].assign(articles, "");
    return r;
}

// Every table of the application's base tables (single disc and CD set)
// that the corpus does not fill (the chronology's come from its own
// folder), as a table "<base>_<table>" of the data
// folder and an entry of the descriptor ("COM" for the first entry).
std::string WriteSkeleton(const std::string& work, const std::string& data, const std::vector<std::string>& titles,
                          const SampleRightDock& dock, const SampleOutlines& outlines,
                          const std::map<std::string, std::vector<std::string>>& extra,
                          const std::vector<SampleAuthor>& authors, const unsigned char* keyTable, DescriptorSpec* spec) {
    size_t articles = titles.size();
    std::vector<SamplePicture> pictures = ReadPictures(work);
    std::map<std::string, std::vector<std::string>> records =
        SkeletonRecords(articles, data + "\\..\\images", pictures);
    for (const auto& table : extra)
        records[table.first] = table.second;
    const size_t documents = articles + kFigures + pictures.size();
    AddRightDockRecords(dock, documents, &records);
    AddSampleOutlineRecords(outlines, &records);
    // LINKS:HDG keeps its first record; the keywords' lists follow it.
    for (auto& entry : SampleKeywordRecords(titles, documents)) {
        std::vector<std::string>& rows = records[entry.first];
        rows.insert(rows.end(), entry.second.begin(), entry.second.end());
    }
    AddChoiceTexts(&records);
    // The rooms' lists follow the keywords' in LINKS:HDG.
    std::vector<SampleRoom> rooms = PlanSampleRooms(titles);
    std::vector<std::pair<std::string, long>> media;
    for (size_t i = 0; i < pictures.size(); ++i)
        media.push_back({pictures[i].base, static_cast<long>(articles + kFigures + i)});
    AddSampleMediaEntries(media, &rooms);
    AddSampleRoomRecords(rooms, documents, &records);
    for (const auto& key : SampleRoomKeys(rooms))
        spec->userStrings.push_back(key);
    // The themes' lists follow the rooms' in LINKS:HDG, the authors' the themes'.
    std::string why = ReadSampleThemes(work, documents, &records);
    if (!why.empty())
        return why;
    why = WriteLexicon(AddSampleAuthorRecords(authors, documents, keyTable, &records), data + "\\auteur");
    if (!why.empty())
        return why;
    spec->lexicons.push_back({"AUTEUR", "auteur", "CLEAZ"});
    spec->userStrings.push_back({"AUTEUR", "AUTEUR"});
    why = ReadChronology(work, &records);
    if (why.empty())
        why = ReadEphemeris(work, &records);
    if (!why.empty())
        return why;
    // On 21 March, the first video of the media documents: its picture opens it.
    auto video = std::find_if(media.begin(), media.end(), [](const auto& m) { return m.first == "VIDEOS"; });
    if (video != media.end() && records["EPHEMERIDE:HDG"].size() == 372) {
        why = AddMediaEphemerisEvent(kMediaEventDay, video->second,
                                     "\xC0 la m\xE9" "diath\xE8que, une vid\xE9o et son commentaire sonore : "
                                     "l'image ouvre la vid\xE9o.",
                                     &records);
        if (!why.empty())
            return why;
    }
    std::vector<const BaseDescriptor*> entries;
    for (const BaseDescriptor* table : {SingleDiscBaseTable(), CDSetBaseTable()})
        for (const BaseDescriptor* entry = table; entry->tableList; ++entry)
            entries.push_back(entry);
    for (const BaseDescriptor* entry : entries) {
        std::string list = entry->tableList;
        for (size_t at = 0; at < list.size();) {
            size_t comma = list.find(',', at);
            std::string item = list.substr(at, comma == std::string::npos ? std::string::npos : comma - at);
            at = comma == std::string::npos ? list.size() : comma + 1;
            std::string base = item.substr(0, item.find(':')), table = item.substr(item.find(':') + 1);
            auto found = std::find_if(spec->bases.begin(), spec->bases.end(),
                                      [&](const DescriptorBase& b) { return b.id == base; });
            if (found == spec->bases.end()) {
                spec->bases.push_back(DescriptorBase{base, "SVDATA", {}, {}});
                found = spec->bases.end() - 1;
            }
            if (std::any_of(found->data.begin(), found->data.end(),
                            [&](const DescriptorData& d) { return d.id == table; }))
                continue;
            std::string file = Lower(base) + "_" + Lower(table);
            auto rows = records.find(item);
            const std::vector<std::string> empty{""};
            if (!(why = WriteTable(data, file, rows == records.end() ? empty : rows->second, 0)).empty())
                return why;
            found->data.push_back({table, file, 0, 0});
        }
    }
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

// The help, assistance and guide pages the configuration names.
std::string WriteHelpPages(const std::string& out) {
    const std::string guides = out + "\\aide\\guide\\guides HTML";
    for (const std::string& folder : {out + "\\aide", out + "\\aide\\guide", guides, out + "\\assist", out + "\\web"})
        CreateDirectoryA(folder.c_str(), nullptr);
    std::vector<std::pair<std::string, std::string>> pages = {
        {out + "\\aide\\aide.html", "<html><body>Aide</body></html>\r\n"},
        {out + "\\assist\\assist.html", "<html><body>Assistance</body></html>\r\n"},
        // The service's start page as the disc keeps it ("ACCUEIL_WEB_LOCAL"), shown offline.
        {out + "\\web\\accueil.html",
         "<html><head><title>Savantorium en ligne</title></head>\r\n<body style=\"font-family:sans-serif\">\r\n"
         "<h2>Savantorium en ligne</h2>\r\n<p>Connectez-vous pour lire les compl\xE9ments en ligne de "
         "l'encyclop\xE9" "die.</p>\r\n</body></html>\r\n"},
    };
    // Each guide page links to the next one, the last to the first.
    const std::vector<GuidePage>& guidePages = GuidePages();
    for (size_t n = 0; n < guidePages.size(); ++n) {
        const GuidePage& page = guidePages[n];
        std::string next = guidePages[(n + 1) % guidePages.size()].file;
        pages.push_back({guides + "\\" + page.file,
                         std::string("<html><head><title>") + page.title +
                             "</title></head>\r\n<body style=\"font-family:sans-serif;background:#f7f3e8\">\r\n"
                             "<h2 style=\"color:#5a3c14\">" + page.title + "</h2>\r\n<p>" + page.text +
                             "</p>\r\n<p><a href=\"" + next + "\">Page suivante</a></p>\r\n</body></html>\r\n"});
    }
    std::string why;
    for (const auto& page : pages)
        if (!(why = SaveFileReplacing(page.first, page.second)).empty())
            return why;
    return "";
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

namespace {

std::string PathOf(const KY_OpenSpec& spec) {
    return spec.path.text ? spec.path.text : "";
}

// The delta width of PHONEM's index: that of its HDG table's record count.
int PhonemIndexWidth(const KyMountedBase* base) {
    const KyMountedData* d = static_cast<const KyMountedData*>(KY_FindAssoc(base->data, "HDG")->value);
    std::vector<int32_t> starts, lengths;
    if (!CatCheck(PathOf(d->catalogue), &starts, &lengths).empty())
        return 32;
    return abpWidthOf(static_cast<uint32_t>(lengths.size()));
}

void CheckTable(const KyMountedBase* base, const char* name, SampleCheckReport* report) {
    auto fail = [&](const std::string& what) {
        report->errors.push_back(std::string(base->name) + ":" + name + ": " + what);
    };
    const KyMountedData* d = static_cast<const KyMountedData*>(KY_FindAssoc(base->data, name)->value);
    std::vector<int32_t> starts, lengths, stored;
    std::string why = CatCheck(PathOf(d->catalogue), &starts, &lengths);
    if (!why.empty())
        return fail(PathOf(d->catalogue) + ": " + why);
    std::string bytes;
    if (!LoadFile(PathOf(d->data), &bytes))
        return fail("cannot read " + PathOf(d->data));
    const std::vector<int32_t>* located = &lengths;
    if (d->compression) {
        if (!(why = CatCheck(PathOf(d->companion), nullptr, &stored)).empty())
            return fail(PathOf(d->companion) + ": " + why);
        if (stored.size() != lengths.size())
            return fail("the two catalogues count different records");
        located = &stored;
    }
    int64_t total = 0;
    for (int32_t length : *located)
        total += length;
    if (total != static_cast<int64_t>(bytes.size()))
        return fail("catalogued lengths " + std::to_string(total) + " against a data file of " +
                    std::to_string(bytes.size()) + " bytes");
    KyTable* table = nullptr;
    if (KyOpenTable(base, name, &table))
        return fail(std::string("cannot open: ") + KY_EngineErrorText);
    std::vector<uint8_t> buffer;
    for (size_t n = 0; n < lengths.size(); ++n) {
        int32_t start = 0, length = 0, got = 0;
        int code = KyRecordExtent(table, static_cast<int32_t>(n), &start, &length);
        if (!code) {
            buffer.resize(static_cast<size_t>(length) + 1);
            code = KyReadRecord(table, static_cast<int32_t>(n), buffer.data(), length, &got);
        }
        if (code || got != length) {
            fail("record " + std::to_string(n) + ": code " + std::to_string(code) + " " + KY_EngineErrorText);
            break;
        }
        ++report->records;
    }
    KyCloseTable(&table);
}

void CheckTree(const std::string& path, int width, SampleCheckReport* report) {
    AbpCheckStats stats;
    std::string why = AbpCheckTree(path, width, &stats);
    if (!why.empty())
        report->errors.push_back(path + ": " + why);
    report->keys += stats.keys;
    report->occurrences += stats.occurrences;
}

// Every "BASE:TABLE" of the application's two base tables is mounted.
void CheckAppTables(const KyMount* mount, SampleCheckReport* report) {
    for (const BaseDescriptor* table : {SingleDiscBaseTable(), CDSetBaseTable()}) {
        for (const BaseDescriptor* entry = table; entry->tableList; ++entry) {
            std::string list = std::string(entry->tableList) + ",";
            for (size_t at = 0, comma; (comma = list.find(',', at)) != std::string::npos; at = comma + 1) {
                std::string item = list.substr(at, comma - at);
                std::string base = item.substr(0, item.find(':')), name = item.substr(item.find(':') + 1);
                KY_AssocEntry* found = KY_FindAssoc(mount->bases, base.c_str());
                const KyMountedBase* mounted = found ? static_cast<const KyMountedBase*>(found->value) : nullptr;
                if (!mounted || !mounted->data || !KY_FindAssoc(mounted->data, name.c_str()))
                    report->errors.push_back("the application's table " + item + " is not in the descriptor");
            }
        }
    }
}

// "KY" pictures: the 14-byte file header, the 40-byte info header, then a PNG
// stream that must expand to exactly the rows the header announces.
void CheckPicture(const std::string& path, SampleCheckReport* report) {
    std::string bytes;
    auto fail = [&](const std::string& what) { report->errors.push_back(path + ": " + what); };
    if (!LoadFile(path, &bytes) || bytes.size() < 14)
        return fail("unreadable or shorter than a file header");
    ++report->images;
    if (bytes.compare(6, 4, "JFIF") == 0)
        return;
    if (bytes.compare(0, 2, "KY") != 0 || bytes.size() < 54)
        return fail("neither a JFIF picture nor a \"KY\" bitmap");
    int32_t width = static_cast<int32_t>(GetWord(bytes, 18)), height = static_cast<int32_t>(GetWord(bytes, 22));
    if (GetWord(bytes, 14) != 40 || width <= 0 || height <= 0 || (GetWord(bytes, 28) & 0xFFFF) != 24)
        return fail("not a 24-bit bitmap header");
    const int32_t expected = ((width * 3 + 3) & ~3) * height;
    std::vector<uint8_t> rows(static_cast<size_t>(expected) + 4);
    KY_Codec codec{};
    KY_CodecSetMode(&codec, 5);
    int32_t got = static_cast<int32_t>(rows.size());
    int code = 0;
    try {
        code = KY_CodecExpandMemStart(&codec, reinterpret_cast<const uint8_t*>(bytes.data()) + 54,
                                      static_cast<int32_t>(bytes.size() - 54), rows.data(), &got, 0, 0);
    } catch (const std::exception&) {
        code = -1;
    } catch (...) {
        code = -1;
    }
    KY_CodecAbandon(&codec);
    if (code != kCodecDone || got != expected)
        fail("rows expand to " + std::to_string(got) + " bytes, not " + std::to_string(expected));
}

}  // namespace

SampleCheckReport CheckSample(const std::string& out, const std::string& keys) {
    SampleCheckReport report;
    char previous[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, previous);
    // The data path is relative to the folder the reader runs in.
    if (!SetCurrentDirectoryA(out.c_str())) {
        report.errors.push_back(out + ": no such folder");
        return report;
    }
    KY_OpenSpec spec;
    KY_ClearOpenSpec(&spec);
    KY_MakeOpenSpecIn(KY_GetGlobalFileSys(), (out + "\\sv.sgm").c_str(), nullptr, 0, 0, 0, 0, &spec);
    KyDescriptor* desc = nullptr;
    KyMount* mount = nullptr;
    if (KY_ParseDescriptor(&spec, &desc)) {
        report.errors.push_back(out + "\\sv.sgm: " + KY_EngineErrorText);
    } else if (!(mount = KY_NewMount(nullptr, nullptr)) || CpCommon(desc, mount)) {
        report.errors.push_back(out + "\\sv.sgm: mounting: " + KY_EngineErrorText);
    } else {
        for (int32_t b = 0; b < mount->bases->count; ++b) {
            const KyMountedBase* base = static_cast<const KyMountedBase*>(mount->bases->entries[b].value);
            for (int32_t d = 0; d < base->dataCount; ++d)
                CheckTable(base, base->dataNames[d], &report);
            if (!std::strcmp(base->name, "CHRONO"))
                CheckChronology(base, &report);
            // The phonetic index has no positions: its deltas are as wide as its record count needs.
            const int width = std::strcmp(base->name, "PHONEM") ? 32 : PhonemIndexWidth(base);
            for (int32_t i = 0; base->indexes && i < base->indexes->count; ++i) {
                const KyMountedIndex* index = static_cast<const KyMountedIndex*>(base->indexes->entries[i].value);
                CheckTree(PathOf(index->files[0]), width, &report);
            }
        }
        CheckAppTables(mount, &report);
        if (!keys.empty())
            CheckReaderKeys(mount, keys, &report);
        for (int32_t t = 0; mount->thes && t < mount->thes->count; ++t) {
            const KyMountedThes* thes = static_cast<const KyMountedThes*>(mount->thes->entries[t].value);
            std::string tree = PathOf(thes->file);
            CheckTree(tree, 32, &report);
            std::string dct;
            if (!LoadFile(tree.substr(0, tree.size() - 3) + "dct", &dct))
                report.errors.push_back(tree + ": no \".dct\" beside it");
        }
    }
    if (mount)
        KY_FreeMount(mount);
    else if (desc)
        KY_FreeDescriptor(desc);
    KY_FreeOpenSpec(&spec);
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((out + "\\images\\*").c_str(), &found);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            // Names beginning with a dot are the build's stamps, not pictures.
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && found.cFileName[0] != '.')
                CheckPicture(out + "\\images\\" + found.cFileName, &report);
        } while (FindNextFileA(h, &found));
        FindClose(h);
    }
    SetCurrentDirectoryA(previous);
    return report;
}
