// The hand-off to the external player: the exchange file's bytes, the names
// read from records, a folder that cannot be written, and our stand-in
// player started for real, which logs what it read.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>

#include "panes/content/media/AExternalPlayer.h"
#include "panes/content/media/AMediaApp.h"
#include "panes/content/media/MediaPane.h"

namespace {

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// A fresh folder under the temporary folder.
std::string NewFolder(const char* name) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string folder = std::string(temp) + name + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

void Copy(const std::string& from, const std::string& to) {
    ASSERT_TRUE(CopyFileA(from.c_str(), to.c_str(), FALSE)) << from << " -> " << to;
}

// The stand-in's log, once it wrote its last line (at most 20 s).
std::string WaitForLog(const std::string& path) {
    for (int i = 0; i < 200; ++i) {
        std::string log = Slurp(path);
        if (log.find("done\r\n") != std::string::npos)
            return log;
        Sleep(100);
    }
    return Slurp(path);
}

}  // namespace

TEST(ExternalPlayerTest, TheExchangeFileIsFourCrLfLinesAndRefusesLineBreaksInPaths) {
    struct Row {
        const char* dcr;
        const char* video;
        bool ok;
        const char* text;
    } const rows[] = {
        {"C:\\d\\DCR\\film.dcr", "C:\\d\\VIDEOS\\film.mpg", true,
         "dcrpath=C:\\d\\DCR\\film.dcr\r\nmpgpath=C:\\d\\VIDEOS\\film.mpg\r\nerror=OK\r\nstatus=run\r\n"},
        // Blanks go as they are, unquoted.
        {"C:\\mes films\\a b.dcr", "C:\\v.mpg", true,
         "dcrpath=C:\\mes films\\a b.dcr\r\nmpgpath=C:\\v.mpg\r\nerror=OK\r\nstatus=run\r\n"},
        {"C:\\a.dcr\r\nstatus=stop", "C:\\v.mpg", false, ""},
        {"C:\\a.dcr", "C:\\v\n.mpg", false, ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.dcr);
        std::string text;
        EXPECT_EQ(r.ok, MakeExchangeText(r.dcr, r.video, &text));
        EXPECT_EQ(r.text, text);
    }
}

TEST(ExternalPlayerTest, RecordNamesStayInsideTheirFolder) {
    struct Row {
        const char* name;
        bool safe;
    } const rows[] = {
        {"film.mpg", true},         {"sous\\film.mpg", true}, {"a..b.mpg", true},
        {"", false},                {"..\\film.mpg", false},  {"sous/../../x", false},
        {"C:film.mpg", false},      {"C:\\film.mpg", false},  {"\\\\serveur\\x", false},
        {"/etc/passwd", false},     {"..", false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(r.safe, IsSafeRecordName(r.name));
    }
}

TEST(ExternalPlayerTest, AFileThatCannotBeWrittenStartsNothingAndSaysWhy) {
    std::string folder = NewFolder("svnoexch");
    // A folder where a file of the exchange file's name is a folder: the rename cannot replace it.
    std::string blocked = folder + "\\VB2DCR.txt";
    CreateDirectoryA(blocked.c_str(), nullptr);
    std::string error;
    EXPECT_FALSE(WriteExchangeFile(blocked, "a.dcr", "b.mpg", &error));
    EXPECT_NE(std::string::npos, error.find("VB2DCR.txt")) << error;
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((blocked + ".tmp").c_str())) << "no temporary left";
    AExternalPlayerResult result = RunExternalPlayer("a.dcr", "b.mpg", "", folder);
    EXPECT_EQ(0, result.written);
    EXPECT_EQ(0, result.started);
    EXPECT_FALSE(result.error.empty());
    RemoveDirectoryA(blocked.c_str());
}

TEST(ExternalPlayerTest, TheStandInPlayerReadsTheFileBesideItAndANetworkCopyIsFresh) {
    std::string programs = NewFolder("svprog"), temp = NewFolder("svtmpinst");
    Copy(SV_PROJIT_EXE, programs + "\\projit.exe");
    struct Row {
        const char* label;
        std::string folder;  // the network installation's temporary folder, or none
    } const rows[] = {{"disc", ""}, {"network", temp}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        std::string where = r.folder.empty() ? programs : r.folder;
        DeleteFileA((where + "\\projit.log").c_str());
        if (!r.folder.empty()) {
            // Whatever lay there before is replaced, never run.
            std::ofstream(where + "\\projit.exe", std::ios::binary) << "not a program";
        }
        AExternalPlayerResult result =
            RunExternalPlayer("C:\\films\\DCR\\a.dcr", "C:\\films\\VIDEOS\\a b.mpg", r.folder, programs);
        EXPECT_EQ(1, result.written) << result.error;
        EXPECT_EQ(1, result.started);
        EXPECT_EQ(where + "\\VB2DCR.txt", result.exchange);
        EXPECT_EQ("dcrpath=C:\\films\\DCR\\a.dcr\r\nmpgpath=C:\\films\\VIDEOS\\a b.mpg\r\nerror=OK\r\nstatus=run\r\n",
                  Slurp(result.exchange));
        EXPECT_EQ("read: dcrpath=C:\\films\\DCR\\a.dcr\r\nread: mpgpath=C:\\films\\VIDEOS\\a b.mpg\r\n"
                  "read: error=OK\r\nread: status=run\r\ndone\r\n",
                  WaitForLog(where + "\\projit.log"));
    }
}

TEST(ExternalPlayerTest, ZoomPercentsAndLabels) {
    struct Row {
        long bw, bh, pw, ph;
        int16_t fit;
    } const rows[] = {
        {400, 300, 400, 300, 100}, {400, 300, 800, 600, 50}, {400, 300, 800, 300, 50},
        {400, 300, 200, 100, 200}, {0, 300, 400, 300, 100},  {400, 300, 0, 0, 100},
        {1, 1, 100000, 100000, 1}, {100000, 100000, 1, 1, 32767},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.pw) + "x" + std::to_string(r.ph) + " in " + std::to_string(r.bw));
        EXPECT_EQ(r.fit, ComputeZoomPercent(r.bw, r.bh, r.pw, r.ph));
    }
    EXPECT_STREQ("ZOOM", MediaPane::zoomLabelFor(100).c_str());
    EXPECT_STREQ("50%", MediaPane::zoomLabelFor(50).c_str());
    EXPECT_STREQ("150%", MediaPane::zoomLabelFor(150).c_str());
}
