// The rows of a room text (a record of the rooms base's CONTENU or
// SALLEONGLET table): one "label#value" line a row, written as a one-cell
// table row whose key is the value. Also the line reading that the room
// opening and the room panes share.
//
// Room text: lines "label#value", each ended by CR LF, a lone LF or a lone
// CR (a CR LF pair is one break; a break at the very end adds no line):
//   Peinture#0:12 CR LF
//   Sculpture#0:13 CR LF
// label: the text before the first '#' (the whole line without one); value:
// the text after it up to the next '#' (empty without one).
//
// Holds the text (through its buffered base) and owns its row callback.
#pragma once

#include <string>
#include <vector>

#include "app/lines/StandardLineGetter.h"

class ASVSallePrecLineGetter : public BufferedLineGetter {
public:
    explicit ASVSallePrecLineGetter(const char* text);

    // The lines of a room text, breaks as in the diagram above.
    static std::vector<std::string> splitLines(const char* text);
    // Label and value of line n (from 0); both empty when there is no line n.
    static AString lineLabel(const char* text, long n);
    static AString lineValue(const char* text, long n);
};
