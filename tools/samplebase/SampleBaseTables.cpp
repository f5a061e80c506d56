// The sample encyclopedia's application tables: the records its screens and
// tests read, the pictures and media documents after the articles, and the
// help and guide pages.
#include "tools/samplebase/SampleBaseInternal.h"

#include <windows.h>

#include <cstdlib>
#include <algorithm>
#include <cctype>

#include "app/data/AppBaseTables.h"
#include "search/writers/DescriptorWriter.h"
#include "search/writers/FileImage.h"
#include "tools/samplebase/SampleAdvanced.h"
#include "tools/samplebase/SampleChrono.h"
#include "tools/samplebase/SampleRightDock.h"
#include "tools/samplebase/SampleAuthors.h"
#include "tools/samplebase/SampleRooms.h"
#include "tools/samplebase/SampleThemes.h"
#include "tools/samplebase/SampleKeywords.h"
#include "tools/samplebase/SampleOutlines.h"

namespace {

SamplePicture Picture(const std::string& name, const std::string& dim, const std::string& caption,
                      const std::string& page) {
    SamplePicture p;
    p.name = name, p.dim = dim, p.caption = caption, p.page = page;
    return p;
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

}  // namespace

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

