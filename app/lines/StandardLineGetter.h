// The three source getters: records of one table of a search base (a range
// of record numbers or the documents of a search result), entries of a word
// list, and the lines of a text buffer.
//
// A record is the 0-based position in the getter's source: the range start
// is added, or the result index resolved, only when the source is read.
// Missing sources (base, word list, buffer) are assertions ("ulinegtr");
// engine failures pass as the facade raises them. The search base and the
// request are not owned; the word list and the buffer hold one reference.
#pragma once

#include "app/lines/SortableLineGetter.h"

class ASearchBase;
class ASearchRequest;
class AStringList;

class StandardLineGetter : public SortableLineGetter {
public:
    // With a request its whole result are the lines; else records
    // [start, end) of the table, or the whole table when end == start.
    StandardLineGetter(ASearchBase* base, ASearchRequest* request, int16_t table, long start, long end);

    long getLineCount() override;
    // The record's text (transformed by the callback), "\n", and the level's
    // paragraph style at its head when the table has levels.
    AString getRawLine(long record, long line) override;
    int16_t getLineLocation(long record) override;

    // The document reference of a record; its table number in number.
    long referenceOf(long record, long* number);
    void setLevelStyles(int16_t second, int16_t other) {
        levelStyles[0] = second;
        levelStyles[1] = other;
    }

protected:
    ASearchBase* base;        // not owned
    ASearchRequest* request;  // not owned, or null
    int16_t table;
    long start;
    long end;
    long recordBase;  // added to the document numbers of a result's references
    int16_t levelStyles[2];  // level value 2, other levels
};

class StandardLexLineGetter : public SortableLineGetter {
public:
    // Entries [start, end) of words, or all of them when end == start.
    StandardLexLineGetter(AStringList* words, long start, long end);
    ~StandardLexLineGetter() override;

    long getLineCount() override;
    AString getRawLine(long record, long line) override;

protected:
    // Entries of another source (entryCount, entryText), in range [start, end).
    StandardLexLineGetter(long start, long end);
    virtual long entryCount();
    // Entry n of the source; empty past its end.
    virtual AString entryText(long n);

private:
    AStringList* words;  // one reference held, or null for another source
    long start;
    long end;
};

class BufferedLineGetter : public SortableLineGetter {
public:
    // The text split at "\n"; length < 0 takes it up to its terminator.
    BufferedLineGetter(const char* text, long length);
    ~BufferedLineGetter() override;

    void setText(const char* text, long length);
    long getLineCount() override;
    AString getRawLine(long record, long line) override;

private:
    AStringList* lines;  // one reference held
};
