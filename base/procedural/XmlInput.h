// The class layer of the XML reader: streams, handler callbacks and exceptions
// over the table-driven xmlinput module.
//
// Malformed input raises XML::ParseException (recoverable, with the reader's
// error code and 1-based line and column); an unreadable file raises
// XML::FileException. A handler may throw ParseException itself: its code
// becomes the reader's error state and parse() rethrows it as its own. Any
// other error a handler throws passes through parse(); the reader then answers error 1.
#pragma once

#include "base/procedural/AError.h"
#include "base/procedural/XmlIn.h"

#include <cstdio>

namespace XML {

class ParseException : public AThrowableError {
public:
    ParseException(int code, long line, long column, long position, const char* file = "xmlinput", long srcLine = 0)
        : AThrowableError(file, srcLine), code_(code), line_(line), column_(column), position_(position) {}
    const char* className() const override { return "XML::ParseException"; }
    void report(AOutStream& stream) const override;
    int code() const { return code_; }
    long lineNumber() const { return line_; }  // 1-based
    long column() const { return column_; }    // 1-based
    long position() const { return position_; }  // bytes consumed

private:
    int code_;
    long line_, column_, position_;
};

class FileException : public AThrowableError {
public:
    FileException(int errorNumber, const char* file = "xmlinput", long srcLine = 0)
        : AThrowableError(file, srcLine), errorNumber_(errorNumber) {}
    const char* className() const override { return "XML::FileException"; }
    int errorNumber() const { return errorNumber_; }  // the C library's errno

private:
    int errorNumber_;
};

// What Input reads from: read answers the bytes put in buffer (at most size), 0 at the end.
class InputStream {
public:
    virtual ~InputStream() = default;
    virtual long read(char* buffer, long size) = 0;
};

// A file opened with the C library for reading (binary: the reader handles line ends).
class FileInput : public InputStream {
public:
    explicit FileInput(const char* path);  // throws FileException
    ~FileInput() override;
    FileInput(const FileInput&) = delete;
    FileInput& operator=(const FileInput&) = delete;
    long read(char* buffer, long size) override;

private:
    FILE* file_;  // owned
};

class Input;

// The pull source an Input hands to the reader.
struct StreamSource {
    XmlIn_Source base;
    InputStream* stream;  // not owned
};

// The element handed to a handler; valid while the handler runs.
struct Element {
    Input* input;             // not owned
    int started;              // its content has been parsed by next()
    const XmlIn_Entry* table; // the entry's table
    void* target;
    XmlIn_Element* xml;       // not owned
};

// Handlers named in tables (word 5 of kinds 1 and 10 to 12) when read through Input.
typedef void (*ElementHandler)(Element& element, void* target);
typedef void (*TextHandler)(const char* data, long length, void* target);

struct Handler {
    const XmlIn_Entry* table;
};

class Input {
public:
    explicit Input(InputStream& stream);  // stream not owned; AMemError when memory is short
    ~Input();
    Input(const Input&) = delete;
    Input& operator=(const Input&) = delete;

    // Parses the document's content against the table into target.
    void parse(const XmlIn_Entry* table, void* target);

    // Element operations for handlers; the reading ones throw ParseException on a reader error.
    static void next(Element& element, const XmlIn_Entry* table, void* target);
    static long readText(Element& element, char* buffer, long size);
    static const char* getAttribute(Element& element, const char* name, const char* fallback);
    static long getAttributeLong(Element& element, const char* name, long fallback, long* out = nullptr);
    static Input& reader(Element& element);

    long getLine() const { return XmlIn_GetLine(reader_); }
    long getColumn() const { return XmlIn_GetColumn(reader_); }
    XmlIn_Reader* raw() const { return reader_; }

private:
    [[noreturn]] void throwError() const;

    StreamSource source_;
    XmlIn_Reader* reader_;  // owned
};

}  // namespace XML
