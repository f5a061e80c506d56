// The rows of a result list, one per document of an occurrence list, read
// from the document-information base (HDFILES): as a plain list, as a
// summary and as thumbnails.
//
// Row forms (slash markup; text fields escaped with '\'):
//   list     "<title>#<doc>"                              (label and target)
//   summary  "/B<title>/A\n/E<kind>[, <n> mots]/A#<doc>"  (two paragraphs)
//   tile     "{B-1#<doc>}\n{d<title>#<doc>}"              (picture, then the link)
// <title> is record doc of table 0 of the base, <kind> "Article" for icon
// type 1 and "M\xE9dia" otherwise, <n> the words count; each source pair
// (base, table) reads record doc of that table (a null base or table -1: no
// source). The tile row names its picture by document number: record doc of
// the thumbnail table holds the picture (see ASVVigBitmapSupplier).
//
// Sort fields: 0 alphabetical (the first source's number when it holds one,
// else the rank of the title among the list's titles), 1 relevance (the
// list's first score when the list comes from the search, else the
// document's place in the list).
//
// Holds one reference on the list, read into memory once; the bases are not
// owned. A null document base is an assertion ("results"); engine errors on a
// record pass to the caller.
#pragma once

#include <vector>

#include "app/lines/SortableLineGetter.h"

class ALo;
class ASearchBase;
class ASearchRequest;

class ASVResultLineGetter : public SortableLineGetter {
public:
    ASVResultLineGetter(ASearchBase* base, ASearchRequest* request, ALo* lo, int16_t fromSearch, ASearchBase* base1,
                        int16_t table1, ASearchBase* base2, int16_t table2, ASearchBase* base3 = nullptr,
                        int16_t table3 = -1);
    ~ASVResultLineGetter() override;

    long getLineCount() override { return static_cast<long>(docs_.size()); }
    AString getRawLine(long record, long line) override;
    void prepareLine(long record, int16_t sortMode) override;
    uint32_t getSortKey(int16_t field) override;

    // The document of record r, -1 outside the list.
    long docOfRecord(long record) const;
    // The document of display line n (through the line map).
    long docOfLine(long line) { return docOfRecord(recordOf(line)); }

protected:
    // The row of one document; the list row by default.
    virtual AString formatRow(long doc);
    AString title(long doc);
    // Source k (0 to 2) of doc, "" without the source.
    AString source(int k, long doc);

private:
    void rankTitles();

    ASearchBase* base_;  // not owned
    ALo* lo_;            // one reference held
    int16_t fromSearch_;
    ASearchBase* sourceBase_[3];  // not owned, or null
    int16_t sourceTable_[3];
    std::vector<long> docs_;
    std::vector<long> scores_;
    std::vector<uint32_t> titleRanks_;  // by record, built at the first alphabetical sort
    long prepared_ = -1;
};

class ASVResumeLineGetter : public ASVResultLineGetter {
public:
    using ASVResultLineGetter::ASVResultLineGetter;

protected:
    AString formatRow(long doc) override;
};

class ASVTileLineGetter : public ASVResultLineGetter {
public:
    using ASVResultLineGetter::ASVResultLineGetter;

protected:
    AString formatRow(long doc) override;
};

// text with '/', '\', '{', '}', '#', '<' and '>' escaped by '\'; line ends and tabs as blanks.
AString EscapeMarkup(const char* text);
