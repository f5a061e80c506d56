// Streams over open files, and the line reader.
#include "base/object/AFileStream.h"

#include <cstring>
#include <vector>

AFileStream::AFileStream() : file_(nullptr) {}

AFileStream::AFileStream(const AFile& file, const char* mode, long extra) : file_(nullptr) {
    AFilteredFile filtered(file, 0, 0, 0, AFilter::emptyFilter());
    CheckFileCode(attach(filtered, mode, extra), 1118);
    if (!file_)
        ThrowAssert("bstream", 1119);
}

AFileStream::AFileStream(const AFilteredFile& file, const char* mode, long extra) : file_(nullptr) {
    open(file, mode, extra);
}

AFileStream::~AFileStream() {
    if (file_)
        KY_FClose(file_);
}

void AFileStream::open(const AFilteredFile& file, const char* mode, long extra) {
    CheckFileCode(attach(file, mode, extra), 1123);
    if (!file_)
        ThrowAssert("bstream", 1124);
}

int AFileStream::attach(const AFilteredFile& file, const char* mode, long) {
    int code = 0;
    KY_File* shared = file.sharedFile();
    if (!shared) {
        close();
        file_ = KY_FOpen(&file.openSpec(), mode);
        code = file_ ? 0 : kFileErrArg;
    } else if (shared != file_) {
        close();
        file_ = shared;
        KY_FileAddRef(file_);
    }
    if (file_ && code == 0) {
        if (!file.filter().isPassThrough())
            KY_FileSetFilter(file_, file.filter().handle());
        KY_SetOpenSpecDeleteOnClose(file.deleteOnClose() != 0, &file_->spec);
    }
    return code;
}

void AFileStream::close() {
    if (!file_)
        return;
    KY_File* file = file_;
    file_ = nullptr;
    CheckFileCode(KY_FClose(file), 1155);
}

void AFileStream::setCache(const AFileOptions& options) {
    if (options.cached && file_)
        CheckFileCode(KY_FileSetCache(file_, options.blockSize, options.blockCount), 1162);
}

AString AFileStream::readLine(short* endFlag) {
    if (!file_) {
        if (endFlag)
            *endFlag = 1;
        return AString();
    }
    long start = tell();
    std::vector<char> buffer(1024);
    size_t previous = 0;
    for (;;) {
        char* text = KY_FGets(buffer.data(), static_cast<int>(buffer.size()), file_);
        if (!text || !text[0]) {
            if (endFlag)
                *endFlag = 1;
            return AString();
        }
        size_t length = std::strlen(text);
        char last = text[length - 1];
        // A CR that fills the buffer may be the first half of a CR LF: reread wider.
        bool full = length == buffer.size() - 1;
        if (length == previous || last == '\n' || (last == '\r' && !full)) {
            while (length > 0 && (text[length - 1] == '\n' || text[length - 1] == '\r'))
                --length;
            return AString(text, static_cast<long>(length));
        }
        // The line did not fit (or the file ended without a line end): reread it wider.
        buffer.resize(buffer.size() * 2);
        seek(start, 0);
        previous = length;
    }
}

long AFileStream::lastError() const {
    if (!file_)
        return kFileErrArg;
    if (!file_->spec.owner)
        ThrowAssert("bstream", 1219);
    return file_->spec.owner->lastError;
}

AFileSpec AFileStream::spec() const {
    return file_ && file_->spec.path.text ? AFileSpec(file_->spec.path) : AFileSpec();
}

int AFileStream::copyTo(AFileStream& other) {
    if (!file_ || !other.file_)
        return kFileErrArg;
    if (seek(0, 0) < 0)
        return static_cast<int>(lastError());
    long size = KY_FileSize(file_);
    if (size < 0)
        return static_cast<int>(lastError());
    return KY_CopyFileData(other.file_, file_, size);
}
