// The French phonetic matcher: turns a word as typed (Windows-1252) into the
// spellings of the engine's phonetic alphabet under which it may be pronounced,
// through a folding table, an exception dictionary, segmentation rules and
// branching phoneme rules.
#pragma once

#include <cstddef>
#include <cstdint>

// Words longer than this many bytes are cut before transcription.
const size_t kPhonMaxWord = 64;
// A transcription that needs more candidates than this fails.
const int32_t kPhonMaxCandidates = 5000;

// A list of strings; the list owns the array and every string.
struct KyPhonList {
    char** strings;
    int32_t count;
    int32_t capacity;
};

// Sound-alike spellings of word. *result receives a new list (free it with
// KY_PhonFreeList) and 0 is returned; 1 and a null list when the word is null
// or empty, when memory is short or when the transcription needs too many
// candidates. reserved is ignored.
int KY_PhonCandidates(const char* word, long reserved, KyPhonList** result);
// Frees a list made by KY_PhonCandidates; null is accepted.
void KY_PhonFreeList(KyPhonList* list);
// The phonetic forms of an exception word (folded), '/'-separated, or null.
const char* KY_PhonException(const char* word);

// One way of reading the word: the input consumed so far, the phonetic text
// written so far (both owned KY_Malloc strings, null while empty) and the
// score (lower is better).
struct KyPhonCandidate {
    char* key;
    char* phonetic;
    float score;
};

// Candidates of one transcription. last is the index of the last candidate in
// use while transcribing. The array grows in blocks of 100.
struct KyPhonSet {
    KyPhonCandidate* items;  // owned
    int32_t last;
    int32_t capacity;
};

// Transcribes text (segmented, with its '^' and '$' markers) into candidate i
// of set and every candidate its branches make. 0 on success; 1 when memory is
// short or more than kPhonMaxCandidates are needed. text is rewritten in place
// ('œ' becomes '@').
int KY_PhonTranscribe(char* text, KyPhonSet* set, int32_t i);
// Frees every candidate's strings and the array; the set is left empty.
void KY_PhonFreeSet(KyPhonSet* set);
// Scores a phonetic text as the matcher ranks it, rewriting it in place
// (silent marks dropped, doubled letters made single); answers the score to add.
float KY_PhonScore(char* phonetic);

// --- Rule tables ---

// Whether c is in the consonant class C (the intermediate letters Z, £, S, N included).
bool KY_PhonIsConsonant(char c);
// Folds a text in place to lower case (accented capitals included).
void KY_PhonFold(char* text);
// Length of the word-start prefix that a whole left text is ("re", "pré",
// "anti"...), 0 when it is none.
int KY_PhonPrefixLength(const char* left, size_t length);

// A segmentation rule at a position: the key it consumes and what it writes.
struct KyPhonSegment {
    const char* key;
    const char* replacement;
};
// The first segmentation rule that matches at the start of text, with the
// word's bytes before the position as its left context; null when none does.
const KyPhonSegment* KY_PhonSegmentRules(const char* text, const char* left, size_t leftLength);

// One reading at a position: the number of bytes consumed and what it writes.
struct KyPhonAlternative {
    size_t keyLength;
    const char* phonetic;
};
// Room enough for the alternatives of any position.
const int kPhonMaxAlternatives = 32;
// The alternatives of the phoneme rules at the start of text, in rule order;
// answers their count (0 when no rule applies).
int KY_PhonApplyRules(const char* text, KyPhonAlternative* out);

// Replaces in place "O", "E", "9", "R" and "@" by "o", "e", "2", "r" and "2".
void KY_PhonNormalize(char* text);
