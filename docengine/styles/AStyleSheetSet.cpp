// Reading "svstyles.xml" into style sheets.
#include "docengine/styles/AStyleSheetSet.h"

#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/procedural/AError.h"
#include "base/procedural/StringUtil.h"
#include "base/procedural/Trace.h"
#include "base/procedural/XmlInput.h"

// The document (names case-sensitive; unknown elements are skipped whole,
// every attribute is optional):
//   <Document>
//     <StyleSheets>
//       <StyleSheet Id="0" Name="default" TrueType="0" NoAdjust="0">
//         <Style Prefix="A | A-C | 12 | #0E" Font="Arial" Size="0" Bold Ital Ul Sub Exp
//                Charset="0" Min="2" Max="64"/>
//         <Color Prefix="1" Rgb="#RRGGBB | r,g,b"/>
//         <Bitmap Id="0" NbSub="1" ResId="name | #number | $path" AppId="" NoStretch="0"/>
//         <TabStops Prefix="a | a-c" TabWidth="30" Justif="Left" Truncate="0" RefWidth="0">100 200</TabStops>
//       </StyleSheet>
//     </StyleSheets>
//     <Resources Path="folder"><Image Id="Foo" Filename="Foo" Type="Bmp" NoStretch="0" NbSub="1"/></Resources>
//   </Document>
// Numbers read as atol does; a Style "#" prefix is two hex digits above 0.

namespace {

// Most tab-stop text kept; a longer list loses whole stops at its end.
const size_t kTabTextMax = 4096;

struct SheetRead {
    AStyleSheetSet* set;
    AStyleSheet* sheet;
    long number;
};

const char* Attr(XML::Element& e, const char* name, const char* fallback) {
    return XML::Input::getAttribute(e, name, fallback);
}

long AttrLong(XML::Element& e, const char* name, const char* fallback) {
    return atol(Attr(e, name, fallback));
}

// Two hex digits at p, or -1.
int HexByte(const char* p) {
    int high = HexDigit(p[0]);
    int low = high < 0 ? -1 : HexDigit(p[1]);
    return low < 0 ? -1 : high * 16 + low;
}

// The numbers a letter prefix names: first - base, and for three characters the third - base as the last.
bool LetterRange(const char* prefix, char base, long* first, long* last) {
    size_t n = strlen(prefix);
    if (n == 0)
        return false;
    *first = static_cast<unsigned char>(prefix[0]) - base;
    *last = n == 3 ? static_cast<unsigned char>(prefix[2]) - base : *first;
    return true;
}

// 0x02000000 | blue << 16 | green << 8 | red; false for a short "#" colour.
bool ParseRgb(const char* text, uint32_t* color) {
    long r = 0, g = 0, b = 0;
    if (text[0] == '#') {
        int parts[3];
        for (int i = 0; i < 3; ++i) {
            if (strlen(text + 1) < static_cast<size_t>(2 * i + 2) || (parts[i] = HexByte(text + 1 + 2 * i)) < 0)
                return false;
        }
        r = parts[0], g = parts[1], b = parts[2];
    } else {
        const char* p = text;
        long* items[3] = {&r, &g, &b};
        for (int i = 0; i < 3 && p; ++i) {
            *items[i] = atol(p);
            p = strchr(p, ',');
            if (p)
                ++p;
        }
    }
    *color = 0x02000000u | (static_cast<uint32_t>(b & 0xFF) << 16) | (static_cast<uint32_t>(g & 0xFF) << 8) |
             static_cast<uint32_t>(r & 0xFF);
    return true;
}

uint16_t Justification(const char* text) {
    static const struct {
        const char* name;
        uint16_t value;
    } kNames[] = {{"Default", 0}, {"Center", 1}, {"Left", 2}, {"Right", 4}, {"Full", 8}};
    for (const auto& n : kNames)
        if (_stricmp(text, n.name) == 0)
            return n.value;
    return 0;
}

void ReadStyle(XML::Element& e, SheetRead& read) {
    AStyleSheet* sheet = read.sheet;
    const char* prefix = Attr(e, "Prefix", "");
    uint16_t flags = 0;
    static const struct {
        const char* name;
        uint16_t bit;
    } kFlags[] = {{"Bold", 1}, {"Ital", 2}, {"Ul", 4}, {"Sub", 0x200}, {"Exp", 0x100}};
    for (const auto& f : kFlags)
        if (AttrLong(e, f.name, "0") != 0)
            flags = static_cast<uint16_t>(flags | f.bit);
    if (sheet->trueType)
        flags |= 0x80;
    bool adjust = !sheet->noAdjust && sheet->fontAdjust != 0;
    int16_t size = static_cast<int16_t>(AttrLong(e, "Size", "0"));
    if (adjust)
        size = static_cast<int16_t>(size + sheet->fontAdjust);
    AFontDesc desc(Attr(e, "Font", "Arial"), size, flags, static_cast<uint16_t>(AttrLong(e, "Charset", "0")));
    AFontSizeRange range(desc, static_cast<int16_t>(AttrLong(e, "Min", "2")),
                         static_cast<int16_t>(AttrLong(e, "Max", "64")));
    if (adjust)
        range.shift(sheet->fontAdjust);
    if (prefix[0] == '#') {
        int number = strlen(prefix) == 3 ? HexByte(prefix + 1) : -1;
        if (number <= 0) {
            read.set->report("sheet %ld: Style prefix \"%s\" is not a sub-style from #01 to #FF", read.number, prefix);
            return;
        }
        sheet->setSubStyle(static_cast<int16_t>(number), desc);
    } else if (isdigit(static_cast<unsigned char>(prefix[0]))) {
        sheet->setStyleFont(atol(prefix), desc, range);
    } else {
        long first, last;
        if (!LetterRange(prefix, 'A', &first, &last)) {
            read.set->report("sheet %ld: Style without Prefix", read.number);
            return;
        }
        for (long n = first; n <= last; ++n)
            sheet->setStyleFont(n, desc, range);
    }
}

void ReadColor(XML::Element& e, SheetRead& read) {
    const char* prefix = Attr(e, "Prefix", nullptr);
    const char* rgb = Attr(e, "Rgb", "#000000");
    uint32_t color;
    if (!prefix) {
        read.set->report("sheet %ld: Color without Prefix", read.number);
    } else if (!ParseRgb(rgb, &color)) {
        read.set->report("sheet %ld: Color %s: Rgb \"%s\" is not #RRGGBB", read.number, prefix, rgb);
    } else {
        read.sheet->setColor(atol(prefix), color);
    }
}

void ReadBitmap(XML::Element& e, SheetRead& read) {
    long id = AttrLong(e, "Id", "0");
    int16_t subImages = static_cast<int16_t>(AttrLong(e, "NbSub", "1"));
    AString resId(Attr(e, "ResId", ""));
    AString appId(Attr(e, "AppId", ""));
    bool noStretch = _stricmp(Attr(e, "NoStretch", "0"), "Y") == 0;
    ABitmapSpec spec;
    if (!appId.empty()) {
        spec = ABitmapSpec::byName(appId, subImages);
    } else if (resId[0] == '#') {
        spec = ABitmapSpec::byNumber(atol(resId.c_str() + 1), subImages);
    } else if (resId[0] == '$') {
        AString path(resId.c_str() + 1);
        read.set->registerImage(path, ABitmapSpec::fromFile(path, noStretch ? 0 : 4, subImages));
        spec = ABitmapSpec::byName(path, subImages);
    } else {
        spec = ABitmapSpec::byName(resId, subImages);
    }
    read.sheet->setBitmap(id, spec);
}

// The whole character data; past kTabTextMax the cut final stop is dropped.
std::string ReadAllText(XML::Element& e) {
    std::string text;
    char buffer[256];
    bool cut = false;
    for (long n; (n = XML::Input::readText(e, buffer, sizeof buffer)) > 0;) {
        if (text.size() + static_cast<size_t>(n) > kTabTextMax)
            cut = true;
        else
            text.append(buffer, static_cast<size_t>(n));
    }
    if (cut) {
        size_t keep = text.find_last_of(" ,;:");
        text.resize(keep == std::string::npos ? 0 : keep);
    }
    return text;
}

void ReadTabStops(XML::Element& e, SheetRead& read) {
    std::string text = ReadAllText(e);
    size_t lead = text.find_first_not_of(" \t\r\n");
    text = lead == std::string::npos ? std::string() : text.substr(lead, text.find_last_not_of(" \t\r\n") - lead + 1);
    long first, last;
    if (!LetterRange(Attr(e, "Prefix", ""), 'a', &first, &last)) {
        read.set->report("sheet %ld: TabStops without Prefix", read.number);
        return;
    }
    long width = AttrLong(e, "TabWidth", "30");
    if (width < 0) {
        read.set->report("sheet %ld: TabStops %s: negative TabWidth %ld", read.number, Attr(e, "Prefix", ""), width);
        return;
    }
    uint16_t justif = Justification(Attr(e, "Justif", ""));
    uint16_t truncate = static_cast<uint16_t>(AttrLong(e, "Truncate", "0"));
    long refWidth = AttrLong(e, "RefWidth", "0");
    for (long n = first; n <= last; ++n) {
        if (!text.empty())
            read.sheet->setTabStops(n, width, justif, truncate, refWidth);
        read.sheet->getTabStops(n)->parseList(text.c_str(), false, refWidth);
    }
}

void OnSheetEntry(XML::Element& e, void* target) {
    SheetRead& read = *static_cast<SheetRead*>(target);
    const char* name = e.xml->name;
    if (strcmp(name, "Style") == 0)
        ReadStyle(e, read);
    else if (strcmp(name, "Color") == 0)
        ReadColor(e, read);
    else if (strcmp(name, "Bitmap") == 0)
        ReadBitmap(e, read);
    else if (strcmp(name, "TabStops") == 0)
        ReadTabStops(e, read);
}

#define SV_HANDLER(name, fn) \
    { name, 1, 0, 0, reinterpret_cast<void*>(&fn), 0, 0 }
const XmlIn_Entry kEnd = {nullptr, 0, 0, 0, nullptr, 0, 0};

const XmlIn_Entry kSheetEntries[] = {SV_HANDLER("Style", OnSheetEntry), SV_HANDLER("Color", OnSheetEntry),
                                     SV_HANDLER("Bitmap", OnSheetEntry), SV_HANDLER("TabStops", OnSheetEntry), kEnd};

void OnStyleSheet(XML::Element& e, void* target) {
    AStyleSheetSet* set = static_cast<AStyleSheetSet*>(target);
    // Released here unless the set took its own reference.
    ARefHold<AStyleSheet> hold(CheckAlloc(new AStyleSheet, "gparser", 1500));
    AStyleSheet* sheet = hold.get();
    sheet->fontAdjust = set->fontAdjust();
    long number = AttrLong(e, "Id", "default");
    const char* name = Attr(e, "Name", "default");
    if (strcmp(name, "default") == 0) {
        char text[32];
        snprintf(text, sizeof text, "Style %ld", number);
        sheet->name = AString(text);
    } else {
        sheet->name = AString(name);
    }
    sheet->trueType = static_cast<int16_t>(AttrLong(e, "TrueType", "0") != 0);
    sheet->noAdjust = static_cast<int16_t>(AttrLong(e, "NoAdjust", "0") != 0);
    SheetRead read{set, sheet, number};
    XML::Input::next(e, kSheetEntries, &read);
    set->storeSheet(number, sheet);
}

const XmlIn_Entry kSheets[] = {SV_HANDLER("StyleSheet", OnStyleSheet), kEnd};

void OnStyleSheets(XML::Element& e, void* target) {
    XML::Input::next(e, kSheets, target);
}

void OnImage(XML::Element& e, void* target) {
    AStyleSheetSet* set = static_cast<AStyleSheetSet*>(target);
    const char* type = Attr(e, "Type", "Bmp");
    AFileSpec folder = set->resourceFolder();
    AString file(Attr(e, "Filename", "Foo"));
    file = file.withExtension(type, false);
    AString path = file;
    try {
        if (!folder.empty())
            path = AFileSpec(folder, file.c_str()).path();
    } catch (const AFileSpecError&) {
        set->report("Image %.100s: \"%.200s\" is not a usable path", Attr(e, "Id", "Foo"), file.c_str());
        return;
    }
    uint16_t flags = _stricmp(type, "jpg") == 0 ? 0x2008 : 0;
    if (_stricmp(Attr(e, "NoStretch", "0"), "Y") != 0)
        flags |= 4;
    set->registerImage(AString(Attr(e, "Id", "Foo")),
                       ABitmapSpec::fromFile(path, flags, static_cast<int16_t>(AttrLong(e, "NbSub", "1"))));
}

const XmlIn_Entry kImages[] = {SV_HANDLER("Image", OnImage), kEnd};

void OnResources(XML::Element& e, void* target) {
    static_cast<AStyleSheetSet*>(target)->setResourceFolder(Attr(e, "Path", ""));
    XML::Input::next(e, kImages, target);
}

const XmlIn_Entry kDocumentChildren[] = {SV_HANDLER("StyleSheets", OnStyleSheets), SV_HANDLER("Resources", OnResources),
                                         kEnd};

void OnDocument(XML::Element& e, void* target) {
    XML::Input::next(e, kDocumentChildren, target);
}

const XmlIn_Entry kRoot[] = {SV_HANDLER("Document", OnDocument), kEnd};

}  // namespace

AStyleSheetSet::AStyleSheetSet(const AFileSpec& file, int16_t fontAdjust, ANamedBitmaps* bitmaps)
    : file_(file), fontAdjust_(fontAdjust), bitmaps_(bitmaps), missing_(false), loads_(0) {
    load(file, fontAdjust);
}

AStyleSheetSet::~AStyleSheetSet() {
    releaseSheets();
}

void AStyleSheetSet::releaseSheets() {
    for (Pix p = sheets_.first(); p; sheets_.next(p))
        if (AStyleSheet* sheet = static_cast<AStyleSheet*>(sheets_.contentsOf(p)))
            sheet->release();
    sheets_.clear();
}

void AStyleSheetSet::report(const char* format, ...) {
    char line[512];
    va_list args;
    va_start(args, format);
    vsnprintf(line, sizeof line, format, args);
    va_end(args);
    TracePrint("svstyles: %s\n", line);
    log_ += line;
    log_ += "\n";
}

void AStyleSheetSet::load(const AFileSpec& file, int16_t fontAdjust) {
    fontAdjust_ = fontAdjust;
    releaseSheets();
    ++loads_;
    missing_ = false;
    try {
        XML::FileInput in(file.path().c_str());
        XML::Input input(in);
        try {
            input.parse(kRoot, this);
        } catch (const XML::ParseException& e) {
            const char* message = XmlIn_ErrorString(e.code());
            fprintf(stderr, "ERROR: %s (line %d, column %d)\n", message, static_cast<int>(e.lineNumber()),
                    static_cast<int>(e.column()));
            report("syntax error: %s (line %ld, column %ld)", message, e.lineNumber(), e.column());
        }
    } catch (const XML::FileException& e) {
        missing_ = true;
        report("%s: cannot be read (error %d); default sheets are used", file.path().c_str(), e.errorNumber());
    }
}

void AStyleSheetSet::storeSheet(long number, AStyleSheet* sheet) {
    if (sheets_.contains(number)) {
        report("StyleSheet Id %ld defined twice: the first is kept", number);
        return;
    }
    sheet->addRef();
    sheets_.slot(number) = sheet;
}

AStyleSheet* AStyleSheetSet::getSheet(long number) {
    if (!sheets_.contains(number)) {
        load(file_, fontAdjust_);
        if (!sheets_.contains(number)) {
            AStyleSheet* sheet = nullptr;
            if (missing_) {
                sheet = CheckAlloc(new AStyleSheet, "gparser", 1620);
                sheet->addRef();
                sheet->fontAdjust = fontAdjust_;
            }
            sheets_.slot(number) = sheet;
        }
    }
    return static_cast<AStyleSheet*>(sheets_.contentsOf(sheets_.seek(number)));
}

void AStyleSheetSet::setResourceFolder(const char* path) {
    try {
        resources_ = *path ? AFileSpec(path) : AFileSpec();
    } catch (const AFileSpecError&) {
        resources_ = AFileSpec();
        report("Resources Path \"%.200s\" is not a usable path", path);
    }
}

void AStyleSheetSet::registerImage(const AString& name, const ABitmapSpec& spec) {
    if (bitmaps_ && !bitmaps_->hasBitmap(name))
        bitmaps_->setBitmap(name, spec);
}
