// The sample's rooms: their plan from the articles' titles and the rooms base's records.
#include "tools/samplebase/SampleRooms.h"

#include <algorithm>

namespace {

struct EntrySpec {
    const char* label;
    const char* word;  // lower case, Windows-1252
};

struct GroupSpec {
    const char* label;
    std::vector<EntrySpec> entries;
};

struct TabSpec {
    const char* name;
    char type;
    int source;
    const char* page;
    std::vector<GroupSpec> groups;
};

struct RoomSpec {
    const char* titleKey;
    const char* title;
    std::vector<TabSpec> tabs;
};

const std::vector<RoomSpec>& Specs() {
    static const std::vector<RoomSpec> specs = {
        {"SALLE_ART_TITLE", "Salle des arts",
         {{"VISITES", 'A', 0, "art_visites",
           {{"Peinture", {{"Pinceaux", "pinceau"}, {"Couleurs", "couleur"}}},
            {"Retouche", {{"Calques", "calque"}, {"Filtres", "filtre"}}}}},
          {"PEINTURE", 'A', 1, "art_peinture", {{"Dessin", {{"Outils de peinture", "outil"}, {"Gommes", "gomme"}}}}},
          {"RETOUCHE", 'D', 0, "", {{"S\xE9lections", {{"S\xE9lections", "s\xE9lection"}, {"Transformations", "transform"}}}}}}},
        {"SALLE_BIBLIO_TITLE", "Biblioth\xE8que",
         {{"GUIDE", 'B', 0, "bib_guide", {{"Guide", {{"Textes", "texte"}, {"Tableaux", "tableau"}, {"Styles", "style"}}}}},
          {"CLASSEURS", 'B', 1, "", {{"Classeurs", {{"Cellules", "cellule"}, {"Formules", "formule"}}}}}}},
        {"SALLE_INIT_TITLE", "Initiation",
         {{"MINI", 'C', 0, "ini_mini", {{"Fichiers", {{"Fichiers", "fichier"}}}}}, {"MANUEL", 'P', 0, "", {}}}},
        {"SALLE_HISTGEO_TITLE", "Histoire et g\xE9ographie",
         {{"GEOCHRONO", 'D', 1, "hg_geochrono", {{"Temps", {{"Dates", "date"}, {"Heures", "heure"}}}}},
          // The atlas's countries button opens the countries page: the maps tab.
          {"CARTES", 'A', 2, "hg_lespays", {{"Images", {{"Formats", "format"}}}}}}},
        {"SALLE_MEDIATHEQUE_TITLE", "M\xE9" "diath\xE8que",
         {{"ENTRETIENS", 'A', 0, "med_entretiens",
           {{"Diaporamas", {{"Pr\xE9sentations", "pr\xE9sentation"}, {"Diapositives", "diapositive"}}}}},
          {"IMAGES", 'B', 0, "med_images", {{"Images", {{"Images", "image"}, {"Impression", "impr"}}}}}}},
        {"SALLE_MUSIQUE_TITLE", "Salle de musique",
         {{"HISTOIRE", 'D', 0, "mus_histoire", {{"Sons", {{"Sons", "son"}, {"M\xE9" "dias", "m\xE9" "dia"}}}}},
          {"GENEALOGIE", 'G', 0, "mus_genealogie", {{"Commandes", {{"Commandes", "commande"}, {"Options", "option"}}}}}}},
        {"SALLE_SCIENCE_TITLE", "Salle des sciences",
         {{"MARS", 'A', 0, "sci_mars", {{"Calcul", {{"Fonctions", "fonction"}, {"Nombres", "nombre"}}}}},
          {"COMMANDES", 'D', 0, "",
           {{"Syst\xE8me", {{"Processus", "processus"}, {"R\xE9seau", "r\xE9seau"}, {"Utilisateurs", "utilisateur"}}}}}}},
        {"SALLE_SPORT_TITLE", "Sport",
         {{"JEUX", 'E', 0, "sport_jeux", {{"Jeux", {{"Jeux", "jeu"}}}}}, {"EN_LIGNE", 'I', 2, "", {}}}},
        {"SALLE_AUTEURS_TITLE", "Auteurs",
         {{"PORTRAITS", 'E', 0, "aut_portraits", {{"Auteurs", {{"Auteurs", "auteur"}}}}},
          {"TEXTES", 'A', 0, "", {{"\xC9" "criture", {{"Polices", "police"}, {"Paragraphes", "paragraphe"}}}}}}},
    };
    return specs;
}

std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

const size_t kMostDocs = 6;

// "label#value" lines joined by CR LF.
std::string Lines(const std::vector<std::pair<std::string, std::string>>& lines) {
    std::string text;
    for (const auto& l : lines)
        text += l.first + "#" + l.second + "\r\n";
    return text;
}

}  // namespace

std::vector<SampleRoom> PlanSampleRooms(const std::vector<std::string>& titles) {
    std::vector<SampleRoom> rooms;
    long fallback = 0;
    const long articles = static_cast<long>(titles.size());
    for (const RoomSpec& spec : Specs()) {
        SampleRoom room{spec.titleKey, spec.title, {}};
        for (const TabSpec& t : spec.tabs) {
            SampleRoomTab tab{t.name, t.type, t.source, t.page, {}};
            for (const GroupSpec& g : t.groups) {
                std::vector<SampleRoomEntry> entries;
                for (const EntrySpec& e : g.entries) {
                    SampleRoomEntry entry{e.label, {}};
                    for (long n = 0; n < articles && entry.docs.size() < kMostDocs; ++n)
                        if (Lower(titles[static_cast<size_t>(n)]).find(e.word) != std::string::npos)
                            entry.docs.push_back(n);
                    if (entry.docs.empty() && articles > 0) {
                        entry.docs.push_back(fallback % articles);
                        if ((fallback + 1) % articles != fallback % articles)
                            entry.docs.push_back((fallback + 1) % articles);
                        std::sort(entry.docs.begin(), entry.docs.end());
                        fallback += 2;
                    }
                    entries.push_back(entry);
                }
                tab.groups.push_back({g.label, entries});
            }
            room.tabs.push_back(tab);
        }
        rooms.push_back(room);
    }
    return rooms;
}

void AddSampleMediaEntries(const std::vector<std::pair<std::string, long>>& media, std::vector<SampleRoom>* rooms) {
    for (SampleRoom& room : *rooms) {
        if (room.titleKey != "SALLE_MEDIATHEQUE_TITLE")
            continue;
        for (SampleRoomTab& tab : room.tabs) {
            if (tab.name != "IMAGES" || tab.groups.empty())
                continue;
            const std::pair<const char*, const char*> kinds[] = {
                {"FIG", "Photographies"}, {"VIDEOS", "Vid\xE9os"}, {"MEDIA", "Animations"}};
            for (const auto& kind : kinds) {
                SampleRoomEntry entry{kind.second, {}};
                for (const auto& m : media)
                    if (m.first == kind.first && entry.docs.size() < kMostDocs)
                        entry.docs.push_back(m.second);
                if (!entry.docs.empty())
                    tab.groups[0].second.push_back(entry);
            }
        }
    }
}

void AddSampleRoomRecords(const std::vector<SampleRoom>& rooms, size_t documents,
                          std::map<std::string, std::vector<std::string>>* records) {
    std::vector<std::string>& links = (*records)["LINKS:HDG"];
    std::vector<std::string>& content = (*records)["SALLES:CONTENU"];
    std::vector<std::string>& tabsTable = (*records)["SALLES:SALLEONGLET"];
    std::vector<std::string>& docTable = (*records)["SALLES:DOC"];
    content.clear();
    tabsTable.clear();
    docTable.clear();
    const std::string last = std::to_string(documents > 0 ? documents - 1 : 0);
    auto addText = [&](const std::string& text) {
        content.push_back(text);
        return static_cast<long>(content.size() - 1);
    };
    auto addList = [&](const std::vector<long>& docs) {
        std::string list;
        for (long d : docs)
            list += (list.empty() ? "" : ",") + std::to_string(d);
        links.push_back(std::to_string(docs.size()) + ":" + last + ":" + list);
        return static_cast<long>(links.size() - 1);
    };
    auto addIndex = [&](const std::vector<SampleRoomEntry>& entries) {
        std::vector<std::pair<std::string, std::string>> lines;
        for (const SampleRoomEntry& e : entries)
            lines.push_back({e.label, "0:" + std::to_string(addList(e.docs))});
        return addText(Lines(lines));
    };
    std::vector<std::pair<std::string, std::string>> pages;
    for (size_t r = 0; r < rooms.size(); ++r) {
        std::vector<std::pair<std::string, std::string>> tabLines;
        for (const SampleRoomTab& tab : rooms[r].tabs) {
            long record = -1, extra = 0;
            std::vector<std::pair<std::string, std::string>> top;
            switch (tab.type) {
            case 'A':
                for (const auto& g : tab.groups)
                    top.push_back({g.first, std::to_string(addText(Lines({{"Tout", std::to_string(addIndex(g.second))}})))});
                record = addText(Lines(top));
                break;
            case 'D':
                for (const auto& g : tab.groups)
                    top.push_back({g.first, std::to_string(addIndex(g.second))});
                record = addText(Lines(top));
                break;
            case 'B':
            case 'E':
                record = addIndex(tab.groups.at(0).second);
                break;
            case 'C':
                record = addList(tab.groups.at(0).second.at(0).docs);
                break;
            case 'G': {
                // Six chained records: each line of a level names the record
                // of the next; the deepest lines name the entries' links.
                std::vector<std::pair<std::string, std::string>> deepest;
                for (const SampleRoomEntry& e : tab.groups.at(0).second)
                    deepest.push_back({e.label, "0:" + std::to_string(addList(e.docs))});
                long next = addText(Lines(deepest));
                for (int level = 5; level >= 1; --level) {
                    const std::string name = tab.groups.at(0).first + " " + std::to_string(level);
                    next = addText(Lines({{name, std::to_string(next)}, {name + " (suite)", std::to_string(next)}}));
                }
                record = next;
                break;
            }
            default:
                break;
            }
            tabLines.push_back({tab.name, std::string(1, tab.type) + ":" + std::to_string(tab.source) + ":" +
                                              std::to_string(record) + ":" + std::to_string(extra)});
            if (!tab.page.empty())
                pages.push_back({tab.page, std::to_string(r) + ":" + tab.name});
        }
        tabsTable.push_back(Lines(tabLines));
        docTable.push_back(rooms[r].title);
    }
    (*records)["SALLES:FS"] = {Lines(pages)};
    (*records)["SALLES:URL"] = {""};
}

std::vector<std::pair<std::string, std::string>> SampleRoomKeys(const std::vector<SampleRoom>& rooms) {
    std::vector<std::pair<std::string, std::string>> keys;
    for (const SampleRoom& room : rooms) {
        keys.push_back({room.titleKey, room.title});
        for (size_t t = 0; t < room.tabs.size(); ++t)
            keys.push_back({"SALLE_ONGLET_" + room.tabs[t].name, std::to_string(t + 1)});
    }
    return keys;
}
