// A process saving an option file in a loop is killed at random moments: the
// file always loads whole, holding one save's contents.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "framework/files/AOptionsInfo.h"
#include "tests/base/procedural/FileTestSupport.h"
#include "tests/support/KilledSaver.h"

namespace {

std::string SaverPath() {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string path = self;
    return path.substr(0, path.find_last_of("\\/") + 1) + "container_saver.exe";
}

// "" when the file holds one whole save, else what is wrong with it.
std::string CheckSave(const AFileSpec& folder) {
    try {
        AOptionsInfo options(folder, "saved.prf");
        options.setReadOnly(1);
        if (options.longs().count() != 3000)
            return "numbers: " + std::to_string(options.longs().count());
        long version = options.getLong(0);
        for (long key = 0; key < 3000; ++key)
            if (options.getLong(key) != version)
                return "key " + std::to_string(key) + " of another save";
        if (options.getString(1) != std::to_string(version).c_str())
            return "text of another save";
    } catch (const AError& e) {
        return std::string("load failed: ") + e.className();
    }
    return "";
}

class InterruptedSaveTest : public TempFolderTest {};

TEST_F(InterruptedSaveTest, AKilledSaveLeavesTheOldOrTheNewFile) {
    AFileSpec folder(folder_.c_str());
    {
        AOptionsInfo first(folder, "saved.prf");
        for (long key = 0; key < 3000; ++key)
            first.setLong(key, 0);
        first.setString(1, "0");
    }
    std::string event = "sv-saver-" + std::to_string(GetCurrentProcessId());
    std::string command = "\"" + SaverPath() + "\" \"" + folder_ + "\" " + event;
    int changed = 0;
    long last = 0;
    EXPECT_EQ("", KillSaverRepeatedly(command, event, 200, 2026, [&]() {
                  std::string why = CheckSave(folder);
                  if (why.empty()) {
                      AOptionsInfo now(folder, "saved.prf");
                      now.setReadOnly(1);
                      changed += now.getLong(0) != last;
                      last = now.getLong(0);
                  }
                  return why;
              }));
    // The kills came while saves were under way, not only before the first.
    EXPECT_GT(changed, 20);
}

}  // namespace
