// Damaged records: deterministic bit flips, cuts and splices of valid records
// expand to success or an error code, never a crash, a hang or a read past
// the input (which ends right before a page the process may not read).
#include "base/procedural/AImageLibError.h"
#include "base/procedural/KyCodec.h"
#include "tests/base/procedural/CodecSamples.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

namespace {

const size_t kPage = 4096;

// A record placed flush against an unreadable page.
class GuardedInput {
public:
    GuardedInput() {
        base_ = static_cast<uint8_t*>(VirtualAlloc(nullptr, 2 * kPage, MEM_COMMIT, PAGE_READWRITE));
        DWORD old;
        VirtualProtect(base_ + kPage, kPage, PAGE_NOACCESS, &old);
    }
    ~GuardedInput() { VirtualFree(base_, 0, MEM_RELEASE); }
    const uint8_t* place(const std::string& record) {
        uint8_t* at = base_ + kPage - record.size();
        std::memcpy(at, record.data(), record.size());
        return at;
    }

private:
    uint8_t* base_;
};

struct Lcg {
    uint32_t state;
    uint32_t next(uint32_t bound) {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) % bound;
    }
};

std::string Mutate(const std::string& record, const std::string& other, Lcg& rng) {
    std::string m = record;
    switch (rng.next(3)) {
        case 0:
            for (uint32_t n = 1 + rng.next(3); n && !m.empty(); --n)
                m[rng.next(static_cast<uint32_t>(m.size()))] ^= static_cast<char>(1 << rng.next(8));
            break;
        case 1:
            m.resize(rng.next(static_cast<uint32_t>(m.size()) + 1));
            break;
        default: {
            size_t from = rng.next(static_cast<uint32_t>(other.size()));
            size_t count = rng.next(static_cast<uint32_t>(other.size() - from) + 1);
            size_t at = rng.next(static_cast<uint32_t>(m.size()) + 1);
            m = m.substr(0, at) + other.substr(from, count) + m.substr(std::min(m.size(), at + count));
            if (m.size() > kPage)
                m.resize(kPage);
            break;
        }
    }
    return m;
}

TEST(CodecRobustness, DamagedRecordsEndInACode) {
    GuardedInput guard;
    const size_t kOutputCap = 8 << 20;
    for (int mode = 1; mode <= 5; ++mode) {
        SCOPED_TRACE(mode);
        std::string records[2];
        if (mode == 5) {
            records[0] = MakePng(12, 10, 2, RandomBytes(12 * 10 * 3, 3));
            records[1] = MakePng(7, 5, 3, FrenchText(35, 4), true);
        } else {
            records[0] = Pack(mode, FrenchText(700, 11));
            records[1] = Pack(mode, RandomBytes(300, 12));
        }
        Lcg rng{static_cast<uint32_t>(mode)};
        int outcomes[4] = {0, 0, 0, 0};
        std::vector<uint8_t> buffer(4096);
        for (int i = 0; i < 10000; ++i) {
            const std::string& record = records[i & 1];
            std::string damaged = Mutate(record, records[(i & 1) ^ 1], rng);
            const uint8_t* in = guard.place(damaged);
            KY_Codec codec = {};
            KY_CodecSetMode(&codec, mode);
            int32_t length = static_cast<int32_t>(buffer.size());
            size_t total = 0;
            int code = 0;
            try {
                code = KY_CodecExpandMemStart(&codec, in, static_cast<int32_t>(damaged.size()), buffer.data(), &length,
                                              INT32_MAX, 0);
                while (code == kCodecMore && total < kOutputCap) {
                    total += buffer.size();
                    length = static_cast<int32_t>(buffer.size());
                    code = KY_CodecExpandMemNext(&codec, buffer.data(), &length);
                }
            } catch (const AImageLibError&) {
                code = -1;
            }
            ASSERT_LT(total, kOutputCap) << "runaway expansion, mutation " << i;
            ASSERT_TRUE(code == kCodecDone || code == kCodecCorrupt || code == kCodecNoProgress ||
                        code == kCodecNoMemory || code == -1)
                << code << " at mutation " << i;
            ASSERT_TRUE(KY_CodecIsIdle(&codec));
            ++outcomes[code == kCodecDone ? 0 : code == kCodecCorrupt ? 1 : code == -1 ? 2 : 3];
        }
        EXPECT_GT(outcomes[1] + outcomes[2], 1000) << "most damage is noticed";
    }
}

}  // namespace
