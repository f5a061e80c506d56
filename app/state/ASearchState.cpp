// The search record of the history and its line form.
#include "app/state/ASearchState.h"

#include "app/state/MarkedLines.h"

void ASearchState::setText(int16_t key, const char* text) {
    texts.setString(storedKey(key), text ? text : "");
}

AString ASearchState::getText(int16_t key) const {
    return texts.getString(storedKey(key));
}

void ASearchState::write(AFileStream& stream) {
    WriteMarkedInt(stream, "", static_cast<int16_t>(texts.count()));
    for (Pix p = texts.first(); p; texts.next(p)) {
        WriteMarkedInt(stream, "", texts.keyOf(p));
        // Escaped: a line break inside a text would shift every later line.
        WriteMarkedString(stream, "", static_cast<AString*>(texts.contentsOf(p))->c_str());
    }
    WriteMarkedInt(stream, "", value);
    saved = 1;
}

void ASearchState::read(AFileStream& stream) {
    AStringLongDic read;
    try {
        readInto(stream, read);
    } catch (const AStateFormatError&) {
        texts.removeAll();
        throw;
    }
    for (Pix p = read.first(); p; read.next(p))
        texts.setString(read.keyOf(p), static_cast<AString*>(read.contentsOf(p))->c_str());
}

void ASearchState::readInto(AFileStream& stream, AStringLongDic& read) {
    long n = ReadMarkedCount(stream, "", 0, 0x7FFF);
    for (long i = 0; i < n; ++i) {
        long key = ReadMarkedInt(stream, "");
        if (key % 65536 != 0)
            ThrowStateFormat("search text key out of range", 30);
        read.setString(key, ReadMarkedString(stream, "").c_str());
    }
    value = static_cast<int16_t>(ReadMarkedInt(stream, ""));
}
