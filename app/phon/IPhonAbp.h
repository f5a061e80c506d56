// The application's sound-alike proposals: the phonetic matcher's spellings
// of a word, kept as they are or checked against a data base whose records
// hold the words (one search joining the spellings with " OU "), and the
// form the reader chose among them.
//
// Owns its result strings and its chosen text. The data manager is
// gDataManager's (not owned); a missing search channel for the checked base
// is an assertion ("PhonemPane"). Engine failures pass through.
#pragma once

#include <cstdint>
#include <string>

#include "base/object/ALongDic.h"
#include "search/facade/IPhon.h"

class ASearchRequest;

class IPhonAbp : public IPhon {
public:
    // checkFlag 1: keep only the spellings base checkBase holds, table checkTable giving the word.
    IPhonAbp(int16_t checkFlag, int16_t checkBase, int16_t checkTable);
    ~IPhonAbp() override;

    // Replaces the results by the proposals for word; answers their count.
    long search(const char* word);
    long getResultCount() { return results.count(); }
    // Keys 0 .. count - 1 in the order found; owned by this object.
    const AStringLongDic& getResults() const { return results; }
    AString getChosenText() const { return chosenText; }
    void setChosenText(const char* text) { chosenText = AString(text ? text : ""); }
    AString getWord() const { return word; }
    void clear();
    // True when the word, trimmed of blanks at both ends, still holds one.
    static bool hasInnerBlank(const char* word);
    // Runs question 1 of base index's channel; the request (the channel's), or null without one.
    ASearchRequest* runQuery(int16_t baseIndex, const char* question);
    // The request only when it found documents.
    ASearchRequest* runCheckQuery(const char* question, int16_t baseIndex);

    // The application's instance (not owned), or null.
    static IPhonAbp* application();
    static void setApplication(IPhonAbp* phon);

protected:
    // Tests give the matcher's stand-in.
    IPhonAbp(CandidateSource source, int16_t checkFlag, int16_t checkBase, int16_t checkTable);

public:
    // The most readings one check question joins (the matcher may give 5000).
    static const long kMaxCheckCandidates = 200;

private:
    // The readings the check question joins, in key order: all of them, or
    // the matcher's best kMaxCheckCandidates when there are more.
    std::string checkQuestion(const char* word);

    void addResult(const AString& text);

    CandidateSource source;
    int16_t checkFlag;
    int16_t checkBase;
    int16_t checkTable;
    AStringLongDic results;
    AString chosenText;
};
