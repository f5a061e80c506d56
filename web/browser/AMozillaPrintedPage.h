// The text of a page as the runtime hands it to the page printer, laid out in
// lines at the printer body's width and printed through APrinter.
#pragma once

#include "framework/display/ADisplayComponent.h"

#include <string>
#include <vector>

class AMozillaPrintedPage : public ADisplayComponent {
public:
    AMozillaPrintedPage(AComponent* parent, const std::string& title, const std::vector<std::string>& paragraphs);

    void documentTitle(AString& out) override { out = AString(title_.c_str()); }
    long countPages(const ARect& body) override;
    void drawPage(const ARect& body, long page, bool draw) override;

    // Prints every page on the current printer under parent; false when nothing was printed.
    static bool printText(AComponent* parent, const std::string& title, const std::vector<std::string>& paragraphs);
    // A page under parent shown in the framework's preview window (a child of
    // the page); null when no preview could open (no printer).
    static AMozillaPrintedPage* preview(AComponent* parent, const std::string& title,
                                        const std::vector<std::string>& paragraphs);

private:
    void layOut(const ARect& body);

    std::string title_;
    std::vector<std::string> paragraphs_;
    std::vector<std::string> lines_;  // "" between paragraphs
    int32_t lineHeight_ = 1;
    long linesPerPage_ = 1;
    int32_t laidWidth_ = -1;
};
