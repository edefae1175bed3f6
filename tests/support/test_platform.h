// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Test doubles of the platform services: each records what the code asked of it and answers
// from a script, so a test can drive a window without a desktop.
#include "platform/platform.h"
#include "tests/support/fixed_facts.h"

#include <array>
#include <deque>
#include <functional>
#include <map>
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
    struct Call {
        QString target;
        int showCommand;
        Failure whenFailed;
    };
    using Shell::open;
    int open(const QString& target, int showCommand, Failure whenFailed) override;
    std::vector<Call> calls;
    int result = 42;
};

class RecordingHelp final : public HelpViewer {
public:
    struct Call {
        QWidget* owner;
        QString file;
        HelpCommand command;
    };
    bool command(QWidget* owner, const QString& helpFile, HelpCommand command) override;
    std::vector<Call> calls;
    Journal* journal = nullptr;
};

class FakeTray final : public TrayIcon {
public:
    bool isAvailable() const override { return available; }
    void show(const QIcon&, const QString& t) override {
        shown = true;
        tip = t;
        ++showCount;
    }
    void hide() override {
        shown = false;
        ++hideCount;
    }
    bool isShown() const override { return shown; }
    void activate(TrayActivation a) { activated(a); }
    bool available = true;
    bool shown = false;
    QString tip;
    int showCount = 0, hideCount = 0;
};

class RecordingSound final : public Sound {
public:
    void play(const QString& wavFile) override { played.push_back(wavFile); }
    std::vector<QString> played;
};

// Classic system colours from a table a test may change; index i starts as grey level i.
class FixedSystemColors final : public SystemColors {
public:
    FixedSystemColors() {
        for (int i = 0; i < kSystemColorCount; ++i) colors[i] = raster::rgb(i, i, i);
    }
    raster::ColorRef color(int index) const override {
        return index >= 0 && index < kSystemColorCount ? colors[index] : 0;
    }
    raster::ColorRef colors[kSystemColorCount];
};

// A 1280 x 1024 screen with a 40-pixel panel along the bottom unless a test says otherwise.
class FixedDesktopArea final : public DesktopArea {
public:
    QRect screen() const override { return screenRect; }
    QRect available() const override { return availableRect; }
    QRect screenRect{0, 0, 1280, 1024};
    QRect availableRect{0, 0, 1280, 984};
};

// A scanner that answers from a script: each acquisition takes the next result (0 when the
// script is empty) and, on 0, writes picture as a BMP file at the path it was given.
class ScriptedScanner final : public Scanner {
public:
    int selectImageSource(QWidget* owner) override;
    int acquireToFilename(QWidget* owner, const QString& path) override;
    std::deque<int> results;
    QImage picture;
    QByteArray fileBytes; // when not empty, written instead of the picture
    bool writeOnFailure = false;
    int selectCount = 0;
    std::vector<QString> acquiredPaths;
};

// Image encoders with a scripted list and scripted statuses; saves are recorded, not written.
class ScriptedImageEncoders final : public ImageEncoders {
public:
    struct Save {
        QSize size;
        QString path;
        QUuid encoder;
        std::optional<int> quality;
    };
    int startup(std::uintptr_t& token) override;
    void shutdown(std::uintptr_t token) override;
    int getImageEncoders(std::vector<ImageEncoderInfo>& out) override;
    int saveImageToFile(const QImage& picture, const QString& path, const QUuid& encoder,
                        std::optional<int> quality) override;
    int startupStatus = 0, listStatus = 0, saveStatus = 0;
    std::uintptr_t token = 77;
    std::vector<ImageEncoderInfo> encoders;
    std::vector<Save> saves;
    std::vector<std::uintptr_t> shutdowns;
    Journal* journal = nullptr; // notes "encoders:startup" and "encoders:shutdown"
};

// The printer object: keeps every operation in order as a line of text, e.g. "paper 5",
// "draw Image4 0,0 15390x10260" (the picture named by its "slot" text, "(none)" when empty),
// "end document": papers and orientations by the printer's codes, lengths in twips from the
// printable corner. Paper size and orientation persist like the real object's; steps named in
// `failing` ("follow", "paper", "orientation", "draw", "new page", "end document") fail.
class RecordingPrinter final : public PrinterObject {
public:
    bool setFollowDefault(bool follow) override;
    bool setPaperSize(Paper paper) override;
    bool setOrientation(Orientation orientation) override;
    Paper paperSize() const override { return paper; }
    Orientation orientation() const override { return orient; }
    bool drawPicture(const QImage& picture, const LengthRect& at) override;
    // Recorded as the draw followed by " clip X,Y WxH".
    bool drawClippedPicture(const QImage& picture, const LengthRect& at, const LengthRect& clip) override;
    // Recorded as "ring NAME X,Y WxH centre CX,CY outer R hole H".
    bool drawPictureInRing(const QImage& picture, const QByteArray& jpeg, const LengthRect& at,
                           const RingOnSheet& ring) override;
    // Recorded as "fill X,Y WxH #RRGGBB" with " to #RRGGBB from X,Y to X,Y" for a gradient.
    bool fillArea(const LengthRect& area, const AreaFill& fill) override;
    // Recorded as "laid NAME X,Y WxH turns T opacity O clip X,Y WxH", with " jpeg" when it came
    // with its file's bytes.
    bool drawLaidPicture(const QImage& picture, const QByteArray& jpeg, const LaidPicture& laid) override;
    // Recorded as "outlines FIRST-WORDS clip X,Y WxH".
    bool drawClippedOutlines(const CoverTextOutlines& text, const LengthRect& cover, LengthSize coverSize,
                             const LengthRect& clip) override;
    bool newPage() override;
    bool endDocument() override;
    void printNextJobToFile(const QString& pdfPath) override;
    // Recorded as "to queue NAME"; the next job's printer is then that queue until end document.
    bool printNextJobToQueue(const QString& queue) override;
    // Queries record nothing; lines and copies are recorded as "line ..." and "copies N".
    std::optional<LengthRect> printableArea(Paper paper, Orientation orientation) override;
    QString nextJobPrinter() override { return nextQueue.isEmpty() ? printerName : nextQueue; }
    bool drawLine(LengthPoint from, LengthPoint to, Length width) override;
    void setCopies(int copies) override;
    std::vector<QString> ops;
    // The printable margins (inches: left, top, right, bottom) of every page as it is drawn; none
    // when the printer cannot be asked.
    std::optional<std::array<double, 4>> margins = std::array<double, 4>{0, 0, 0, 0};
    QString printerName = QStringLiteral("Office");
    QString nextQueue; // named for the next job only
    // Margins of other queues than the default (as margins above), by name.
    std::map<QString, std::array<double, 4>> queueMargins;
    std::vector<QString> failing;
    Paper paper = Paper::Letter;
    Orientation orient = Orientation::Portrait;
    bool followDefault = false;
    bool pointerBusyAtEnd = false; // whether the busy pointer showed at the last end document

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
    PrintServiceStatus printService() override { return service; }
    // Installs a printer with driver "<name> driver" and port "<name>-port"; the first is the default.
    void install(const QStringList& names);
    std::vector<InstalledPrinter> printers;
    QString deviceEntry;
    std::optional<QString> userSetting;
    QString spoolerDefault;
    VersionRecord version{5, 0, 0, 2};
    PrintServiceStatus service{QStringLiteral("localhost"), true};
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
        imageEncoders.journal = &journal;
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
    RecordingSound sound;
    FixedSystemColors systemColors;
    FixedDesktopArea desktop;
    ScriptedScanner scanner;
    ScriptedImageEncoders imageEncoders;
    InMemoryPrinters printers;
    RecordingPrinter printer;
    Platform platform{messages, saveDialog,   shell,   help,    tray,          screen,   facts,  http,
                      sound,    systemColors, desktop, scanner, imageEncoders, printers, printer};
    // The same services with another printer object (a real one that writes PDF files).
    Platform withPrinter(PrinterObject& other) {
        return {messages, saveDialog,   shell,   help,    tray,          screen,   facts, http,
                sound,    systemColors, desktop, scanner, imageEncoders, printers, other};
    }
};

} // namespace kavi::testing
