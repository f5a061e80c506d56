// Texts under 32-bit keys and their line form.
#include "app/state/AStringContainer.h"

#include "app/state/MarkedLines.h"

long AStringContainer::add(const char* text, long key) {
    if (key == -1) {
        key = 0;
        for (Pix p = texts.first(); p && texts.keyOf(p) <= key; texts.next(p))
            if (texts.keyOf(p) == key)
                ++key;
    }
    if (texts.contains(key))
        return -1;
    texts.setString(key, text ? text : "");
    last = key;
    return key;
}

void AStringContainer::write(AFileStream& stream) {
    WriteMarkedInt(stream, "", static_cast<int16_t>(texts.count()));
    forEach([&](long key, const char* text) {
        WriteMarkedInt(stream, "", key);
        WriteMarkedString(stream, "", text);
    });
    written = 1;
}

void AStringContainer::read(AFileStream& stream) {
    AStringLongDic read;
    long n = ReadMarkedCount(stream, "", 0, 0x7FFF);
    for (long i = 0; i < n; ++i) {
        long key = ReadMarkedInt(stream, "");
        read.setString(key, ReadMarkedString(stream, "").c_str());
    }
    for (Pix p = read.first(); p; read.next(p))
        add(static_cast<AString*>(read.contentsOf(p))->c_str(), read.keyOf(p));
}
