// What the reader asks the installation for by name: the sample's messages and
// settings, and the check that the mounted descriptor holds every name that
// tools/sample/keys.py finds in the reader's code.
#pragma once

#include <string>
#include <utility>
#include <vector>

struct KyMount;
struct SampleCheckReport;

// The local online service tools/run.sh starts (tools/sample/service.py).
extern const char kSampleServiceSite[];

// The messages, texts and settings the screens read (French, Windows-1252):
// the search's questions, the online service's addresses and wizard texts,
// the work-name messages, the history and export sizes, the room titles.
std::vector<std::pair<std::string, std::string>> SampleReaderTexts();

// Each line of the list at `keys` ("kind TAB name TAB where", see
// tools/sample/keys.py) looked up in the mount; a missing name is an error
// naming the place in the code that asks for it.
void CheckReaderKeys(const KyMount* mount, const std::string& keys, SampleCheckReport* report);
