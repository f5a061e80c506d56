// Document references and the information record of a document (table 1,
// HDGINFO, of base 13, HDFILES): which media it has, its type, and where its
// own record lies.
//
// HDGINFO record: eight TAB-separated fields, empty and missing ones "" (0):
//   0  exactly 15 flag characters, digit k -> key k (a non-digit gives 0)
//   1  type                        2  record[:frame count]
//   3  number                      4  number
//   5  base name:base record       6  number
//   7  [first][:second]
// A field 0 of another length raises AStateFormatError before anything is
// stored: the record comes from the data files.
#pragma once

#include <cstdint>

#include "base/object/ALongDic.h"
#include "base/object/AString.h"

class ARefObj;

// The application's base names and installation kind, as the record parser
// needs them (the application object); null: every name unknown.
class ADocBaseNames {
public:
    virtual ~ADocBaseNames() = default;
    // The base index of name, or -1.
    virtual int16_t baseIndex(const char* name) = 0;
    // On a CD-set installation the disc base of docNo (or -1); false elsewhere.
    virtual bool cdBaseOf(long docNo, int16_t* base) = 0;
};
extern ADocBaseNames* gDocBaseNames;

class ADocRef {
public:
    ADocRef() = default;
    ADocRef(long docNo, int16_t base, int16_t table) : fDocNo(docNo), fBase(base), fTable(table) {}
    // Shares the attached object.
    ADocRef(const ADocRef& other);
    ADocRef& operator=(const ADocRef&) = delete;
    virtual ~ADocRef();

    virtual void parse(const char*) {}

    long fDocNo = -1;
    int16_t fBase = -1;
    int16_t fTable = -1;
    long fRecord = -1;
    ARefObj* fAttached = nullptr;  // one reference held, or null
};

class ADocRefInfo : public ADocRef {
public:
    ADocRefInfo() = default;
    ADocRefInfo(long docNo, int16_t base, int16_t table) : ADocRef(docNo, base, table) {}
    ADocRefInfo(const ADocRefInfo& other) = default;

    void parse(const char* text) override;
    // The flag of key (0-14); an absent key is recorded with 0.
    int16_t getInfo(long key);
    // Any of the keys 0-8 and 12-14 set.
    bool hasAnyInfo();
    // The first media key from 4 to 8 that is set, or -1.
    long firstMediaInfo();
    // The result-list icon of that key, or -1.
    long firstMediaIconId();
    long getMediaKind() const;

    ALongLongDic fInfo;
    int16_t fType = -1;
    long fField3 = -1;
    long fField4 = -1;
    long fField6 = -1;
    long fField7First = -1;
    long fField7Second = -1;
    int16_t fDocBase = -1;
    int16_t fCdBase = -1;
    int16_t fDocBaseNo = -1;
    int16_t fNbFrame = 1;
};
