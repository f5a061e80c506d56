// Saves a history over and over until it is killed: save n holds n % 20 + 1
// states, each of document n. "histo_saver FOLDER EVENT": the event is set
// once the first save is done.
#include <windows.h>

#include "base/procedural/AError.h"
#include "tests/app/prefs/HistoTestSupport.h"

int main(int argc, char** argv) {
    if (argc != 3)
        return 2;
    HANDLE started = OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[2]);
    try {
        for (long n = 1;; ++n) {
            ChainHost host(argv[1]);
            for (long i = 0; i <= n % 20; ++i)
                host.addState(new AppState(1, 1203, new ADocState(1201), nullptr, nullptr, nullptr, n));
            AHistoManager history(AFileSpec(argv[1]), "saved.histo", 0, &host);
            history.save();
            if (n == 1 && started)
                SetEvent(started);
        }
    } catch (const AError&) {
        return 1;
    }
}
