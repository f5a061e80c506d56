// The recoverable error of the image libraries' hooks: a PNG or JPEG stream
// the library refused. The message buffer holds the library's text.
#pragma once

#include "base/procedural/AError.h"

class AImageLibError : public AThrowableError {
public:
    AImageLibError(const char* file = nullptr, long line = 0) : AThrowableError(file, line) {}
    const char* className() const override { return "AImageLibError"; }
};
