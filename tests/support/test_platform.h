#pragma once
// Test doubles of the platform services: each records what the code asked of it and answers
// from a script, so a test can drive a window without a desktop.
#include "platform.h"

#include <deque>
#include <functional>
#include <vector>

namespace kavi::testing {

// The order in which doubles were called, across services: each double that is given the
// journal adds one line per call ("help:CloseAll", ...). Tests of start-up and shut-down order read it.
// An observer, when set, sees each line as it is added, so a test can check other state at that moment.
struct Journal {
    std::vector<QString> entries;
    std::function<void(const QString&)> observer;
    void add(const QString& entry) {
        entries.push_back(entry);
        if (observer) observer(entry);
    }
};

class ScriptedMessageBoxes final : public MessageBoxes {
public:
    MsgResult show(const MessageRequest& request) override;
    // Answers given in order; when the script is empty the first button's answer is returned.
    std::deque<MsgResult> answers;
    std::vector<MessageRequest> shown;
};

class ScriptedSaveDialog final : public SaveDialog {
public:
    SaveDialogResult ask(const SaveDialogRequest& request) override;
    std::deque<SaveDialogResult> answers; // empty: the user cancels
    std::vector<SaveDialogRequest> asked;
};

class RecordingShell final : public Shell {
public:
    struct Call { QString target; int showCommand; };
    int open(const QString& target, int showCommand) override;
    std::vector<Call> calls;
    int result = 42;
};

class RecordingHelp final : public HelpViewer {
public:
    struct Call { QWidget* owner; QString file; HelpCommand command; };
    bool command(QWidget* owner, const QString& helpFile, HelpCommand command) override;
    std::vector<Call> calls;
    Journal* journal = nullptr;
};

class FakeTray final : public TrayIcon {
public:
    bool isAvailable() const override { return available; }
    void show(const QIcon&, const QString& t) override { shown = true; tip = t; ++showCount; }
    void hide() override { shown = false; ++hideCount; }
    bool isShown() const override { return shown; }
    void activate(TrayActivation a) { activated(a); }
    bool available = true;
    bool shown = false;
    QString tip;
    int showCount = 0, hideCount = 0;
};

// The printer object: keeps every operation in order as a line of text, e.g. "paper 5",
// "draw Image4 0,0 15390x10260" (the picture named by its "slot" text, "(none)" when empty),
// "end document". Paper size and orientation persist like the real object's; steps named in
// `failing` ("follow", "paper", "orientation", "draw", "new page", "end document") fail.
class RecordingPrinter final : public PrinterObject {
public:
    bool setFollowDefault(bool follow) override;
    bool setPaperSize(int code) override;
    bool setOrientation(int code) override;
    int paperSize() const override { return paper; }
    int orientation() const override { return orient; }
    bool drawPicture(const QImage& picture, double x, double y, double width, double height) override;
    bool newPage() override;
    bool endDocument() override;
    void printNextJobToFile(const QString& pdfPath) override;
    std::vector<QString> ops;
    std::vector<QString> failing;
    int paper = 1, orient = 1;
    bool followDefault = false;

private:
    bool record(const QString& op, const QString& step);
};

// Installed printers and the default-printer settings, held in memory.
class InMemoryPrinters final : public PrinterSystem {
public:
    std::vector<InstalledPrinter> installedPrinters() override { return printers; }
    QString defaultPrinterEntry() override { return deviceEntry; }
    bool writeDefaultPrinterEntry(const QString& entry) override;
    QString printerPortsEntry(const QString& deviceName) override;
    bool setSpoolerDefault(const QString& deviceName) override;
    VersionRecord versionRecord() override { return version; }
    std::optional<QString> userDefaultSetting() override { return userSetting; }
    bool clearUserDefaultSetting() override;
    // Installs a printer with driver "<name> driver" and port "<name>-port"; the first is the default.
    void install(const QStringList& names);
    std::vector<InstalledPrinter> printers;
    QString deviceEntry;
    std::optional<QString> userSetting;
    QString spoolerDefault;
    VersionRecord version{5, 0, 0, 2};
    bool writesFail = false, spoolerFails = false;
    std::vector<QString> entryWrites;
    std::vector<QString> spoolerWrites;
    Journal* journal = nullptr; // "printers:write <entry>", "printers:spooler <name>", "printers:clear"

private:
    const InstalledPrinter* find(const QString& deviceName) const;
};

// All doubles together, with the Platform object that refers to them.
struct TestPlatform {
    TestPlatform() {
        help.journal = &journal;
        printers.journal = &journal;
    }
    TestPlatform(const TestPlatform&) = delete;
    Journal journal;
    ScriptedMessageBoxes messages;
    ScriptedSaveDialog saveDialog;
    RecordingShell shell;
    RecordingHelp help;
    FakeTray tray;
    FixedScreenUnits screen{96};
    FixedSystemFacts facts;
    QtHttp http{QUrl(QStringLiteral("http://127.0.0.1:9"))}; // tests hand in their own local server
    InMemoryPrinters printers;
    RecordingPrinter printer;
    Platform platform{messages, saveDialog, shell, help, tray, screen, facts, http, printers, printer};
};

} // namespace kavi::testing
