// Sample data: French prose from a fixed word list, random bytes, PNG images
// and compressed records.
#include "tests/base/procedural/CodecSamples.h"

#include "base/procedural/KyCodec.h"

#include <png.h>

#include <vector>

namespace {

struct Lcg {
    uint32_t state;
    uint32_t next() {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    }
};

// Windows-1252: é \xE9, è \xE8, ê \xEA, à \xE0, ç \xE7, ô \xF4, î \xEE, û \xFB.
// One space between words.
const char kWordList[] =
    "le la les de des du un une et en dans par pour sur avec qui que est sont fut \xE9t\xE9 a au aux son "
    "sa ses leur il elle ils ce cette plus tr\xE8s ville r\xE9gion si\xE8"
    "cle histoire roi guerre pays fleuve \xE9glise ch\xE2teau premi\xE8re fran\xE7"
    "aise population habitants g\xE9ographie \xE9"
    "conomie peintre musique th\xE9\xE2tre c\xF4te \xEEle for\xEAt montagne d\xE9partement commune "
    "soci\xE9t\xE9 \xE9"
    "cole universit\xE9 ann\xE9"
    "es p\xE9riode royaume empire r\xE9volution ouvrage auteur po\xE8te sciences math\xE9matiques "
    "physique chimie nature esp\xE8"
    "ces animal plante climat temp\xE9rature hiver \xE9t\xE9 d\xE9"
    "couverte m\xEAme o\xF9 apr\xE8s d\xE8s jusqu'\xE0 \xE0 entre sous vers contre notamment c\x9Cur "
    "\x9Cuvre grand petite ancien nouvelle nord sud est ouest";

const std::vector<std::string>& Words() {
    static const std::vector<std::string> words = [] {
        std::vector<std::string> list(1);
        for (const char* c = kWordList; *c; ++c) {
            if (*c == ' ')
                list.emplace_back();
            else
                list.back() += *c;
        }
        return list;
    }();
    return words;
}

}  // namespace

std::string FrenchText(size_t size, uint32_t seed) {
    Lcg rng{seed};
    std::string text;
    text.reserve(size + 64);
    bool capital = true;
    while (text.size() < size) {
        std::string word = Words()[rng.next() % Words().size()];
        if (capital && word[0] >= 'a' && word[0] <= 'z')
            word[0] = static_cast<char>(word[0] - 'a' + 'A');
        capital = false;
        text += word;
        uint32_t r = rng.next() % 100;
        if (r < 6) {
            text += ". ";
            capital = true;
        } else if (r < 7) {
            text += ".\r\n";
            capital = true;
        } else if (r < 12) {
            text += ", ";
        } else if (r < 13) {
            text += " (" + std::to_string(1000 + rng.next() % 1000) + ") ";
        } else {
            text += ' ';
        }
    }
    text.resize(size);
    return text;
}

std::string RandomBytes(size_t size, uint32_t seed) {
    Lcg rng{seed};
    std::string bytes(size, '\0');
    for (auto& b : bytes)
        b = static_cast<char>(rng.next() & 0xFF);
    return bytes;
}

namespace {

void AppendPng(png_structp png, png_bytep data, size_t length) {
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<char*>(data), length);
}

void NoFlush(png_structp) {}

}  // namespace

std::string MakePng(int width, int height, int colorType, const std::string& rows, bool interlaced) {
    std::string out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return std::string();
    }
    png_set_write_fn(png, &out, AppendPng, NoFlush);
    png_set_IHDR(png, info, width, height, 8, colorType, interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_color palette[256];
    for (int i = 0; i < 256; ++i)
        palette[i] = png_color{static_cast<png_byte>(i), static_cast<png_byte>(255 - i), 0};
    if (colorType == PNG_COLOR_TYPE_PALETTE)
        png_set_PLTE(png, info, palette, 256);
    png_write_info(png, info);
    int passes = png_set_interlace_handling(png);
    size_t rowBytes = rows.size() / height;
    for (int pass = 0; pass < passes; ++pass)
        for (int y = 0; y < height; ++y)
            png_write_row(png, reinterpret_cast<png_const_bytep>(rows.data() + y * rowBytes));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

std::string Pack(int mode, const std::string& in) {
    KY_Codec codec = {};
    std::string out(KY_CodecCompressBound(static_cast<int32_t>(in.size())), '\0');
    int32_t length = static_cast<int32_t>(out.size());
    KY_CodecSetMode(&codec, mode);
    int code = KY_CodecCompressMem(&codec, reinterpret_cast<const uint8_t*>(in.data()), static_cast<int32_t>(in.size()),
                                   reinterpret_cast<uint8_t*>(&out[0]), &length);
    out.resize(code == kCodecDone && KY_CodecIsIdle(&codec) ? length : 0);
    return out;
}

std::string Unpack(int mode, const std::string& in, size_t chunk, std::vector<int>* codes, int32_t limit) {
    KY_Codec codec = {};
    KY_CodecSetMode(&codec, mode);
    std::vector<uint8_t> buffer(chunk, 0xEE);
    std::string out;
    int32_t length = static_cast<int32_t>(chunk);
    int code = KY_CodecExpandMemStart(&codec, reinterpret_cast<const uint8_t*>(in.data()),
                                      static_cast<int32_t>(in.size()), buffer.data(), &length, limit, 0);
    codes->push_back(code);
    while (code == kCodecMore) {
        out.append(buffer.begin(), buffer.end());
        length = static_cast<int32_t>(chunk);
        code = KY_CodecExpandMemNext(&codec, buffer.data(), &length);
        codes->push_back(code);
    }
    if (code == kCodecDone)
        out.append(buffer.begin(), buffer.begin() + length);
    if (!KY_CodecIsIdle(&codec))
        codes->push_back(-1);
    return out;
}
