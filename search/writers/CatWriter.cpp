// Writes record catalogues through the engine's own appender, and checks them bit by bit.
#include "search/writers/CatWriter.h"

#include "base/procedural/KyFile.h"
#include "search/engine/common/KyFileSet.h"
#include "search/engine/records/KyCat.h"
#include "search/writers/FileImage.h"

namespace {

class SubBlockReader {
public:
    SubBlockReader(const std::string& bytes, size_t at) : bytes_(bytes), at_(at) {}
    bool get(int n, uint32_t* value) {
        uint32_t v = 0;
        for (int i = 0; i < n; ++i, ++bit_) {
            if (bit_ >= static_cast<size_t>(kCatSubSize) * 8)
                return false;
            v = (v << 1) | ((static_cast<unsigned char>(bytes_[at_ + bit_ / 8]) >> (7 - bit_ % 8)) & 1u);
        }
        *value = v;
        return true;
    }

private:
    const std::string& bytes_;
    size_t at_;
    size_t bit_ = 0;
};

}  // namespace

std::string CatWriteFile(const std::string& path, const std::vector<int32_t>& lengths, int32_t firstStart, int wide,
                         int narrow, int startWidth) {
    KY_OpenSpec spec;
    KY_ClearOpenSpec(&spec);
    if (KY_MakeOpenSpecIn(KY_GetGlobalFileSys(), path.c_str(), nullptr, 0, 0, 0, 0, &spec) != 0)
        return "cannot name " + path;
    KyCat cat{};
    int code = catCreate(&cat, &spec, wide, narrow, startWidth, firstStart);
    for (size_t i = 0; !code && i < lengths.size(); ++i)
        code = catAppend(&cat, lengths[i]);
    int closed = cat.file ? catClose(&cat) : 0;
    KY_FreeOpenSpec(&spec);
    if (code || closed)
        return "cannot write " + path + ": code " + std::to_string(code ? code : closed);
    return "";
}

std::string CatWriteLengths(const std::string& path, const std::vector<int32_t>& lengths, int32_t firstStart, int wide,
                            int narrow, int startWidth) {
    KyFileSet set;
    std::string why = set.writeWith(
        path, [&](const std::string& temp) { return CatWriteFile(temp, lengths, firstStart, wide, narrow, startWidth); });
    return why.empty() ? set.commit() : why;
}

std::string CatCheck(const std::string& path, std::vector<int32_t>* starts, std::vector<int32_t>* lengths) {
    std::string bytes;
    if (!LoadFile(path, &bytes))
        return "cannot read " + path;
    if (bytes.size() < 2u * kCatBlockSize)
        return "shorter than a header and one data block";
    int wide = static_cast<unsigned char>(bytes[0]), narrow = static_cast<unsigned char>(bytes[1]);
    int startWidth = static_cast<unsigned char>(bytes[2]);
    int perSub = static_cast<unsigned char>(bytes[3]) | (static_cast<unsigned char>(bytes[4]) << 8);
    uint32_t count = GetWord(bytes, 5);
    if (!catEntriesPerSub(wide, narrow, startWidth) || perSub != catEntriesPerSub(wide, narrow, startWidth))
        return "block 0: widths or entries per sub-block";
    uint64_t blocks = count ? (count + 4ull * perSub - 1) / (4ull * perSub) : 1;
    if (bytes.size() != (blocks + 1) * kCatBlockSize)
        return "file size does not match " + std::to_string(count) + " records";
    int64_t start = 0, length = 0;
    for (uint32_t r = 0; r < count;) {
        uint64_t sub = r / perSub;
        size_t at = static_cast<size_t>((sub / 4 + 1) * kCatBlockSize + (sub % 4) * kCatSubSize);
        std::string where = "block " + std::to_string(sub / 4 + 1) + " sub-block " + std::to_string(sub % 4) + ": ";
        SubBlockReader reader(bytes, at);
        uint32_t subStart = 0;
        if (!reader.get(startWidth, &subStart))
            return where + "start beyond the sub-block";
        if (r > 0 && subStart != start + length)
            return where + "start does not follow the previous record";
        start = subStart;
        length = 0;
        for (int i = 0; i < perSub && r < count; ++i, ++r) {
            uint32_t flag = 0, sign = 0, magnitude = 0;
            if ((wide != narrow && !reader.get(1, &flag)) || !reader.get(1, &sign) ||
                !reader.get(flag ? wide : narrow, &magnitude))
                return where + "entry " + std::to_string(i) + " beyond the sub-block";
            if (i > 0)
                start += length;
            int64_t d = sign ? -static_cast<int64_t>(magnitude) : magnitude;
            length = i == 0 ? magnitude : length - d;
            if (length < 0 || start + length > 0x7FFFFFFF)
                return where + "entry " + std::to_string(i) + " out of range";
            if (starts)
                starts->push_back(static_cast<int32_t>(start));
            if (lengths)
                lengths->push_back(static_cast<int32_t>(length));
        }
    }
    return "";
}
