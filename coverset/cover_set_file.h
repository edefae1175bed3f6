// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The cover-set file (docs/cover-set-format.md): a zip archive holding "cover-set.json", the
// description with its format version, and one picture entry for each cover that has a picture:
// an unedited JPEG file's own bytes, or a lossless PNG. Reading treats the file as untrusted: every
// entry's checksum, every picture's header and every size is checked before anything is decoded,
// and a file that fails any check gives no cover set at all. The pictures are kept as they are
// stored and decoded when first asked for (CoverSetPicture::image), never read from the file again.
#include "coverset/cover_set.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <string>

namespace kavi {

inline constexpr int kCoverSetVersion = 3; // the newest version this Kavi reads and writes
inline constexpr const char* kCoverSetSuffix = "kavi";

enum class CoverSetProblem {
    None,
    CannotRead, // the file is missing or may not be read
    Empty, // the file has no bytes
    NotACoverSet, // not a zip archive, or one without a cover-set description
    Truncated, // cut off before its end
    Damaged, // a checksum, a record or the description is wrong
    NewerVersion, // written by a later Kavi in a version this one does not know
    TooLarge, // more or larger pictures or text than a cover set may hold
};

struct CoverSetReading {
    CoverSetProblem problem = CoverSetProblem::None;
    std::optional<CoverSet> set; // only when there is no problem
    int version = 0; // the file's version, when it could be read
    // For a damaged design, which cover and what is wrong with it; empty for other problems.
    std::string reason;
};

// Limits on what a file may make the program hold; the defaults fit the largest real covers.
struct CoverSetLimits {
    qint64 mostFileBytes = qint64(2) << 30;
    qint64 mostPictureBytes = qint64(1) << 30; // decoded, as 32-bit pixels, per picture
    qint64 mostPicturesBytes = qint64(3) << 30; // all ten together
    qint64 mostDescriptionBytes = 1 << 20;
};

// The file's bytes as a cover set, or why not.
CoverSetReading readCoverSet(const QByteArray& bytes, const CoverSetLimits& limits = {});

// The bytes of the file; empty when a picture could not be encoded or the set does not fit a file.
// Pictures that have their encoded bytes (a picked JPEG, an entry read from a set) are stored as
// those bytes; only pictures of pixels are encoded.
QByteArray writeCoverSet(const CoverSet& set);

// Reads a file (refusing it before reading when it is larger than a cover set may be).
CoverSetReading loadCoverSetFile(const QString& path, const CoverSetLimits& limits = {});

// Writes the file atomically: 0, or the errno of the step that failed (EFBIG when the set cannot
// be made into a file), the old file untouched.
int saveCoverSetFile(const QString& path, const CoverSet& set);

// One sentence for the user about why a file did not open, naming it by shownName.
QString coverSetProblemText(const CoverSetReading& reading, const QString& shownName);

// The short names of the kinds in the file and on kavi-cover's command line (front ... blu).
const char* coverKindShortName(int kind);
int coverKindOfShortName(const QString& name); // 0 for none

} // namespace kavi
