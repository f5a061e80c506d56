// The sample's outlines and time strips, planned from the articles' own markup.
#include "tools/samplebase/SampleOutlines.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>

#include "search/writers/FileImage.h"

namespace {

// A few dozen strips: enough to find one, few enough to stay a feature.
const size_t kStrips = 40;
const size_t kYearsShown = 6;
// Thumbnails are drawn as they are: only pictures that fit the strip's caption line.
const int32_t kThumbWidth = 160, kThumbHeight = 48;

// Plain text of markup, with the markup offset of each plain byte.
std::string Plain(const std::string& m, std::vector<size_t>* offsets) {
    std::string out;
    auto keep = [&](char c, size_t at) {
        out += c;
        if (offsets)
            offsets->push_back(at);
    };
    // Skips to just past the unescaped `stop` at or after i; the end when none.
    auto past = [&](size_t i, char stop) {
        while (i < m.size() && m[i] != stop)
            i += m[i] == '\\' ? 2 : 1;
        return std::min(i + 1, m.size());
    };
    for (size_t i = 0; i < m.size();) {
        char c = m[i];
        if (c == '\\' && i + 1 < m.size()) {
            keep(m[i + 1], i + 1);
            i += 2;
        } else if (c == '/') {
            i += 2;  // a style or colour code: text slashes are escaped
        } else if (c == '{' && i + 1 < m.size() && m[i + 1] == '@') {
            i = past(i + 2, '@');  // the button's prefix; its label follows
        } else if (c == '{' && i + 1 < m.size() && m[i + 1] == 'B') {
            i = past(i, '}');  // a picture
        } else if (c == '#') {
            i = past(i, '}');  // a link's target
        } else if (c == '{' || c == '}') {
            ++i;
        } else {
            keep(c, i);
            ++i;
        }
    }
    return out;
}

std::string Escape(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '/' || c == '\\' || c == '{' || c == '}' || c == '#')
            out += '\\';
        out += c;
    }
    return out;
}

bool IsWordByte(char c) {
    unsigned char u = static_cast<unsigned char>(c);
    return std::isalnum(u) || u >= 0xC0;
}

// A number with a unit after it ("1600 pixels", "1200 dpi") or a size before
// it ("800 x 1600") is a measure, whatever comes before it.
bool IsMeasure(const std::string& plain, size_t at) {
    static const char* const units[] = {"px", "pixel", "dpi", "ppp", "x", "\xD7", "mo", "ko", "mb", "kb", "%",
                                        "bit", "hz", "mm", "cm", "pt"};
    std::string after = plain.substr(at + 4, 8);
    after.erase(0, after.find_first_not_of(" \xA0"));
    for (char& c : after)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const char* unit : units) {
        size_t n = std::strlen(unit);
        if (after.compare(0, n, unit) == 0 &&
            (after.size() == n || !IsWordByte(after[n]) || n > 2 || std::isdigit(static_cast<unsigned char>(after[n]))))
            return true;
    }
    std::string before = plain.substr(at < 3 ? 0 : at - 3, at < 3 ? at : 3);
    size_t last = before.find_last_not_of(" \xA0");
    return last != std::string::npos && (before[last] == 'x' || before[last] == '\xD7');
}

// A number is a year when a word of dates comes before it ("en 1789"), not
// a size ("1200 pixels").
bool AfterDateWord(const std::string& plain, size_t at) {
    static const char* const words[] = {"en ", "in ", "depuis ", "vers ", "since ", "(", "\xA9 ", "d\xE8s ",
                                        "avant ", "apr\xE8s ", "until ", "jusqu'en "};
    std::string before = plain.substr(at < 12 ? 0 : at - 12, at < 12 ? at : 12);
    for (char& c : before)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const char* word : words) {
        size_t n = std::strlen(word);
        if (before.size() >= n && before.compare(before.size() - n, n, word) == 0 &&
            (before.size() == n || !IsWordByte(before[before.size() - n - 1]) || word[0] == '('))
            return true;
    }
    return false;
}

// Field k (from 0) of a TAB-separated record replaced by value.
std::string WithField(const std::string& record, size_t k, const std::string& value) {
    size_t start = 0;
    for (size_t f = 0; f < k; ++f) {
        start = record.find('\t', start);
        if (start == std::string::npos)
            return record;
        ++start;
    }
    size_t end = record.find('\t', start);
    return record.substr(0, start) + value + (end == std::string::npos ? "" : record.substr(end));
}

// The DOCVIG picture of the first small "KY" picture that the markup shows, or "".
std::string SmallPicture(const std::string& markup, const std::string& images) {
    const std::string tag = "{B-1#images/";
    for (size_t at = markup.find(tag); at != std::string::npos; at = markup.find(tag, at + 1)) {
        size_t close = markup.find('}', at);
        if (close == std::string::npos)
            return "";
        std::string bytes;
        if (!LoadFile(images + "\\" + markup.substr(at + tag.size(), close - at - tag.size()), &bytes) ||
            bytes.size() < 54 || bytes.compare(0, 2, "KY") != 0)
            continue;
        int32_t w = static_cast<int32_t>(GetWord(bytes, 18)), h = static_cast<int32_t>(GetWord(bytes, 22));
        if (w > 0 && h > 0 && w <= kThumbWidth && h <= kThumbHeight)
            return bytes;
    }
    return "";
}

}  // namespace

std::string SamplePlainText(const std::string& markup) {
    return Plain(markup, nullptr);
}

SampleOutline MakeSampleOutline(const std::string& markup) {
    SampleOutline outline;
    std::vector<std::pair<size_t, std::string>> entries;  // article position, label
    bool headings = false;
    for (size_t at = 0; at < markup.size();) {
        size_t end = markup.find('\n', at);
        if (end == std::string::npos)
            end = markup.size();
        std::string line = markup.substr(at, end - at);
        bool title = at == 0 && line.compare(0, 2, "/H") == 0, heading = line.compare(0, 2, "/G") == 0;
        std::string label = SamplePlainText(line);
        label.erase(0, label.find_first_not_of(" \xA0"));
        if ((title || heading) && !label.empty()) {
            entries.emplace_back(at, label);
            headings = headings || heading;
        }
        at = end + 1;
    }
    if (!headings)
        return outline;
    outline.map = std::to_string(entries.size());
    for (size_t k = 0; k < entries.size(); ++k) {
        outline.map += "," + std::to_string(entries[k].first) + ":" + std::to_string(outline.text.size());
        bool title = k == 0 && entries[k].first == 0;
        outline.text += std::string(title ? "/B" : "/A") + "{@d1@" + Escape(entries[k].second) + "#" +
                        std::to_string(entries[k].first) + "}\n";
    }
    return outline;
}

std::string MakeSampleTimeStrip(const std::string& markup, long thumbnail) {
    std::vector<size_t> offsets;
    std::string plain = Plain(markup, &offsets);
    std::map<int, size_t> years;  // year, markup position of its first mention
    for (size_t i = 0; i + 4 <= plain.size(); ++i) {
        bool digits = std::all_of(plain.begin() + i, plain.begin() + i + 4,
                                  [](char c) { return c >= '0' && c <= '9'; });
        if (!digits || (i > 0 && IsWordByte(plain[i - 1])) || (i + 4 < plain.size() && IsWordByte(plain[i + 4])))
            continue;
        int year = std::atoi(plain.substr(i, 4).c_str());
        if (year < 1000 || year > 2099 || years.count(year) || IsMeasure(plain, i) ||
            !(AfterDateWord(plain, i) || (year >= 1500 && year <= 2030)))
            continue;
        years[year] = offsets[i];
        i += 3;
    }
    if (years.size() < 3)
        return "";
    std::string cells;
    size_t shown = 0;
    for (const auto& y : years) {
        if (shown++ == kYearsShown)
            break;
        cells += std::string(cells.empty() ? "" : "#") + "0,0,0,0,0|/B{@d1@" + std::to_string(y.first) + "#>" +
                 std::to_string(y.second) + "}";
    }
    // Table cells draw no pictures from the strip's supplier: the thumbnail leads the caption.
    std::string picture = thumbnail >= 0 ? "{B-1#" + std::to_string(thumbnail) + "} " : "";
    return "/G" + picture + "Rep\xE8res dans le temps\n/&TABLE:100%:N0:[[" + cells + "]]&/\n";
}

SampleOutlines PlanSampleOutlines(const std::vector<std::string>& markups, const std::string& images,
                                  size_t documents, std::vector<std::string>* infos) {
    SampleOutlines plan;
    std::vector<size_t> withPicture, without;
    for (size_t n = 0; n < markups.size(); ++n) {
        SampleOutline outline = MakeSampleOutline(markups[n]);
        plan.outlines.push_back(outline.text);
        plan.maps.push_back(outline.map);
        if (!outline.map.empty() && n < infos->size())
            (*infos)[n][9] = '1';
        if (MakeSampleTimeStrip(markups[n], -1).empty())
            continue;
        (SmallPicture(markups[n], images).empty() ? without : withPicture).push_back(n);
    }
    // The articles with their own small picture first, then others spread over the rest.
    std::vector<size_t> chosen(withPicture.begin(), withPicture.begin() + std::min(withPicture.size(), kStrips / 2));
    size_t room = kStrips - chosen.size();
    for (size_t k = 0; k < room && !without.empty(); ++k)
        chosen.push_back(without[k * without.size() / room]);
    std::sort(chosen.begin(), chosen.end());
    chosen.erase(std::unique(chosen.begin(), chosen.end()), chosen.end());
    for (size_t n : chosen) {
        if (n >= infos->size())
            continue;
        std::string picture = SmallPicture(markups[n], images);
        long thumbnail = -1;
        if (!picture.empty()) {
            thumbnail = static_cast<long>(documents + plan.thumbnails.size());
            plan.thumbnails.push_back(picture);
        }
        std::string& info = (*infos)[n];
        info[11] = '1';
        info = WithField(info, 6, std::to_string(plan.strips.size()));
        plan.strips.push_back(MakeSampleTimeStrip(markups[n], thumbnail));
    }
    return plan;
}

void AddSampleOutlineRecords(const SampleOutlines& plan, std::map<std::string, std::vector<std::string>>* records) {
    std::vector<std::string>& outlines = (*records)["TEXT:STRUCT"];
    std::vector<std::string>& maps = (*records)["TEXT:STRUCTPOS"];
    outlines = plan.outlines;
    maps = plan.maps;
    if (!plan.strips.empty())
        (*records)["GLB:FRISE"] = plan.strips;
    std::vector<std::string>& thumbnails = (*records)["GLB:DOCVIG"];
    thumbnails.insert(thumbnails.end(), plan.thumbnails.begin(), plan.thumbnails.end());
}
