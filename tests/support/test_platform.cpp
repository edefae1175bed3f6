#include "test_platform.h"

#include <QFile>

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

namespace kavi::testing {

int ScriptedScanner::selectImageSource(QWidget*) {
    ++selectCount;
    return 0;
}

int ScriptedScanner::acquireToFilename(QWidget*, const QString& path) {
    acquiredPaths.push_back(path);
    int result = 0;
    if (!results.empty()) {
        result = results.front();
        results.pop_front();
    }
    if (result == 0 || writeOnFailure) {
        if (!fileBytes.isEmpty()) {
            QFile file(path);
            if (file.open(QIODevice::WriteOnly)) file.write(fileBytes);
        } else {
            picture.save(path, "BMP");
        }
    }
    return result;
}

int ScriptedImageEncoders::startup(std::uintptr_t& t) {
    if (journal) journal->add(QStringLiteral("encoders:startup"));
    t = startupStatus == 0 ? token : 0;
    return startupStatus;
}

void ScriptedImageEncoders::shutdown(std::uintptr_t t) {
    if (journal) journal->add(QStringLiteral("encoders:shutdown"));
    shutdowns.push_back(t);
}

int ScriptedImageEncoders::getImageEncoders(std::vector<ImageEncoderInfo>& out) {
    if (listStatus == 0) out = encoders;
    return listStatus;
}

int ScriptedImageEncoders::saveImageToFile(const QImage& picture, const QString& path, const QUuid& encoder,
                                           std::optional<int> quality) {
    saves.push_back({picture.size(), path, encoder, quality});
    return saveStatus;
}

} // namespace kavi::testing
