// Option files and their numeric block.
#include "framework/files/AOptionsInfo.h"

#include "base/object/AFileStream.h"
#include "base/procedural/AError.h"

ALongDicInfo::ALongDicInfo(const ALongDicInfo& other) {
    fLongs.assign(other.fLongs);
}

ALongDicInfo& ALongDicInfo::operator=(const ALongDicInfo& other) {
    fLongs.assign(other.fLongs);
    return *this;
}

// The numeric block of an option file, lines ended by LF:
//   N           count, read with atol and used as an unsigned 16-bit repetition
//   key, value  N pairs in ascending key order, each "%ld"
// A repeated key keeps its last value.
void ALongDicInfo::readFrom(AFileStream& stream) {
    ALongLongDic read;
    auto count = static_cast<uint16_t>(ReadOptionNumber(stream));
    for (unsigned i = 0; i < count; ++i) {
        long key = ReadOptionNumber(stream);
        read.slot(key) = ReadOptionNumber(stream);
    }
    fLongs.assign(read);
}

void ALongDicInfo::writeTo(AFileStream& stream) const {
    WriteOptionNumber(stream, fLongs.count());
    for (Pix p = fLongs.first(); p; fLongs.next(p)) {
        WriteOptionNumber(stream, fLongs.keyOf(p));
        WriteOptionNumber(stream, fLongs.numberOf(p));
    }
}

AOptionsInfo::AOptionsInfo(const AFileSpec& folder, const char* name) : AContainerFile(folder, name, 0, 0) {
    load();
}

AOptionsInfo::AOptionsInfo(const char* name) : AContainerFile(name, "", 0, 0) {
    load();
}

AOptionsInfo::~AOptionsInfo() {
    try {
        save();
    } catch (const AError&) {
    }
}

// The numeric block, then the text block; an empty file is no options. Both
// blocks are read before either replaces the options, so a truncated file
// leaves them as they were.
void AOptionsInfo::readFrom(AFileStream& stream) {
    ALongDicInfo numbers;
    AStringLongDic texts;
    if (stream.getByte() >= 0) {
        stream.seek(0, 0);
        numbers.readFrom(stream);
        texts.readFrom(stream);
    }
    ALongDicInfo::operator=(numbers);
    fStrings.takeAll(texts);
}

void AOptionsInfo::writeTo(AFileStream& stream) {
    ALongDicInfo::writeTo(stream);
    fStrings.writeTo(stream);
}
