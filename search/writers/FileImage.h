// Whole-file saving and loading for the base writers and their checkers.
#pragma once

#include <cstdint>
#include <string>

// Writes bytes to a temporary sibling, then replaces path with it; on failure
// the old file stays and the temporary goes. "" or the reason.
std::string SaveFileReplacing(const std::string& path, const std::string& bytes);
// The whole file; false when it cannot be read.
bool LoadFile(const std::string& path, std::string* bytes);

inline void PutWord(std::string* out, uint32_t v) {
    out->append({static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF), static_cast<char>((v >> 16) & 0xFF),
                 static_cast<char>(v >> 24)});
}
inline uint32_t GetWord(const std::string& in, size_t at) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(in.data()) + at;
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// Bits most significant first into bytes.
class BitWriter {
public:
    void put(int n, uint32_t value) {
        for (int i = n - 1; i >= 0; --i) {
            if (bits_ % 8 == 0)
                bytes_.push_back(0);
            if ((value >> i) & 1u)
                bytes_.back() = static_cast<char>(bytes_.back() | (0x80 >> (bits_ % 8)));
            ++bits_;
        }
    }
    size_t bits() const { return bits_; }
    const std::string& bytes() const { return bytes_; }

private:
    std::string bytes_;
    size_t bits_ = 0;
};
