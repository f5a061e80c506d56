// The search part of a navigation state: the query, the full-text and index
// result lists, the label of the index entry searched and the online result
// files. Shared by counted references; the history keeps each one once,
// under its search key, and the navigation states name it by that key.
//
// Text form (marked lines, see MarkedLines.h):
//   <!--ASVLoSearchState-->
//   the ASearchState part's lines
//   <!--fQuery-->text  <!--fIndexQuery-->text  <!--fNetSearch-->
//   the online result files: AStringContainer's form
//   <!--fLoFull-->0|1     when 1: <!--fLoFullPath-->path of the "ft*" list file
//   <!--fLoIdxSV-->0|1    when 1: <!--fLoIdxSVPath-->path of the "sv*" list file
// The lists are saved to their files the first time the state is written.
// Bad text raises AStateFormatError, damaged list files ASearchError, file
// failures AFileSpecError or AFileError; the state then holds no list read.
#pragma once

#include <cstdint>

#include "app/state/ASearchState.h"
#include "app/state/AStringContainer.h"
#include "base/object/AFileSpec.h"

class ALoFile;
class ALoScore;
class ASVLoSearchState;

// The history's table of search states by key (the history manager).
class ASearchStateTable {
public:
    virtual ~ASearchStateTable() = default;
    // The state registered under key, or null.
    virtual ASVLoSearchState* findSearchState(long key) = 0;
    // False, registering nothing, when the key is held already.
    virtual bool registerSearchState(long key, ASVLoSearchState* state) = 0;
    virtual void unregisterSearchState(long key) = 0;
};

// The application's history table, or null (no registration).
extern ASearchStateTable* gSearchStateTable;

class ASVLoSearchState : public ASearchState {
public:
    // A key no search state made or read so far holds.
    ASVLoSearchState();
    explicit ASVLoSearchState(long key);
    ~ASVLoSearchState() override;

    long getSearchKey() const { return searchKey; }
    // Attaches a list (a reference is taken, the old one released); a list
    // clears the online-search flag.
    void setTextResults(ALoScore* list);
    void setIndexResults(ALoFile* list);
    ALoScore* getTextResults() const { return fLoFull; }
    ALoFile* getIndexResults() const { return fLoIdxSV; }
    void setQuery(const char* text) { fQuery = AString(text); }
    const AString& getQuery() const { return fQuery; }
    // The label without its style codes ("/@" four characters "/").
    void setDisplayQuery(const char* text);
    const AString& getDisplayQuery() const { return fIndexQuery; }
    // The words of both lists, one a line, full-text words first.
    AString getHighlightWords() const;
    AString getListName() const;
    AString getNetFile(long entry) const { return netFiles.get(entry); }
    // Records the online result file (a name in folder) of an index entry,
    // to be deleted with the state and, through the lists' temporary-file
    // hook, at the next start.
    void setNetFile(long entry, const char* name, const AFileSpec& folder);
    int16_t isNetSearch() const { return fNetSearch; }
    void setNetSearch(int16_t on) { fNetSearch = on; }
    const AFileSpec& textListPath() const { return fLoFullPath; }
    const AFileSpec& indexListPath() const { return fLoIdxSVPath; }

    // Saves the lists into new files of folder the first time (keep: the
    // lists go on reading their own files).
    void writeTo(AFileStream& stream, const AFileSpec& folder, int16_t keep);
    // With copy (or, for the index list, before the lists were ever saved)
    // and a folder, the list files are copied into folder first.
    void readFrom(AFileStream& stream, int16_t copy, const AFileSpec& folder);

private:
    void registerKey();
    AFileSpec saveList(class ALo* list, const char* prefix, const AFileSpec& folder, int16_t keep);
    // The list file to read (a registered temporary copy when copy is set);
    // stored takes the path the text names.
    AFileSpec readPath(AFileStream& stream, const char* marker, bool copy, const char* prefix,
                       const AFileSpec& folder, AFileSpec* stored);

    int16_t listsSaved = 0;
    AFileSpec fLoFullPath;
    AFileSpec fLoIdxSVPath;
    int16_t fNetSearch = 0;
    ALoScore* fLoFull = nullptr;  // one reference held, or null
    ALoFile* fLoIdxSV = nullptr;  // one reference held, or null
    AString fQuery;
    AString fIndexQuery;
    AStringContainer netFiles;  // index entry -> file name in the folder
    AFileSpec netFolder;        // where the online result files lie
    long searchKey;
};
