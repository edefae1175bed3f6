// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/print/cover_document_printing.h"

namespace kavi {

PrintLayoutSettings printLayoutSettingsOf(const DocumentPrintLayout& layout) {
    return {layout.paper, layout.cutMarks, layout.choices};
}

DocumentPrintLayout documentPrintLayoutOf(const PrintLayoutSettings& settings) {
    return {settings.paper, settings.cutMarks, settings.choices};
}

PrintSelection printSelectionOf(const CoverDocument& document) {
    PrintSelection selection;
    selection.ticked = document.selection().ticked;
    for (Kind kind : Kind::all()) {
        const std::size_t i = kind.index();
        if (document.isTicked(kind) || !document.picture(kind).isUndecoded())
            selection.pictures[i] = document.pixels(kind);
        selection.fitModes[i] = document.fitMode(kind);
        selection.texts[i] = document.text(kind);
        // An unedited JPEG pick carries its file as it is, text or not (the text is drawn over it);
        // asked after the decoding above, which lets go of the bytes of a picture that did not decode.
        selection.originalJpegs[i] = document.picture(kind).uneditedOriginalJpeg();
        // The further pictures likewise: decoded for a ticked cover, their JPEG files kept as they are.
        selection.designs[i] = document.design(kind);
        selection.designPictures[i].clear();
        for (std::size_t p = 0; p < document.designPictureCount(kind); ++p) {
            DesignPicture picture;
            if (document.isTicked(kind) || !document.designPicture(kind, p).isUndecoded())
                picture.pixels = document.designPixels(kind, p);
            picture.originalJpeg = document.designPicture(kind, p).uneditedOriginalJpeg();
            selection.designPictures[i].push_back(std::move(picture));
        }
    }
    selection.layout = printLayoutSettingsOf(document.printLayout());
    return selection;
}

} // namespace kavi
