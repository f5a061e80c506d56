// The line forms of the application's saved states ("sv.histo" and the
// navigation and search states inside it): one value per line, each line
// after an optional marker, and texts with their line breaks escaped.
//
//   <marker><value>CR LF        e.g. "<!--fPane-->1203"
//   WriteMarkedDic:  <marker>
//                    <!--diclength-->N
//                    N times  <!--key-->K  then  <!--val-->V   (ascending K)
//
// In a text line a line feed is stored as the byte 0x01 and a carriage
// return as 0x02. Readers compare a marker ignoring case. Bad text (a line
// without its marker, the end of the file before an announced line, a count
// out of range) raises AStateFormatError, a recoverable error whose message
// names the expected marker.
#pragma once

#include "base/object/AString.h"
#include "base/procedural/AError.h"

class AFileStream;
class ALongLongDic;

class AStateFormatError : public AThrowableError {
public:
    AStateFormatError(const char* file = nullptr, long line = 0) : AThrowableError(file, line) {}
    const char* className() const override { return "AStateFormatError"; }
};

// Puts "state text: <what>" in the message buffer and raises AStateFormatError.
[[noreturn]] void ThrowStateFormat(const char* what, long line);

void WriteMarkedInt(AFileStream& stream, const char* marker, long value);
// The text escaped: line feed 0x01, carriage return 0x02.
void WriteMarkedString(AFileStream& stream, const char* marker, const char* text);
void WriteMarkedDic(AFileStream& stream, const char* marker, const ALongLongDic& dic);

// The value after the marker, as by atol.
long ReadMarkedInt(AFileStream& stream, const char* marker);
// The same, checked against [low, high].
long ReadMarkedCount(AFileStream& stream, const char* marker, long low, long high);
// The rest of the line after the marker, unescaped.
AString ReadMarkedString(AFileStream& stream, const char* marker);
// Empties dic, then reads the form WriteMarkedDic writes; on bad text dic stays empty.
void ReadMarkedDic(AFileStream& stream, const char* marker, ALongLongDic& dic);

// The two directions over one list of a record's integer fields: the list
// calls io(marker, field) for each field in the record's order.
struct AMarkedIntWriter {
    AFileStream& stream;
    template <class T>
    void operator()(const char* marker, const T& field) const {
        WriteMarkedInt(stream, marker, static_cast<long>(field));
    }
};
struct AMarkedIntReader {
    AFileStream& stream;
    template <class T>
    void operator()(const char* marker, T& field) const {
        field = static_cast<T>(ReadMarkedInt(stream, marker));
    }
};

// Line feed -> 0x01, carriage return -> 0x02, and back.
AString EscapeLineBreaks(const char* text);
AString UnescapeLineBreaks(const char* text);
