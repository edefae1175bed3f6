// SPDX-License-Identifier: GPL-3.0-or-later
// The PDF writer over random pages, pictures and lines: the cross-reference table points at each
// object, and every picture's stream inflates and un-filters back to the picture's pixels.
#include "tests/fuzz/fuzz_support.h"

#include "formats/pdf/pdf_document.h"

#include <libdeflate.h>

#include <memory>
#include <string>
#include <vector>

namespace {

struct Picture {
    int width, height;
    std::ptrdiff_t stride;
    std::vector<std::uint8_t> bytes;
    pdf::BgrxPixels pixels() const { return {bytes.data(), width, height, stride}; }
};

double coordinate(fuzz::Input& in) { return in.inRange(-20000, 20000) / 10.0 + in.byte() / 256.0; }

std::size_t numberAfter(const std::string& text, std::size_t from, const std::string& name) {
    const std::size_t at = text.find(name + " ", from);
    FUZZ_CHECK(at != std::string::npos, "an image dictionary lacks an entry");
    return std::stoul(text.substr(at + name.size() + 1, 12));
}

// The picture object's stream, inflated and with each row's Sub filter undone, compared with the picture.
void checkPicture(const std::string& file, std::size_t object, const Picture& picture) {
    FUZZ_CHECK(numberAfter(file, object, "/Width") == std::size_t(picture.width), "a picture has another width");
    FUZZ_CHECK(numberAfter(file, object, "/Height") == std::size_t(picture.height), "a picture has another height");
    const std::size_t length = numberAfter(file, object, "/Length");
    const std::size_t start = file.find(">>\nstream\n", object);
    FUZZ_CHECK(start != std::string::npos, "a picture has no stream");
    const std::size_t data = start + 10;
    FUZZ_CHECK(data + length <= file.size() && file.compare(data + length, 10, "\nendstream") == 0,
               "a picture's stream length is wrong");

    const std::size_t rowBytes = std::size_t(picture.width) * 3 + 1;
    std::vector<std::uint8_t> rows(rowBytes * std::size_t(picture.height));
    std::unique_ptr<libdeflate_decompressor, void (*)(libdeflate_decompressor*)> inflater(
        libdeflate_alloc_decompressor(), libdeflate_free_decompressor);
    std::size_t actual = 0;
    FUZZ_CHECK(libdeflate_zlib_decompress(inflater.get(), file.data() + data, length, rows.data(), rows.size(),
                                          &actual) == LIBDEFLATE_SUCCESS &&
                   actual == rows.size(),
               "a picture's stream does not inflate to its rows");
    for (int y = 0; y < picture.height; ++y) {
        std::uint8_t* row = rows.data() + rowBytes * std::size_t(y);
        FUZZ_CHECK(row[0] == 1, "a row is not Sub-filtered");
        for (std::size_t i = 4; i < rowBytes; ++i) row[i] = std::uint8_t(row[i] + row[i - 3]);
        const std::uint8_t* source = picture.bytes.data() + picture.stride * y;
        for (int x = 0; x < picture.width; ++x)
            FUZZ_CHECK(row[1 + 3 * x] == source[4 * x + 2] && row[2 + 3 * x] == source[4 * x + 1] &&
                           row[3 + 3 * x] == source[4 * x],
                       "a picture's pixel differs");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 8 * 1024) return 0;
    fuzz::Input in(data, size);
    std::vector<Picture> pictures(std::size_t(in.inRange(0, 4)));
    for (Picture& p : pictures) {
        p.width = in.inRange(1, 64);
        p.height = in.inRange(1, 64);
        p.stride = std::ptrdiff_t(p.width + in.inRange(0, 3)) * 4;
        p.bytes.resize(std::size_t(p.stride) * std::size_t(p.height));
        for (std::uint8_t& b : p.bytes) b = in.byte();
    }

    pdf::Document document;
    std::vector<int> drawn; // the picture of each picture object, in order
    const int steps = in.inRange(0, 24);
    for (int s = 0; s < steps; ++s) {
        const int what = in.inRange(0, 2);
        if (what == 0) {
            document.beginPage(in.inRange(1, 14400) / 10.0, in.inRange(1, 14400) / 10.0);
        } else if (what == 1 && !pictures.empty()) {
            const int which = in.inRange(0, int(pictures.size()) - 1);
            const double x = coordinate(in), y = coordinate(in), w = coordinate(in), h = coordinate(in);
            document.drawPicture(pictures[std::size_t(which)].pixels(), x, y, w, h);
            drawn.push_back(which);
        } else {
            const double x1 = coordinate(in), y1 = coordinate(in), x2 = coordinate(in), y2 = coordinate(in);
            document.drawLine(x1, y1, x2, y2, in.inRange(0, 100) / 10.0);
        }
    }

    std::string file;
    FUZZ_CHECK(document.write([&file](const void* bytes, std::size_t n) {
        file.append(static_cast<const char*>(bytes), n);
        return true;
    }),
               "writing to memory failed");
    FUZZ_CHECK(file.rfind("%PDF-1.4\n", 0) == 0 && file.size() >= 6 && file.compare(file.size() - 6, 6, "%%EOF\n") == 0,
               "the file lacks its header or end");

    const std::size_t startxref = file.rfind("startxref\n");
    FUZZ_CHECK(startxref != std::string::npos, "no startxref");
    const std::size_t xref = std::stoul(file.substr(startxref + 10, 20));
    FUZZ_CHECK(xref < file.size() && file.compare(xref, 5, "xref\n") == 0, "startxref does not point at the table");
    const int objects = std::stoi(file.substr(file.find(' ', xref + 5) + 1, 12));
    FUZZ_CHECK(objects == 3 + 2 * std::max(document.pageCount(), 0) + int(drawn.size()), "the table has another count");
    std::size_t pos = file.find('\n', xref + 5) + 1 + 20; // past "0 N" and the free entry
    for (int n = 1; n < objects; ++n, pos += 20) {
        FUZZ_CHECK(pos + 20 <= file.size() && file[pos + 19] == '\n', "a table entry is not 20 bytes");
        const std::size_t offset = std::stoul(file.substr(pos, 10));
        const std::string head = std::to_string(n) + " 0 obj";
        FUZZ_CHECK(offset < file.size() && file.compare(offset, head.size(), head) == 0, "an offset misses its object");
        const int firstPicture = 3 + 2 * document.pageCount();
        if (n >= firstPicture) checkPicture(file, offset, pictures[std::size_t(drawn[std::size_t(n - firstPicture)])]);
    }
    return 0;
}
