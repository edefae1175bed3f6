// SPDX-License-Identifier: GPL-3.0-or-later
// The cover-set reader: any bytes either give a cover set or a problem, never a crash or a read
// outside the input; a set that was read is written again and reads back the same, designs and
// their picture entries included.
#include "tests/fuzz/fuzz_support.h"

#include "coverset/cover_set_file.h"
#include "tests/support/picture_files.h"

namespace {

constexpr std::size_t kLargestInput = 1 << 20;

// Small enough that a fuzzed picture size cannot make the run slow or large.
kavi::CoverSetLimits fuzzLimits() {
    kavi::CoverSetLimits limits;
    limits.mostFileBytes = kLargestInput;
    limits.mostPictureBytes = 4 << 20;
    limits.mostPicturesBytes = 8 << 20;
    limits.mostDescriptionBytes = 256 << 10;
    return limits;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > kLargestInput) return 0;
    fuzz::ensureQtApplication();
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const kavi::CoverSetReading reading = kavi::readCoverSet(bytes, fuzzLimits());
    FUZZ_CHECK(reading.set.has_value() == (reading.problem == kavi::CoverSetProblem::None),
               "a cover set comes with a problem, or a problem without one");
    if (!reading.set) {
        FUZZ_CHECK(!kavi::coverSetProblemText(reading, QStringLiteral("f")).isEmpty(), "a problem without words");
        return 0;
    }
    const QByteArray again = kavi::writeCoverSet(*reading.set);
    FUZZ_CHECK(!again.isEmpty(), "a cover set that was read cannot be written");
    const kavi::CoverSetReading second = kavi::readCoverSet(again);
    FUZZ_CHECK(second.set.has_value(), "a cover set written again does not read");
    FUZZ_CHECK(second.set->ticked == reading.set->ticked, "the ticks changed on the way");
    for (int kind = 1; kind <= kavi::kCoverKindCount; ++kind) {
        const kavi::CoverSetCover &a = reading.set->cover(kind), &b = second.set->cover(kind);
        FUZZ_CHECK(a.fit == b.fit, "a fit mode changed on the way");
        FUZZ_CHECK(a.text == b.text, "a text changed on the way");
        FUZZ_CHECK(kavi::testing::samePixels(a.picture.image(), b.picture.image()), "a picture changed on the way");
        FUZZ_CHECK(a.design == b.design, "a design changed on the way");
        FUZZ_CHECK(a.designPictures.size() == b.designPictures.size(), "a design's pictures changed on the way");
        for (std::size_t i = 0; i < a.designPictures.size() && i < b.designPictures.size(); ++i)
            FUZZ_CHECK(a.designPictures[i].encoded() == b.designPictures[i].encoded(),
                       "a design's picture entry changed on the way");
    }
    return 0;
}
