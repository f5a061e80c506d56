// The base model's answers to segments and parsers.
#include "docengine/model/ADocModel.h"

#include "docengine/model/AExpandTree.h"
#include "docengine/model/AFragParser.h"

ADocModel::~ADocModel() {
    ReleaseAndNull(fragParser_);
}

void ADocModel::setFragParser(AFragParser* parser) {
    if (parser == fragParser_)
        return;
    if (parser)
        parser->addRef();
    ReleaseAndNull(fragParser_);
    fragParser_ = parser;
}

AExpandNode* ADocModel::nodeAt(long position) {
    AExpandTree* tree = getExpandTree();
    return tree ? tree->nodeStartingAt(position) : nullptr;
}

bool ADocModel::findMarker(long, long, long*, long*) {
    return false;
}

AString ADocModel::exportText(long, long) {
    return AString();
}

const char* ADocModel::wordSeparators() const {
    return " \t\r\n.,;:!?()[]\"'";
}
