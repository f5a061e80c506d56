// The hand-off of a Director movie and its video to the external player
// "projit.exe": the exchange file "VB2DCR.txt" written beside the player,
// then the player started. Nothing is read back.
//
// Exchange file, four lines, each ended by the two bytes CR LF, no quoting:
//   "dcrpath=" <full path of the Director movie>
//   "mpgpath=" <full path of the video>
//   "error=OK"
//   "status=run"
//
// Failures come back as a status and a French message for the caller to
// show; nothing here shows a window.
#pragma once

#include <cstdint>
#include <string>

// The exchange file's bytes; false (and out untouched) when a path holds CR
// or LF, which would forge a line of its own.
bool MakeExchangeText(const std::string& dcrPath, const std::string& videoPath, std::string* out);

// Writes the exchange file at path through a temporary sibling; false with
// the reason in *error when it cannot be written (a read-only folder).
bool WriteExchangeFile(const std::string& path, const std::string& dcrPath, const std::string& videoPath,
                       std::string* error);

// True for a plain relative name read from a record ("VIDEOS/<name>",
// "DCR/<name>"): not empty, no "..", no absolute path, no drive letter.
bool IsSafeRecordName(const std::string& name);

struct AExternalPlayerResult {
    int16_t started = 0;   // 1 when the player started
    int16_t written = 0;   // 1 when the exchange file was written
    std::string error;     // why the file was not written
    std::string exchange;  // where the exchange file lies
    std::string player;    // the program run
};

// The hand-off: the player is "projit.exe" of programFolder (the current
// working folder); with a folder (a network installation's temporary
// folder) it is copied there afresh and run from there, the exchange file
// beside it; without one both lie in programFolder. A file that cannot be
// written starts nothing.
AExternalPlayerResult RunExternalPlayer(const std::string& dcrPath, const std::string& videoPath,
                                        const std::string& folder, const std::string& programFolder);
