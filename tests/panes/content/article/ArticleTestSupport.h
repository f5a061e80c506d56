// Support of the centre views' tests: the real reader (its application
// object and main window) started in-process on the sample encyclopedia,
// with helpers to pump its messages, reach its panes and take pictures.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "app/main/TheApp.h"
#include "base/object/ARect.h"
#include "tests/support/TestHooks.h"

class DocKycfPane;
class Frame1;

class SampleReaderTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Delivers pending messages and change notices.
    void pump();
    // Layouts, updates and paints delivered before a picture.
    void settle();
    DocKycfPane* articlePane();
    // The main window as the screen shows it, as build/artifacts/<name>.png;
    // answers the count of pixels that are not white inside `inside` (window
    // coordinates; none when null).
    int saveShot(const char* name, const ARect* inside = nullptr);
    // Runs a test body, failing with the report of a framework error or fatal end.
    void guarded(const std::function<void()>& body);
    void searchedArticle();
    void shownArticlePixels();

    TheApp* app = nullptr;
    Frame1* frame = nullptr;  // null when the sample or the display is missing (skipReason says which)
    std::string skipReason;
    CaptureStream errors;

private:
    void start();
    char previousFolder_[260] = "";
};
