// The saving child of the interrupted-save test: opens a store in a folder
// and saves its random versions one after the other until it is killed or
// has saved them all.
//   workspace_saver <folder> <dos|note> <seed> <versions>
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <random>

#include "panes/docks/workspace/ADossierManager.h"
#include "panes/docks/workspace/ANoteManager.h"
#include "tests/panes/docks/workspace/StoreTestSupport.h"

int main(int argc, char** argv) {
    if (argc != 5)
        return 2;
    AFileSpec folder(argv[1]);
    std::mt19937 random(static_cast<unsigned>(std::atol(argv[3])));
    long versions = std::atol(argv[4]);
    try {
        if (!std::strcmp(argv[2], "dos")) {
            ADossierManager store(nullptr, 50, folder, "sv.dos");
            for (long k = 0; k < versions; ++k)
                SaveNextVersion(store, random);
            store.setReadOnly(1);
        } else {
            ANoteManager store(nullptr, folder, "sv.note");
            for (long k = 0; k < versions; ++k)
                SaveNextVersion(store, random);
            store.setReadOnly(1);
        }
    } catch (...) {
        return 1;
    }
    return 0;
}
