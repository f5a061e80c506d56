// A stream bound to one open KY_File (one reference held), with the line
// reader of the system's text readers. Reads, writes, seeks and tells go
// straight to the file and answer -1 on failure, the code then being the
// file system's lastError. Opening, closing and caching failures raise
// AFileSpecError("bstream", line, code); the stream stays unbound.
#pragma once

#include "base/object/AFilteredFile.h"
#include "base/object/AString.h"

class AFileStream {
public:
    AFileStream();
    // Opens with the process-wide defaults: no filter, no delete on close.
    AFileStream(const AFile& file, const char* mode, long extra);
    AFileStream(const AFilteredFile& file, const char* mode, long extra);
    AFileStream(const AFileStream&) = delete;
    AFileStream& operator=(const AFileStream&) = delete;
    virtual ~AFileStream();

    void open(const AFilteredFile& file, const char* mode, long extra);
    // Binds the shared file of `file`, or opens a new one; installs the
    // filter and the delete-on-close switch. 0, or a code (2006 when the open failed).
    int attach(const AFilteredFile& file, const char* mode, long extra);
    void close();
    void setCache(const AFileOptions& options);

    // The next line without its CR and LF; at the end an empty string and
    // *endFlag = 1 (when given). An empty line leaves the flag untouched.
    AString readLine(short* endFlag);

    long lastError() const;
    AFileSpec spec() const;
    // Copies this whole file into other's file: 0 or the file layer's code.
    int copyTo(AFileStream& other);

    KY_File* file() const { return file_; }  // not owned by the caller; null while unbound
    long read(void* buffer, long count) { return KY_FRead(file_, buffer, count); }
    long write(const void* buffer, long count) { return KY_FWrite(file_, buffer, count); }
    long seek(long offset, int origin) { return KY_FSeek(file_, offset, origin); }
    long tell() { return KY_FTell(file_); }
    int getByte() { return KY_FGetc(file_); }
    int putByte(int byte) { return KY_FPutc(byte, file_); }

protected:
    KY_File* file_;  // one reference held, or null
};
