// A page's text on the printer: words wrapped to the body, a blank line
// between paragraphs, as many lines a page as the body holds.
#include "web/browser/AMozillaPrintedPage.h"

#include "framework/graphics/AFont.h"
#include "framework/app/AWindow.h"
#include "framework/printing/APrinter.h"

#include <algorithm>

namespace {

AFontSpec PageFont() {
    return AFontSpec("Arial", 11, 0);
}

}  // namespace

AMozillaPrintedPage::AMozillaPrintedPage(AComponent* parent, const std::string& title,
                                         const std::vector<std::string>& paragraphs)
    : ADisplayComponent(parent, 1, ASizeSpec(ARect(0, 0, 10, 10))), title_(title), paragraphs_(paragraphs) {}

void AMozillaPrintedPage::layOut(const ARect& body) {
    if (laidWidth_ == body.width())
        return;
    laidWidth_ = body.width();
    lines_.clear();
    AFont font(PageFont());
    lineHeight_ = std::max<int32_t>(1, font.body()->measure("X", 1).height);
    for (const std::string& paragraph : paragraphs_) {
        std::string line;
        size_t at = 0;
        while (at < paragraph.size()) {
            size_t end = paragraph.find(' ', at);
            std::string word = paragraph.substr(at, end == std::string::npos ? std::string::npos : end - at);
            at = end == std::string::npos ? paragraph.size() : end + 1;
            std::string longer = line.empty() ? word : line + " " + word;
            if (!line.empty() && font.body()->measure(longer.c_str(), static_cast<long>(longer.size())).width >
                                     body.width()) {
                lines_.push_back(line);
                line = word;
            } else {
                line = longer;
            }
        }
        lines_.push_back(line);
        lines_.push_back(std::string());
    }
    linesPerPage_ = std::max<long>(1, body.height() / lineHeight_);
}

long AMozillaPrintedPage::countPages(const ARect& body) {
    layOut(body);
    return std::max<long>(1, (static_cast<long>(lines_.size()) + linesPerPage_ - 1) / linesPerPage_);
}

void AMozillaPrintedPage::drawPage(const ARect& body, long page, bool draw) {
    layOut(body);
    if (!draw)
        return;
    AFont font(PageFont());
    int32_t y = body.top();
    size_t first = static_cast<size_t>(page * linesPerPage_);
    for (size_t i = first; i < lines_.size() && i < first + static_cast<size_t>(linesPerPage_); ++i) {
        if (!lines_[i].empty())
            font.body()->drawTextAtTop(APoint(body.left(), y), lines_[i].c_str(), static_cast<long>(lines_[i].size()));
        y += lineHeight_;
    }
}

bool AMozillaPrintedPage::printText(AComponent* parent, const std::string& title,
                                const std::vector<std::string>& paragraphs) {
    AMozillaPrintedPage* page = new AMozillaPrintedPage(parent, title, paragraphs);
    AObject::completeNew(page);
    APrinter* printer = new APrinter;
    AObject::completeNew(printer);
    bool printed = true;
    try {
        printer->printAllPages(page);
    } catch (const AError&) {
        printed = false;
    }
    AComponent* p = printer;
    DeleteComponent(p);
    AComponent* c = page;
    DeleteComponent(c);
    return printed;
}

AMozillaPrintedPage* AMozillaPrintedPage::preview(AComponent* parent, const std::string& title,
                                                  const std::vector<std::string>& paragraphs) {
    AMozillaPrintedPage* page = new AMozillaPrintedPage(parent, title, paragraphs);
    AObject::completeNew(page);
    // The preview window, its child, shows only under a shown parent; the
    // page itself draws nothing.
    page->setVisible(true);
    bool shown = false;
    try {
        page->perform(page->printPreview());
        auto* window = dynamic_cast<AWindow*>(page->findDescendant(&AWindow::classRecord, nullptr));
        shown = window && IsWindowVisible(window->getHWnd());
    } catch (const AError&) {
        shown = false;
    }
    if (!shown) {
        AComponent* c = page;
        DeleteComponent(c);
        return nullptr;
    }
    return page;
}
