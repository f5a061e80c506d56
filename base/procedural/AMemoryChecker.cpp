// Guard-byte checks, snapshots and leak reports over the tracked blocks.
#include "base/procedural/AMemoryChecker.h"

#include "base/procedural/AOutStream.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

AMemBlockRecord* g_memBlocks = nullptr;
short g_memCheckOff = 0;

namespace {

const unsigned char kGuard = 0xFD;
const unsigned char kFreed = 0xDD;

void Say(const char* format, ...) {
    char buffer[256];
    va_list args;
    va_start(args, format);
    vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    CurrentErrorStream().writeString(buffer);
}

const char* KindName(unsigned kind) {
    static const char* const names[] = {"Free", "New", "Malloc", "Fixed"};
    return kind < 4 ? names[kind] : "Damage";
}

unsigned long Address(const void* p) {
    return static_cast<unsigned long>(reinterpret_cast<uintptr_t>(p));
}

}  // namespace

bool MemCheckByte(const unsigned char* address, unsigned char expected, size_t count) {
    bool sound = true;
    for (size_t i = 0; i < count; ++i) {
        if (address[i] != expected) {
            Say("memory check error at $%08lX = $%02X, should be $%02X\n", Address(address + i), address[i],
                expected);
            sound = false;
        }
    }
    return sound;
}

bool MemCheckBlock(AMemBlockRecord* r) {
    const char* kind = KindName(r->kind);
    unsigned char* data = r->data();
    bool sound = true;
    if (!MemCheckByte(data - 4, kGuard, 4)) {
        Say("DAMAGE: before %s block at $%08lX\n", kind, Address(data));
        sound = false;
    }
    if (!MemCheckByte(data + r->size, kGuard, 4)) {
        Say("DAMAGE: after %s block at $%08lX\n", kind, Address(data));
        sound = false;
    }
    if (r->kind == 0 && !MemCheckByte(data, kFreed, r->size)) {
        Say("#DAMAGE: on top of Free block at $%08lX\n", Address(data));
        sound = false;
    }
    if (!sound) {
        if (r->file)
            Say("%s allocated at : File %s; line %d\n", kind, r->file, static_cast<int>(r->line));
        Say("%s located at $%08lX is %u bytes long\n", kind, Address(data), static_cast<unsigned>(r->size));
    }
    return sound;
}

bool CheckAllMemoryBlocks() {
    bool sound = true;
    for (AMemBlockRecord* r = g_memBlocks; r; r = r->next)
        sound = MemCheckBlock(r) && sound;
    return sound;
}

AMemoryChecker::AMemoryChecker()
    : reportAtEnd_(!g_memCheckOff), mark_(nullptr), counts_(), bytes_(), largest_(0), total_(0) {
    if (reportAtEnd_)
        snapshot();
}

AMemoryChecker::AMemoryChecker(Quiet)
    : reportAtEnd_(false), mark_(nullptr), counts_(), bytes_(), largest_(0), total_(0) {
    snapshot();
}

AMemoryChecker::~AMemoryChecker() {
    if (reportAtEnd_ && !g_memCheckOff)
        reportLeaks();
}

void AMemoryChecker::snapshot() {
    mark_ = g_memBlocks;
    std::memset(counts_, 0, sizeof counts_);
    std::memset(bytes_, 0, sizeof bytes_);
    for (AMemBlockRecord* r = g_memBlocks; r; r = r->next) {
        if (r->request == 0)
            continue;
        if (r->kind >= 4) {
            Say("Bad memory block found at $%08lX\n", Address(r->data()));
            continue;
        }
        ++counts_[r->kind];
        bytes_[r->kind] += r->size;
    }
}

bool AMemoryChecker::differs(const AMemoryChecker& other) const {
    for (int k = 1; k < 4; ++k) {
        if (counts_[k] != other.counts_[k] || bytes_[k] != other.bytes_[k])
            return true;
    }
    return false;
}

void AMemoryChecker::reportStatistics() const {
    for (int k = 0; k < 4; ++k)
        Say("%ld bytes in %ld %s Blocks\n", bytes_[k], counts_[k], KindName(k));
    Say("Largest number used: %ld bytes\n", largest_);
    Say("Total allocations: %ld bytes\n", total_);
}

void AMemoryChecker::dumpObjects() const {
    static const char* const forms[] = {nullptr, "object block at $%08lX, %u bytes long\n",
                                        "non-object block at $%08lX, %u bytes long\n",
                                        "fixed block at $%08lX, %u bytes long\n"};
    Say("Dumping objects ->\n");
    for (AMemBlockRecord* r = g_memBlocks; r && r != mark_; r = r->next) {
        if (r->request == 0 || r->kind == 0)
            continue;
        if (r->file)
            Say("File %s; Line %d ", r->file, static_cast<int>(r->line));
        Say("# {%ld} : ", static_cast<long>(r->request));
        if (r->kind < 4)
            Say(forms[r->kind], Address(r->data()), static_cast<unsigned>(r->size));
    }
    Say("Object dump complete.\n");
}

void AMemoryChecker::reportLeaks() const {
    AMemoryChecker now{Quiet{}};
    if (now.differs(*this)) {
        Say("Detected memory leaks!\n");
        dumpObjects();
    } else {
        Say("No memory leaks detected!\n");
    }
}
