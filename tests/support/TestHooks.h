// Seams for tests: message boxes are recorded instead of shown, a fatal end
// throws FatalExit instead of ending the process, and the clock is settable.
#pragma once

#include "base/procedural/AOutStream.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct FatalExit {
    int code;
};

struct CapturedBox {
    std::string text;
    std::string caption;
    unsigned flags;
};

// Boxes shown since the last ClearBoxes; the answer given to each is BoxAnswer().
std::vector<CapturedBox>& CapturedBoxes();
void ClearBoxes();
int& BoxAnswer();
// The test clock (milliseconds) that SeamTickCount answers.
uint32_t& TestClock();

void InstallTestSeams();

// Runs fn; answers the exit code of the fatal end it caused, or -1 when it ended normally.
int FatalExitCodeOf(const std::function<void()>& fn);

// An error stream that keeps what is written, in a given trace mode.
class CaptureStream : public AOutStream {
public:
    explicit CaptureStream(bool toTrace = false) : toTrace_(toTrace) {}
    bool writesToTrace() const override { return toTrace_; }
    AOutStream& writeChar(char c) override;
    AOutStream& writeUChar(unsigned char c) override;
    AOutStream& writeString(const char* s) override;
    AOutStream& writeUString(const unsigned char* s) override;
    AOutStream& writeShort(short v) override;
    AOutStream& writeInt(int v) override;
    AOutStream& writeLong(long v) override;
    AOutStream& writeUShort(unsigned short v) override;
    AOutStream& writeUInt(unsigned int v) override;
    AOutStream& writeULong(unsigned long v) override;
    AOutStream& writeHex(unsigned long v) override;
    std::string text;

private:
    bool toTrace_;
};

// The lines' positions in text must rise; answers the first one out of order or missing ("" when none).
std::string FirstOutOfOrder(const std::string& text, const std::vector<std::string>& lines);
