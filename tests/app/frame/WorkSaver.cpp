// The child of the interrupted work saves: saves work "W" of a reader's folder
// again and again, each version's three files alike ("round R version K",
// padding, "END"), until it is killed.
//   work_saver.exe <reader folder> <round>
#include <cstdio>
#include <string>

#include "app/frame/AWorkFolders.h"

int main(int argc, char** argv) {
    if (argc != 3)
        return 2;
    AFileSpec user(argv[1]);
    for (long k = 0;; ++k) {
        std::string text = std::string("round ") + argv[2] + " version " + std::to_string(k) + "\n";
        text += std::string(20000 + (k % 7) * 5000, 'x') + "END";
        if (!BeginWorkSave(user, "W"))
            return 3;
        for (const char* name : {"sv.prf", "sv.dos", "sv.histo"}) {
            FILE* f = std::fopen((std::string(argv[1]) + "\\W\\" + name).c_str(), "wb");
            if (!f)
                return 4;
            std::fwrite(text.data(), 1, text.size(), f);
            std::fclose(f);
        }
        CommitWorkSave(user, "W");
    }
}
