// Turns layout resources (type 257) into component trees, creating each
// object by its registered class name.
//
// Layout, every 16- and 32-bit value in the byte order the first word selects:
//   byte-order word | version i16 (<= 2) | children block
// children block:  FFFF | FFFF | count i16 | count objects
// object:          class name, NUL-terminated | class data | children block
// class data:      each class of the chain from AComponent down reads its own
//                  part, closed by the end mark FFFF (AComponent: id i16 | FFFF)
// Byte-order word b0 b1: b0 = 2 little-endian; b0 other non-zero big-endian;
// 00 02 big-endian (the value 2 written big-endian); 00 and anything else fails.
//
// Bad data (a short record, bad marks, an unknown or non-component class, a
// missing included layout, nesting beyond kMaxDepth) raises ALayoutError or
// the memory stream's error, both recoverable. A failing block writes one
// "#LoadComponent Failure:" report to the error stream and deletes every
// component the load made; the exception reaches the caller.
#pragma once

#include <cstdint>

#include "base/object/AString.h"
#include "base/procedural/AError.h"

class AComponent;
class AMemoryStream;
class AResource;

class ALayoutError : public AThrowableError {
public:
    ALayoutError(const char* file = nullptr, long line = 0) : AThrowableError(file, line) {}
    const char* className() const override { return "ALayoutError"; }
};

enum : uint16_t {
    kLayoutType = 257,
};

class ALayoutLoader {
public:
    // Children blocks nested deeper than this fail the load; includes count.
    static const int kMaxDepth = 64;

    // Loads the layout resource of that name (case ignored) under parent;
    // answers the first top-level component made, or null for an empty layout.
    static AComponent* loadLayout(AComponent* parent, const char* name, int16_t graft);
    static AComponent* loadTree(AComponent* parent, AResource& resource, int16_t graft);
    // The same over layout bytes held by a stream, from its current position.
    static AComponent* loadFromStream(AComponent* parent, AMemoryStream& stream, int16_t graft);

    static int16_t readHeader(AMemoryStream& stream);
    static int16_t readChildrenHeader(AMemoryStream& stream);
    static AString readClassName(AMemoryStream& stream);
    static bool readEndMark(AMemoryStream& stream);
    // readEndMark, failing the load with (file, line) when the mark is missing.
    static void readEndMark(AMemoryStream& stream, const char* file, long line);
    static AComponent* loadChildren(AMemoryStream& stream, AComponent* parent, int16_t graft);

private:
    static AComponent* create(const AString& className);
    static AComponent* loadObject(AMemoryStream& stream, AComponent* parent, int16_t graft, AComponent*& made);
    static void reportFailure(const AString& className, AComponent* component, AComponent* parent);
};
