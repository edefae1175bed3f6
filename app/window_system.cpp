// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/window_system.h"

#include <QDir>
#include <QFile>
#include <QLibrary>
#include <QLibraryInfo>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>

namespace kavi {

WindowSystemChoice chooseWindowSystem(const WindowSystemFacts& facts, const std::function<bool()>& xcbLoadable) {
    // A window system the user has chosen is Qt's to open, whatever else is set.
    if (!facts.chosenPlatform.isEmpty() || !facts.platformOption.isEmpty()) return {};
    if (facts.display.isEmpty() && facts.waylandDisplay.isEmpty()) return {true, {}};
    const bool waylandSession = !facts.waylandDisplay.isEmpty() ||
        facts.sessionType.compare(QLatin1String("wayland"), Qt::CaseInsensitive) == 0;
    if (waylandSession && !facts.display.isEmpty() && xcbLoadable && xcbLoadable())
        return {false, QStringLiteral("xcb")};
    return {};
}

WindowSystemFacts currentWindowSystemFacts(const QString& platformOption) {
    return {qEnvironmentVariable("DISPLAY"), qEnvironmentVariable("WAYLAND_DISPLAY"),
            qEnvironmentVariable("XDG_SESSION_TYPE"), qEnvironmentVariable("QT_QPA_PLATFORM"), platformOption};
}

bool xcbPlatformLoadable() {
    // Qt looks for its platform plugins in the folders of QT_PLUGIN_PATH and then in its own.
    QStringList folders = qEnvironmentVariable("QT_PLUGIN_PATH").split(QDir::listSeparator(), Qt::SkipEmptyParts);
    folders << QLibraryInfo::path(QLibraryInfo::PluginsPath);
    for (const QString& folder : folders) {
        const QString plugin = folder + QStringLiteral("/platforms/libqxcb.so");
        if (!QFile::exists(plugin)) continue;
        // Loaded once here, the plugin stays loaded for Qt, which loads it again by the same name.
        QLibrary library(plugin);
        if (library.load()) return true;
    }
    return false;
}

QString noDisplayMessage() {
    return QStringLiteral("kavi: cannot open a window: no display is set (DISPLAY and WAYLAND_DISPLAY are empty and "
                          "QT_QPA_PLATFORM names no window system)\n");
}

namespace {

struct HeldMessage {
    QtMsgType type;
    QString category, file, function, text;
    int line;
};

QtMessageHandler previousHandler = nullptr;
std::vector<HeldMessage>* heldMessages = nullptr;

// The first warning of Qt's platform layer says why the window system did not open ("could not
// connect to display :5"); it makes the one line.
QString reasonOf(const std::vector<HeldMessage>& held, const QString& fatal) {
    for (const HeldMessage& m : held)
        if (m.category.startsWith(QLatin1String("qt.qpa"))) return m.text;
    return fatal.section(QLatin1Char('\n'), 0, 0);
}

void holdMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        const QByteArray line =
            (QStringLiteral("kavi: cannot open a window: ") + reasonOf(*heldMessages, text).simplified() + '\n')
                .toLocal8Bit();
        std::fwrite(line.constData(), 1, std::size_t(line.size()), stderr);
        std::fflush(stderr);
        std::_Exit(1);
    }
    heldMessages->push_back({type, QString::fromUtf8(context.category), QString::fromUtf8(context.file),
                             QString::fromUtf8(context.function), text, context.line});
}

} // namespace

WindowSystemStartGuard::WindowSystemStartGuard() {
    heldMessages = new std::vector<HeldMessage>;
    previousHandler = qInstallMessageHandler(holdMessage);
}

WindowSystemStartGuard::~WindowSystemStartGuard() {
    qInstallMessageHandler(previousHandler);
    std::vector<HeldMessage> held = std::move(*heldMessages);
    delete heldMessages;
    heldMessages = nullptr;
    for (const HeldMessage& m : held) {
        const QByteArray category = m.category.toUtf8(), file = m.file.toUtf8(), function = m.function.toUtf8();
        const QMessageLogContext context(file.isEmpty() ? nullptr : file.constData(), m.line,
                                         function.isEmpty() ? nullptr : function.constData(),
                                         category.isEmpty() ? nullptr : category.constData());
        if (previousHandler) previousHandler(m.type, context, m.text);
        else qt_message_output(m.type, context, m.text);
    }
}

} // namespace kavi
