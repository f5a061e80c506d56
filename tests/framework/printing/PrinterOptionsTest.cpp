// The printing options file: saved whole through a temporary sibling and read back.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "base/object/AFileSpec.h"
#include "framework/printing/APrinterOptions.h"

TEST(PrinterOptions, SavedOptionsComeBackAndNoTemporaryIsLeft) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string folder = std::string(temp) + "svprintopt" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    std::string file = folder + "\\print.prf";
    {
        APrinterOptions options(AFileSpec(folder.c_str()), "print.prf");
        options.setLong(3, 42);
        options.setString(7, "Ent\xEAte");
    }
    {
        APrinterOptions options(AFileSpec(folder.c_str()), "print.prf");
        EXPECT_EQ(42, options.getLong(3));
        EXPECT_STREQ("Ent\xEAte", options.getString(7).c_str());
        options.setLong(3, 43);
    }
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((file + ".tmp").c_str()));
    APrinterOptions again(AFileSpec(folder.c_str()), "print.prf");
    EXPECT_EQ(43, again.getLong(3));
    DeleteFileA(file.c_str());
    RemoveDirectoryA(folder.c_str());
}
