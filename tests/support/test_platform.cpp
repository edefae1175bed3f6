// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/test_platform.h"

#include <QCursor>
#include <QFile>
#include <QGuiApplication>
#include <algorithm>

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
    case MsgButtons::SaveDiscardCancel: return MsgResult::Save;
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

int RecordingShell::open(const QString& target, int showCommand, Failure whenFailed) {
    calls.push_back({target, showCommand, std::move(whenFailed)});
    return result;
}

bool RecordingHelp::command(QWidget* owner, const QString& helpFile, HelpCommand command) {
    calls.push_back({owner, helpFile, command});
    if (journal) journal->add(QStringLiteral("help:%1").arg(int(command)));
    return true;
}

bool RecordingPrinter::record(const QString& op, const QString& step) {
    ops.push_back(op);
    return std::find(failing.begin(), failing.end(), step) == failing.end();
}

bool RecordingPrinter::setFollowDefault(bool follow) {
    if (!record(QStringLiteral("follow %1").arg(follow ? 1 : 0), "follow")) return false;
    followDefault = follow;
    return true;
}

namespace {
// A rectangle as the recording shows it: "X,Y WxH" in twips.
QString twipsOf(const LengthRect& r) {
    return QStringLiteral("%1,%2 %3x%4")
        .arg(r.left.twips())
        .arg(r.top.twips())
        .arg(r.width.twips())
        .arg(r.height.twips());
}
} // namespace

bool RecordingPrinter::setPaperSize(Paper value) {
    if (!record(QStringLiteral("paper %1").arg(printerCode(value)), "paper")) return false;
    paper = value;
    return true;
}

bool RecordingPrinter::setOrientation(Orientation value) {
    if (!record(QStringLiteral("orientation %1").arg(printerCode(value)), "orientation")) return false;
    orient = value;
    return true;
}

bool RecordingPrinter::drawPicture(const QImage& picture, const LengthRect& at) {
    const QString name = picture.isNull() ? QStringLiteral("(none)") : picture.text("slot");
    const bool ok = record(QStringLiteral("draw %1 %2").arg(name, twipsOf(at)), "draw");
    return ok && !picture.isNull();
}

bool RecordingPrinter::drawPictureInRing(const QImage& picture, const QByteArray&, const LengthRect& at,
                                         const RingOnSheet& ring) {
    const QString name = picture.isNull() ? QStringLiteral("(none)") : picture.text("slot");
    return record(QStringLiteral("ring %1 %2 centre %3,%4 outer %5 hole %6")
                      .arg(name, twipsOf(at))
                      .arg(ring.centre.x.twips())
                      .arg(ring.centre.y.twips())
                      .arg(ring.outerRadius.twips())
                      .arg(ring.holeRadius.twips()),
                  QStringLiteral("draw"));
}

bool RecordingPrinter::drawClippedPicture(const QImage& picture, const LengthRect& at, const LengthRect& clip) {
    const QString name = picture.isNull() ? QStringLiteral("(none)") : picture.text("slot");
    const bool ok = record(QStringLiteral("draw %1 %2 clip %3").arg(name, twipsOf(at), twipsOf(clip)), "draw");
    return ok && !picture.isNull();
}

namespace {

QString rectText(const LengthRect& r) {
    return QStringLiteral("%1,%2 %3x%4")
        .arg(r.left.twips())
        .arg(r.top.twips())
        .arg(r.width.twips())
        .arg(r.height.twips());
}

QString colourText(std::uint32_t rgb) { return QStringLiteral("#%1").arg(rgb & 0xFFFFFFu, 6, 16, QLatin1Char('0')); }

} // namespace

bool RecordingPrinter::fillArea(const LengthRect& area, const AreaFill& fill) {
    QString op = "fill " + rectText(area) + " " + colourText(fill.colour);
    if (fill.endColour)
        op += QStringLiteral(" to %1 from %2,%3 to %4,%5")
                  .arg(colourText(*fill.endColour))
                  .arg(fill.from.x.twips())
                  .arg(fill.from.y.twips())
                  .arg(fill.to.x.twips())
                  .arg(fill.to.y.twips());
    return record(op, "fill");
}

bool RecordingPrinter::drawLaidPicture(const QImage& picture, const QByteArray& jpeg, const LaidPicture& laid) {
    const QString name = picture.isNull() ? QStringLiteral("(none)") : picture.text("slot");
    const bool ok = record(QStringLiteral("laid %1 %2 turns %3 opacity %4 clip %5%6")
                               .arg(name, rectText(laid.box))
                               .arg(laid.quarterTurns)
                               .arg(laid.opacity)
                               .arg(rectText(laid.clip), jpeg.isEmpty() ? QString() : QStringLiteral(" jpeg")),
                           "laid");
    return ok && !picture.isNull();
}

bool RecordingPrinter::drawClippedOutlines(const CoverTextOutlines& text, const LengthRect&, LengthSize,
                                           const LengthRect& clip) {
    const QString words = text.lines.empty() ? QString() : QString::fromStdU16String(text.lines.front().text);
    return record("outlines " + words + " clip " + rectText(clip), "outlines");
}

bool RecordingPrinter::newPage() { return record(QStringLiteral("new page"), "new page"); }
bool RecordingPrinter::endDocument() {
    pointerBusyAtEnd =
        QGuiApplication::overrideCursor() && QGuiApplication::overrideCursor()->shape() == Qt::WaitCursor;
    nextQueue.clear();
    return record(QStringLiteral("end document"), "end document");
}
bool RecordingPrinter::printNextJobToQueue(const QString& queue) {
    ops.push_back("to queue " + queue);
    nextQueue = queue;
    return true;
}
void RecordingPrinter::printNextJobToFile(const QString& pdfPath) { ops.push_back("to file " + pdfPath); }

std::optional<LengthRect> RecordingPrinter::printableArea(Paper paper, Orientation orientation) {
    const auto other = queueMargins.find(nextJobPrinter());
    if (other == queueMargins.end() && !margins) return std::nullopt;
    const LengthSize sheet = sheetSize(paper, orientation);
    const auto [left, top, right, bottom] = other != queueMargins.end() ? other->second : *margins;
    return LengthRect{Length::fromInches(left), Length::fromInches(top), sheet.width - Length::fromInches(left + right),
                      sheet.height - Length::fromInches(top + bottom)};
}

bool RecordingPrinter::drawLine(LengthPoint from, LengthPoint to, Length width) {
    return record(QStringLiteral("line %1,%2 %3,%4 w%5")
                      .arg(from.x.twips())
                      .arg(from.y.twips())
                      .arg(to.x.twips())
                      .arg(to.y.twips())
                      .arg(width.twips()),
                  "line");
}

void RecordingPrinter::setCopies(int copies) { ops.push_back(QStringLiteral("copies %1").arg(copies)); }

namespace {
QString entryOf(const InstalledPrinter& p) { return p.deviceName + ',' + p.driverName + ',' + p.port; }
} // namespace

const InstalledPrinter* InMemoryPrinters::find(const QString& deviceName) const {
    for (const InstalledPrinter& p : printers)
        if (p.deviceName == deviceName) return &p;
    return nullptr;
}

void InMemoryPrinters::install(const QStringList& names) {
    for (const QString& n : names) printers.push_back({n, n + " driver", n + "-port"});
    if (!printers.empty() && deviceEntry.isEmpty()) {
        spoolerDefault = printers.front().deviceName;
        deviceEntry = entryOf(printers.front());
    }
}

bool InMemoryPrinters::writeDefaultPrinterEntry(const QString& entry) {
    entryWrites.push_back(entry);
    if (journal) journal->add("printers:write " + entry);
    if (writesFail || !find(deviceNameOfEntry(entry))) return false;
    deviceEntry = entry;
    userSetting = deviceNameOfEntry(entry);
    return true;
}

QString InMemoryPrinters::printerPortsEntry(const QString& deviceName) {
    const InstalledPrinter* p = find(deviceName);
    return p ? p->driverName + ',' + p->port + ',' : QString();
}

bool InMemoryPrinters::setSpoolerDefault(const QString& deviceName) {
    spoolerWrites.push_back(deviceName);
    if (journal) journal->add("printers:spooler " + deviceName);
    const InstalledPrinter* p = find(deviceName);
    if (spoolerFails || !p) return false;
    spoolerDefault = deviceName;
    if (!userSetting) deviceEntry = entryOf(*p);
    return true;
}

bool InMemoryPrinters::clearUserDefaultSetting() {
    if (journal && userSetting) journal->add(QStringLiteral("printers:clear"));
    userSetting.reset();
    const InstalledPrinter* p = find(spoolerDefault);
    deviceEntry = p ? entryOf(*p) : QString();
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
