#pragma once
// A cover's picture slot: a stretched picture with the slot's name, and the cover's text over it.
#include "cover_text.h"
#include "desktop/stretched_picture.h"
#include "imaging/text_overlay.h"

#include <vector>

namespace kavi {

class PictureSlot final : public StretchedPicture {
    Q_OBJECT
public:
    explicit PictureSlot(const QString& name, QWidget* parent = nullptr) : StretchedPicture(parent) {
        setObjectName(name);
        setToolTip(QStringLiteral("Cover image."));
    }

    // The text drawn over the picture, as the print draws it.
    void setCoverText(int kind, const CoverText& text);
    // Where the cover shows inside the slot.
    QRectF coverArea() const { return QRectF(rect()); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void renderText();
    int kind_ = 0;
    CoverText text_;
    std::vector<TextOverlay> overlays_; // at the slot's size on the screen
};

} // namespace kavi
