// Test seams and the capturing stream.
#include "tests/support/TestHooks.h"

#include "base/procedural/AError.h"
#include "base/procedural/SystemSeams.h"

namespace {

std::vector<CapturedBox>* g_boxes;
int g_answer = 1;  // IDOK
uint32_t g_clock = 0;

int RecordBox(void*, const char* text, const char* caption, unsigned flags) {
    CapturedBoxes().push_back({text ? text : "", caption ? caption : "", flags});
    return g_answer;
}

void ThrowExit(int code) {
    throw FatalExit{code};
}

uint32_t ReadClock() {
    return g_clock;
}

}  // namespace

std::vector<CapturedBox>& CapturedBoxes() {
    if (!g_boxes)
        g_boxes = new std::vector<CapturedBox>;
    return *g_boxes;
}

void ClearBoxes() {
    CapturedBoxes().clear();
}

int& BoxAnswer() {
    return g_answer;
}

uint32_t& TestClock() {
    return g_clock;
}

void InstallTestSeams() {
    Seams() = SystemSeams{RecordBox, ThrowExit, ReadClock};
}

int FatalExitCodeOf(const std::function<void()>& fn) {
    try {
        fn();
    } catch (const FatalExit& e) {
        g_reportInProgress = 0;
        return e.code;
    }
    return -1;
}

AOutStream& CaptureStream::writeChar(char c) {
    text += c;
    return *this;
}
AOutStream& CaptureStream::writeUChar(unsigned char c) {
    text += static_cast<char>(c);
    return *this;
}
AOutStream& CaptureStream::writeString(const char* s) {
    text += s ? s : "";
    return *this;
}
AOutStream& CaptureStream::writeUString(const unsigned char* s) {
    return writeString(reinterpret_cast<const char*>(s));
}
AOutStream& CaptureStream::writeShort(short v) {
    text += std::to_string(v);
    return *this;
}
AOutStream& CaptureStream::writeInt(int v) {
    text += std::to_string(v);
    return *this;
}
AOutStream& CaptureStream::writeLong(long v) {
    text += std::to_string(v);
    return *this;
}
AOutStream& CaptureStream::writeUShort(unsigned short v) {
    text += std::to_string(v);
    return *this;
}
AOutStream& CaptureStream::writeUInt(unsigned int v) {
    text += std::to_string(v);
    return *this;
}
AOutStream& CaptureStream::writeULong(unsigned long v) {
    text += std::to_string(v);
    return *this;
}
AOutStream& CaptureStream::writeHex(unsigned long v) {
    char digits[16];
    snprintf(digits, sizeof digits, "%lX", v);
    text += digits;
    return *this;
}

std::string FirstOutOfOrder(const std::string& text, const std::vector<std::string>& lines) {
    size_t at = 0;
    for (const std::string& line : lines) {
        size_t found = text.find(line, at);
        if (found == std::string::npos)
            return line;
        at = found + line.size();
    }
    return "";
}
