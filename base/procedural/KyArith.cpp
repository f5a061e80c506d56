// The adaptive order-2 arithmetic coder of modes 2 and 4.
//
// Both directions grow the model by the same rules, so every rule below (the
// escape scale, the exclusions that spare a table's last entry, links grown
// only when the symbol escaped below order 2) is part of the stream format.
// Stream: a 16-bit arithmetic code, most significant bit first; each byte is
// coded in the longest context (orders 2, 1, 0) that holds it, else escapes
// down to order -1 (every byte, count 1) or order -2 (end of stream, flush).
#include "base/procedural/KyCodec.h"

#include "base/procedural/BAlloc.h"
#include "base/procedural/KyFile.h"

#include <cstring>

namespace {

const int kEscape = 256;
const int kEndOfStream = -1;
const int kFlush = -2;
const int kMaxOrder = 2;
const int kMaximumScale = 16383;

struct Stat {
    uint8_t symbol;
    uint8_t count;
};

struct Table {
    int32_t maxIndex;   // last entry of stats; -1 when empty
    int32_t linkSlots;  // entries of links (the order -1 table keeps one)
    Table** links;      // owned array; the tables it points to are owned too
    Stat* stats;        // owned, non-increasing counts
    Table* lesser;      // not owned: the next lower order for the same history
};

struct ArithState {
    Table* contextSlots[10];  // orders -2..2 at indexes 0..4
    int32_t currentOrder;
    int32_t totals[258];
    uint8_t excluded[256];
    uint16_t code, low, high;
    int32_t underflowBits;
    int32_t expanderResume;
    int32_t flushPending;
    int32_t symbolCounter;
    int32_t currentSymbol;
    uint16_t lowCount, highCount, scale;
    int32_t ratioMarks[2];

    Table*& context(int order) { return contextSlots[order + 2]; }
};

ArithState* StateOf(KY_Codec* codec) {
    return static_cast<ArithState*>(codec->arith);
}

bool Fail(KY_Codec* codec, const char* step) {
    KY_CodecFail(codec, kCodecNoMemory, step);
    return false;
}

bool EnsureLinks(KY_Codec* codec, Table* t, int32_t slots, const char* step) {
    if (t->linkSlots >= slots)
        return true;
    Table** links = static_cast<Table**>(KY_Realloc(t->links, slots * sizeof(Table*)));
    if (!links)
        return Fail(codec, step);
    for (int32_t i = t->linkSlots; i < slots; ++i)
        links[i] = nullptr;
    t->links = links;
    t->linkSlots = slots;
    return true;
}

// Adds an entry (symbol, count 0, no link) at the end.
bool AppendEntry(KY_Codec* codec, Table* t, int symbol, bool growLinks, const char* linkStep, const char* statStep) {
    int32_t n = t->maxIndex + 2;
    if (growLinks && !EnsureLinks(codec, t, n, linkStep))
        return false;
    Stat* stats = static_cast<Stat*>(KY_Realloc(t->stats, n * sizeof(Stat)));
    if (!stats)
        return Fail(codec, statStep);
    t->stats = stats;
    stats[n - 1].symbol = static_cast<uint8_t>(symbol);
    stats[n - 1].count = 0;
    t->maxIndex = n - 1;
    return true;
}

int FindSymbol(const Table* t, int symbol) {
    for (int i = 0; i <= t->maxIndex; ++i)
        if (t->stats[i].symbol == symbol)
            return i;
    return -1;
}

Table* CreateChild(KY_Codec* codec, Table* t, int symbol, Table* lesser) {
    int i = FindSymbol(t, symbol);
    if (i < 0) {
        if (!AppendEntry(codec, t, symbol, true, "new table", "new table"))
            return nullptr;
        i = t->maxIndex;
    }
    if (!EnsureLinks(codec, t, t->maxIndex + 1, "new table"))
        return nullptr;
    Table* child = static_cast<Table*>(KY_Calloc(1, sizeof(Table)));
    if (!child) {
        Fail(codec, "new table");
        return nullptr;
    }
    child->maxIndex = -1;
    child->lesser = lesser;
    t->links[i] = child;
    return child;
}

void FreeTable(Table* t) {
    if (!t)
        return;
    for (int32_t i = 0; i < t->linkSlots; ++i)
        FreeTable(t->links[i]);
    KY_Free(t->links);
    KY_Free(t->stats);
    KY_Free(t);
}

bool Rescale(KY_Codec* codec, Table* t) {
    if (t->maxIndex < 0)
        return true;
    for (int i = 0; i <= t->maxIndex; ++i)
        t->stats[i].count /= 2;
    if (t->stats[t->maxIndex].count == 0 && !t->links) {
        while (t->maxIndex >= 0 && t->stats[t->maxIndex].count == 0)
            --t->maxIndex;
        if (t->maxIndex < 0) {
            KY_Free(t->stats);
            t->stats = nullptr;
        } else {
            Stat* stats = static_cast<Stat*>(KY_Realloc(t->stats, (t->maxIndex + 1) * sizeof(Stat)));
            if (!stats)
                return Fail(codec, "rallocate stat");
            t->stats = stats;
        }
    }
    return true;
}

// Cumulative counts of t: totals[i+1] is the top of entry i-1's interval,
// totals[1]..totals[0] the escape's. Rules out the symbols of t for the
// lower orders (all but the last entry).
bool ComputeTotals(KY_Codec* codec, ArithState* s, Table* t) {
    for (;;) {
        int max = 0;
        int32_t mi = t->maxIndex;
        s->totals[mi + 2] = 0;
        for (int32_t i = mi; i >= 0; --i) {
            s->totals[i + 1] = s->totals[i + 2];
            int count = t->stats[i].count;
            if (count && (s->currentOrder == -2 || !s->excluded[t->stats[i].symbol]))
                s->totals[i + 1] += count;
            if (count > max)
                max = count;
        }
        if (max == 0)
            s->totals[0] = 1;
        else
            s->totals[0] = ((256 - mi) * mi) / 256 / max + 1 + s->totals[1];
        if (s->totals[0] < kMaximumScale)
            break;
        if (!Rescale(codec, t))
            return false;
    }
    for (int32_t i = 0; i < t->maxIndex; ++i)
        if (t->stats[i].count)
            s->excluded[t->stats[i].symbol] = 1;
    return true;
}

bool UpdateTable(KY_Codec* codec, ArithState* s, Table* t, int symbol) {
    int i = FindSymbol(t, symbol);
    if (i < 0) {
        if (!AppendEntry(codec, t, symbol, s->currentOrder < kMaxOrder, "rallocate table", "realloc table"))
            return false;
        i = t->maxIndex;
    }
    int j = i;
    while (j > 0 && t->stats[j - 1].count == t->stats[i].count)
        --j;
    if (j != i) {
        uint8_t sym = t->stats[i].symbol;
        t->stats[i].symbol = t->stats[j].symbol;
        t->stats[j].symbol = sym;
        if (t->links && i < t->linkSlots) {
            Table* link = t->links[i];
            t->links[i] = t->links[j];
            t->links[j] = link;
        }
    }
    if (++t->stats[j].count == 255)
        return Rescale(codec, t);
    return true;
}

// The table of `order` that follows `table`'s history with c, found or created.
Table* ShiftToNextContext(KY_Codec* codec, Table* table, int c, int order) {
    table = table->lesser;
    if (order == 0)
        return table->links[0];
    int i = FindSymbol(table, c);
    if (i >= 0 && i < table->linkSlots && table->links[i])
        return table->links[i];
    Table* lesser = ShiftToNextContext(codec, table, c, order - 1);
    return lesser ? CreateChild(codec, table, c, lesser) : nullptr;
}

bool UpdateModel(KY_Codec* codec, ArithState* s, int symbol) {
    if (symbol >= 0) {
        for (int order = s->currentOrder < 0 ? 0 : s->currentOrder; order <= kMaxOrder; ++order)
            if (!UpdateTable(codec, s, s->context(order), symbol))
                return false;
    }
    s->currentOrder = kMaxOrder;
    std::memset(s->excluded, 0, sizeof s->excluded);
    if (symbol < 0)
        return true;
    Table* next = ShiftToNextContext(codec, s->context(kMaxOrder), symbol, kMaxOrder);
    if (!next)
        return false;
    s->context(kMaxOrder) = next;
    s->context(1) = next->lesser;
    return true;
}

bool FlushModel(KY_Codec* codec, Table* t) {
    for (int32_t i = 0; t->links && i < t->linkSlots && i <= t->maxIndex; ++i)
        if (t->links[i] && !FlushModel(codec, t->links[i]))
            return false;
    return Rescale(codec, t);
}

int InitModel(KY_Codec* codec) {
    ArithState* s = static_cast<ArithState*>(KY_Calloc(1, sizeof(ArithState)));
    if (!s) {
        KY_SetErrorDetail("contexts");
        return kCodecNoMemory;
    }
    codec->arith = s;
    s->currentOrder = kMaxOrder;
    Table* null = static_cast<Table*>(KY_Calloc(1, sizeof(Table)));
    if (!null) {
        KY_SetErrorDetail("null_table");
        return kCodecNoMemory;
    }
    null->maxIndex = -1;
    s->context(-1) = null;
    for (int order = 0; order <= kMaxOrder; ++order) {
        Table* lower = s->context(order - 1);
        s->context(order) = CreateChild(codec, lower, 0, lower);
        if (!s->context(order))
            return kCodecNoMemory;
    }
    Stat* all = static_cast<Stat*>(KY_Realloc(null->stats, 256 * sizeof(Stat)));
    Table* control = static_cast<Table*>(KY_Calloc(1, sizeof(Table)));
    Stat* controlStats = static_cast<Stat*>(KY_Calloc(2, sizeof(Stat)));
    if (all)
        null->stats = all;
    s->context(-2) = control;
    if (control)
        control->stats = controlStats;
    else
        KY_Free(controlStats);
    if (!all || !control || !controlStats) {
        KY_SetErrorDetail("null_table");
        return kCodecNoMemory;
    }
    for (int i = 0; i < 256; ++i)
        all[i] = Stat{static_cast<uint8_t>(i), 1};
    null->maxIndex = 255;
    control->maxIndex = 1;
    controlStats[0] = Stat{2, 1};
    controlStats[1] = Stat{1, 1};
    return 0;
}

// Narrows the interval to the current symbol's range.
void Narrow(ArithState* s) {
    int32_t range = int32_t(s->high) - s->low + 1;
    s->high = static_cast<uint16_t>(s->low + (range * s->highCount) / s->scale - 1);
    s->low = static_cast<uint16_t>(s->low + (range * s->lowCount) / s->scale);
}

void EncoderShift(KY_Codec* codec, ArithState* s) {
    for (;;) {
        if ((s->high & 0x8000) == (s->low & 0x8000)) {
            codec->outputBit(codec, s->high & 0x8000);
            for (; s->underflowBits > 0; --s->underflowBits)
                codec->outputBit(codec, ~s->high & 0x8000);
        } else if ((s->low & 0x4000) && !(s->high & 0x4000)) {
            ++s->underflowBits;
            s->low &= 0x3FFF;
            s->high |= 0x4000;
        } else {
            return;
        }
        s->low = static_cast<uint16_t>(s->low << 1);
        s->high = static_cast<uint16_t>((s->high << 1) | 1);
    }
}

// Codes c in the current table; true when that took an escape.
bool EncodeSymbol(KY_Codec* codec, ArithState* s, int c) {
    Table* t = s->context(s->currentOrder);
    if (!ComputeTotals(codec, s, t))
        return false;
    s->scale = static_cast<uint16_t>(s->totals[0]);
    if (s->currentOrder == -2)
        c = -c;
    int i = c >= 0 && c <= 255 ? FindSymbol(t, c) : -1;
    bool escaped = i < 0 || t->stats[i].count == 0;
    if (escaped) {
        s->lowCount = static_cast<uint16_t>(s->totals[1]);
        s->highCount = static_cast<uint16_t>(s->totals[0]);
        --s->currentOrder;
    } else {
        s->lowCount = static_cast<uint16_t>(s->totals[i + 2]);
        s->highCount = static_cast<uint16_t>(s->totals[i + 1]);
    }
    Narrow(s);
    EncoderShift(codec, s);
    return escaped;
}

// Decodes one symbol of the current table: a byte, kEscape, kEndOfStream or
// kFlush; kEscape with codec->failure set on bad data.
int DecodeSymbol(KY_Codec* codec, ArithState* s) {
    Table* t = s->context(s->currentOrder);
    if (!ComputeTotals(codec, s, t))
        return kEscape;
    int32_t scale = s->totals[0];
    int32_t range = int32_t(s->high) - s->low + 1;
    int32_t count = ((int32_t(s->code) - s->low + 1) * scale - 1) / range;
    if (count < 0 || count >= scale) {
        KY_CodecFail(codec, kCodecCorrupt, "arithmetic code outside its interval");
        return kEscape;
    }
    int i = 1;
    while (count < s->totals[i])
        ++i;
    int symbol;
    if (i == 1) {
        if (s->currentOrder == -2) {
            KY_CodecFail(codec, kCodecCorrupt, "escape below the last context");
            return kEscape;
        }
        s->lowCount = static_cast<uint16_t>(s->totals[1]);
        s->highCount = static_cast<uint16_t>(s->totals[0]);
        --s->currentOrder;
        symbol = kEscape;
    } else {
        s->lowCount = static_cast<uint16_t>(s->totals[i]);
        s->highCount = static_cast<uint16_t>(s->totals[i - 1]);
        symbol = t->stats[i - 2].symbol;
        if (s->currentOrder == -2)
            symbol = -symbol;
    }
    s->scale = static_cast<uint16_t>(scale);
    Narrow(s);
    for (;;) {
        if ((s->high & 0x8000) == (s->low & 0x8000)) {
        } else if ((s->low & 0x4000) && !(s->high & 0x4000)) {
            s->code ^= 0x4000;
            s->low &= 0x3FFF;
            s->high |= 0x4000;
        } else {
            break;
        }
        s->low = static_cast<uint16_t>(s->low << 1);
        s->high = static_cast<uint16_t>((s->high << 1) | 1);
        s->code = static_cast<uint16_t>((s->code << 1) + codec->inputBit(codec));
    }
    return symbol;
}

int CheckRatio(ArithState* s, int32_t inputMark, int32_t outputMark) {
    int32_t inputGrowth = inputMark - s->ratioMarks[0];
    int32_t outputGrowth = outputMark - s->ratioMarks[1];
    s->ratioMarks[0] = inputMark;
    s->ratioMarks[1] = outputMark;
    if (outputGrowth == 0)
        outputGrowth = 1;
    if (inputGrowth <= 0)
        return 0;
    return int64_t(outputGrowth) * 100 / inputGrowth > 90;
}

}  // namespace

int KY_RatioCheckMem(KY_Codec* codec) {
    return CheckRatio(StateOf(codec), codec->input.count + static_cast<int32_t>(codec->input.position),
                      codec->output.count + static_cast<int32_t>(codec->output.position));
}

int KY_RatioCheckFiles(KY_Codec* codec) {
    return CheckRatio(StateOf(codec), KY_FTell(static_cast<KY_File*>(codec->input.data)),
                      KY_FTell(static_cast<KY_File*>(codec->output.data)));
}

int KY_RatioCheckFileToMem(KY_Codec* codec) {
    return CheckRatio(StateOf(codec), KY_FTell(static_cast<KY_File*>(codec->input.data)),
                      codec->output.count + static_cast<int32_t>(codec->output.position));
}

int KY_ArithCompressInit(KY_Codec* codec) {
    int code = InitModel(codec);
    if (code)
        return code;
    ArithState* s = StateOf(codec);
    s->low = 0;
    s->high = 0xFFFF;
    s->underflowBits = 0;
    return 0;
}

int KY_ArithExpandInit(KY_Codec* codec) {
    int code = InitModel(codec);
    if (code)
        return code;
    ArithState* s = StateOf(codec);
    s->code = static_cast<uint16_t>(codec->inputBits(codec, 16));
    s->low = 0;
    s->high = 0xFFFF;
    return 0;
}

int KY_ArithCompress(KY_Codec* codec) {
    ArithState* s = StateOf(codec);
    for (;;) {
        if (codec->outputFull || codec->failure)
            return -1;
        if ((++s->symbolCounter & 0xFF) == 0)
            s->flushPending = codec->ratioCheck(codec);
        int c = s->flushPending ? kFlush : codec->inputByte(codec, &codec->input);
        if (c < 0 && c != kFlush)
            c = kEndOfStream;
        while (EncodeSymbol(codec, s, c))
            if (codec->failure)
                return -1;
        if (c == kEndOfStream) {
            codec->outputBit(codec, s->low & 0x4000);
            for (++s->underflowBits; s->underflowBits > 0; --s->underflowBits)
                codec->outputBit(codec, ~s->low & 0x4000);
            codec->outputBits(codec, 0, 16);
            return codec->outputFull ? -1 : 0;
        }
        if (c == kFlush) {
            if (!FlushModel(codec, s->context(0)))
                return -1;
            s->flushPending = 0;
        }
        UpdateModel(codec, s, c);
    }
}

int KY_ArithExpand(KY_Codec* codec) {
    ArithState* s = StateOf(codec);
    codec->outputFull = 0;
    for (;;) {
        if (s->expanderResume != 1) {
            int symbol;
            do {
                symbol = DecodeSymbol(codec, s);
                if (codec->failure)
                    return -1;
            } while (symbol == kEscape);
            s->currentSymbol = symbol;
            if (symbol == kEndOfStream)
                return 0;
            if (symbol == kFlush && !FlushModel(codec, s->context(0)))
                return -1;
        }
        if (s->currentSymbol >= 0) {
            codec->outputByte(codec, s->currentSymbol, &codec->output);
            if (codec->outputFull) {
                s->expanderResume = 1;
                return -1;
            }
        }
        s->expanderResume = 0;
        if (!UpdateModel(codec, s, s->currentSymbol))
            return -1;
    }
}

int KY_ArithTerm(KY_Codec* codec) {
    ArithState* s = StateOf(codec);
    if (s) {
        FreeTable(s->context(-1));
        FreeTable(s->context(-2));
        KY_Free(s);
    }
    codec->arith = nullptr;
    return 0;
}
