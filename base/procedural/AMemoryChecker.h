// The memory checker: walks the tracked-block list, checks guard bytes and
// writes statistics, leak reports and dumps to the current error stream.
//
// No allocation path tracks blocks yet, so the list stays empty unless a
// tracking allocator (or a test) links records into it. It only writes; it never raises.
#pragma once

#include <cstddef>
#include <cstdint>

// One tracked block: the record, 4 guard bytes 0xFD, the user data, 4 guard bytes 0xFD.
struct AMemBlockRecord {
    AMemBlockRecord* next;
    AMemBlockRecord* link2;
    const char* file;  // may be null
    int32_t line;
    uint32_t size;     // user bytes
    uint8_t kind;      // 0 Free, 1 New, 2 Malloc, 3 Fixed; others "Damage"
    int32_t request;   // 0: not counted
    unsigned char* data() { return reinterpret_cast<unsigned char*>(this + 1) + 4; }
};

// Head of the tracked-block list, newest first.
extern AMemBlockRecord* g_memBlocks;
// 0: checking on. Other values skip the snapshot and the leak report.
extern short g_memCheckOff;

bool MemCheckByte(const unsigned char* address, unsigned char expected, size_t count);
bool MemCheckBlock(AMemBlockRecord* record);
bool CheckAllMemoryBlocks();

class AMemoryChecker {
public:
    AMemoryChecker();
    ~AMemoryChecker();
    AMemoryChecker(const AMemoryChecker&) = delete;
    AMemoryChecker& operator=(const AMemoryChecker&) = delete;

    void snapshot();
    // True when a kind other than Free differs between the two snapshots.
    bool differs(const AMemoryChecker& other) const;
    void reportStatistics() const;
    void dumpObjects() const;
    void reportLeaks() const;

    long count(int kind) const { return counts_[kind]; }
    long bytes(int kind) const { return bytes_[kind]; }

private:
    struct Quiet {};
    explicit AMemoryChecker(Quiet);
    bool reportAtEnd_;
    AMemBlockRecord* mark_;  // not owned
    long counts_[4];
    long bytes_[4];
    long largest_;
    long total_;
};
