// Helpers of the model tests.
#include "tests/docengine/model/ModelTestSupport.h"

#include "docengine/parser/ASegParser.h"
#include "docengine/text/AStringReader.h"

AIndexedDocModel* MakeIndexedModel(const std::string& text, ATextFragParser* parser) {
    AStringReader* reader = new AStringReader(text.c_str(), static_cast<long>(text.size()));
    reader->addRef();
    AReaderSegParser* segments = new AReaderSegParser(reader);
    segments->addRef();
    reader->release();
    ATextFragParser* fragments = parser ? parser : new ATextFragParser('/');
    fragments->addRef();
    AIndexedDocModel* model = new AIndexedDocModel(segments, fragments, nullptr);
    model->addRef();
    segments->release();
    fragments->release();
    return model;
}
