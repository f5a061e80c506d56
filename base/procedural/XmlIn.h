// xmlinput: a small non-validating, table-driven XML reader over a pull source.
//
// The tokenizer reads bytes as they come (no entities, namespaces or
// encodings: "&" is text) and the content parser walks a caller's description
// table, storing converted element texts straight into the caller's
// structures. Bad input never ends the process: it sets the reader's error
// state (1 not well-formed, 2 invalid value, 3 premature end of input) and
// every later parse answers it at once. Broken tables and null arguments are
// program faults, raised through KY_RaiseError from "xmlinput_c".
#pragma once

#include <cstdint>

struct XmlIn_Reader;
struct XmlIn_Element;
struct XmlIn_Entry;

enum {
    kXmlInBufferSize = 2048,  // input buffer and character-data block
    kXmlInPoolSize = 50,      // attribute records held at once
    kXmlInNameMax = 23,       // attribute name characters
    kXmlInValueMax = 2047,    // attribute value characters
    kXmlInElementNameMax = 255,  // element and instruction name characters
    kXmlInDepthMax = 256      // element nesting; deeper is not well-formed
};

enum { XMLIN_OK = 0, XMLIN_NOT_WELL_FORMED = 1, XMLIN_INVALID_VALUE = 2, XMLIN_PREMATURE_EOF = 3 };

// A pull source: read answers the bytes put in buffer (at most size), 0 at the end.
struct XmlIn_Source {
    long (*read)(XmlIn_Source* source, char* buffer, long size);
};

struct XmlIn_Attribute {
    XmlIn_Attribute* next;
    char name[kXmlInNameMax + 1];
    char value[kXmlInValueMax + 1];
};

// The element being handled: valid while its handler runs.
struct XmlIn_Element {
    const char* name;
    XmlIn_Attribute* attributes;  // list of the start tag's attributes, in order
    int empty;                    // closed by "/>" in its start tag
    int finished;                 // its end tag has been read
    void* user;                   // the class layer's record
};

// Description table entry (seven 32-bit words); a table ends with kind 0.
//   kind  value read from the element               address (word 5)        low / high (words 6, 7)
//   1     handler(reader, element, target)          the handler             target replacing the current / -
//   2, 3  signed / unsigned decimal, clamped        destination or null     bounds (clamp when either is non-zero)
//   4     float, clamped unless both bounds are 0   destination or null     bounds as integers
//   5     double                                    destination or null     pointers to double bounds, or 0
//   6     1 for "True" or "true", else 0            destination or null     -
//   7     text                                      destination or null     capacity in bytes, terminator included
//   8     index of the text in a name list          destination or null     const char* const* names / count
//   9     include another table                     the table               absolute target (when size is 0)
//   10-12 character data, CDATA, comments           text function           -
// Destination null: target + offset. size: bytes of an integer value (1..4);
// for kind 9 non-zero moves the target by offset. A null name with kind 1
// matches any element.
struct XmlIn_Entry {
    const char* name;
    long kind;
    long offset;
    long size;
    void* address;
    intptr_t low;
    intptr_t high;
};

// Kind 1 handler and kinds 10-12 text function: blocks of text, then one call with length 0.
typedef void (*XmlIn_Handler)(XmlIn_Reader* reader, XmlIn_Element* element, void* target);
typedef void (*XmlIn_TextFunction)(const char* data, long length, void* target);
// What the reader calls for those entries; the defaults call the entry's own function.
typedef void (*XmlIn_ElementCallback)(XmlIn_Reader* reader, const XmlIn_Entry* entry, XmlIn_Element* element,
                                      void* target);
typedef void (*XmlIn_TextCallback)(XmlIn_Reader* reader, const XmlIn_Entry* entry, const char* data, long length,
                                   void* target);

struct XmlIn_Reader {
    XmlIn_Source* source;  // not owned
    long depth;            // open elements
    long column;           // 0-based
    long line;             // 0-based
    long position;         // bytes consumed
    void* user;            // owner data
    char* buffer;          // owned, kXmlInBufferSize bytes
    char* textBlock;       // owned, kXmlInBufferSize bytes: blocks handed to text functions
    long size, filled, next;
    unsigned char error;
    XmlIn_Attribute* pool;  // owned, kXmlInPoolSize records
    XmlIn_Attribute* freeList;
    long inUse;
    XmlIn_ElementCallback elementCallback;
    XmlIn_TextCallback textCallback;
    int ended;                 // the source said 0
    XmlIn_Element* current;    // element whose handler runs, or null
};

// Null when memory is short. Free with XmlIn_Free.
// Recursion: an unknown element is skipped without recursing; only kind-1
// handlers that parse their content nest calls, at most kXmlInDepthMax deep.
XmlIn_Reader* XmlIn_Create(XmlIn_Source* source);
void XmlIn_Free(XmlIn_Reader* reader);
// Parses the content of the current element (the document at depth 0) into
// target; answers the error state, 0 once the element's end tag (or, at depth
// 0, the end of input) was reached. An element already finished answers 0.
int XmlIn_Parse(XmlIn_Reader* reader, const XmlIn_Entry* table, void* target);
// Copies character data up to the next "<" (at most size - 1 bytes, then a
// terminator), line ends turned into LF; text beyond stays for the next call.
// Answers the bytes stored.
long XmlIn_ReadText(XmlIn_Reader* reader, char* buffer, long size);
XmlIn_Attribute* XmlIn_FindNamed(XmlIn_Attribute* list, const char* name);
long XmlIn_AttrLong(const XmlIn_Attribute* attribute, long fallback);
long XmlIn_GetLine(const XmlIn_Reader* reader);    // 1-based
long XmlIn_GetColumn(const XmlIn_Reader* reader);  // 1-based
const char* XmlIn_ErrorString(int code);
// A zeroed record from the pool; an exhausted pool is a program fault (the
// tokenizer itself checks first and reports error 1).
XmlIn_Attribute* XmlIn_NewAttribute(XmlIn_Reader* reader);
void XmlIn_FreeAttribute(XmlIn_Reader* reader, XmlIn_Attribute* attribute);
