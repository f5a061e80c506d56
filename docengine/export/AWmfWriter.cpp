// The metafile builder of RTF pictures.
#include "docengine/export/AWmfWriter.h"

#include "base/procedural/AError.h"
#include "docengine/export/AExportWriter.h"

AWmfField AWmfField::word(uint16_t value) {
    return AWmfField('W', 2, value);
}

AWmfField AWmfField::value32(uint32_t value) {
    return AWmfField('L', 4, value);
}

AWmfField AWmfField::bytes(const unsigned char* data, long length) {
    AWmfField f('X', 0, 0);
    f.block_.assign(reinterpret_cast<const char*>(data), static_cast<size_t>(length));
    f.padded_ = length % 2 != 0;
    f.size_ = length + (f.padded_ ? 1 : 0);
    return f;
}

void AWmfField::writeTo(AExportWriter& writer) const {
    unsigned char bytes[4] = {static_cast<unsigned char>(number_), static_cast<unsigned char>(number_ >> 8),
                              static_cast<unsigned char>(number_ >> 16), static_cast<unsigned char>(number_ >> 24)};
    if (kind_ != 'X') {
        writer.writeHex(bytes, size_);
        return;
    }
    const auto* data = reinterpret_cast<const unsigned char*>(block_.data());
    writer.writeHex(data, static_cast<long>(block_.size()));
    if (padded_)
        writer.writeHex(data, 1);
}

void AWmfRecord::add(const AWmfField& field) {
    size_t at = fields_.size();
    if (at >= kinds_.size() || kinds_[at] != field.kind())
        ThrowAssert("gexport", 1954);
    if (field.size() % 2 != 0)
        ThrowAssert("gexport", 1955);
    fields_.push_back(field);
    size_ += field.size();
}

void AWmfRecord::writeTo(AExportWriter& writer) const {
    AWmfField::value32(static_cast<uint32_t>(size_ / 2)).writeTo(writer);
    AWmfField::word(function_).writeTo(writer);
    for (auto f = fields_.rbegin(); f != fields_.rend(); ++f)
        f->writeTo(writer);
}

void AWmfWriter::add(const AWmfRecord& record) {
    if (record.size() % 2 != 0)
        ThrowAssert("gexport", 2048);
    records_.push_back(record);
    total_ += record.size();
    if (record.size() > largest_)
        largest_ = record.size();
    if (total_ % 2 != 0)
        ThrowAssert("gexport", 2049);
}

// Header (18 bytes, words little-endian):
//   type 1 | header words 9 | version 0x300 | total words (32) | objects 0 |
//   largest record words (32) | 0
void AWmfWriter::writeTo(AExportWriter& writer) const {
    AWmfField::word(1).writeTo(writer);
    AWmfField::word(9).writeTo(writer);
    AWmfField::word(0x300).writeTo(writer);
    AWmfField::value32(static_cast<uint32_t>(total_ / 2)).writeTo(writer);
    AWmfField::word(0).writeTo(writer);
    AWmfField::value32(static_cast<uint32_t>(largest_ / 2)).writeTo(writer);
    AWmfField::word(0).writeTo(writer);
    writer.newLine();
    for (const AWmfRecord& record : records_) {
        record.writeTo(writer);
        writer.newLine();
    }
}

AWmfWriter AWmfWriter::picture(const unsigned char* dib, long length, long width, long height) {
    AWmfWriter wmf;
    AWmfRecord mapMode(0x0103, "W");
    mapMode.add(AWmfField::word(8));
    wmf.add(mapMode);
    AWmfRecord origin(0x020B, "WW");
    origin.add(AWmfField::word(0));
    origin.add(AWmfField::word(0));
    wmf.add(origin);
    AWmfRecord extent(0x020C, "WW");
    extent.add(AWmfField::word(static_cast<uint16_t>(width)));
    extent.add(AWmfField::word(static_cast<uint16_t>(height)));
    wmf.add(extent);
    AWmfRecord stretchMode(0x0107, "W");
    stretchMode.add(AWmfField::word(4));
    wmf.add(stretchMode);
    // Added as destination x, y, width, height, source x, y, width, height,
    // usage, raster operation: the file holds them the other way round.
    AWmfRecord stretch(0x0F43, "XWWWWWWWWWL");
    stretch.add(AWmfField::bytes(dib, length));
    for (long v : {0L, 0L, width, height, 0L, 0L, width, height, 0L})
        stretch.add(AWmfField::word(static_cast<uint16_t>(v)));
    stretch.add(AWmfField::value32(0x00CC0020));
    wmf.add(stretch);
    AWmfRecord plainMode(0x0107, "W");
    plainMode.add(AWmfField::word(1));
    wmf.add(plainMode);
    wmf.add(AWmfRecord(0, ""));
    return wmf;
}
