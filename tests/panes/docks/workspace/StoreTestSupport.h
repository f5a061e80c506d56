// Helpers of the workspace tests: canonical descriptions of the two stores
// and random stores, shared by the store tests and the saving child process.
#pragma once

#include <random>
#include <string>

class ADossierManager;
class ANoteManager;

// "current=P" then, per dossier in order, "[name|kind:ref:tag:tagValue|...]".
std::string Describe(const ADossierManager& dossiers);
// "id=text;" per note, then "doc:markers;" per document.
std::string Describe(ANoteManager& notes);

// Replaces the store's contents with random dossiers (names, tags with bytes
// 0x20-0xFF) and elements, without saving.
void FillRandom(ADossierManager& dossiers, std::mt19937& random);
// Replaces the store's notes and markers with random notes (bytes 0x01-0xFF,
// CR LF inside) and markers on many documents, without saving.
void FillRandom(ANoteManager& notes, std::mt19937& random);

// Fills the store with its next random version and saves it (the saving
// child's step, and the test's to know every version it writes).
void SaveNextVersion(ADossierManager& dossiers, std::mt19937& random);
void SaveNextVersion(ANoteManager& notes, std::mt19937& random);
