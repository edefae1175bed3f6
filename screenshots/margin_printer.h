// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A printer with quarter-inch margins that takes every step and sends nothing: the screenshots lay
// out their print previews for it.
#include "covers/page_geometry.h"
#include "platform/print/printer.h"

#include <QString>

namespace kavi::screenshots {

class MarginPrinter final : public PrinterObject {
public:
    bool setFollowDefault(bool) override { return true; }
    bool setPaperSize(Paper) override { return true; }
    bool setOrientation(Orientation) override { return true; }
    Paper paperSize() const override { return Paper::Letter; }
    Orientation orientation() const override { return Orientation::Portrait; }
    bool drawPicture(const QImage&, const LengthRect&) override { return true; }
    bool drawClippedPicture(const QImage&, const LengthRect&, const LengthRect&) override { return true; }
    bool newPage() override { return true; }
    bool endDocument() override { return true; }
    void printNextJobToFile(const QString&) override {}
    std::optional<LengthRect> printableArea(Paper paper, Orientation orientation) override {
        const LengthSize sheet = sheetSize(paper, orientation);
        const Length margin = Length::fromInches(0.25);
        return LengthRect{margin, margin, sheet.width - margin - margin, sheet.height - margin - margin};
    }
    QString nextJobPrinter() override { return QStringLiteral("Office"); }
    bool drawLine(LengthPoint, LengthPoint, Length) override { return true; }
    void setCopies(int) override {}
};

} // namespace kavi::screenshots
