// Correspondence tables ("tabcor"): for each record number of a part, its entry
// in the part's record catalogue, or -1 when the record has no data.
#pragma once

#include <cstdint>

struct KY_File;

const int kTabCorGrowth = 8192;

// Entry n: the word at byte 4n, -1 beyond the end of the file. 0, or 106 with
// "tabcor" for a negative n or a failing read; 103 without a file.
int KyTabCorRead(KY_File* file, int32_t n, int32_t* entry);
// Sets entry n, first extending the file with 0xFF bytes in 8192-byte chunks:
// 0, 103 without a file, 106 on a failing seek or write.
int KyTabCorWrite(KY_File* file, int32_t n, int32_t entry);
