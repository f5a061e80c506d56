// Option files: numeric options (ALongDicInfo) and text options keyed by
// 32-bit option numbers, kept as lines of decimal text in a container file
// that is loaded when made and saved when destroyed.
//
// A truncated file raises AFileError ("fextras", line, 2012) out of the
// constructor, leaving the file as it was; an empty file holds no options.
#pragma once

#include "base/object/ALongDic.h"
#include "framework/files/AContainerFile.h"

// Key to a 32-bit number; an absent key reads as 0 and is then kept.
class ALongDicInfo {
public:
    ALongDicInfo() = default;
    ALongDicInfo(const ALongDicInfo& other);
    ALongDicInfo& operator=(const ALongDicInfo& other);
    virtual ~ALongDicInfo() = default;

    long getLong(long key) { return fLongs.slot(key); }
    void setLong(long key, long value) { fLongs.slot(key) = value; }
    const ALongLongDic& longs() const { return fLongs; }
    // Reading replaces the contents only when the whole block is there.
    void readFrom(AFileStream& stream);
    void writeTo(AFileStream& stream) const;

private:
    ALongLongDic fLongs;
};

class AOptionsInfo : public AContainerFile, public ALongDicInfo {
public:
    AOptionsInfo(const AFileSpec& folder, const char* name);
    // In the application's user folder.
    explicit AOptionsInfo(const char* name);
    // Saves first; a failing save is dropped here (the old file stays).
    ~AOptionsInfo() override;

    void setString(long key, const char* text) { fStrings.setString(key, text); }
    AString getString(long key) const { return fStrings.getString(key); }
    const AStringLongDic& strings() const { return fStrings; }

protected:
    void readFrom(AFileStream& stream) override;
    void writeTo(AFileStream& stream) override;

private:
    AStringLongDic fStrings;
};
