// The search engine's shared error text: the message a procedural module
// leaves before it answers an engine error code.
#pragma once

const int kEngineErrorTextSize = 260;

// Always NUL-terminated; writers copy at most kEngineErrorTextSize - 1 characters.
extern char KY_EngineErrorText[kEngineErrorTextSize];

// Copies text (cut to fit) into KY_EngineErrorText.
void KY_SetEngineErrorText(const char* text);
