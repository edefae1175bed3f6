// SPDX-License-Identifier: GPL-3.0-or-later
#include "formats/pdf/pdf_document.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <optional>
#include <string>

namespace pdf {

namespace {

constexpr double kLetterWidth = 612, kLetterHeight = 792;

// A PDF real: fixed notation with at most that many decimals, independent of the locale.
std::string number(double value, int decimals = 4) {
    char buffer[64];
    auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (error != std::errc()) return "0";
    std::string text(buffer, end);
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
    return text == "-0" ? "0" : text;
}

// Counts the bytes handed to the sink, for the cross-reference table, and remembers a refusal.
class Output {
public:
    explicit Output(const Sink& sink) : sink_(sink) {}
    Output& operator<<(const std::string& text) { return put(text.data(), text.size()); }
    Output& put(const void* data, std::size_t size) {
        if (ok_ && size > 0) ok_ = sink_(data, size);
        offset_ += size;
        return *this;
    }
    void beginObject(int number) {
        offsets_.resize(std::size_t(std::max<int>(int(offsets_.size()), number + 1)));
        offsets_[std::size_t(number)] = offset_;
        *this << std::to_string(number) + " 0 obj\n";
    }
    bool ok() const { return ok_; }
    std::size_t offset() const { return offset_; }
    const std::vector<std::size_t>& offsets() const { return offsets_; }

private:
    const Sink& sink_;
    std::size_t offset_ = 0;
    std::vector<std::size_t> offsets_{0};
    bool ok_ = true;
};

std::string ref(int object) { return std::to_string(object) + " 0 R"; }

// The upright picture's unit-square position (U, V) from the stored one's (u, v), both counted
// from the bottom-left corner: U = a u + c v + e, V = b u + d v + f.
struct Turn {
    int a, b, c, d, e, f;
};

// The same map followed by quarter turns clockwise of the unit square: (U, V) goes to (V, 1 - U).
Turn turnedClockwise(Turn t, int quarterTurns) {
    for (int i = 0; i < ((quarterTurns % 4) + 4) % 4; ++i) t = {t.b, -t.a, t.d, -t.c, t.f, 1 - t.e};
    return t;
}

// The matrix that maps a picture's unit square onto the rectangle (x, bottom, width, height) on the
// page with the picture turned by an EXIF orientation and then by quarter turns clockwise: the
// rectangle holds the turned picture.
std::string placementMatrix(int orientation, int quarterTurns, double x, double bottom, double width, double height) {
    static constexpr Turn kTurns[9] = {
        {1, 0, 0, 1, 0, 0}, // (unused)
        {1, 0, 0, 1, 0, 0}, // 1: as stored
        {-1, 0, 0, 1, 1, 0}, // 2: mirrored left to right
        {-1, 0, 0, -1, 1, 1}, // 3: half a turn
        {1, 0, 0, -1, 0, 1}, // 4: flipped top to bottom
        {0, -1, -1, 0, 1, 1}, // 5: transposed
        {0, -1, 1, 0, 0, 1}, // 6: a quarter turn clockwise
        {0, 1, 1, 0, 0, 0}, // 7: transposed the other way
        {0, 1, -1, 0, 1, 0}, // 8: a quarter turn anticlockwise
    };
    const Turn t = turnedClockwise(kTurns[orientation >= 1 && orientation <= 8 ? orientation : 1], quarterTurns);
    return number(width * t.a) + " " + number(height * t.b) + " " + number(width * t.c) + " " + number(height * t.d) +
        " " + number(x + width * t.e) + " " + number(bottom + height * t.f) + " cm";
}

// A coordinate of an outline: a thousandth of a point is far below any printer's dot.
std::string coordinate(double value) { return number(value, 3); }

std::string point(const kavi::OutlinePoint& p) { return coordinate(p.x) + " " + coordinate(p.y); }

std::string pathOf(const kavi::FilledOutline& outline) {
    std::string path;
    for (const kavi::OutlineStep& step : outline.steps) {
        switch (step.type) {
        case kavi::OutlineStep::Type::MoveTo: path += point(step.to) + " m\n"; break;
        case kavi::OutlineStep::Type::LineTo: path += point(step.to) + " l\n"; break;
        case kavi::OutlineStep::Type::CurveTo:
            path += point(step.control1) + " " + point(step.control2) + " " + point(step.to) + " c\n";
            break;
        }
    }
    return path;
}

// A circle as four Bézier quarters, anticlockwise in PDF's coordinates (y up).
std::string circlePath(double cx, double cy, double r) {
    constexpr double kQuarter = 0.5522847498; // the control distance of a quarter circle, in radii
    const double k = r * kQuarter;
    const auto p = [](double x, double y) { return number(x) + " " + number(y); };
    return p(cx + r, cy) + " m " + p(cx + r, cy + k) + " " + p(cx + k, cy + r) + " " + p(cx, cy + r) + " c " +
        p(cx - k, cy + r) + " " + p(cx - r, cy + k) + " " + p(cx - r, cy) + " c " + p(cx - r, cy - k) + " " +
        p(cx - k, cy - r) + " " + p(cx, cy - r) + " c " + p(cx + k, cy - r) + " " + p(cx + r, cy - k) + " " +
        p(cx + r, cy) + " c h ";
}

std::string colourOf(std::uint32_t rgb) {
    return number(double(rgb >> 16 & 0xFF) / 255) + " " + number(double(rgb >> 8 & 0xFF) / 255) + " " +
        number(double(rgb & 0xFF) / 255);
}

// The invisible words of a line in the hidden-text font: one code a UTF-16 unit, each 1000 units
// wide, stretched to the line's advance.
std::string hiddenLine(const kavi::OutlineTextLine& line) {
    if (line.text.empty() || line.sizePoints <= 0 || line.advancePoints <= 0) return {};
    const double stretch = 100 * line.advancePoints / (double(line.text.size()) * line.sizePoints);
    std::string codes;
    char unit[8];
    for (const char16_t c : line.text) {
        std::snprintf(unit, sizeof unit, "%04X", unsigned(c));
        codes += unit;
    }
    const std::string matrix = line.turned ? "0 1 1 0 " : "1 0 0 -1 ";
    return "BT 3 Tr /T0 " + number(line.sizePoints) + " Tf " + number(stretch) + " Tz " + matrix + point(line.origin) +
        " Tm <" + codes + "> Tj ET\n";
}

// A Type 0 font for invisible text whose codes are UTF-16 units: readers take the words from its
// Unicode map and never draw a glyph of it, so no font program is embedded.
void writeHiddenTextFont(Output& out, int font) {
    out.beginObject(font);
    out << "<< /Type /Font /Subtype /Type0 /BaseFont /KaviHiddenText /Encoding /Identity-H /DescendantFonts [" +
            ref(font + 1) + "] /ToUnicode " + ref(font + 3) + " >>\nendobj\n";
    out.beginObject(font + 1);
    out << "<< /Type /Font /Subtype /CIDFontType2 /BaseFont /KaviHiddenText /CIDSystemInfo << /Registry (Adobe) "
           "/Ordering (Identity) /Supplement 0 >> /FontDescriptor " +
            ref(font + 2) + " /DW 1000 /CIDToGIDMap /Identity >>\nendobj\n";
    out.beginObject(font + 2);
    out << std::string("<< /Type /FontDescriptor /FontName /KaviHiddenText /Flags 32 /FontBBox [0 -200 1000 800] "
                       "/ItalicAngle 0 /Ascent 800 /Descent -200 /CapHeight 700 /StemV 80 >>\nendobj\n");
    std::string map = "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
                      "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
                      "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
                      "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n";
    // Each code is its own UTF-16 unit; a range may only vary in its last byte.
    char line[48];
    for (int block = 0; block < 256; block += 100) {
        const int count = std::min(100, 256 - block);
        map += std::to_string(count) + " beginbfrange\n";
        for (int high = block; high < block + count; ++high) {
            std::snprintf(line, sizeof line, "<%02X00> <%02XFF> <%02X00>\n", high, high, high);
            map += line;
        }
        map += "endbfrange\n";
    }
    map += "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
    const FlateData packed = compressBytes(map.data(), map.size());
    out.beginObject(font + 3);
    out << "<< /Length " + std::to_string(packed.size) + " /Filter /FlateDecode >>\nstream\n";
    out.put(packed.bytes.data(), packed.size);
    out << "\nendstream\nendobj\n";
}

} // namespace

void Document::beginPage(double widthPoints, double heightPoints) {
    pages_.push_back({widthPoints, heightPoints, {}, {}, {}, {}, {}});
}

void Document::place(const Placement& placement) {
    if (pages_.empty()) beginPage(kLetterWidth, kLetterHeight);
    Page& page = pages_.back();
    page.order.push_back({Drawn::Type::Placement, page.placements.size()});
    page.placements.push_back(placement);
}

void Document::drawPicture(const BgrxPixels& picture, double x, double y, double width, double height) {
    pictures_.push_back({picture, nullptr, 0, {}});
    translucent_.push_back(false);
    place({int(pictures_.size()) - 1, x, y, width, height, std::nullopt, std::nullopt});
}

void Document::drawPicture(const BgrxPixels& picture, double x, double y, double width, double height,
                           const ClipRect& clip) {
    drawPicture(picture, x, y, width, height);
    pages_.back().placements.back().clip = clip;
}

void Document::drawPicture(const BgrxPixels& picture, double x, double y, double width, double height, const Look& look,
                           bool translucent) {
    drawPicture(picture, x, y, width, height);
    translucent_.back() = translucent;
    Placement& placed = pages_.back().placements.back();
    placed.clip = look.clip;
    placed.quarterTurns = look.quarterTurns;
    placed.opacity = std::clamp(look.opacity, 0.0, 1.0);
}

void Document::drawPictureInRing(const BgrxPixels& picture, double x, double y, double width, double height,
                                 const ClipRing& ring) {
    drawPicture(picture, x, y, width, height);
    pages_.back().placements.back().ring = ring;
}

bool Document::drawJpegInRing(const std::uint8_t* data, std::size_t size, double x, double y, double width,
                              double height, const ClipRing& ring) {
    if (!drawJpeg(data, size, x, y, width, height)) return false;
    pages_.back().placements.back().ring = ring;
    return true;
}

void Document::drawTranslucentPicture(const BgrxPixels& picture, double x, double y, double width, double height) {
    drawPicture(picture, x, y, width, height);
    translucent_.back() = true;
}

bool Document::drawJpeg(const std::uint8_t* data, std::size_t size, double x, double y, double width, double height) {
    const std::optional<raster::JpegFrame> frame = raster::readJpegFrame(data, size);
    if (!frame || !raster::isPortableJpeg(*frame)) return false;
    pictures_.push_back({{}, data, size, *frame});
    translucent_.push_back(false);
    place({int(pictures_.size()) - 1, x, y, width, height, std::nullopt, std::nullopt});
    return true;
}

bool Document::drawJpeg(const std::uint8_t* data, std::size_t size, double x, double y, double width, double height,
                        const Look& look) {
    if (!drawJpeg(data, size, x, y, width, height)) return false;
    Placement& placed = pages_.back().placements.back();
    placed.clip = look.clip;
    placed.quarterTurns = look.quarterTurns;
    placed.opacity = std::clamp(look.opacity, 0.0, 1.0);
    return true;
}

void Document::fillRectangle(const ClipRect& rect, std::uint32_t rgb) {
    if (pages_.empty()) beginPage(kLetterWidth, kLetterHeight);
    Page& page = pages_.back();
    page.order.push_back({Drawn::Type::Fill, page.fills.size()});
    page.fills.push_back({rect, rgb, std::nullopt});
}

void Document::fillGradient(const ClipRect& rect, const Gradient& gradient) {
    fillRectangle(rect, gradient.startRgb);
    pages_.back().fills.back().gradient = gradient;
}

void Document::drawTextOutlines(const kavi::CoverTextOutlines& text, const CoverFrame& frame, const ClipRect& clip) {
    if (text.empty()) return;
    if (pages_.empty()) beginPage(kLetterWidth, kLetterHeight);
    Page& page = pages_.back();
    page.order.push_back({Drawn::Type::Outlines, page.outlines.size()});
    page.outlines.push_back({text, frame, clip});
}

// The page's drawing commands, and its resources (pictures, opacities and shadings) as a
// dictionary's entries.
std::string Document::pageContent(const Page& page, std::string& resources) const {
    std::string pictures, content, opacities, shadings;
    std::vector<double> alphas;
    int shadingCount = 0;
    // The graphics state that sets this opacity for fills and pictures.
    const auto stateFor = [&](double opacity) {
        const auto found = std::find(alphas.begin(), alphas.end(), opacity);
        const std::size_t index = std::size_t(found - alphas.begin());
        if (found == alphas.end()) {
            alphas.push_back(opacity);
            opacities += "/A" + std::to_string(index) + " << /ca " + number(opacity) + " >> ";
        }
        return "/A" + std::to_string(index) + " gs ";
    };
    const auto rectangle = [&](const ClipRect& r) {
        return number(r.x) + " " + number(page.height - r.y - r.height) + " " + number(r.width) + " " +
            number(r.height) + " re";
    };
    const auto drawOutlines = [&](const Outlines& o) {
        content += "q " + rectangle(o.clip) + " W n " + number(o.frame.scaleX) + " 0 0 " + number(-o.frame.scaleY) +
            " " + number(o.frame.left) + " " + number(page.height - o.frame.top) + " cm\n";
        for (const kavi::FilledOutline& fill : o.text.fills) {
            const std::string state = fill.opacity < 1 ? stateFor(fill.opacity) : std::string();
            content += "q " + state + colourOf(fill.rgb) + " rg\n" + pathOf(fill) + "f Q\n";
        }
        for (const kavi::OutlineTextLine& line : o.text.lines) content += hiddenLine(line);
        content += "Q\n";
    };
    const auto drawFill = [&](const Fill& fill) {
        if (!fill.gradient) {
            content += "q " + colourOf(fill.rgb) + " rg " + rectangle(fill.rect) + " f Q\n";
            return;
        }
        const Gradient& g = *fill.gradient;
        const std::string name = "/S" + std::to_string(shadingCount++);
        shadings += name + " << /ShadingType 2 /ColorSpace /DeviceRGB /Coords [" + number(g.x0) + " " +
            number(page.height - g.y0) + " " + number(g.x1) + " " + number(page.height - g.y1) +
            "] /Function << /FunctionType 2 /Domain [0 1] /C0 [" + colourOf(g.startRgb) + "] /C1 [" +
            colourOf(g.endRgb) + "] /N 1 >> /Extend [true true] >> ";
        content += "q " + rectangle(fill.rect) + " W n " + name + " sh Q\n";
    };
    const auto drawPlacement = [&](const Placement& placed) {
        const std::string name = "/P" + std::to_string(placed.picture);
        pictures += name + " " + ref(3 + 2 * int(pages_.size()) + placed.picture) + " ";
        // The picture is drawn into the unit square; the matrix stretches it onto the rectangle,
        // whose corner PDF counts from the bottom of the page.
        const Picture& picture = pictures_[std::size_t(placed.picture)];
        const int orientation = picture.jpeg ? picture.frame.orientation : 1;
        content += "q ";
        if (placed.opacity < 1) content += stateFor(placed.opacity);
        if (placed.clip) content += rectangle(*placed.clip) + " W n ";
        if (placed.ring) {
            const ClipRing& ring = *placed.ring;
            if (ring.cut) content += rectangle(*ring.cut) + " W n ";
            const double cy = page.height - ring.centreY;
            content += circlePath(ring.centreX, cy, ring.outerRadius);
            if (ring.holeRadius > 0) content += circlePath(ring.centreX, cy, ring.holeRadius);
            content += "W* n ";
        }
        content += placementMatrix(orientation, placed.quarterTurns, placed.x, page.height - placed.y - placed.height,
                                   placed.width, placed.height) +
            " " + name + " Do Q\n";
    };
    for (const Drawn& drawn : page.order) {
        switch (drawn.type) {
        case Drawn::Type::Placement: drawPlacement(page.placements[drawn.index]); break;
        case Drawn::Type::Outlines: drawOutlines(page.outlines[drawn.index]); break;
        case Drawn::Type::Fill: drawFill(page.fills[drawn.index]); break;
        }
    }
    for (const Line& line : page.lines)
        content += "q 0 G " + number(line.width) + " w 0 J " + number(line.x1) + " " + number(page.height - line.y1) +
            " m " + number(line.x2) + " " + number(page.height - line.y2) + " l S Q\n";
    resources = "/XObject << " + pictures + ">> ";
    if (!opacities.empty()) resources += "/ExtGState << " + opacities + ">> ";
    if (!shadings.empty()) resources += "/Shading << " + shadings + ">> ";
    return content;
}

void Document::drawLine(double x1, double y1, double x2, double y2, double lineWidth) {
    if (pages_.empty()) beginPage(kLetterWidth, kLetterHeight);
    pages_.back().lines.push_back({x1, y1, x2, y2, lineWidth});
}

// Objects: 1 catalogue, 2 page tree, then a page and its content stream for each page, then the
// pictures, then the soft masks of the translucent ones.
bool Document::write(const Sink& sink) const {
    const int pageCount = int(pages_.size());
    const auto pageObject = [](int page) { return 3 + 2 * page; };
    const auto pictureObject = [pageCount](int picture) { return 3 + 2 * pageCount + picture; };
    std::vector<int> maskObjects(pictures_.size(), 0);
    int objects = 3 + 2 * pageCount + int(pictures_.size());
    for (std::size_t i = 0; i < pictures_.size(); ++i)
        if (translucent_[i]) maskObjects[i] = objects++;
    // The hidden-text font, when a page has words: font, its CID font, descriptor and Unicode map.
    const bool anyText = std::any_of(pages_.begin(), pages_.end(), [](const Page& page) {
        return std::any_of(page.outlines.begin(), page.outlines.end(),
                           [](const Outlines& o) { return !o.text.lines.empty(); });
    });
    const int fontObject = anyText ? objects : 0;
    if (anyText) objects += 4;
    Output out(sink);
    out << "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";

    out.beginObject(1);
    out << "<< /Type /Catalog /Pages 2 0 R >>\nendobj\n";
    out.beginObject(2);
    std::string kids;
    for (int p = 0; p < pageCount; ++p) kids.append(p ? " " : "").append(ref(pageObject(p)));
    out << "<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(pageCount) + " >>\nendobj\n";

    for (int p = 0; p < pageCount; ++p) {
        const Page& page = pages_[std::size_t(p)];
        std::string resources;
        const std::string content = pageContent(page, resources);
        const bool hasText = std::any_of(page.outlines.begin(), page.outlines.end(),
                                         [](const Outlines& o) { return !o.text.lines.empty(); });
        if (hasText) resources += "/Font << /T0 " + ref(fontObject) + " >> ";
        out.beginObject(pageObject(p));
        out << "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + number(page.width) + " " + number(page.height) +
                "] /Resources << " + resources + ">> /Contents " + ref(pageObject(p) + 1) + " >>\nendobj\n";
        out.beginObject(pageObject(p) + 1);
        if (page.outlines.empty() && page.fills.empty()) {
            out << "<< /Length " + std::to_string(content.size()) + " >>\nstream\n" + content + "endstream\nendobj\n";
        } else {
            // Outlines make long drawing commands, which compress well.
            const FlateData packed = compressBytes(content.data(), content.size());
            out << "<< /Length " + std::to_string(packed.size) + " /Filter /FlateDecode >>\nstream\n";
            out.put(packed.bytes.data(), packed.size);
            out << "\nendstream\nendobj\n";
        }
    }

    for (int i = 0; i < int(pictures_.size()) && out.ok(); ++i) {
        if (const Picture& own = pictures_[std::size_t(i)]; own.jpeg) {
            out.beginObject(pictureObject(i));
            out << "<< /Type /XObject /Subtype /Image /Width " + std::to_string(own.frame.width) + " /Height " +
                    std::to_string(own.frame.height) + " /ColorSpace " +
                    (own.frame.components == 1 ? "/DeviceGray" : "/DeviceRGB") +
                    " /BitsPerComponent 8 /Interpolate true /Filter /DCTDecode /Length " +
                    std::to_string(own.jpegSize) + " >>\nstream\n";
            out.put(own.jpeg, own.jpegSize);
            out << "\nendstream\nendobj\n";
            continue;
        }
        const BgrxPixels& picture = pictures_[std::size_t(i)].pixels;
        const FlateData data = compressRows(picture);
        const std::string columns = std::to_string(picture.width);
        const int mask = maskObjects[std::size_t(i)];
        out.beginObject(pictureObject(i));
        out << "<< /Type /XObject /Subtype /Image /Width " + columns + " /Height " + std::to_string(picture.height) +
                (mask ? " /SMask " + ref(mask) : std::string()) +
                " /ColorSpace /DeviceRGB /BitsPerComponent 8 /Interpolate true /Filter /FlateDecode"
                " /DecodeParms << /Predictor 15 /Colors 3 /BitsPerComponent 8 /Columns " +
                columns + " >> /Length " + std::to_string(data.size) + " >>\nstream\n";
        out.put(data.bytes.data(), data.size);
        out << "\nendstream\nendobj\n";
    }
    for (int i = 0; i < int(pictures_.size()) && out.ok(); ++i) {
        if (!maskObjects[std::size_t(i)]) continue;
        const BgrxPixels& picture = pictures_[std::size_t(i)].pixels;
        const FlateData data = compressAlphaRows(picture);
        const std::string columns = std::to_string(picture.width);
        out.beginObject(maskObjects[std::size_t(i)]);
        out << "<< /Type /XObject /Subtype /Image /Width " + columns + " /Height " + std::to_string(picture.height) +
                " /ColorSpace /DeviceGray /BitsPerComponent 8 /Interpolate true /Filter /FlateDecode"
                " /DecodeParms << /Predictor 15 /Colors 1 /BitsPerComponent 8 /Columns " +
                columns + " >> /Length " + std::to_string(data.size) + " >>\nstream\n";
        out.put(data.bytes.data(), data.size);
        out << "\nendstream\nendobj\n";
    }

    if (anyText && out.ok()) writeHiddenTextFont(out, fontObject);

    if (!out.ok()) return false;

    const std::size_t xref = out.offset();
    std::string table = "xref\n0 " + std::to_string(objects) + "\n0000000000 65535 f \n";
    for (int n = 1; n < objects; ++n) {
        char entry[24];
        std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", out.offsets()[std::size_t(n)]);
        table += entry;
    }
    out << table + "trailer\n<< /Size " + std::to_string(objects) + " /Root 1 0 R >>\nstartxref\n" +
            std::to_string(xref) + "\n%%EOF\n";
    return out.ok();
}

} // namespace pdf
