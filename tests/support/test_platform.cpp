#include "test_platform.h"

namespace kavi::testing {

MsgResult ScriptedMessageBoxes::show(const MessageRequest& request) {
    shown.push_back(request);
    if (!answers.empty()) {
        const MsgResult r = answers.front();
        answers.pop_front();
        return r;
    }
    switch (request.buttons) {
    case MsgButtons::Ok:
    case MsgButtons::OkCancel: return MsgResult::Ok;
    case MsgButtons::AbortRetryIgnore: return MsgResult::Abort;
    case MsgButtons::YesNoCancel:
    case MsgButtons::YesNo: return MsgResult::Yes;
    case MsgButtons::RetryCancel: return MsgResult::Retry;
    }
    return MsgResult::Ok;
}

SaveDialogResult ScriptedSaveDialog::ask(const SaveDialogRequest& request) {
    asked.push_back(request);
    if (answers.empty()) return {};
    SaveDialogResult r = answers.front();
    answers.pop_front();
    return r;
}

int RecordingShell::open(const QString& target, int showCommand) {
    calls.push_back({target, showCommand});
    return result;
}

bool RecordingHelp::command(QWidget* owner, const QString& helpFile, HelpCommand command) {
    calls.push_back({owner, helpFile, command});
    if (journal) journal->add(QStringLiteral("help:%1").arg(int(command)));
    return true;
}

} // namespace kavi::testing
