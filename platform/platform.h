#pragma once
// The platform services every window receives. A test hands in doubles for the ones it scripts.
#include "help_viewer.h"
#include "image_encoders.h"
#include "message_boxes.h"
#include "save_dialog.h"
#include "scanner.h"
#include "shell.h"
#include "tray_icon.h"
#include "twips.h"
#include "http.h"
#include "system_facts.h"
#include "sound.h"
#include "system_colors.h"
#include "desktop_area.h"
#include "cups_printers.h"
#include "printer.h"

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
    RealPlatform();
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
