// The sample chronology's records, read from the corpus folder, and their check.
#include "tools/samplebase/SampleChrono.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "base/procedural/EngineTables.h"
#include "search/engine/records/KyAccessor.h"
#include "search/writers/AbpWriter.h"
#include "search/writers/DescriptorWriter.h"
#include "search/writers/FileImage.h"
#include "search/writers/TableWriter.h"
#include "tools/samplebase/SampleBase.h"
#include "tools/samplebase/SampleBaseInternal.h"

namespace {

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    for (size_t at = 0;;) {
        size_t end = text.find(separator, at);
        parts.push_back(text.substr(at, end == std::string::npos ? std::string::npos : end - at));
        if (end == std::string::npos)
            return parts;
        at = end + 1;
    }
}

// The non-empty lines of a text, whether its lines end in LF or CR LF.
std::vector<std::string> TextLines(const std::string& text) {
    std::vector<std::string> lines;
    for (std::string& line : Split(text, '\n')) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty())
            lines.push_back(line);
    }
    return lines;
}

bool Decimal(const std::string& text, bool sign) {
    size_t at = sign && !text.empty() && text[0] == '-' ? 1 : 0;
    return at < text.size() && text.find_first_not_of("0123456789", at) == std::string::npos;
}

std::string ReadRecords(const KyMountedBase* base, const char* name, std::vector<std::string>* records) {
    KyTable* table = nullptr;
    if (KyOpenTable(base, name, &table))
        return std::string("cannot open: ") + KY_EngineErrorText;
    std::string why;
    for (int32_t n = 0;; ++n) {
        int32_t start = 0, length = 0, got = 0;
        if (KyRecordExtent(table, n, &start, &length))
            break;  // past the last record
        std::string bytes(static_cast<size_t>(length) + 1, '\0');
        if (KyReadRecord(table, n, reinterpret_cast<uint8_t*>(&bytes[0]), length, &got) || got != length) {
            why = "record " + std::to_string(n) + ": " + KY_EngineErrorText;
            break;
        }
        bytes.resize(static_cast<size_t>(length));
        records->push_back(bytes);
    }
    KyCloseTable(&table);
    return why;
}

using Fail = std::vector<std::string>*;

void CheckScale(const std::vector<std::string>& scale, Fail errors) {
    auto fail = [&](const std::string& what) { errors->push_back("CHRONO:SCALE: " + what); };
    if (scale.size() < 2)
        return fail("no scale text and period list");
    long previous = 0;
    std::vector<std::string> lines = TextLines(scale[0]);
    if (lines.size() < 2)
        fail("a scale of fewer than two lines");
    for (size_t i = 0; i < lines.size(); ++i) {
        std::vector<std::string> f = Split(lines[i], '\t');
        long year = std::atol(f[0].c_str()), factor = f.size() > 1 ? std::atol(f[1].c_str()) : 0;
        if (f.size() != 2 || !Decimal(f[0], true) || factor <= 0 || (i && year <= previous))
            fail("scale line " + std::to_string(i) + " \"" + lines[i] + "\"");
        previous = year;
    }
    std::vector<std::string> periods = TextLines(scale[1]);
    if (periods.size() < 10)
        fail("a period list of " + std::to_string(periods.size()) + " lines, fewer than ten");
    for (size_t i = 0; i < periods.size(); ++i) {
        std::string year = Split(periods[i], '\t')[0];
        if (!Decimal(year, true) || (i && std::atol(year.c_str()) <= previous))
            fail("period line " + std::to_string(i) + " \"" + periods[i] + "\"");
        previous = std::atol(year.c_str());
    }
}

void CheckEvents(const std::vector<std::string>& events, size_t headings, Fail errors) {
    long previous = 0;
    for (size_t n = 0; n < events.size(); ++n) {
        auto fail = [&](const std::string& what) {
            errors->push_back("CHRONO:EVENTS: record " + std::to_string(n) + ": " + what);
        };
        std::vector<std::string> items = Split(events[n], '\t');
        long year = std::atol(items[0].c_str());
        if (n && year <= previous)
            fail("its year does not follow the previous line's");
        previous = year;
        for (const std::string& item : items) {
            std::vector<std::string> f = Split(item, '|');
            if (f.size() != 7) {
                fail("an event of " + std::to_string(f.size()) + " fields");
                continue;
            }
            long category = std::atol(f[1].c_str()), value = std::atol(f[2].c_str()), row = std::atol(f[3].c_str());
            if (std::atol(f[0].c_str()) != year || !Decimal(f[0], true))
                fail("an event of another year");
            if (category < 0 || category > 3 || row < 0 || row > 4 || f[4] != "0")
                fail("category, row or size out of range in \"" + item + "\"");
            if (value < 0 || static_cast<size_t>(value) >= headings)
                fail("a heading number beyond the headings");
            if (f[5].empty() || f[5].find(':') != std::string::npos)
                fail("an empty label or one the view would cut at its colon");
            if (!f[6].empty() && !Decimal(f[6], false))
                fail("a link that is not a document number");
        }
    }
}

void CheckLinks(const std::vector<std::string>& links, size_t headings, Fail errors) {
    for (size_t n = 0; n < links.size(); ++n) {
        std::vector<std::string> f = Split(links[n], ':');
        std::vector<std::string> entries = f.size() == 3 ? Split(f[2], ',') : std::vector<std::string>();
        long largest = -1;
        bool sound = f.size() == 3 && std::atol(f[0].c_str()) == static_cast<long>(entries.size());
        for (const std::string& e : entries) {
            sound = sound && Decimal(e, false) && static_cast<size_t>(std::atol(e.c_str())) < headings;
            largest = std::max(largest, std::atol(e.c_str()));
        }
        if (!sound || largest != std::atol(f[1].c_str()))
            errors->push_back("CHRONO:LNK: record " + std::to_string(n) + " is not a list of headings");
    }
}

void CheckBand(const std::vector<std::string>& band, const std::vector<std::string>& pictures, Fail errors) {
    for (size_t n = 0; n < pictures.size(); ++n) {
        const std::string& p = pictures[n];
        uint32_t size = p.size() >= 6 ? static_cast<uint8_t>(p[2]) | static_cast<uint8_t>(p[3]) << 8 |
                                             static_cast<uint32_t>(static_cast<uint8_t>(p[4])) << 16 |
                                             static_cast<uint32_t>(static_cast<uint8_t>(p[5])) << 24
                                       : 0;
        if (p.compare(0, 2, "BM") != 0 || size != p.size())
            errors->push_back("CHRONO:BMP: record " + std::to_string(n) + " is not a whole BMP picture");
    }
    std::vector<std::string> lines = band.empty() ? std::vector<std::string>() : TextLines(band[0]);
    if (lines.empty())
        errors->push_back("CHRONO:BKGND: no background band");
    long previous = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        std::vector<std::string> f = Split(lines[i], ',');
        long year = std::atol(f[0].c_str());
        if (f.size() != 4 || static_cast<size_t>(std::atol(f[1].c_str())) >= pictures.size() ||
            (i && year < previous))
            errors->push_back("CHRONO:BKGND: line " + std::to_string(i) + " \"" + lines[i] + "\"");
        previous = year;
    }
}

}  // namespace

std::string ReadChronology(const std::string& work, std::map<std::string, std::vector<std::string>>* records) {
    const std::string folder = work + "\\chrono\\";
    // A corpus without a chronology keeps the skeleton's records.
    if (GetFileAttributesA((folder + "events.txt").c_str()) == INVALID_FILE_ATTRIBUTES)
        return "";
    for (const char* table : {"HDG", "LNK", "EVENTS", "SCALE", "BKGND", "THM"}) {
        std::string name = table, bytes;
        for (char& c : name)
            c = static_cast<char>(c - 'A' + 'a');
        bool optional = std::strcmp(table, "THM") == 0;
        if (!LoadFile(folder + name + ".txt", &bytes)) {
            // A chronology without themes keeps the skeleton's empty tree.
            if (optional)
                continue;
            return "cannot read " + folder + name + ".txt";
        }
        (*records)[std::string("CHRONO:") + table] = Split(bytes, '\f');
    }
    std::string count;
    if (!LoadFile(folder + "bmp.txt", &count))
        return "cannot read " + folder + "bmp.txt";
    std::vector<std::string>& pictures = (*records)["CHRONO:BMP"];
    pictures.clear();
    for (long n = 0; n < std::atol(count.c_str()); ++n) {
        std::string path = folder + "bmp\\" + std::to_string(n) + ".bmp", bytes;
        if (!LoadFile(path, &bytes))
            return "cannot read " + path;
        pictures.push_back(bytes);
    }
    return "";
}

std::string WriteChronoKeywords(const std::string& work, const std::string& data, const std::string& filter,
                                std::vector<DescriptorResource>* resources) {
    std::string text;
    if (!LoadFile(work + "\\chrono\\motscles.txt", &text))
        return "";
    std::vector<std::pair<std::string, std::string>> entries;
    for (const std::string& line : Split(text, '\n')) {
        size_t tab = line.find('\t');
        if (line.empty())
            continue;
        if (tab == std::string::npos)
            return "chrono\\motscles.txt: a line without its entry";
        entries.emplace_back(line.substr(0, tab), line.substr(tab + 1));
    }
    std::sort(entries.begin(), entries.end());
    std::string why = WriteKeyedRecords(entries, data + "\\chrono_mc");
    if (!why.empty())
        return why;
    resources->push_back({"lex", "CHRONO", "chrono_mc", filter});
    return "";
}

void CheckChronology(const KyMountedBase* base, SampleCheckReport* report) {
    std::map<std::string, std::vector<std::string>> t;
    for (const char* table : {"HDG", "LNK", "EVENTS", "BMP", "SCALE", "BKGND"}) {
        std::string why = ReadRecords(base, table, &t[table]);
        if (!why.empty())
            return report->errors.push_back(std::string("CHRONO:") + table + ": " + why);
    }
    // The skeleton of a corpus without a chronology: one empty event record.
    if (t["EVENTS"].size() == 1 && t["EVENTS"][0].empty())
        return;
    for (size_t n = 0; n < t["HDG"].size(); ++n)
        if (Split(t["HDG"][n], '\t').size() != 4)
            report->errors.push_back("CHRONO:HDG: record " + std::to_string(n) + " has not four fields");
    CheckScale(t["SCALE"], &report->errors);
    CheckEvents(t["EVENTS"], t["HDG"].size(), &report->errors);
    CheckLinks(t["LNK"], t["HDG"].size(), &report->errors);
    CheckBand(t["BKGND"], t["BMP"], &report->errors);
}

// The ephemeris base from what tools/sample/ephemeris.py writes under
// "ephem" (its diagram there). Each event's fourth field, the picture's index
// among "bmp\<n>.bmp", becomes its record in GLB:DOCVIG, after the records
// already there.
std::string ReadEphemeris(const std::string& work, std::map<std::string, std::vector<std::string>>* records) {
    const std::string folder = work + "\\ephem\\";
    std::string days, texts, count;
    // A corpus without an ephemeris keeps the skeleton's empty records.
    if (!LoadFile(folder + "days.txt", &days))
        return "";
    if (!LoadFile(folder + "texts.txt", &texts) || !LoadFile(folder + "bmp.txt", &count))
        return "cannot read " + folder + "texts.txt or bmp.txt";
    std::vector<std::string>& vignettes = (*records)["GLB:DOCVIG"];
    const long first = static_cast<long>(vignettes.size());
    for (long n = 0; n < std::atol(count.c_str()); ++n) {
        std::string path = folder + "bmp\\" + std::to_string(n) + ".bmp", bytes;
        if (!LoadFile(path, &bytes))
            return "cannot read " + path;
        vignettes.push_back(bytes);
    }
    std::vector<std::string>& out = (*records)["EPHEMERIDE:HDG"];
    out.clear();
    for (const std::string& day : Split(days, '\f')) {
        std::string record;
        for (const std::string& event : day.empty() ? std::vector<std::string>() : Split(day, ',')) {
            std::vector<std::string> fields = Split(event, ':');
            if (fields.size() < 4)
                return folder + "days.txt: an event of fewer than four fields";
            long picture = std::atol(fields[3].c_str());
            fields[3] = std::to_string(picture < 0 ? -1 : first + picture);
            std::string joined;
            for (const std::string& f : fields)
                joined += (joined.empty() ? "" : ":") + f;
            record += (record.empty() ? "" : ",") + joined;
        }
        out.push_back(record);
    }
    if (out.size() != 372)
        return folder + "days.txt: not 372 days";
    (*records)["EPHEMERIDE:BASE"] = Split(texts, '\f');
    return "";
}

std::string AddMediaEphemerisEvent(long dayIndex, long doc, const std::string& text,
                                   std::map<std::string, std::vector<std::string>>* records) {
    std::vector<std::string>& days = (*records)["EPHEMERIDE:HDG"];
    std::vector<std::string>& texts = (*records)["EPHEMERIDE:BASE"];
    if (dayIndex < 0 || static_cast<size_t>(dayIndex) >= days.size())
        return "EPHEMERIDE:HDG: no day " + std::to_string(dayIndex) + " for the media event";
    // The skeleton's single empty text record is no event's.
    if (texts.size() == 1 && texts[0].empty())
        texts.clear();
    const std::string event = "-1:" + std::to_string(texts.size()) + ":" + std::to_string(doc) + ":" + std::to_string(doc);
    std::string& day = days[static_cast<size_t>(dayIndex)];
    day += (day.empty() ? "" : ",") + event;
    texts.push_back("/A" + text);
    return "";
}
