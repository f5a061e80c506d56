// Correspondence tables: one 32-bit little-endian catalogue entry per record number.
#include "search/engine/records/KyTabCor.h"

#include <cstring>

#include "base/procedural/EngineTables.h"
#include "base/procedural/KyFile.h"

// File: word n at byte 4n = the record's entry in the part's record catalogue,
// 0xFFFFFFFF (-1) when the record has no data; bytes past the end read as -1.

namespace {

int Fail(int code) {
    KY_SetEngineErrorText("tabcor");
    return code;
}

// Checks the file and n; answers the entry's offset and the file's size.
int Place(KY_File* file, int32_t n, long* at, long* size) {
    if (!file)
        return Fail(103);
    if (n < 0 || n > 0x1FFFFFFE || (*size = KY_FileSize(file)) < 0)
        return Fail(106);
    *at = static_cast<long>(n) * 4;
    return 0;
}

}  // namespace

int KyTabCorRead(KY_File* file, int32_t n, int32_t* entry) {
    *entry = -1;
    long at = 0, size = 0;
    int code = Place(file, n, &at, &size);
    if (code || at + 4 > size)
        return code;
    uint8_t bytes[4];
    if (KY_FSeek(file, at, 0) != at || KY_FRead(file, bytes, 4) != 4)
        return Fail(106);
    *entry =
        static_cast<int32_t>(bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<uint32_t>(bytes[3]) << 24));
    return 0;
}

int KyTabCorWrite(KY_File* file, int32_t n, int32_t entry) {
    long at = 0, size = 0;
    int code = Place(file, n, &at, &size);
    if (code)
        return code;
    if (KY_FSeek(file, size, 0) != size)
        return Fail(106);
    uint8_t fill[kTabCorGrowth];
    std::memset(fill, 0xFF, sizeof fill);
    while (size < at + 4) {
        if (KY_FWrite(file, fill, kTabCorGrowth) != kTabCorGrowth)
            return Fail(106);
        size += kTabCorGrowth;
    }
    uint8_t bytes[4] = {static_cast<uint8_t>(entry), static_cast<uint8_t>(entry >> 8),
                        static_cast<uint8_t>(entry >> 16), static_cast<uint8_t>(static_cast<uint32_t>(entry) >> 24)};
    if (KY_FSeek(file, at, 0) != at || KY_FWrite(file, bytes, 4) != 4)
        return Fail(106);
    return 0;
}
