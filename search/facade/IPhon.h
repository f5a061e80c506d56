// The object face of the phonetic matcher: the sound-alike spellings of the
// last word looked up, without repeats, for the phonetic search window.
//
// Owns its word and its dictionary (keys are the readings, values always 0).
// A word the matcher refuses (empty, too ambiguous) leaves the dictionary
// empty; the dictionary raises AMemError when memory is short.
#pragma once

#include "base/object/AStrDic.h"
#include "base/object/AString.h"

struct KyPhonList;

class IPhon {
public:
    IPhon();
    virtual ~IPhon();
    IPhon(const IPhon&) = delete;
    IPhon& operator=(const IPhon&) = delete;

    // Replaces the candidates by those of word; answers how many are held.
    virtual long findCandidates(const char* word);
    virtual long getCount();
    // The candidates in the dictionary's key order; owned by this object.
    virtual AStrDic& getCandidates();

protected:
    // The matcher's entry point (KY_PhonCandidates unless a test puts another).
    typedef int (*CandidateSource)(const char* word, long reserved, KyPhonList** result);
    explicit IPhon(CandidateSource source);

    AString word;
    AStrDic candidates;

private:
    CandidateSource source_;
};
