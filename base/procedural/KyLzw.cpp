// The LZW coder of mode 1: codes of 9 to 15 bits, widened and reset on
// explicit signals from the compressor.
//
// Stream: codes of the current width, most significant bit first.
//   0..255  a byte            256  end of stream
//   257     widen by one bit  258  reset the dictionary (back to 9 bits, next code 259)
//   259..32767  dictionary strings, assigned in order
// The first code after the start or a reset is a plain byte.
#include "base/procedural/KyCodec.h"

#include "base/procedural/BAlloc.h"

#include <cstdio>

namespace {

const int kTableSize = 35023;
const int kBankSize = 256;
const int kBanks = (kTableSize + kBankSize - 1) / kBankSize;  // 137
const int kEndOfStream = 256;
const int kBumpCode = 257;
const int kFlushCode = 258;
const int kFirstCode = 259;
const int kMaxCode = 32767;
const int kMaxBits = 15;
const int kUnused = -1;

struct Entry {
    int32_t codeValue;  // kUnused when free
    int32_t parentCode;
    uint8_t character;
};

struct LzwState {
    Entry* banks[kBanks];  // owned
    uint8_t* decodeStack;  // owned, kTableSize bytes
    uint32_t nextCode;
    int32_t codeBits;
    uint32_t nextBumpCode;
    int32_t expanderResume;  // 1 while a decoded string is being delivered
    int32_t stringCode;
    int32_t stackCount;
    int32_t newCode, oldCode, character;
    int32_t started;  // expander: 0 at a reset, 1 delivering its first byte, 2 after

    Entry& entry(uint32_t e) { return banks[e / kBankSize][e % kBankSize]; }
};

LzwState* StateOf(KY_Codec* codec) {
    return static_cast<LzwState*>(codec->lzw);
}

int Allocate(KY_Codec* codec) {
    LzwState* s = static_cast<LzwState*>(KY_Calloc(1, sizeof(LzwState)));
    if (!s)
        return kCodecNoMemory;
    codec->lzw = s;
    s->decodeStack = static_cast<uint8_t*>(KY_Malloc(kTableSize));
    if (!s->decodeStack) {
        KY_SetErrorDetail("decode_stack");
        return kCodecNoMemory;
    }
    for (int i = 0; i < kBanks; ++i) {
        s->banks[i] = static_cast<Entry*>(KY_Calloc(kBankSize, sizeof(Entry)));
        if (!s->banks[i]) {
            char step[16];
            std::snprintf(step, sizeof step, "dict[%d]", i);
            KY_SetErrorDetail(step);
            return kCodecNoMemory;
        }
    }
    return 0;
}

void InitializeDictionary(LzwState* s) {
    for (int i = 0; i < kTableSize; ++i)
        s->entry(i).codeValue = kUnused;
    s->nextCode = kFirstCode;
    s->codeBits = 9;
    s->nextBumpCode = 511;
}

uint32_t FindChildNode(LzwState* s, int parentCode, int character) {
    int index = (character << (kMaxBits - 8)) ^ parentCode;
    int offset = index == 0 ? 1 : kTableSize - index;
    for (;;) {
        Entry& e = s->entry(index);
        if (e.codeValue == kUnused)
            return index;
        if (e.parentCode == parentCode && e.character == character)
            return index;
        if (index >= offset)
            index -= offset;
        else
            index += kTableSize - offset;
    }
}

// Pushes the string of `code` onto the decode stack from position `count`;
// answers the new count, or 0 when the chain is not a string of this dictionary.
int DecodeString(LzwState* s, int count, uint32_t code) {
    while (code > 255) {
        if (code >= s->nextCode || count >= kTableSize - 1)
            return 0;
        Entry& e = s->entry(code);
        s->decodeStack[count++] = e.character;
        code = static_cast<uint32_t>(e.parentCode);
    }
    s->decodeStack[count++] = static_cast<uint8_t>(code);
    return count;
}

}  // namespace

int KY_LzwCompressInit(KY_Codec* codec) {
    int code = Allocate(codec);
    if (code)
        return code;
    InitializeDictionary(StateOf(codec));
    return 0;
}

int KY_LzwExpandInit(KY_Codec* codec) {
    return Allocate(codec);
}

int KY_LzwCompress(KY_Codec* codec) {
    LzwState* s = StateOf(codec);
    s->stringCode = codec->inputByte(codec, &codec->input);
    if (s->stringCode < 0)
        s->stringCode = kEndOfStream;
    for (;;) {
        if (codec->outputFull)
            return -1;
        int c = codec->inputByte(codec, &codec->input);
        if (c < 0)
            break;
        Entry& e = s->entry(FindChildNode(s, s->stringCode, c));
        if (e.codeValue != kUnused) {
            s->stringCode = e.codeValue;
            continue;
        }
        e.codeValue = static_cast<int32_t>(s->nextCode++);
        e.parentCode = s->stringCode;
        e.character = static_cast<uint8_t>(c);
        codec->outputBits(codec, static_cast<uint32_t>(s->stringCode), s->codeBits);
        s->stringCode = c;
        if (s->nextCode > kMaxCode) {
            codec->outputBits(codec, kFlushCode, s->codeBits);
            InitializeDictionary(s);
        } else if (s->nextCode > s->nextBumpCode) {
            codec->outputBits(codec, kBumpCode, s->codeBits);
            ++s->codeBits;
            s->nextBumpCode = (s->nextBumpCode << 1) | 1;
        }
    }
    codec->outputBits(codec, static_cast<uint32_t>(s->stringCode), s->codeBits);
    codec->outputBits(codec, kEndOfStream, s->codeBits);
    return codec->outputFull ? -1 : 0;
}

int KY_LzwExpand(KY_Codec* codec) {
    LzwState* s = StateOf(codec);
    codec->outputFull = 0;
    for (;;) {
        if (s->expanderResume != 1) {
            if (!s->started) {
                s->nextCode = kFirstCode;
                s->codeBits = 9;
                s->nextBumpCode = 511;
                s->oldCode = codec->inputBits(codec, s->codeBits);
                if (codec->failure || s->oldCode == kEndOfStream)
                    return codec->failure ? -1 : 0;
                if (s->oldCode > 255) {
                    KY_CodecFail(codec, kCodecCorrupt, "lzw: first code is not a byte");
                    return -1;
                }
                s->character = s->oldCode;
                s->started = 1;
                s->decodeStack[0] = static_cast<uint8_t>(s->oldCode);
                s->stackCount = 1;
                s->newCode = s->oldCode;
            } else {
                s->newCode = codec->inputBits(codec, s->codeBits);
                if (codec->failure)
                    return -1;
                if (s->newCode == kEndOfStream)
                    return 0;
                if (s->newCode == kFlushCode) {
                    s->started = 0;
                    continue;
                }
                if (s->newCode == kBumpCode) {
                    if (++s->codeBits > kMaxBits) {
                        KY_CodecFail(codec, kCodecCorrupt, "lzw: code wider than 15 bits");
                        return -1;
                    }
                    continue;
                }
                uint32_t code = static_cast<uint32_t>(s->newCode);
                if (code > s->nextCode || s->nextCode > kMaxCode) {
                    KY_CodecFail(codec, kCodecCorrupt, "lzw: code above the next code");
                    return -1;
                }
                int count;
                if (code == s->nextCode) {
                    s->decodeStack[0] = static_cast<uint8_t>(s->character);
                    count = DecodeString(s, 1, static_cast<uint32_t>(s->oldCode));
                } else {
                    count = DecodeString(s, 0, code);
                }
                if (count == 0) {
                    KY_CodecFail(codec, kCodecCorrupt, "lzw: broken string chain");
                    return -1;
                }
                s->stackCount = count;
                s->character = s->decodeStack[count - 1];
            }
        }
        s->expanderResume = 0;
        while (s->stackCount > 0) {
            codec->outputByte(codec, s->decodeStack[s->stackCount - 1], &codec->output);
            if (codec->outputFull) {
                s->expanderResume = 1;
                return -1;
            }
            --s->stackCount;
        }
        if (s->started == 1) {
            s->started = 2;
        } else {
            Entry& e = s->entry(s->nextCode);
            e.parentCode = s->oldCode;
            e.character = static_cast<uint8_t>(s->character);
            ++s->nextCode;
            s->oldCode = s->newCode;
        }
    }
}

int KY_LzwTerm(KY_Codec* codec) {
    LzwState* s = StateOf(codec);
    if (s) {
        for (Entry* bank : s->banks)
            KY_Free(bank);
        KY_Free(s->decodeStack);
        KY_Free(s);
    }
    codec->lzw = nullptr;
    return 0;
}
