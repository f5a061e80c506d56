// Writes generated French articles as RTF exports and as plain exports (the
// special characters' code bytes left out, as RTF gives only their argument)
// into a folder: sample_NN.rtf and sample_NN.txt, Windows-1252. The
// LibreOffice check in tools/ converts the RTF files and compares the texts.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "docengine/export/AExportProvider.h"
#include "docengine/export/AExportSink.h"
#include "docengine/export/ARtfExportWriter.h"
#include "docengine/styles/AStyleSheet.h"
#include "docengine/text/MarkupScan.h"
#include "tests/docengine/model/ModelTestSupport.h"
#include "tests/docengine/parser/MarkupGenerator.h"

namespace {

bool WriteFile(const std::string& path, const std::string& bytes) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return fclose(f) == 0 && ok;
}

// The plain and RTF exports of the markup; false when it does not parse.
bool Export(const std::string& markup, AStyleSheet* sheet, std::string* plain, std::string* rtf) {
    AIndexedDocModel* model = MakeIndexedModel(markup);
    AStringExportSink* sink = new AStringExportSink;
    sink->addRef();
    ARendererExportProvider* provider = new ARendererExportProvider(model, sheet, AString(), AString());
    provider->addRef();
    bool ok = true;
    try {
        std::string text = model->exportText(0, model->getLength()).c_str();
        plain->clear();
        for (char c : text)
            if (static_cast<unsigned char>(c) < 0x0E || static_cast<unsigned char>(c) > 0x1F)
                *plain += c;
        ARtfExportWriter writer(sink, provider);
        writer.exportAll();
        *rtf = sink->getString().c_str();
    } catch (const AParserError&) {
        ok = false;
    }
    provider->release();
    sink->release();
    model->release();
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: rtf_samples FOLDER COUNT\n");
        return 2;
    }
    std::string folder = argv[1];
    int wanted = atoi(argv[2]);
    AStyleSheet* sheet = new AStyleSheet;
    sheet->addRef();
    MarkupGenerator generator(2026);
    int written = 0;
    for (int tries = 0; written < wanted && tries < 100000; ++tries) {
        // Five one-paragraph articles in a row: longer texts that still parse
        // without a section tree.
        std::string markup, plain, rtf;
        int parts = 0;
        while (parts < 5 && ++tries < 100000) {
            std::string part = generator.article(1);
            if (Export(part, sheet, &plain, &rtf)) {
                markup += part;
                ++parts;
            }
        }
        if (!Export(markup, sheet, &plain, &rtf))
            continue;
        char name[32];
        snprintf(name, sizeof name, "sample_%02d", written);
        if (!WriteFile(folder + "\\" + name + ".rtf", rtf) || !WriteFile(folder + "\\" + name + ".txt", plain)) {
            fprintf(stderr, "cannot write in %s\n", folder.c_str());
            return 1;
        }
        ++written;
    }
    sheet->release();
    printf("%d samples written\n", written);
    return written == wanted ? 0 : 1;
}
