// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/imaging/jpeg_completeness.h"

#include <QByteArray>
#include <QIODevice>

#include <csetjmp>
#include <cstdio>
#include <jerror.h>
#include <jpeglib.h>

namespace kavi {

namespace {

// The decoder's error manager: warnings are recorded instead of printed, and an error jumps back
// out of the decoder instead of ending the process.
struct CutWatch {
    jpeg_error_mgr manager; // first member: the decoder hands this pointer back
    std::jmp_buf onError;
    bool dataEnded = false; // the source ran out and gave the decoder a made-up end marker
    bool scanCutShort = false; // after that, a scan still needed data
};

CutWatch& watchOf(j_common_ptr info) { return *reinterpret_cast<CutWatch*>(info->err); }

void recordWarning(j_common_ptr info, int level) {
    if (level >= 0) return; // trace messages
    CutWatch& watch = watchOf(info);
    switch (info->err->msg_code) {
    case JWRN_JPEG_EOF: watch.dataEnded = true; break;
    // Coded data needed, or a restart marker expected, where the made-up end marker stood.
    case JWRN_HIT_MARKER:
    case JWRN_MUST_RESYNC: watch.scanCutShort |= watch.dataEnded; break;
    default: break; // warnings about damage inside a file that is there in full
    }
}

void printNothing(j_common_ptr) {}

[[noreturn]] void leaveDecoder(j_common_ptr info) { std::longjmp(watchOf(info).onError, 1); }

// Runs the decoder over data; kept free of objects with destructors, which the jump back from an
// error would skip.
bool decodedDataEndsEarly(const unsigned char* data, unsigned long size) {
    jpeg_decompress_struct info{};
    CutWatch watch;
    info.err = jpeg_std_error(&watch.manager);
    watch.manager.emit_message = recordWarning;
    watch.manager.output_message = printNothing;
    watch.manager.error_exit = leaveDecoder;
    if (setjmp(watch.onError)) {
        jpeg_destroy_decompress(&info);
        // A decoder that gave up after the data ran out was stopped by the cut.
        return watch.dataEnded;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, size);
    jpeg_read_header(&info, TRUE);
    // Every coded bit is still read, but each 8x8 block becomes one pixel: cheap to reconstruct.
    info.scale_num = 1;
    info.scale_denom = 8;
    jpeg_start_decompress(&info);
    JSAMPARRAY row = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                               info.output_width * JDIMENSION(info.output_components), 1);
    while (info.output_scanline < info.output_height) jpeg_read_scanlines(&info, row, 1);
    jpeg_destroy_decompress(&info);
    return watch.scanCutShort;
}

} // namespace

bool jpegEndsEarly(QIODevice& file) {
    const qint64 size = file.size();
    if (size >= 2 && file.seek(size - 2) && file.read(2) == QByteArray("\xFF\xD9", 2)) return false;
    if (!file.seek(0)) return false;
    const QByteArray data = file.readAll();
    return decodedDataEndsEarly(reinterpret_cast<const unsigned char*>(data.constData()),
                                static_cast<unsigned long>(data.size()));
}

} // namespace kavi
