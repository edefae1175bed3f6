// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/cover_picture_saving.h"

#include "output/scan/bmp_writer.h"
#include "output/scan/image_file_writer.h"
#include "platform/desktop/stretched_picture.h"

#include <QStringList>

#include <iterator>

namespace kavi {

namespace {

// The dialog's types, in its order, with the extension each one adds.
struct PictureType {
    const char* filter;
    const char* extension;
};
constexpr PictureType kTypes[] = {
    {"BMP (*.BMP *.bmp)", "bmp"}, {"GIF (*.GIF *.gif)", "gif"}, {"JPG (*.JPG *.jpg)", "jpg"},
    {"PNG (*.PNG *.png)", "png"}, {"TIF (*.TIF *.tif)", "tif"},
};
constexpr int kJpegQuality = 85;

void showResult(MessageBoxes& messages, bool saved) {
    if (saved)
        messages.show({QStringLiteral("File Saved"), QStringLiteral("Sucessfully saved file."), MsgIcon::Information,
                       MsgButtons::Ok});
    else
        messages.show({QStringLiteral("File Not Saved"), QStringLiteral("Unable to save file."), MsgIcon::Critical,
                       MsgButtons::Ok});
}

} // namespace

QString withChosenExtension(const QString& fileName, int filterIndex) {
    if (!ImageFileWriter::extensionOf(fileName).isEmpty()) return fileName;
    const int count = int(std::size(kTypes));
    const QString extension =
        QString::fromLatin1(kTypes[filterIndex >= 0 && filterIndex < count ? filterIndex : 0].extension);
    return fileName.endsWith(QLatin1Char('.')) ? fileName + extension : fileName + QLatin1Char('.') + extension;
}

QString saveCoverPicture(Platform& platform, const CoverPictureSaveRequest& save) {
    SaveDialogRequest request;
    request.title = QStringLiteral("Save Cover Picture");
    for (const PictureType& type : kTypes) request.filters << QString::fromLatin1(type.filter);
    request.directory = save.startFolder;
    // The extension is added below, so the question before replacing a file names the real file.
    request.confirmOverwrite = false;
    const SaveDialogResult chosen = platform.saveDialog.ask(request);
    if (!chosen.accepted || chosen.fileName.isEmpty()) return {};
    const QString fileName = withChosenExtension(chosen.fileName, chosen.filterIndex);

    if (save.fileExists && save.fileExists(fileName)) {
        const MsgResult answer =
            platform.messages.show({fileName + QStringLiteral(" already exists. Do you want to replace this file?"),
                                    QStringLiteral("File Already Exists"), MsgIcon::None, MsgButtons::YesNo});
        if (answer != MsgResult::Yes) return fileName;
    }
    if (fileName.right(3) == QLatin1String("BMP")) {
        showResult(platform.messages, savePictureAsBmp(save.picture, fileName));
        return fileName;
    }
    StretchedPicture carrier;
    carrier.setPicture(save.picture);
    showResult(platform.messages, save.writer && save.writer->PictureBoxToFile(carrier, fileName, kJpegQuality));
    return fileName;
}

} // namespace kavi
