// The sample atlas: the records of the maps base ("CARTES"), the place
// lexicon "TOPO" and the map-name index, read from what tools/sample/atlas.py
// writes into the corpus folder's "atlas" (its formats are drawn there).
//
// Map k is document firstDoc + k; "@k" in the texts stands for it. Records:
//   CARTES:DOC      the map's movie       CARTES:PREVIEW  its preview movie
//   CARTES:TITLE    its title             CARTES:DIM      "w:h"
//   CARTES:FS       the map-name index's targets, in key order
//   CARTES:VECTEUR  the places of the map, "p1,p2,..."
//   CARTES:EXT, LEG, COPYRIGHT   empty
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

struct SampleAtlas {
    std::vector<std::string> titles;  // one per map
    // (filtered key, "name#locator") of the place lexicon, in key order.
    std::vector<std::pair<std::string, std::string>> places;
    // ("place_doc", target) of the map-name index, in key order.
    std::vector<std::pair<std::string, std::string>> targets;
    std::string countriesPage;  // the countries page, HTML
};

// Reads the atlas when the corpus has one ("atlas\maps.txt"); adds the
// CARTES records to `records`. Without one the atlas stays empty and "" is
// answered; a damaged file answers why.
std::string ReadAtlas(const std::string& work, long firstDoc, SampleAtlas* atlas,
                      std::map<std::string, std::vector<std::string>>* records);

struct DescriptorSpec;

// Writes the atlas's lexicons into data ("topo", keys through the filter
// resource "CLETOPO" compiled from the corpus's key table `chars`;
// "cartesfs", keys as they are) and the countries page into
// out\salles\hg_lespays.html, and registers the lexicons and the filter in
// the descriptor. Nothing for an empty atlas.
std::string WriteAtlas(const SampleAtlas& atlas, const std::string& chars, const std::string& data,
                       const std::string& out, DescriptorSpec* spec);
