// Writes a table part: records laid end to end, their catalogues and correspondence table.
#include "search/writers/TableWriter.h"

#include "base/procedural/KyCodec.h"
#include "search/engine/common/KyFileSet.h"
#include "search/writers/CatWriter.h"
#include "search/writers/FileImage.h"

std::string WriteTablePart(const TablePartFiles& files, const std::vector<std::string>& records, int mode, int adjust,
                           const std::vector<int32_t>& cor) {
    std::string data;
    std::vector<int32_t> lengths, stored;
    for (const std::string& record : records) {
        if (!mode) {
            data += record;
            lengths.push_back(static_cast<int32_t>(record.size()));
            continue;
        }
        KY_Codec codec{};
        KY_CodecSetMode(&codec, mode);
        std::vector<uint8_t> out(KY_CodecCompressBound(static_cast<int32_t>(record.size())));
        int32_t size = static_cast<int32_t>(out.size());
        int code = KY_CodecCompressMem(&codec, reinterpret_cast<const uint8_t*>(record.data()),
                                       static_cast<int32_t>(record.size()), out.data(), &size);
        KY_CodecAbandon(&codec);
        if (code != kCodecDone)
            return "compression failed: " + std::to_string(code);
        data += std::string(adjust, 'H') + std::string(reinterpret_cast<const char*>(out.data()), size);
        // The record catalogue counts the header too: readers take it off every length.
        lengths.push_back(static_cast<int32_t>(record.size()) + adjust);
        stored.push_back(size + adjust);
    }
    // Replaced together: a data file beside the catalogue of another would
    // read records at the wrong places.
    KyFileSet set;
    std::string error = set.write(files.data, data);
    if (error.empty())
        error = set.writeWith(files.catalogue, [&](const std::string& temp) { return CatWriteFile(temp, lengths, 0); });
    if (error.empty() && mode)
        error = set.writeWith(files.companion, [&](const std::string& temp) { return CatWriteFile(temp, stored, 0); });
    if (error.empty() && !files.cor.empty()) {
        std::string table;
        for (int32_t entry : cor)
            PutWord(&table, static_cast<uint32_t>(entry));
        error = set.write(files.cor, table);
    }
    return error.empty() ? set.commit() : error;
}
