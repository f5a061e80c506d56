// Compiler and matchers of the classic basic regular expressions: a
// simulation in time linear in the subject, and backtracking for back-references.
#include "base/procedural/KyRegExp.h"

#include "base/procedural/BAlloc.h"
#include "base/procedural/Trace.h"

#include <climits>
#include <cstdint>
#include <cstring>
#include <utility>

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
    const KY_RegExp* pattern = nullptr;  // null: no last match
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

// Repetitions of a character element without an upper bound: * and \{m,\}.
const long kUnbounded = LONG_MAX;

bool Accepts(unsigned char base, const unsigned char* operand, unsigned char c) {
    if (c == 0)
        return false;
    if (base == kChar)
        return c == *operand;
    if (base == kSet)
        return InSet(operand, c);
    return true;
}

// The counts of an element carrying kStar or kRange; ep points after its
// operands and moves past the counts.
void ReadCounts(unsigned char op, const unsigned char*& ep, long& low, long& high) {
    low = 0;
    high = kUnbounded;
    if ((op & kFlags) != kRange)
        return;
    low = ep[0] | ep[1] << 8;
    high = ep[2] | ep[3] << 8;
    if (high == kOpenUpperBound)
        high = kUnbounded;
    ep += 4;
}

// An element as the simulation reads it; a character element (kChar, kDot,
// kSet) repeats low to high times, any other passes once.
struct Node {
    unsigned char base;            // opcode without kStar or kRange
    unsigned char slot;            // of kBra and kKet: the capture it sets
    const unsigned char* operand;  // the character of kChar, the bitmap of kSet
    long low;
    long high;
    long firstState;  // state of count 0; a character element has one per count it tells apart
};

// Decodes a program into nodes (when nodes is not null); answers their number,
// kEof included. A back-reference decodes as .*, which matches whatever its
// group held: the nodes then match wherever the program may.
size_t Decode(const unsigned char* ep, Node* nodes, bool& backReference) {
    backReference = false;
    for (size_t n = 0;; ++n) {
        unsigned char op = *ep++;
        Node node{static_cast<unsigned char>(op & ~kFlags), 0, ep, 1, 1, 0};
        switch (node.base) {
            case kBack:
                backReference = true;
                node.base = kDot;
                node.low = 0;
                node.high = kUnbounded;
                op = kBack;  // a star adds nothing to .*
                ++ep;
                break;
            case kBra:
            case kKet:
                // Captures: the match's start and end, then each group's.
                node.slot = static_cast<unsigned char>(2 + 2 * *ep++ + (node.base == kKet));
                break;
            case kChar:
                ++ep;
                break;
            case kSet:
                ep += kSetBytes;
                break;
            default:
                break;
        }
        if (op & kFlags)
            ReadCounts(op, ep, node.low, node.high);
        if (nodes)
            nodes[n] = node;
        if (node.base == kEof)
            return n + 1;
    }
}

// Threads at one text position, highest priority first.
struct Threads {
    long* node;
    long* count;  // repetitions of its node so far, up to the last count the node tells apart
    long* caps;   // slots per thread
    long size;
};

// Runs the nodes over the text as threads, at most one per state, kept in the
// order in which the backtracking matcher would try them, so both find the
// same match. A text position costs at most (states x captures) steps.
class Simulation {
public:
    Simulation(const unsigned char* program, const unsigned char* text, long length, int groups)
        : text_(text), length_(length), slots_(2 * (groups + 1)) {
        size_t count = Decode(program, nullptr, backReference_);
        nodes_ = static_cast<Node*>(KY_Malloc(count * sizeof(Node)));
        if (!nodes_)
            return;
        Decode(program, nodes_, backReference_);
        size_t states = 0;
        for (size_t i = 0; i < count; ++i) {
            Node& n = nodes_[i];
            n.firstState = static_cast<long>(states);
            bool character = n.base == kChar || n.base == kDot || n.base == kSet;
            states += character ? static_cast<size_t>(n.high == kUnbounded ? n.low : n.high) + 1 : 1;
        }
        size_t perState = 1 + 2 * (2 + slots_);
        if (states > (SIZE_MAX / sizeof(long) - 2 * slots_) / perState)
            return;
        long* p = static_cast<long*>(KY_Malloc((states * perState + 2 * slots_) * sizeof(long)));
        longs_ = p;
        if (!p)
            return;
        seen_ = p;
        std::memset(seen_, 0, states * sizeof(long));
        p += states;
        for (Threads& list : lists_) {
            list.node = p;
            list.count = p + states;
            list.caps = p + 2 * states;
            p += states * (2 + slots_);
        }
        work_ = p;
        best_ = p + slots_;
    }
    ~Simulation() {
        KY_Free(longs_);
        KY_Free(nodes_);
    }
    bool ready() const { return longs_ != nullptr; }
    bool backReference() const { return backReference_; }
    // Captures of the match found: its start and end, then each group's.
    const long* best() const { return best_; }

    // Finds the first match from offset on; its captures go to best().
    bool run(long offset, bool anchored) {
        Threads* now = &lists_[0];
        Threads* next = &lists_[1];
        now->size = 0;
        bool matched = false;
        for (long p = offset;; ++p) {
            long stamp = p - offset + 1;
            if (!matched && (p == offset || !anchored)) {
                for (int k = 0; k < slots_; ++k)
                    work_[k] = -1;
                work_[0] = p;
                add(*now, 0, 0, p, stamp);
            }
            next->size = 0;
            for (long t = 0; t < now->size; ++t) {
                const Node& n = nodes_[now->node[t]];
                const long* caps = now->caps + t * slots_;
                if (n.base == kEof) {
                    // The threads after this one would be tried after it.
                    std::memcpy(best_, caps, slots_ * sizeof(long));
                    best_[1] = p;
                    matched = true;
                    break;
                }
                long count = now->count[t] + 1;
                if (n.high == kUnbounded && count > n.low)
                    count = n.low;
                std::memcpy(work_, caps, slots_ * sizeof(long));
                add(*next, now->node[t], count, p + 1, stamp + 1);
            }
            if (p == length_ || (next->size == 0 && (matched || anchored)))
                return matched;
            std::swap(now, next);
        }
    }

private:
    // Adds the thread at node i with count repetitions, at position p, and
    // those it leads to without reading, in the matcher's order: a repeated
    // element first reads once more, then lets the next element try.
    void add(Threads& list, long i, long count, long p, long stamp) {
        for (;; ++i, count = 0) {
            const Node& n = nodes_[i];
            long id = n.firstState + count;
            if (seen_[id] == stamp)
                return;
            seen_[id] = stamp;
            switch (n.base) {
                case kBra:
                case kKet:
                    work_[n.slot] = p;
                    continue;
                case kDollar:
                    if (p != length_)
                        return;
                    continue;
                case kEof:
                    push(list, i, 0);
                    return;
                default:
                    if (count < n.high && Accepts(n.base, n.operand, text_[p]))
                        push(list, i, count);
                    if (count < n.low)
                        return;
            }
        }
    }

    void push(Threads& list, long i, long count) {
        list.node[list.size] = i;
        list.count[list.size] = count;
        std::memcpy(list.caps + list.size * slots_, work_, slots_ * sizeof(long));
        ++list.size;
    }

    const unsigned char* text_;
    long length_;
    int slots_;
    bool backReference_ = false;
    Node* nodes_ = nullptr;  // owned
    long* longs_ = nullptr;  // owned: seen_, lists_, work_ and best_
    long* seen_ = nullptr;   // by state: stamp of the last list it joined
    Threads lists_[2] = {};
    long* work_ = nullptr;  // captures of the thread being added
    long* best_ = nullptr;
};

// Steps (elements tried and characters compared) that a search with
// back-references may take before it ends as too complex: about 0.1 s here,
// where the patterns that ran out took minutes.
const int64_t kStepBudget = int64_t(1) << 25;

// Backtracking matcher, for back-references: what they match depends on the
// path taken, which the simulation does not keep.
struct Matcher {
    const unsigned char* braStart[kKyRegMaxGroups];
    const unsigned char* braEnd[kKyRegMaxGroups];
    const unsigned char* matchEnd;
    int64_t steps = 0;
    bool tooComplex = false;

    bool spend(int64_t n) {
        steps += n;
        tooComplex = tooComplex || steps > kStepBudget;
        return !tooComplex;
    }

    bool tryAt(const unsigned char* lp, const unsigned char* ep) { return spend(1) && advance(lp, ep); }

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
                    if (!spend(static_cast<int64_t>(n)))
                        return false;
                    if (std::strncmp(reinterpret_cast<const char*>(braStart[g]), reinterpret_cast<const char*>(lp),
                                     n) != 0)
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
                    while (spend(static_cast<int64_t>(n)) && std::strncmp(reinterpret_cast<const char*>(braStart[g]),
                                                                          reinterpret_cast<const char*>(lp), n) == 0)
                        lp += n;
                    for (;; lp -= n) {
                        if (tryAt(lp, ep))
                            return true;
                        if (lp == first || tooComplex)
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
            long high = 0;
            ReadCounts(op, ep, low, high);
            for (long k = 0; k < low; ++k, ++lp)
                if (!Accepts(base, operand, *lp))
                    return false;
            const unsigned char* first = lp;
            for (long k = low; k < high && Accepts(base, operand, *lp); ++k)
                ++lp;
            if (!spend(lp - first + low))
                return false;
            for (;; --lp) {
                if (tryAt(lp, ep))
                    return true;
                if (lp == first || tooComplex)
                    return false;
            }
        }
    }

    // Tries each start from first on (only first when anchored): 1 with the
    // captures of the match, 0 without one, -1 when the step budget ran out.
    int search(const unsigned char* text, long first, bool anchored, const unsigned char* program, int groups,
               long* caps) {
        for (const unsigned char* p = text + first;; ++p) {
            if (tryAt(p, program)) {
                caps[0] = static_cast<long>(p - text);
                caps[1] = static_cast<long>(matchEnd - text);
                for (int g = 0; g < groups; ++g) {
                    caps[2 + 2 * g] = static_cast<long>(braStart[g] - text);
                    caps[3 + 2 * g] = static_cast<long>(braEnd[g] - text);
                }
                return 1;
            }
            if (tooComplex)
                return -1;
            if (anchored || *p == 0)
                return 0;
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
    // An empty rest never matches, even for a pattern that matches the empty
    // text elsewhere: loops that search again from the end of a match rely on it.
    if (static_cast<size_t>(offset) >= length)
        return 0;
    const unsigned char* text = reinterpret_cast<const unsigned char*>(subject);
    long caps[2 * (kKyRegMaxGroups + 1)];
    bool backReference = false;
    {
        Simulation simulation(re->program, text, static_cast<long>(length), re->groups);
        if (!simulation.ready()) {
            g_lastError = 0;
            return -1;
        }
        if (!simulation.run(offset, re->anchored != 0))
            return 0;
        std::memcpy(caps, simulation.best(), 2 * (re->groups + 1) * sizeof(long));
        backReference = simulation.backReference();
    }
    // With back-references the simulation matched a wider pattern: no match
    // starts before the one it found.
    if (backReference) {
        Matcher m;
        int found = m.search(text, caps[0], re->anchored != 0, re->program, re->groups, caps);
        if (found < 0)
            KY_RegError(kKyRegTooComplex);
        if (found <= 0)
            return found;
    }
    g_last.subject = subject;
    g_last.pattern = re;
    g_last.groups = re->groups;
    for (int g = 0; g <= re->groups; ++g) {
        g_last.start[g] = caps[2 * g];
        g_last.end[g] = caps[2 * g + 1];
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
        case 11:
            return "Range endpoint too large";
        case 16:
            return "Bad Number";
        case 25:
            return "\\digit out of range";
        case 36:
            return "Illegal or missing delimiter";
        case 41:
            return "No remembered search string";
        case 42:
            return "\\( \\) imbalance";
        case 43:
            return "Too many \\(";
        case 44:
            return "More than\t2 numbers given\tin \\{ \\}";
        case 45:
            return "}\texpected after \\";
        case 46:
            return "First number exceeds second in \\{\t\\}";
        case 49:
            return "[\t] imbalance";
        case 50:
            return "Regular expression overflow";
        case kKyRegTooComplex:
            return "regexp too complex";
        default:
            return "Unregistered error";
    }
}

void KY_RegError(int number) {
    g_lastError = number;
    TraceLevel(0, "regexp error %d : %s\n", number, KY_RegErrorText(number));
}

int KY_RegLastError() {
    return g_lastError;
}
