// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/scan/image_file_writer.h"

namespace kavi {

ImageFileWriter::ImageFileWriter(ImageEncoders& encoders, QObject* parent) : QObject(parent), encoders_(encoders) {
    std::uintptr_t token = 0;
    const int status = encoders_.startup(token);
    if (status != StatusOk) {
        raiseError(status);
        return;
    }
    GdipToken = token;
    loadEncoders();
}

ImageFileWriter::~ImageFileWriter() {
    if (GdipToken != 0) encoders_.shutdown(GdipToken);
}

void ImageFileWriter::raiseError(int status) { emit Error(status, GdiErrorString(status)); }

void ImageFileWriter::loadEncoders() {
    std::vector<ImageEncoderInfo> list;
    const int status = encoders_.getImageEncoders(list);
    if (status != StatusOk) {
        raiseError(status);
        return;
    }
    EncoderClsids.assign(list.size(), QUuid());
    EncoderByPattern.clear();
    // From the last encoder to the first, so where two encoders list one pattern the one listed
    // first keeps it.
    for (int i = int(list.size()) - 1; i >= 0; --i) {
        EncoderClsids[std::size_t(i)] = list[std::size_t(i)].clsid;
        const QStringList pieces = list[std::size_t(i)].filenameExtension.split(QLatin1Char(';'));
        for (qsizetype k = 0; k + 1 < pieces.size(); ++k) addPattern(pieces[k], i);
        const QString last = pieces.last().trimmed();
        if (!last.isEmpty()) addPattern(last, i);
    }
}

void ImageFileWriter::addPattern(const QString& pattern, int index) {
    EncoderByPattern.insert(pattern.toUpper(), index);
}

int ImageFileWriter::encoderForPattern(const QString& pattern) const {
    return EncoderByPattern.value(pattern.toUpper(), -1);
}

QString ImageFileWriter::extensionOf(const QString& sFilename) {
    const qsizetype dot = sFilename.lastIndexOf(QLatin1Char('.'));
    if (dot < 0) return {};
    const QString after = sFilename.mid(dot + 1);
    if (after.contains(QLatin1Char('/')) || after.contains(QLatin1Char('\\'))) return {};
    return after;
}

bool ImageFileWriter::PictureBoxToFile(const StretchedPicture& pic, const QString& sFilename, int lQuality) {
    const QString extension = extensionOf(sFilename);
    const int index = encoderForPattern(QStringLiteral("*.") + extension);
    if (index < 0) return false;
    // An empty picture box has no bitmap to hand to the encoder.
    if (!pic.hasPicture()) {
        raiseError(StatusInvalidParameter);
        return false;
    }
    std::optional<int> quality;
    if (!extension.isEmpty() && extension.at(0).toUpper() == QLatin1Char('J')) quality = lQuality;
    const int status = encoders_.saveImageToFile(pic.picture(), sFilename, EncoderClsids[std::size_t(index)], quality);
    if (status == StatusOk) return true;
    raiseError(status);
    return false;
}

QString ImageFileWriter::GdiErrorString(int lError) {
    static const char* const texts[] = {"Generic Error",
                                        "Invalid Parameter",
                                        "Out Of Memory",
                                        "Object Busy",
                                        "Insufficient Buffer",
                                        "Not Implemented",
                                        "Win32 Error",
                                        "Wrong State",
                                        "Aborted",
                                        "File Not Found",
                                        "Value Overflow",
                                        "Access Denied",
                                        "Unknown Image Format",
                                        "FontFamily Not Found",
                                        "FontStyle Not Found",
                                        "Not TrueType Font",
                                        "Unsupported Gdiplus Version",
                                        "Gdiplus Not Initialized",
                                        "Property Not Found",
                                        "Property Not Supported"};
    if (lError >= 1 && lError <= 20) return QString::fromLatin1(texts[lError - 1]);
    return QStringLiteral("Unknown GDI+ Error");
}

} // namespace kavi
