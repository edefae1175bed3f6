// kavi-cover: the covers of a set of kinds as a PDF file at real size, without a window. The pages
// are the ones the print command makes for the same kinds ticked (see cover_arguments.h for the
// command line). Any failure prints one line, gives a non-zero status and writes nothing.
#include "cover_arguments.h"

#include "files/atomic_file.h"
#include "imaging/picture_loader.h"
#include "page_plan.h"
#include "page_render.h"
#include "pdf/cover_page.h"

#include <QCoreApplication>
#include <QImage>
#include <QString>

#include <array>
#include <cstdio>
#include <new>

using namespace kavi;

namespace {

constexpr int kUsageError = 2;
constexpr int kFailure = 1;

int fail(int status, const std::string& why) {
    std::fprintf(stderr, "kavi-cover: %s\n", why.c_str());
    return status;
}

std::string reasonOf(PictureStatus status) {
    switch (status) {
    case PictureStatus::CannotOpen: return "cannot be opened";
    case PictureStatus::NotAPicture: return "is not a readable picture";
    case PictureStatus::Incomplete: return "is incomplete";
    case PictureStatus::TooLarge: return "is too large to load into memory";
    case PictureStatus::Loaded: break;
    }
    return "did not load";
}

const char* sideName(Side side) {
    switch (side) {
    case Side::Left: return "left";
    case Side::Top: return "top";
    case Side::Right: return "right";
    case Side::Bottom: return "bottom";
    }
    return "";
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv); // Qt's image readers find their plug-ins through it
    std::vector<std::string> arguments(argv + 1, argv + argc);
    const CoverMakerArguments parsed = parseCoverMakerArguments(arguments);
    if (std::holds_alternative<CoverMakerHelp>(parsed)) {
        std::fputs(coverMakerUsage(), stdout);
        return 0;
    }
    if (const auto* error = std::get_if<std::string>(&parsed)) return fail(kUsageError, *error);
    const CoverMakerRequest& request = std::get<CoverMakerRequest>(parsed);
    if (request.print) return fail(kFailure, "printing from the command line is not available yet; use -o FILE.pdf");

    try {
        // Pictures as opaque 32-bit pixels, by kind; they stay alive until the document is written.
        std::array<QImage, kCoverKindCount> pictures;
        for (const CoverPicture& cover : request.covers) {
            PictureLoad load = loadPictureFile(QString::fromStdString(cover.picture));
            if (load.status != PictureStatus::Loaded) return fail(kFailure, "\"" + cover.picture + "\" " + reasonOf(load.status));
            pictures[std::size_t(cover.kind - 1)] = std::move(load.picture);
        }
        const auto pixelsOf = [&pictures](int kind) {
            const QImage& p = pictures[std::size_t(kind - 1)];
            return pdf::BgrxPixels{p.constBits(), p.width(), p.height(), p.bytesPerLine()};
        };

        const PrintJob job = planPrintJob(request.ticked, request.paper);
        pdf::Document document;
        for (const PlannedPage& page : job.pages) {
            const PageOptions options{Placement::CentredOnSheet, wholeSheet(page), request.cutMarks,
                                      request.calibration.value_or(Calibration{})};
            const RenderedPage rendered = renderPage(page, options);
            for (const Overhang& o : rendered.overhangs)
                std::fprintf(stderr, "kavi-cover: note: %s reaches %.2f in past the %s edge of the paper\n",
                             coverKind(o.kind).checkCaption, o.amount.inches(), sideName(o.side));
            drawRenderedPage(document, rendered, pixelsOf);
        }

        QByteArray bytes;
        document.write([&bytes](const void* data, std::size_t size) {
            bytes.append(static_cast<const char*>(data), qsizetype(size));
            return true;
        });
        if (!writeFileAtomically(QString::fromStdString(request.outputPdf), bytes))
            return fail(kFailure, "cannot write \"" + request.outputPdf + "\"");
    } catch (const std::bad_alloc&) {
        return fail(kFailure, "not enough memory for these pictures");
    }
    return 0;
}
