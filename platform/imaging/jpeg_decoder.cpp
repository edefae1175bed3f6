// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/imaging/jpeg_decoder.h"

#include "formats/raster/pixel_memory.h"

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>
#include <memory>
#include <new>

namespace kavi {

namespace {

struct Failure {
    jpeg_error_mgr manager; // first member: the decoder hands this pointer back
    std::jmp_buf onError;
};

[[noreturn]] void leaveDecoder(j_common_ptr info) { std::longjmp(reinterpret_cast<Failure*>(info->err)->onError, 1); }
void ignoreMessage(j_common_ptr, int) {}
void printNothing(j_common_ptr) {}

void freePixels(void* memory) { delete static_cast<raster::PixelMemory*>(memory); }

// The rows of the frame read into pixels, one decoder batch at a time. Kept free of objects with
// destructors, which the jump back from an error would skip; the pixel memory is the caller's.
bool decodeInto(jpeg_decompress_struct& info, Failure& failure, const std::uint8_t* data, std::size_t size,
                raster::PixelMemory*& pixels, std::size_t& stride) {
    if (setjmp(failure.onError)) return false;
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) return false;
    if (info.data_precision != 8) return false;
    if (info.jpeg_color_space != JCS_GRAYSCALE && info.jpeg_color_space != JCS_YCbCr &&
        info.jpeg_color_space != JCS_RGB)
        return false; // CMYK and YCCK stay with Qt's reader
    info.out_color_space = JCS_EXT_BGRX; // grey comes out with blue, green and red equal
    info.dct_method = JDCT_ISLOW;
    info.do_fancy_upsampling = TRUE;
    jpeg_start_decompress(&info);
    stride = std::size_t(info.output_width) * 4;
    const std::size_t bytes = stride * info.output_height;
    try {
        pixels = new raster::PixelMemory(bytes, raster::PixelMemory::Unfilled{});
    } catch (const std::bad_alloc&) {
        return false;
    }
    JSAMPROW rows[16];
    while (info.output_scanline < info.output_height) {
        const JDIMENSION first = info.output_scanline;
        const int batch = info.rec_outbuf_height < 16 ? info.rec_outbuf_height : 16;
        for (int i = 0; i < batch; ++i)
            rows[i] = pixels->data() +
                stride * std::size_t(first + JDIMENSION(i) < info.output_height ? first + JDIMENSION(i) : first);
        jpeg_read_scanlines(&info, rows, JDIMENSION(batch));
    }
    jpeg_finish_decompress(&info);
    return true;
}

} // namespace

QImage decodeJpeg(const std::uint8_t* data, std::size_t size) {
    jpeg_decompress_struct info{};
    Failure failure;
    info.err = jpeg_std_error(&failure.manager);
    failure.manager.error_exit = leaveDecoder;
    failure.manager.emit_message = ignoreMessage; // a cut-off file is told by the completeness check
    failure.manager.output_message = printNothing;
    raster::PixelMemory* pixels = nullptr;
    std::size_t stride = 0;
    const bool decoded = decodeInto(info, failure, data, size, pixels, stride);
    const int width = int(info.output_width), height = int(info.output_height);
    jpeg_destroy_decompress(&info);
    if (!decoded) {
        delete pixels;
        return {};
    }
    QImage picture(pixels->data(), width, height, qsizetype(stride), QImage::Format_RGB32, freePixels, pixels);
    if (picture.isNull()) delete pixels;
    return picture;
}

} // namespace kavi
