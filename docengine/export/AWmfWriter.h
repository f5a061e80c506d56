// A Windows Metafile built record by record in memory, for the pictures of
// RTF exports ("\wmetafile8" groups). Sizes are bytes here and 16-bit words
// in the file; every value is little-endian.
//
// A parameter that does not match its record's declared kinds is a program
// fault (assertion "gexport"). The writer owns its records, each record its
// fields; a byte block is copied.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class AExportWriter;

// One parameter: a 16-bit word ('W', 2 bytes), a 32-bit value ('L', 4 bytes)
// or a byte block ('X', its length rounded up to even).
class AWmfField {
public:
    static AWmfField word(uint16_t value);
    static AWmfField value32(uint32_t value);
    static AWmfField bytes(const unsigned char* data, long length);

    char kind() const { return kind_; }
    long size() const { return size_; }
    // Each value through its own writeHex call; a pad byte on a line of its own.
    void writeTo(AExportWriter& writer) const;

private:
    AWmfField(char kind, long size, uint32_t number) : kind_(kind), size_(size), number_(number) {}

    char kind_ = 'W';
    long size_ = 2;
    uint32_t number_ = 0;
    std::string block_;
    bool padded_ = false;
};

class AWmfRecord {
public:
    // kinds: one letter per parameter in the order they are added.
    AWmfRecord(uint16_t function, const char* kinds) : function_(function), kinds_(kinds) {}
    void add(const AWmfField& field);
    long size() const { return size_; }
    // Size in words, function, then the parameters in the reverse of their adding order.
    void writeTo(AExportWriter& writer) const;

private:
    uint16_t function_;
    std::string kinds_;
    long size_ = 6;
    std::vector<AWmfField> fields_;
};

class AWmfWriter {
public:
    void add(const AWmfRecord& record);
    long totalSize() const { return total_; }
    // The 18-byte header, then each record, each followed by an empty line.
    void writeTo(AExportWriter& writer) const;

    // The records of a picture: anisotropic mapping of w x h pixels and one
    // StretchDIBits of the packed device-independent bitmap.
    static AWmfWriter picture(const unsigned char* dib, long length, long width, long height);

private:
    std::vector<AWmfRecord> records_;
    long total_ = 18;
    long largest_ = 0;
};
