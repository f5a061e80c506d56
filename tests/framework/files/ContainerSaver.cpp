// Saves one option file in a loop until killed: each save holds one version
// number under every key, so a file mixing two saves shows. Sets the event
// named by its second argument when it starts saving.
#include <windows.h>

#include <string>

#include "base/object/AFileSpec.h"
#include "framework/files/AOptionsInfo.h"

int main(int argc, char** argv) {
    if (argc < 3)
        return 2;
    AOptionsInfo options(AFileSpec(argv[1]), "saved.prf");
    options.setReadOnly(1);
    long version = options.getLong(0);
    options.setReadOnly(0);
    if (HANDLE started = OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[2])) {
        SetEvent(started);
        CloseHandle(started);
    }
    for (;;) {
        ++version;
        for (long key = 0; key < 3000; ++key)
            options.setLong(key, version);
        options.setString(1, std::to_string(version).c_str());
        options.save();
    }
}
