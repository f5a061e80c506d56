// The export option file and the export dialog's logic, driven through its
// host seam: proposed file, error message, remembered folder.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "base/procedural/AError.h"
#include "docengine/export/AExportOptions.h"
#include "docengine/export/AExportOptionsDlg.h"
#include "tests/base/procedural/FileTestSupport.h"

namespace {

// Records what the dialog asks of its host; the save box answers `answer`.
class FakeHost : public AExportDialogHost {
public:
    bool askSaveFile(const AFileSpec& proposed, const char* pattern, const char* typeName, const char* title,
                     AFileSpec* chosen) override {
        log.push_back(std::string("box ") + proposed.path().c_str() + " " + pattern + " " + typeName + " " + title);
        if (answer.empty())
            return false;
        *chosen = AFileSpec(answer.c_str());
        return true;
    }
    bool exportRtfFile(const AFileSpec& file, uint16_t whole) override {
        log.push_back(std::string("export ") + file.path().c_str() + " " + std::to_string(whole));
        return exportWorks;
    }
    void showMessage(const AString& text, unsigned flags) override {
        log.push_back("message " + std::string(text.c_str()) + " " + std::to_string(flags));
    }
    void closeDialog() override { log.push_back("close"); }
    AFileSpec personalFolder() override { return AFileSpec(personal.c_str()); }

    std::vector<std::string> log;
    std::string answer, personal;
    bool exportWorks = true;
};

class ExportDialogTest : public TempFolderTest {};

TEST_F(ExportDialogTest, ProposesRemembersAndReports) {
    CreateDirectoryA(PathOf("perso").c_str(), nullptr);
    CreateDirectoryA(PathOf("autre").c_str(), nullptr);
    AFileSpec prf(PathOf("export.prf").c_str());
    FakeHost host;
    host.personal = PathOf("perso");
    {
        AExportOptions options(prf);
        AExportOptionsDlg dialog(&options, &host, 1);
        EXPECT_EQ(&dialog, gExportOptionsDlg);
        host.answer = PathOf("autre") + "\\article.rtf";
        EXPECT_TRUE(dialog.doCommand(1010));
        EXPECT_FALSE(dialog.doCommand(1011));
        EXPECT_TRUE(dialog.isEnabled(1015));
    }
    EXPECT_EQ(nullptr, gExportOptionsDlg);
    EXPECT_EQ((std::vector<std::string>{"box " + PathOf("perso") + "\\export.rtf *.rtf Fichier RTF Enregistrer sous",
                                        "export " + PathOf("autre") + "\\article.rtf 1", "close"}),
              host.log);
    EXPECT_EQ("0\n1\n0\n" + PathOf("autre") + "\n", ReadAll(PathOf("export.prf")));

    // The next export starts in the remembered folder; an unopenable file is reported.
    host.log.clear();
    host.exportWorks = false;
    {
        AExportOptions options(prf);
        AExportOptionsDlg dialog(&options, &host, 0);
        host.answer = PathOf("autre") + "\\x.rtf";
        dialog.doCommand(1010);
        host.answer.clear();
        dialog.doCommand(1010);
        dialog.doCommand(1015);
    }
    EXPECT_EQ(
        (std::vector<std::string>{
            "box " + PathOf("autre") + "\\export.rtf *.rtf Fichier RTF Enregistrer sous",
            "export " + PathOf("autre") + "\\x.rtf 0", "message Impossible d'ouvrir " + PathOf("autre") + "\\x.rtf 48",
            "close", "box " + PathOf("autre") + "\\export.rtf *.rtf Fichier RTF Enregistrer sous", "close", "close"}),
        host.log);
}

TEST_F(ExportDialogTest, ATruncatedFileIsRefusedAndKept) {
    WriteAll(PathOf("export.prf"), "0\n2\n0\nC:\\old\n");
    EXPECT_THROW(AExportOptions(AFileSpec(PathOf("export.prf").c_str())), AFileError);
    EXPECT_EQ("0\n2\n0\nC:\\old\n", ReadAll(PathOf("export.prf")));
}

TEST_F(ExportDialogTest, AFailedSaveKeepsTheOldFile) {
    WriteAll(PathOf("export.prf"), "0\n1\n0\nC:\\old\n");
    // The temporary (of this process) cannot be made.
    CreateDirectoryA(PathOf("export.prf." + std::to_string(GetCurrentProcessId()) + ".tmp").c_str(), nullptr);
    {
        AExportOptions options(AFileSpec(PathOf("export.prf").c_str()));
        EXPECT_EQ("C:\\old", std::string(options.getFolder().path().c_str()));
        options.setFolder(AFileSpec("C:\\new"));
        EXPECT_FALSE(options.save());
    }
    EXPECT_EQ("0\n1\n0\nC:\\old\n", ReadAll(PathOf("export.prf")));
}

}  // namespace
