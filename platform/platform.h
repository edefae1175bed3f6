// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The platform services every window receives. A test hands in doubles for the ones it scripts.
#include "platform/desktop/desktop_area.h"
#include "platform/desktop/help_viewer.h"
#include "platform/desktop/message_boxes.h"
#include "platform/desktop/save_dialog.h"
#include "platform/desktop/shell.h"
#include "platform/desktop/sound.h"
#include "platform/desktop/system_colors.h"
#include "platform/desktop/tray_icon.h"
#include "platform/desktop/twips.h"
#include "platform/imaging/image_encoders.h"
#include "platform/network/http.h"
#include "platform/print/cups_printers.h"
#include "platform/print/printer.h"
#include "platform/scan/scanner.h"
#include "platform/system/system_facts.h"

namespace kavi {

struct Platform {
    MessageBoxes& messages;
    SaveDialog& saveDialog;
    Shell& shell;
    HelpViewer& help;
    TrayIcon& tray;
    ScreenUnits& screen;
    SystemFacts& facts;
    Http& http;
    Sound& sound;
    SystemColors& systemColors;
    DesktopArea& desktop;
    Scanner& scanner;
    ImageEncoders& imageEncoders;
    PrinterSystem& printers;
    PrinterObject& printer;
};

// The real services of this desktop, created once for the life of the process.
class RealPlatform {
public:
    // makerServer: where the update check looks for the version file and the packages.
    explicit RealPlatform(const QUrl& makerServer);
    Platform& platform() { return platform_; }

private:
    QtMessageBoxes messages_;
    QtSaveDialog saveDialog_;
    XdgShell shell_;
    HtmlHelpViewer help_;
    QtTrayIcon tray_;
    QtScreenUnits screen_;
    LinuxSystemFacts facts_;
    QtHttp http_;
    AsyncWavPlayer sound_;
    PaletteSystemColors systemColors_;
    QtDesktopArea desktop_;
    SaneScanner scanner_;
    StandardImageEncoders imageEncoders_;
    CupsPrinters printers_;
    CupsPrinterObject printer_{printers_};
    Platform platform_;
};

} // namespace kavi
