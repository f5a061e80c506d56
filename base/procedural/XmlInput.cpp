// The class layer of the XML reader.
#include "base/procedural/XmlInput.h"

#include "base/procedural/AOutStream.h"

#include <cerrno>

namespace XML {

namespace {

long ReadStream(XmlIn_Source* source, char* buffer, long size) {
    return reinterpret_cast<StreamSource*>(source)->stream->read(buffer, size);
}

void SetState(XmlIn_Reader* r, const ParseException& e) {
    if (r->error == 0)
        r->error = static_cast<unsigned char>(e.code() > 0 && e.code() <= 3 ? e.code() : XMLIN_NOT_WELL_FORMED);
}

void OnElement(XmlIn_Reader* r, const XmlIn_Entry* entry, XmlIn_Element* element, void* target) {
    if (!entry->address)
        ThrowAssert("xmlinput", 60);
    Element e = {static_cast<Input*>(r->user), 0, entry, target, element};
    element->user = &e;
    try {
        reinterpret_cast<ElementHandler>(entry->address)(e, target);
    } catch (const ParseException& x) {
        SetState(r, x);
    }
    element->user = nullptr;
}

void OnText(XmlIn_Reader* r, const XmlIn_Entry* entry, const char* data, long length, void* target) {
    if (!entry->address)
        ThrowAssert("xmlinput", 72);
    try {
        reinterpret_cast<TextHandler>(entry->address)(data, length, target);
    } catch (const ParseException& x) {
        SetState(r, x);
    }
}

}  // namespace

void ParseException::report(AOutStream& stream) const {
    AThrowableError::report(stream);
    stream.writeString("XML: ").writeString(XmlIn_ErrorString(code_)).writeString(" at line ").writeLong(line_)
        .writeString(", column ").writeLong(column_).writeString("\n");
}

FileInput::FileInput(const char* path) : file_(path ? std::fopen(path, "rb") : nullptr) {
    if (!file_)
        ThrowTyped(FileException(path ? errno : EINVAL, "xmlinput", 90));
}

FileInput::~FileInput() {
    std::fclose(file_);
}

long FileInput::read(char* buffer, long size) {
    return size > 0 ? static_cast<long>(std::fread(buffer, 1, static_cast<size_t>(size), file_)) : 0;
}

Input::Input(InputStream& stream) {
    source_.base.read = ReadStream;
    source_.stream = &stream;
    reader_ = CheckAlloc(XmlIn_Create(&source_.base), "xmlinput", 110);
    reader_->user = this;
    reader_->elementCallback = OnElement;
    reader_->textCallback = OnText;
}

Input::~Input() {
    XmlIn_Free(reader_);
}

void Input::throwError() const {
    ThrowTyped(ParseException(reader_->error, getLine(), getColumn(), reader_->position));
}

void Input::parse(const XmlIn_Entry* table, void* target) {
    if (XmlIn_Parse(reader_, table, target) != 0)
        throwError();
}

void Input::next(Element& element, const XmlIn_Entry* table, void* target) {
    Input& in = reader(element);
    element.started = 1;
    if (XmlIn_Parse(in.reader_, table, target) != 0)
        in.throwError();
}

long Input::readText(Element& element, char* buffer, long size) {
    Input& in = reader(element);
    long n = XmlIn_ReadText(in.reader_, buffer, size);
    if (in.reader_->error)
        in.throwError();
    return n;
}

const char* Input::getAttribute(Element& element, const char* name, const char* fallback) {
    XmlIn_Attribute* a = element.xml ? XmlIn_FindNamed(element.xml->attributes, name) : nullptr;
    return a ? a->value : fallback;
}

long Input::getAttributeLong(Element& element, const char* name, long fallback, long* out) {
    XmlIn_Attribute* a = element.xml ? XmlIn_FindNamed(element.xml->attributes, name) : nullptr;
    long value = XmlIn_AttrLong(a, fallback);
    if (out)
        *out = value;
    return value;
}

Input& Input::reader(Element& element) {
    if (!element.input)
        ThrowAssert("xmlinput", 160);
    return *element.input;
}

}  // namespace XML
