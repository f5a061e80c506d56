// Texts under small indices and their line form.
#include "app/state/ALongTextDic.h"

#include "app/state/MarkedLines.h"

namespace {

// Stored keys of the 16-bit indices.
const long kLowestKey = -32767;
const long kHighestKey = 32768;

}  // namespace

AString ALongTextDic::get(int16_t index) const {
    return texts.getString(index + 1L);
}

void ALongTextDic::set(int16_t index, const char* text) {
    texts.setString(index + 1L, text ? text : "");
}

void ALongTextDic::copyFrom(const ALongTextDic& other) {
    if (&other == this)
        return;
    texts.removeAll();
    for (Pix p = other.texts.first(); p; other.texts.next(p))
        texts.setString(other.texts.keyOf(p), static_cast<AString*>(other.texts.contentsOf(p))->c_str());
}

bool ALongTextDic::operator==(const ALongTextDic& other) const {
    if (count() != other.count())
        return false;
    for (Pix p = texts.first(), q = other.texts.first(); p && q; texts.next(p), other.texts.next(q))
        if (texts.keyOf(p) != other.texts.keyOf(q) ||
            !(*static_cast<AString*>(texts.contentsOf(p)) == *static_cast<AString*>(other.texts.contentsOf(q))))
            return false;
    return true;
}

void ALongTextDic::write(AFileStream& stream) const {
    WriteMarkedInt(stream, "", texts.count());
    for (Pix p = texts.first(); p; texts.next(p)) {
        WriteMarkedInt(stream, "", texts.keyOf(p));
        WriteMarkedString(stream, "", static_cast<AString*>(texts.contentsOf(p))->c_str());
    }
}

void ALongTextDic::read(AFileStream& stream) {
    texts.removeAll();
    AStringLongDic read;
    // Each entry takes two lines: a count beyond the file fails at its end.
    long n = ReadMarkedCount(stream, "", 0, 0x7FFFFFFF);
    for (long i = 0; i < n; ++i) {
        long key = ReadMarkedCount(stream, "", kLowestKey, kHighestKey);
        read.setString(key, ReadMarkedString(stream, "").c_str());
    }
    texts.takeAll(read);
}
