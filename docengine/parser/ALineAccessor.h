// Line access over a reader: the number of lines of a text and the text of a
// line by index, for the parsers that place one segment per line.
//
// Shared (ARefObj). Lines end at LF; a CR before the LF is not part of the
// line, so a CR LF text reads as its LF form. A final line end opens no
// further line. An index outside the text answers an empty line.
#pragma once

#include <vector>

#include "base/object/ARefObj.h"
#include "base/object/AString.h"

class AReader;

class ALineAccessor : public ARefObj {
public:
    // Holds a reference on the reader (null: a text without lines).
    explicit ALineAccessor(AReader* reader);
    ~ALineAccessor() override;
    ALineAccessor(const ALineAccessor&) = delete;
    ALineAccessor& operator=(const ALineAccessor&) = delete;

    long lineCount() const { return static_cast<long>(starts_.size()); }
    AString lineAt(long index);

private:
    AReader* reader_;           // one reference held
    std::vector<long> starts_;  // start of each line; the line ends before the next start
    long length_;
};
