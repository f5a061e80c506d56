// What the search engine shares with the procedural layer: its error text,
// the character-table mapping and its stop-word normalisation table.
#pragma once

// The engine's error text: a module copies a zero-terminated message here
// before it returns an error code.
const int kEngineErrorTextSize = 260;
extern char KY_EngineErrorText[kEngineErrorTextSize];
// Copies text (cut to fit, null as empty) into KY_EngineErrorText.
void KY_SetEngineErrorText(const char* text);

// Maps text in place through a 256-byte character table: each byte becomes its
// entry, an entry 255 drops the byte, an entry 0 ends the text. A null table
// leaves the text. Answers the new length and keeps it (KY_FilterCharsLength).
long KY_FilterChars(char* text, const unsigned char* table);
long KY_FilterCharsLength();

// The engine's stop-word normalisation table (256 bytes, process-wide, the
// identity until the engine loads another into it).
unsigned char* KY_EngineStopWordTable();
