// Compiler and backtracking matcher of the classic basic regular expressions.
#include "base/procedural/KyRegExp.h"

#include "base/object/BAlloc.h"
#include "base/procedural/Trace.h"

#include <climits>
#include <cstring>

namespace {

// Program: a sequence of elements, each an opcode byte and its operands:
//   kChar c | kDot | kSet bits[32] | kBack g | kBra g | kKet g | kDollar | kEof
// The single-character elements (kChar, kDot, kSet) may carry kStar or
// kRange in the opcode's low two bits; kRange adds low and high counts after
// the operands, 16-bit little-endian each. kBack may carry kStar.
enum : unsigned char {
    kChar = 4,
    kDot = 8,
    kSet = 12,
    kBack = 16,
    kBra = 20,
    kKet = 24,
    kDollar = 28,
    kEof = 32,
};
const unsigned char kStar = 1;
const unsigned char kRange = 2;
const unsigned char kFlags = 3;
const int kSetBytes = 32;
const int kOpenUpperBound = 20000;
const int kMaxCount = 255;
// Each repeated element is one level of the matcher's recursion: beyond this
// many a pattern is an overflow rather than a stack overflow.
const int kMaxRepeated = 4096;
// The largest element: opcode, set bitmap and two counts.
const size_t kMaxElement = 1 + kSetBytes + 4;

struct LastMatch {
    const char* subject = nullptr;
    const KY_RegExp* pattern = nullptr;   // null: no last match
    int groups = 0;
    long start[kKyRegMaxGroups + 1] = {};
    long end[kKyRegMaxGroups + 1] = {};
};

LastMatch g_last;
int g_lastError = 0;

struct Program {
    unsigned char* out;
    size_t used;
    size_t capacity;

    void emit(unsigned char b) { out[used++] = b; }
    void emitCount(int v) {
        emit(static_cast<unsigned char>(v & 0xFF));
        emit(static_cast<unsigned char>(v >> 8));
    }
};

void PlaceInSet(unsigned char* bits, unsigned c) {
    bits[c >> 3] |= static_cast<unsigned char>(1u << (c & 7));
}

bool InSet(const unsigned char* bits, unsigned c) {
    return (bits[c >> 3] >> (c & 7)) & 1;
}

// Reads the counts of \{m\}, \{m,\} or \{m,n\}; s points after "\{". Answers an
// error number or 0, with the cursor after the closing "\}".
int ParseCounts(const unsigned char* s, size_t& i, int& low, int& high) {
    int numbers[2];
    int count = 0;
    for (;;) {
        unsigned char c = s[i++];
        int v = 0;
        do {
            if (c < '0' || c > '9')
                return 16;
            v = v * 10 + (c - '0');
            if (v > kMaxCount)
                return 11;
            c = s[i++];
        } while (c != '\\' && c != ',');
        numbers[count++] = v;
        if (c == ',') {
            if (count > 1)
                return 44;
            if (s[i] == '\\') {
                ++i;
                numbers[count++] = kOpenUpperBound;
                break;
            }
            continue;
        }
        break;
    }
    if (s[i++] != '}')
        return 45;
    low = numbers[0];
    high = count == 1 ? numbers[0] : numbers[1];
    if (high < low)
        return 46;
    return 0;
}

// Compiles pattern into prog; answers an error number or 0.
int Compile(const unsigned char* s, Program& prog, int& groups, int& anchored) {
    if (*s == 0)
        return 41;
    size_t i = 0;
    anchored = 0;
    if (s[0] == '^') {
        anchored = 1;
        i = 1;
    }
    long lastep = -1;  // start of the last element that * or \{ may repeat
    int nbra = 0;
    int repeated = 0;
    unsigned closedMask = 0;
    int open[kKyRegMaxGroups];
    int depth = 0;
    auto literal = [&](unsigned char c) {
        lastep = static_cast<long>(prog.used);
        prog.emit(kChar);
        prog.emit(c);
    };
    for (;;) {
        if (prog.used + kMaxElement > prog.capacity)
            return 50;
        unsigned char c = s[i++];
        switch (c) {
        case 0:
            prog.emit(kEof);
            if (depth != 0)
                return 42;
            groups = nbra;
            return 0;
        case '\n':
            return 36;
        case '.':
            lastep = static_cast<long>(prog.used);
            prog.emit(kDot);
            break;
        case '*':
            // At the start or right after \( or \), a star is an ordinary character.
            if (lastep < 0) {
                literal(c);
                break;
            }
            if ((prog.out[lastep] & kFlags) == 0) {
                if (++repeated > kMaxRepeated)
                    return 50;
                prog.out[lastep] |= kStar;
            }
            break;
        case '$':
            if (s[i] != 0) {
                literal(c);
                break;
            }
            prog.emit(kDollar);
            lastep = -1;
            break;
        case '[': {
            lastep = static_cast<long>(prog.used);
            prog.emit(kSet);
            unsigned char* bits = prog.out + prog.used;
            std::memset(bits, 0, kSetBytes);
            prog.used += kSetBytes;
            bool negate = false;
            c = s[i++];
            if (c == '^') {
                negate = true;
                c = s[i++];
            }
            int previous = -1;
            do {
                if (c == 0 || c == '\n')
                    return 49;
                if (c == '-' && previous >= 0) {
                    c = s[i++];
                    if (c == ']') {
                        PlaceInSet(bits, '-');
                        break;
                    }
                    if (c == 0 || c == '\n')
                        return 49;
                    for (int k = previous; k < c; ++k)
                        PlaceInSet(bits, static_cast<unsigned>(k));
                }
                previous = c;
                PlaceInSet(bits, c);
            } while ((c = s[i++]) != ']');
            if (negate) {
                for (int k = 0; k < kSetBytes; ++k)
                    bits[k] = static_cast<unsigned char>(~bits[k]);
                bits[0] &= 0xFE;  // the terminator never matches
            }
            break;
        }
        case '\\':
            c = s[i++];
            if (c == 0 || c == '\n')
                return 36;
            if (c == '(') {
                if (nbra >= kKyRegMaxGroups)
                    return 43;
                open[depth++] = nbra;
                prog.emit(kBra);
                prog.emit(static_cast<unsigned char>(nbra++));
                lastep = -1;
            } else if (c == ')') {
                if (depth == 0)
                    return 42;
                int g = open[--depth];
                prog.emit(kKet);
                prog.emit(static_cast<unsigned char>(g));
                closedMask |= 1u << g;
                lastep = -1;
            } else if (c == '{' && lastep >= 0 && (prog.out[lastep] & kFlags) == 0 && prog.out[lastep] != kBack) {
                int low = 0;
                int high = 0;
                if (int error = ParseCounts(s, i, low, high))
                    return error;
                if (++repeated > kMaxRepeated)
                    return 50;
                prog.out[lastep] |= kRange;
                prog.emitCount(low);
                prog.emitCount(high);
            } else if (c >= '1' && c <= '9') {
                int g = c - '1';
                if (!(closedMask & (1u << g)))
                    return 25;
                lastep = static_cast<long>(prog.used);
                prog.emit(kBack);
                prog.emit(static_cast<unsigned char>(g));
            } else {
                literal(c);
            }
            break;
        default:
            literal(c);
            break;
        }
    }
}

// Walks a program to its kEof: its size in bytes, and whether it refers back to a group.
size_t ScanProgram(const unsigned char* ep, bool& backReference) {
    const unsigned char* start = ep;
    backReference = false;
    for (;;) {
        unsigned char op = *ep++;
        if (op == kEof)
            return static_cast<size_t>(ep - start);
        unsigned char base = static_cast<unsigned char>(op & ~kFlags);
        backReference = backReference || base == kBack;
        ep += base == kSet ? kSetBytes : base == kDot || base == kDollar ? 0 : 1;
        if ((op & kFlags) == kRange)
            ep += 4;
    }
}

// Backtracking steps after which a search starts remembering failures, and
// the most bits (program bytes x text positions) it spends on them.
const long kRememberAfter = 4096;
const size_t kMaxRememberedBits = size_t(16) << 20;

struct Matcher {
    const unsigned char* braStart[kKyRegMaxGroups];
    const unsigned char* braEnd[kKyRegMaxGroups];
    const unsigned char* matchEnd;
    // Without back-references, whether the program matches from a position
    // depends on nothing else: a failure recorded once is never tried again,
    // which keeps patterns such as a*a*a*a*b from taking exponential time.
    const unsigned char* program;
    const unsigned char* text;
    size_t columns;        // text positions, terminator included
    size_t programSize;
    bool canRemember;
    long steps = 0;
    unsigned char* failed = nullptr;  // owned bits, program offset x text position

    ~Matcher() { KY_Free(failed); }

    bool tryAt(const unsigned char* lp, const unsigned char* ep) {
        if (!failed && canRemember && ++steps > kRememberAfter) {
            canRemember = false;
            if (columns <= kMaxRememberedBits / programSize)
                failed = static_cast<unsigned char*>(KY_Calloc(programSize * columns / 8 + 1, 1));
        }
        if (!failed)
            return advance(lp, ep);
        size_t bit = size_t(ep - program) * columns + size_t(lp - text);
        if ((failed[bit >> 3] >> (bit & 7)) & 1)
            return false;
        if (advance(lp, ep))
            return true;
        failed[bit >> 3] |= static_cast<unsigned char>(1u << (bit & 7));
        return false;
    }

    static bool one(unsigned char base, const unsigned char* operand, unsigned char c) {
        if (c == 0)
            return false;
        if (base == kChar)
            return c == *operand;
        if (base == kSet)
            return InSet(operand, c);
        return true;
    }

    // Matches the program from ep against the text from lp; longest first for
    // repeated elements, backtracking one character at a time.
    bool advance(const unsigned char* lp, const unsigned char* ep) {
        for (;;) {
            unsigned char op = *ep++;
            switch (op) {
            case kChar:
                if (*lp++ != *ep++)
                    return false;
                continue;
            case kDot:
                if (*lp++ == 0)
                    return false;
                continue;
            case kSet:
                if (!InSet(ep, *lp++))
                    return false;
                ep += kSetBytes;
                continue;
            case kDollar:
                if (*lp != 0)
                    return false;
                continue;
            case kEof:
                matchEnd = lp;
                return true;
            case kBra:
                braStart[*ep++] = lp;
                continue;
            case kKet:
                braEnd[*ep++] = lp;
                continue;
            case kBack: {
                int g = *ep++;
                size_t n = static_cast<size_t>(braEnd[g] - braStart[g]);
                if (std::strncmp(reinterpret_cast<const char*>(braStart[g]), reinterpret_cast<const char*>(lp), n) != 0)
                    return false;
                lp += n;
                continue;
            }
            case kBack | kStar: {
                int g = *ep++;
                size_t n = static_cast<size_t>(braEnd[g] - braStart[g]);
                if (n == 0)
                    continue;
                const unsigned char* first = lp;
                while (std::strncmp(reinterpret_cast<const char*>(braStart[g]), reinterpret_cast<const char*>(lp), n) == 0)
                    lp += n;
                for (;; lp -= n) {
                    if (tryAt(lp, ep))
                        return true;
                    if (lp == first)
                        return false;
                }
            }
            default:
                break;
            }
            unsigned char base = static_cast<unsigned char>(op & ~kFlags);
            const unsigned char* operand = ep;
            ep += base == kChar ? 1 : base == kSet ? kSetBytes : 0;
            long low = 0;
            long high = LONG_MAX;
            if ((op & kFlags) == kRange) {
                low = ep[0] | ep[1] << 8;
                high = ep[2] | ep[3] << 8;
                ep += 4;
            }
            for (long k = 0; k < low; ++k, ++lp)
                if (!one(base, operand, *lp))
                    return false;
            const unsigned char* first = lp;
            for (long k = low; k < high && one(base, operand, *lp); ++k)
                ++lp;
            for (;; --lp) {
                if (tryAt(lp, ep))
                    return true;
                if (lp == first)
                    return false;
            }
        }
    }
};

}  // namespace

KY_RegExp* KY_RegComp(const char* pattern) {
    if (!pattern)
        pattern = "";
    size_t length = std::strlen(pattern);
    KY_RegExp* re = static_cast<KY_RegExp*>(KY_Calloc(1, sizeof(KY_RegExp)));
    if (!re)
        return nullptr;
    // Ten program bytes a pattern character is the classic size; a bracket set
    // of three characters takes 33, so allow for that.
    Program prog{nullptr, 0, length * 12 + kMaxElement + 1};
    prog.out = static_cast<unsigned char*>(KY_Malloc(prog.capacity));
    re->source = KY_StrDup(pattern, "regexp", __LINE__);
    if (!prog.out || !re->source) {
        KY_Free(prog.out);
        KY_Free(re->source);
        KY_Free(re);
        g_lastError = 0;
        return nullptr;
    }
    int groups = 0;
    int anchored = 0;
    int error = Compile(reinterpret_cast<const unsigned char*>(pattern), prog, groups, anchored);
    if (error) {
        KY_Free(prog.out);
        KY_Free(re->source);
        KY_Free(re);
        KY_RegError(error);
        return nullptr;
    }
    unsigned char* cut = static_cast<unsigned char*>(KY_Realloc(prog.out, prog.used));
    re->program = cut ? cut : prog.out;
    re->groups = groups;
    re->anchored = anchored;
    re->owned = 1;
    g_lastError = 0;
    return re;
}

KY_RegExp* KY_RegFree(KY_RegExp* re) {
    if (!re)
        return nullptr;
    if (g_last.pattern == re)
        g_last.pattern = nullptr;
    KY_Free(re->program);
    if (re->owned)
        KY_Free(re->source);
    KY_Free(re);
    return nullptr;
}

int KY_RegExecAt(const char* subject, long offset, const KY_RegExp* re, long* start, long* end) {
    g_last.pattern = nullptr;
    if (!subject || !re || offset < 0)
        return 0;
    size_t length = std::strlen(subject);
    // The end itself is a position: an empty match may stand there.
    if (static_cast<size_t>(offset) > length)
        return 0;
    const unsigned char* base = reinterpret_cast<const unsigned char*>(subject);
    const unsigned char* p = base + offset;
    Matcher m;
    m.program = re->program;
    m.text = base;
    m.columns = length + 1;
    bool backReference = false;
    m.programSize = ScanProgram(re->program, backReference);
    m.canRemember = !backReference;
    bool found = false;
    for (;;) {
        if (m.advance(p, re->program)) {
            found = true;
            break;
        }
        if (re->anchored || *p == 0)
            break;
        ++p;
    }
    if (!found)
        return 0;
    g_last.subject = subject;
    g_last.pattern = re;
    g_last.groups = re->groups;
    g_last.start[0] = static_cast<long>(p - base);
    g_last.end[0] = static_cast<long>(m.matchEnd - base);
    for (int g = 0; g < re->groups; ++g) {
        g_last.start[g + 1] = static_cast<long>(m.braStart[g] - base);
        g_last.end[g + 1] = static_cast<long>(m.braEnd[g] - base);
    }
    if (start)
        *start = g_last.start[0];
    if (end)
        *end = g_last.end[0];
    return 1;
}

int KY_RegExec(const char* subject, const KY_RegExp* re, long* start, long* end) {
    return KY_RegExecAt(subject, 0, re, start, end);
}

int KY_RegGroup(int n, long* start, long* end) {
    if (!g_last.pattern || n < 0 || n > g_last.groups)
        return 0;
    if (start)
        *start = g_last.start[n];
    if (end)
        *end = g_last.end[n];
    return 1;
}

const char* KY_RegLastSubject() {
    return g_last.pattern ? g_last.subject : nullptr;
}

const char* KY_RegErrorText(int number) {
    switch (number) {
    case 11: return "Range endpoint too large";
    case 16: return "Bad Number";
    case 25: return "\\digit out of range";
    case 36: return "Illegal or missing delimiter";
    case 41: return "No remembered search string";
    case 42: return "\\( \\) imbalance";
    case 43: return "Too many \\(";
    case 44: return "More than\t2 numbers given\tin \\{ \\}";
    case 45: return "}\texpected after \\";
    case 46: return "First number exceeds second in \\{\t\\}";
    case 49: return "[\t] imbalance";
    case 50: return "Regular expression overflow";
    default: return "Unregistered error";
    }
}

void KY_RegError(int number) {
    g_lastError = number;
    TraceLevel(0, "regexp error %d : %s\n", number, KY_RegErrorText(number));
}

int KY_RegLastError() {
    return g_lastError;
}
