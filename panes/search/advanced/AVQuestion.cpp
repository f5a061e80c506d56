// The advanced search's question numbering.
#include "panes/search/advanced/AVQuestion.h"

namespace {

const short kThemeSlot = 5;
const short kSourceSlot[] = {0, 9, 10, 11};  // by source number 1..3

}  // namespace

std::vector<AVQuestionStep> ComposeAVQuestion(const AVQuestionInput& in) {
    std::vector<AVQuestionStep> steps;
    const short n = in.fieldCount;
    auto slot = [&](short i, const std::string& text) {
        if (i >= 1 && i <= n)
            steps.push_back({AVQuestionStep::kSlot, i, i, text});
    };
    auto fieldText = [&](short i) {
        if (i >= 1 && i <= n)
            steps.push_back({AVQuestionStep::kFieldText, i, i, in.fieldOption});
    };
    for (short i = 1; i <= n; ++i)
        slot(i, "");
    const short base = in.flexion == 1 ? static_cast<short>(n / 2 + 1) : 1;
    if (!in.themeValue.empty())
        slot(static_cast<short>(base + kThemeSlot), in.themeValue);
    if (in.sourceNumber == 0) {
        if (in.filteredText.find(" SAUF ") != std::string::npos) {
            fieldText(base);
            slot(base, in.text);
        } else {
            for (short i = base; i <= base + 4; ++i) {
                fieldText(i);
                slot(i, in.text);
            }
            if (n > 1 && base + 4 <= n)
                steps.push_back({AVQuestionStep::kFieldOption, base, static_cast<short>(base + 4), "1"});
        }
    } else if (in.sourceNumber >= 1 && in.sourceNumber <= 3) {
        slot(static_cast<short>(base + kSourceSlot[in.sourceNumber]), in.text);
    }
    return steps;
}

std::string DescribeAVQuestion(const std::vector<AVQuestionStep>& steps, bool withClears) {
    std::string out;
    for (const AVQuestionStep& s : steps) {
        if (!withClears && s.kind == AVQuestionStep::kSlot && s.text.empty())
            continue;
        if (!out.empty())
            out += "; ";
        switch (s.kind) {
        case AVQuestionStep::kSlot: out += "slot " + std::to_string(s.first) + "=" + s.text; break;
        case AVQuestionStep::kFieldText: out += "text " + std::to_string(s.first) + "=" + s.text; break;
        case AVQuestionStep::kFieldOption:
            out += "option " + std::to_string(s.first) + "-" + std::to_string(s.last) + "=" + s.text;
            break;
        }
    }
    return out;
}
