// What the sample gives the nine rooms: their titles and tab numbers in the
// configuration, and the rooms base (data base 8) with its room texts and
// the links records that their index entries name.
//
// Rooms base tables written (every text a list of "label#value" lines, CR LF):
//   SALLEONGLET record r  room r + 1's tabs, "TAB#type:source:record:extra"
//   CONTENU record n      a room text: popup levels or index entries
//   FS record 0           "page#room:TAB" for each room movie page
//   DOC record r          room r + 1's title; URL: one empty record
// By tab type, the record (1148) and the texts it leads to:
//   A  record -> "group#R2" lines; R2 -> "Tout#Ridx"; Ridx -> index entries
//   D  record -> "group#Ridx" lines
//   B, E  record = Ridx of the tab's single group
//   C  record = the links record of the tab's first entry
//   G  six chained texts "label#next record", the sixth "entry#links record"
//   P  record -1, extra = the document shown; I  record -1 (an online page)
// Index entries are "label#0:b", b the LINKS:HDG record of the entry's
// documents, written as the lists read it: "count:maxDoc:d1,d2,...".
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

struct SampleRoomEntry {
    std::string label;
    std::vector<long> docs;  // the documents of its links record, in order
};

struct SampleRoomTab {
    std::string name;  // configuration key suffix, unique over the rooms
    char type;         // 'A'-'E', 'G', 'P', 'I'
    int source;        // 0 disc, 1 disc and online, 2 online
    std::string page;  // the room movie page that opens it, "" for none
    std::vector<std::pair<std::string, std::vector<SampleRoomEntry>>> groups;
};

struct SampleRoom {
    std::string titleKey, title;
    std::vector<SampleRoomTab> tabs;
};

// The nine rooms over the articles' titles (each entry lists the articles
// whose title holds its word, else two fixed ones).
std::vector<SampleRoom> PlanSampleRooms(const std::vector<std::string>& titles);
// The media documents, (base, document) in document order, listed by the
// Médiathèque's pictures tab after its own entries: "Photographies" (FIG),
// "Vid\xE9os" (VIDEOS) and "Animations" (MEDIA), each of up to six documents.
void AddSampleMediaEntries(const std::vector<std::pair<std::string, long>>& media, std::vector<SampleRoom>* rooms);
// Writes the rooms base's tables and appends the entries' lists to "LINKS:HDG";
// documents: the number of documents (the lists' maximum is documents - 1).
void AddSampleRoomRecords(const std::vector<SampleRoom>& rooms, size_t documents,
                          std::map<std::string, std::vector<std::string>>* records);
// The titles and "SALLE_ONGLET_<TAB>" tab numbers.
std::vector<std::pair<std::string, std::string>> SampleRoomKeys(const std::vector<SampleRoom>& rooms);
