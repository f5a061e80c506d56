// Support of the application object's tests: a small installation built by
// the sample's own builder (bases TEXT and HDFILES, the three configuration
// pairs, "sv.ini"), and a TheApp made inside each test with the current
// folder set to that installation.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "reader/TheApp.h"
#include "tests/support/TestHooks.h"

// A fresh installation folder beside the test program; removed at the end.
class TinyInstall {
public:
    // extra, when given, adds its files to the corpus folder before the build.
    explicit TinyInstall(void (*extra)(const std::string& work) = nullptr);
    ~TinyInstall();
    TinyInstall(const TinyInstall&) = delete;
    TinyInstall& operator=(const TinyInstall&) = delete;

    const std::string& dir() const { return dir_; }
    std::string path(const std::string& name) const { return dir_ + "\\" + name; }
    // Replaces a file of the installation.
    void write(const std::string& name, const std::string& bytes) const;
    std::string read(const std::string& name) const;
    // "" when the build went well.
    const std::string& error() const { return error_; }

private:
    std::string dir_;
    std::string error_;
};

// The folder of the running test program, with its trailing backslash.
std::string ProgramFolder();
// A file's bytes, "" when it cannot be read.
std::string ReadFileBytes(const std::string& path);

// The application object without a frame window (the steps need none); the
// configuration values of `config` stand before the installation's.
class FramelessTheApp : public TheApp {
public:
    AString configString(const char* key) override {
        auto found = config.find(key);
        return found == config.end() ? TheApp::configString(key) : AString(found->second.c_str());
    }
    std::map<std::string, std::string> config;

protected:
    void* createFrameWindow(const ARect&, const AString&) override { return nullptr; }
};

class TheAppTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Writes sv.ini of the installation (section "settings", one "key=value" a line).
    void svIni(const std::string& lines) { install.write("sv.ini", "[settings]\r\n" + lines); }
    // The start steps up to the reader's dossiers and notes, without a main window.
    void startWithoutFrame();

    TinyInstall install;
    TheApp* app = nullptr;
    FramelessTheApp* testApp = nullptr;  // the same object
    CaptureStream errors;

private:
    char previousFolder_[260] = "";
};
