// Components and tables shared by the command tests.
#include "tests/framework/commands/CommandTestSupport.h"

SV_IMPLEMENT_CLASS(LogProbe, 0, AComponent)

std::string LogProbe::log;

LogProbe::~LogProbe() {
    log += "~" + std::to_string(id()) + " ";
}

ACommand* LogProbe::doCommand(int16_t id, long argument) {
    auto it = answers.find(id);
    if (it == answers.end())
        return AComponent::doCommand(id, argument);
    log += std::to_string(this->id()) + ":do" + std::to_string(id) + " ";
    if (AActionRecord* record = ActionRecordOf(argument)) {
        lastIndex = record->f3;
        lastFirst = record->f2;
    }
    return it->second;
}

int16_t LogProbe::commandStatus(int16_t id, long argument) {
    AActionRecord* record = answers.count(id) ? ActionRecordOf(argument) : nullptr;
    if (record && record->f3 == -1)
        record->f5 = selected;
    auto it = statuses.find(id);
    if (it != statuses.end())
        return it->second;
    if (answers.count(id))
        return 1;
    return AComponent::commandStatus(id, argument);
}

ACommand* LogProbe::keyToCommand(AKeyEvent& event) {
    log += std::to_string(id()) + ":key ";
    return keyAnswer ? keyAnswer : AComponent::keyToCommand(event);
}

void LogProbe::notify(const AKindSet& kinds) {
    if (logNotify)
        log += std::to_string(id()) + ":notify(" + KindsText(kinds) + ") ";
    if (requeue >= 0) {
        queueUpdate(requeue);
        requeue = -1;
    }
    AComponent::notify(kinds);
}

void LogProbe::linkChanged(AComponent* source, const AKindSet& kinds) {
    log += std::to_string(id()) + ":from" + std::to_string(source->id()) + "(" + KindsText(kinds) + ") ";
}

AComponent* LogProbe::chooseAction(AActionRecord& record, AComponent* existing, AComponent* added) {
    log += std::to_string(id()) + ":choose ";
    return choice ? choice : AComponent::chooseAction(record, existing, added);
}

void LogCommand::execute() {
    LogProbe::log += "run" + name_ + " ";
    if (then)
        target()->perform(then);
    if (deletes)
        DeleteComponent(deletes);
    if (fails)
        throw std::runtime_error("failed");
}

std::string KindsText(const AKindSet& kinds) {
    std::string out;
    for (Pix p = kinds.first(); p; kinds.next(p))
        out += (out.empty() ? "" : " ") + std::to_string(kinds.keyOf(p));
    return out;
}
