// A process saving a history in a loop is killed at random moments: the file
// always loads whole, holding one save's states.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "base/procedural/AError.h"
#include "tests/app/prefs/HistoTestSupport.h"
#include "tests/base/procedural/FileTestSupport.h"
#include "tests/support/KilledSaver.h"

namespace {

std::string SaverPath() {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string path = self;
    return path.substr(0, path.find_last_of("\\/") + 1) + "histo_saver.exe";
}

// The save's number, or -1 (with why) when the file is not one whole save.
long CheckSave(const std::string& folder, std::string* why) {
    ChainHost host(folder);
    try {
        AHistoManager history(AFileSpec(folder.c_str()), "saved.histo", 0, &host);
        history.load();
    } catch (const AError& e) {
        *why = std::string("load failed: ") + e.className();
        return -1;
    }
    long n = host.chain.empty() ? -1 : host.chain.front()->getDocNo();
    if (static_cast<long>(host.chain.size()) != n % 20 + 1) {
        *why = std::to_string(host.chain.size()) + " states in save " + std::to_string(n);
        return -1;
    }
    for (auto& state : host.chain)
        if (state->getDocNo() != n)
            *why = "a state of another save";
    return why->empty() ? n : -1;
}

class InterruptedHistoTest : public TempFolderTest {};

TEST_F(InterruptedHistoTest, AKilledSaveLeavesTheOldOrTheNewFile) {
    std::string event = "sv-histo-saver-" + std::to_string(GetCurrentProcessId());
    std::string command = "\"" + SaverPath() + "\" \"" + folder_ + "\" " + event;
    int changed = 0;
    long last = 0;
    EXPECT_EQ("", KillSaverRepeatedly(command, event, 200, 2027, [&]() {
                  std::string why;
                  long n = CheckSave(folder_, &why);
                  changed += n != last;
                  last = n;
                  return why;
              }));
    // The kills came while saves were under way, not only before the first.
    EXPECT_GT(changed, 20);
}

}  // namespace
