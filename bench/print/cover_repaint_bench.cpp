// SPDX-License-Identifier: GPL-3.0-or-later
// How long a cover with a design takes to repaint on the screen: a DVD cover with a 12000 x 9000
// picture, a logo with transparency, three text boxes and a 20-line track list, painted
// - by the cover's tab (the picture slot), and
// - by the cover painter as the layout window uses it,
// each beside one QPainter draw of the screen-size picture into an image of the same size (for the
// tab also beside a widget whose repaint is that one draw). The first paint composes the cover; the
// medians are of the repaints after it.
#include "app/picture_slot.h"
#include "bench/bench_support.h"
#include "covers/cover_kinds.h"
#include "output/print/cover_painter.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>

#include <cstdio>
#include <vector>

namespace {

constexpr int kRuns = 31;

kavi::LengthRect mm(double left, double top, double width, double height) {
    using kavi::Length;
    return {Length::fromMillimetres(left), Length::fromMillimetres(top), Length::fromMillimetres(width),
            Length::fromMillimetres(height)};
}

QImage logo() {
    QImage picture(800, 400, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(230, 120, 20));
    painter.drawEllipse(QRectF(20, 20, 760, 360));
    return picture;
}

kavi::CoverToPaint designedCover(const QImage& photo) {
    kavi::CoverToPaint cover;
    cover.kind = 4;
    cover.picture = photo;
    cover.fit = kavi::FitMode::Fill;
    cover.text = kavi::emptyCoverText(4);
    cover.text.title.text = "The Long Way Round";
    cover.text.subtitle.text = "Twenty songs";
    cover.text.boxes.push_back({"Recorded live", {}, kavi::newBoxAnchor(4)});
    cover.design.background = {kavi::BackgroundFill::Gradient, 0x203040, 0xE0E0F0, 45};
    cover.pictures = {{logo(), {}}};
    kavi::CoverLayer picture;
    picture.type = kavi::LayerType::Picture;
    picture.box = mm(180, 120, 60, 30);
    picture.opacity = 0.8;
    kavi::CoverLayer list;
    list.type = kavi::LayerType::TrackList;
    list.box = mm(15, 20, 100, 140);
    for (int i = 1; i <= 20; ++i) list.tracks.push_back({i, "Song " + std::to_string(i), "The Players", 200.0 + i});
    list.style.sizePoints = 10;
    cover.design.layers = {picture, list};
    return cover;
}

// A widget whose repaint is one draw of a picture.
class OneDraw final : public QWidget {
public:
    OneDraw(QImage picture, QPointF at) : picture_(std::move(picture)), at_(at) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.drawImage(at_, picture_);
    }

private:
    QImage picture_;
    QPointF at_;
};

template <typename Paint>
double medianMs(Paint paint) {
    std::vector<double> ms;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer timer;
        timer.start();
        paint();
        ms.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    return kavi::bench::median(ms);
}

void report(const char* what, double repaint, double anchor) {
    std::printf("%s: median %.3f ms to repaint over %d runs\n", what, repaint, kRuns);
    std::printf("  one QPainter draw of the screen-size picture: median %.3f ms\n", anchor);
    std::printf("  ratio (repaint / one draw): %.2f  (target: at most 2) %s\n", repaint / anchor,
                repaint / anchor <= 2 ? "met" : "MISSED");
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QImage photo = kavi::bench::photoLikePicture(12000, 9000);
    const kavi::CoverToPaint cover = designedCover(photo);

    // The layout window's way: the cover painter with its cache, on a window-size canvas.
    const QRectF target(8, 8, 960, 640);
    QImage canvas(976, 656, QImage::Format_RGB32);
    kavi::CoverPaintCache cache;
    QElapsedTimer first;
    first.start();
    {
        QPainter painter(&canvas);
        kavi::paintCover(painter, target, cover, &cache);
    }
    std::printf("First paint (the cover composed): %.1f ms\n", double(first.nsecsElapsed()) / 1e6);
    const double painted = medianMs([&] {
        QPainter painter(&canvas);
        kavi::paintCover(painter, target, cover, &cache);
    });
    const QImage screenSize = photo.scaled(960, 640, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const double drawn = medianMs([&] {
        QPainter painter(&canvas);
        painter.drawImage(target.topLeft(), screenSize);
    });
    report("Cover painter (layout window), 960x640", painted, drawn);
    // A drag in the layout window moves the logo: the cover is composed again from the kept scaled
    // copies and the fitted track list.
    kavi::CoverToPaint moved = cover;
    const double recomposed = medianMs([&] {
        moved.design.layers[0].box.left += kavi::Length::fromMillimetres(0.5);
        QPainter painter(&canvas);
        kavi::paintCover(painter, target, moved, &cache);
    });
    std::printf("  composed again after the logo moved: median %.1f ms\n", recomposed);

    // The tab: the picture slot painting itself.
    kavi::PictureSlot slot(QStringLiteral("Image4"), kavi::coverKind(4));
    slot.resize(700, 520);
    slot.setPickedPicture(photo, {});
    slot.setDesign(cover.design, cover.pictures);
    // The slot's own painting, as a repaint inside its window does it (the window has painted its
    // background already).
    QImage tab(slot.size(), QImage::Format_RGB32);
    const auto repaint = [&] { slot.render(&tab, QPoint(), QRegion(), QWidget::RenderFlags()); };
    repaint();
    const double tabPainted = medianMs(repaint);
    const QRectF shown = slot.coverRect();
    const QImage tabSize = photo.scaled(shown.size().toSize(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const double tabDrawn = medianMs([&] {
        QPainter painter(&tab);
        painter.drawImage(shown.topLeft(), tabSize);
    });
    report("Cover tab, 700x520", tabPainted, tabDrawn);
    // The same draw as a widget's repaint, so that both sides pay for the widget's painting.
    OneDraw widget(tabSize, shown.topLeft());
    widget.resize(slot.size());
    const double widgetDrawn = medianMs([&] { widget.render(&tab, QPoint(), QRegion(), QWidget::RenderFlags()); });
    report("Cover tab, 700x520, against a widget that draws the picture once", tabPainted, widgetDrawn);
    // For comparison, the same tab with the cover's picture alone (no design), as before designs.
    slot.setDesign({}, {});
    repaint();
    std::printf("  the same tab without a design: median %.3f ms\n", medianMs(repaint));
    return 0;
}
