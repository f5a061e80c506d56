// Writers of a base's small text files: stop-word lists and character tables.
// Each file is replaced whole; "" or the reason.
#pragma once

#include <string>
#include <vector>

// One word a line (CR LF); words of 126 characters or more, or holding a line end, are refused.
std::string WriteStopList(const std::string& path, const std::vector<std::string>& words);

// Lines "from count to" in hexadecimal, one per run of bytes that map to a run
// of consecutive codes, "UNUSED" for dropped bytes (entry 255); identity runs
// are left out, the reader starting from the identity.
std::string WriteCharTable(const std::string& path, const unsigned char table[256]);
