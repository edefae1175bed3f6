// SPDX-License-Identifier: GPL-3.0-or-later
// The cover's layout window: further pictures added from files, moved and resized with the mouse
// (proportions kept unless Shift is held, also at the cover's edge), picked topmost first and put
// in order; track lists typed or imported with what was left out named in one notice, and their
// fit and the safe margin said under the cover; and OK putting texts and design into the document
// as one undo step, Cancel changing nothing.
#include "app/background_editor.h"
#include "app/cover_text_canvas.h"
#include "app/cover_text_window.h"
#include "app/layer_panel.h"
#include "app/main_window.h"
#include "app/track_list_dialog.h"
#include "covers/cover_kinds.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_platform.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <gtest/gtest.h>

using namespace kavi;
using kavi::testing::TempFolder;

namespace {

constexpr int kDvd = 4, kCdBack = 3;

QImage filled(int width, int height, QColor colour, bool transparentHalf = false) {
    QImage picture(width, height, QImage::Format_ARGB32);
    picture.fill(colour);
    if (transparentHalf)
        for (int y = 0; y < height; ++y)
            for (int x = width / 2; x < width; ++x) picture.setPixel(x, y, qRgba(0, 0, 0, 0));
    return picture;
}

void mouse(CoverTextCanvas* canvas, QEvent::Type type, QPointF at, Qt::MouseButtons held,
           Qt::KeyboardModifiers keys = Qt::NoModifier) {
    QMouseEvent event(type, at, canvas->mapToGlobal(at), Qt::LeftButton, held, keys);
    QApplication::sendEvent(canvas, &event);
}

void drag(CoverTextCanvas* canvas, QPointF from, QPointF to, Qt::KeyboardModifiers keys = Qt::NoModifier) {
    mouse(canvas, QEvent::MouseButtonPress, from, Qt::LeftButton, keys);
    mouse(canvas, QEvent::MouseMove, to, Qt::LeftButton, keys);
    mouse(canvas, QEvent::MouseButtonRelease, to, Qt::NoButton, keys);
}

class LayoutWindow : public ::testing::Test {
protected:
    QString pictureFile(const QString& name, const QImage& picture) {
        const QString path = dir.file(name);
        EXPECT_TRUE(picture.save(path));
        return path;
    }
    // A window on a cover with a white picture, its Add Picture answered with these files.
    std::unique_ptr<CoverTextWindow> windowAdding(int kind, const QStringList& files) {
        for (const QString& file : files) services.saveDialog.answers.push_back({true, file, 0});
        LayoutCover cover{kind, filled(40, 30, Qt::white), FitMode::Stretch, emptyCoverText(kind), {}, {}};
        auto window = std::make_unique<CoverTextWindow>(cover, services.saveDialog);
        window->show();
        for (int i = 0; i < files.size(); ++i) window->fraLayers->cmdAddPicture_Click();
        return window;
    }
    kavi::testing::TestPlatform services;
    TempFolder dir;
};

// The box's corners in the canvas.
QPointF corner(CoverTextCanvas* canvas, const LengthRect& box, bool right, bool bottom) {
    return canvas->positionOf({right ? box.right() : box.left, bottom ? box.bottom() : box.top});
}

} // namespace

TEST_F(LayoutWindow, APictureIsMovedAndResizedKeepingItsProportionsUnlessShiftIsHeldAlsoPastTheCoversEdge) {
    const auto window = windowAdding(kDvd, {pictureFile(QStringLiteral("logo.png"), filled(300, 150, Qt::blue, true))});
    ASSERT_EQ(window->pictures().size(), 1u);
    EXPECT_EQ(window->pictures()[0].pixels.pixel(250, 10), qRgba(0, 0, 0, 0)) << "the transparency is kept";
    EXPECT_TRUE(window->pictures()[0].originalJpeg.isEmpty());
    ASSERT_EQ(window->design().layers.size(), 1u) << "the texts are over everything, as without a layer";
    CoverTextCanvas* canvas = window->picCoverText;
    const auto box = [&] { return window->design().layers[0].box; };
    EXPECT_NEAR(box().width / box().height, 2, 1e-9) << "a new box has the picture's proportions";

    // Moved by its middle: the same size, 20 mm to the right and 10 mm down.
    const LengthRect before = box();
    const QPointF middle = canvas->positionOf({before.left + before.width / 2, before.top + before.height / 2});
    const double pixelsPerMm = canvas->coverArea().width() / coverKind(kDvd).printSize.width.millimetres();
    drag(canvas, middle, middle + QPointF(20, 10) * pixelsPerMm);
    EXPECT_NEAR((box().left - before.left).millimetres(), 20, 0.2);
    EXPECT_NEAR((box().top - before.top).millimetres(), 10, 0.2);
    EXPECT_EQ(box().width, before.width);

    // The bottom-right corner dragged 30 mm right and only 5 mm down: the proportions are kept.
    const LengthRect moved = box();
    drag(canvas, corner(canvas, moved, true, true), corner(canvas, moved, true, true) + QPointF(30, 5) * pixelsPerMm);
    EXPECT_NEAR(box().width / box().height, 2, 1e-6);
    EXPECT_NEAR((box().width - moved.width).millimetres(), 30, 0.2);
    EXPECT_EQ(box().left, moved.left) << "the opposite corner stays";
    EXPECT_EQ(box().top, moved.top);

    // With Shift, the top-left corner follows the pointer alone: 10 mm left, 15 mm down.
    const LengthRect kept = box();
    drag(canvas, corner(canvas, kept, false, false),
         corner(canvas, kept, false, false) + QPointF(-10, 15) * pixelsPerMm, Qt::ShiftModifier);
    EXPECT_NEAR((kept.width - box().width).millimetres(), -10, 0.2);
    EXPECT_NEAR((kept.height - box().height).millimetres(), 15, 0.2);
    EXPECT_NEAR((box().right() - kept.right()).millimetres(), 0, 1e-6);
    EXPECT_NEAR((box().bottom() - kept.bottom()).millimetres(), 0, 1e-6);

    // Past the cover's right edge, and taken hold of there again (outside the cover) and dragged back.
    const LengthSize size = coverKind(kDvd).printSize;
    const LengthRect freed = box();
    const QPointF edgeCorner = corner(canvas, freed, true, false);
    const QPointF pastEdge(canvas->positionOf({size.width + Length::fromMillimetres(8), Length()}).x(), edgeCorner.y());
    drag(canvas, edgeCorner, pastEdge);
    ASSERT_GT(box().right(), size.width) << "a box may reach past the cover's edge";
    ASSERT_GT(corner(canvas, box(), true, false).x(), canvas->coverArea().right());
    const LengthRect out = box();
    drag(canvas, corner(canvas, out, true, false), corner(canvas, out, true, false) - QPointF(40, 0) * pixelsPerMm);
    EXPECT_NEAR((out.width - box().width).millimetres(), 40, 0.2) << "the corner outside the cover is a handle";
    EXPECT_NEAR(box().width / box().height, out.width / out.height, 1e-6);
    EXPECT_EQ(box().left, out.left);
}

TEST_F(LayoutWindow, AClickPicksTheTopmostAndForwardAndBackChangeTheOrderTheListAndTheDrawing) {
    const auto window = windowAdding(kDvd,
                                     {pictureFile(QStringLiteral("red.png"), filled(200, 100, Qt::red)),
                                      pictureFile(QStringLiteral("blue.png"), filled(100, 100, Qt::blue))});
    CoverTextCanvas* canvas = window->picCoverText;
    LayerPanel* panel = window->fraLayers;
    const auto rows = [panel] {
        QStringList names;
        for (int i = 0; i < panel->lstLayers->count(); ++i) names << panel->lstLayers->item(i)->text();
        return names;
    };
    EXPECT_EQ(rows(), (QStringList{"Background", "Cover picture", "Picture 1", "Picture 2", "Texts"}));
    const LengthRect blue = window->design().layers[1].box;
    const QPointF middle = canvas->positionOf({blue.left + blue.width / 2, blue.top + blue.height / 2});
    const auto shownAtMiddle = [&] { return canvas->grab().toImage().pixelColor(middle.toPoint()); };

    // The red picture selected, a click where both lie picks the blue one drawn over it.
    panel->lstLayers->setCurrentRow(LayerPanel::kFirstLayerRow);
    EXPECT_EQ(canvas->selectedLayer(), std::optional<std::size_t>(0));
    mouse(canvas, QEvent::MouseButtonPress, middle, Qt::LeftButton);
    mouse(canvas, QEvent::MouseButtonRelease, middle, Qt::NoButton);
    EXPECT_EQ(canvas->selectedLayer(), std::optional<std::size_t>(1));
    EXPECT_EQ(panel->selectedLayer(), std::optional<std::size_t>(1)) << "the list follows the cover";
    EXPECT_EQ(shownAtMiddle(), QColor(Qt::blue));

    // Sent back: under the red one in the design, the list and the drawing; still selected.
    panel->cmdBack->click();
    EXPECT_EQ(rows(), (QStringList{"Background", "Cover picture", "Picture 2", "Picture 1", "Texts"}));
    EXPECT_EQ(window->design().layers[1].picture, 0u);
    EXPECT_EQ(panel->selectedLayer(), std::optional<std::size_t>(0));
    EXPECT_EQ(shownAtMiddle(), QColor(Qt::red));
    EXPECT_FALSE(panel->cmdBack->isEnabled()) << "nothing lies under it";
    mouse(canvas, QEvent::MouseButtonPress, middle, Qt::LeftButton);
    mouse(canvas, QEvent::MouseButtonRelease, middle, Qt::NoButton);
    EXPECT_EQ(canvas->selectedLayer(), std::optional<std::size_t>(1)) << "now the red one is on top";

    // Brought forward past the texts: the design keeps its Texts layer, under the picture.
    panel->cmdForward->click();
    EXPECT_EQ(rows(), (QStringList{"Background", "Cover picture", "Picture 2", "Texts", "Picture 1"}));
    ASSERT_EQ(window->design().layers.size(), 3u);
    EXPECT_EQ(window->design().layers[1].type, LayerType::Texts);
    EXPECT_FALSE(panel->cmdForward->isEnabled());

    // Faded and turned: the list says the opacity, the box turns about its middle.
    const LengthRect red = window->design().layers[2].box;
    panel->sldOpacity->setValue(40);
    panel->cmdTurnRight->click();
    const CoverLayer turned = window->design().layers[2];
    EXPECT_DOUBLE_EQ(turned.opacity, 0.4);
    EXPECT_EQ(turned.quarterTurns, 1);
    EXPECT_EQ(turned.box.width, red.height);
    EXPECT_NEAR((turned.box.left + turned.box.width / 2 - red.left - red.width / 2).millimetres(), 0, 1e-9);
    EXPECT_EQ(rows().back(), "Picture 1 (40 %)");
    panel->cmdTurnLeft->click();
    panel->cmdTurnLeft->click();
    EXPECT_EQ(window->design().layers[2].quarterTurns, 3);
}

namespace {

class LayoutInMainWindow : public ::testing::Test {
protected:
    LayoutInMainWindow() {
        window.settingsFile = dir.file("kavi4.ini");
        window.recoveryFolder = dir.file("recovery");
        window.Form_Load();
        undo = window.findChild<QAction*>(QStringLiteral("Undo"));
    }
    ~LayoutInMainWindow() override { window.Form_Unload(); }
    // The layout window opened on the DVD cover, edited by `edit`, then closed with OK or Cancel.
    void editLayout(std::function<void(CoverTextWindow&)> edit, bool ok) {
        QTimer::singleShot(0, [edit, ok] {
            auto* layout = qobject_cast<CoverTextWindow*>(QApplication::activeModalWidget());
            ASSERT_TRUE(layout);
            edit(*layout);
            if (ok) layout->accept();
            else layout->reject();
        });
        window.Text_Click(kDvd);
    }
    QString pictureFile(const QString& name, const QImage& picture) {
        const QString path = dir.file(name);
        EXPECT_TRUE(picture.save(path));
        return path;
    }
    kavi::testing::TestPlatform services;
    TempFolder dir;
    MainWindow window{services.platform};
    QAction* undo = nullptr;
};

} // namespace

TEST_F(LayoutInMainWindow, OkPutsTextsAndDesignInAsOneStepThatUndoBringsBackWholeAndCancelChangesNothing) {
    ASSERT_TRUE(undo);
    const Kind dvd(kDvd);
    CoverDocument& document = window.document();
    // A first design: a red picture over a gradient.
    services.saveDialog.answers.push_back({true, pictureFile(QStringLiteral("red.png"), filled(60, 30, Qt::red)), 0});
    editLayout(
        [](CoverTextWindow& layout) {
            layout.fraLayers->cmdAddPicture_Click();
            layout.fraBackground->cboBackground->setCurrentIndex(2);
            emit layout.fraBackground->cboBackground->activated(2);
        },
        true);
    const CoverDesign first = document.design(dvd);
    ASSERT_EQ(first.layers.size(), 1u);
    EXPECT_EQ(first.background.fill, BackgroundFill::Gradient);
    ASSERT_EQ(document.designPictureCount(dvd), 1u);
    EXPECT_EQ(document.designPixels(dvd, 0).pixelColor(5, 5), QColor(Qt::red));

    // The second: a blue picture under the red one, the red one moved over the texts, a title, a
    // plain colour.
    services.saveDialog.answers.push_back({true, pictureFile(QStringLiteral("blue.jpg"), filled(50, 50, Qt::blue)), 0});
    editLayout(
        [](CoverTextWindow& layout) {
            layout.fraLayers->cmdAddPicture_Click(); // picture 2, over picture 1, selected
            layout.fraLayers->cmdBack_Click(); // under it
            layout.fraLayers->lstLayers->setCurrentRow(LayerPanel::kFirstLayerRow + 1); // picture 1
            layout.fraLayers->cmdForward_Click(); // over the texts
            layout.fraBackground->cboBackground->setCurrentIndex(1);
            emit layout.fraBackground->cboBackground->activated(1);
            layout.txtTitle->setText(QStringLiteral("Night"));
            emit layout.txtTitle->textEdited(QStringLiteral("Night"));
        },
        true);
    const CoverDesign second = document.design(dvd);
    ASSERT_EQ(second.layers.size(), 3u);
    EXPECT_EQ(second.layers[1].type, LayerType::Texts);
    ASSERT_EQ(document.designPictureCount(dvd), 2u);
    const QColor lower = document.designPixels(dvd, second.layers[0].picture).pixelColor(5, 5);
    EXPECT_TRUE(lower.blue() > 240 && lower.red() < 20) << "the lower picture is the blue one";
    EXPECT_EQ(document.designPixels(dvd, second.layers[2].picture).pixelColor(5, 5), QColor(Qt::red));
    EXPECT_FALSE(document.designPicture(dvd, second.layers[0].picture).uneditedOriginalJpeg().isEmpty())
        << "the JPEG's bytes kept for printing as they are";
    EXPECT_EQ(document.text(dvd).title.text, "Night");

    // Cancel, after changing everything: nothing changes, and no undo step is added.
    const QString undoCaption = undo->text();
    services.saveDialog.answers.push_back({true, pictureFile(QStringLiteral("green.png"), filled(9, 9, Qt::green)), 0});
    editLayout(
        [](CoverTextWindow& layout) {
            layout.fraLayers->cmdAddPicture_Click();
            layout.fraLayers->lstLayers->setCurrentRow(LayerPanel::kFirstLayerRow);
            layout.fraLayers->cmdRemoveLayer_Click();
            layout.txtTitle->setText(QStringLiteral("Day"));
            emit layout.txtTitle->textEdited(QStringLiteral("Day"));
        },
        false);
    EXPECT_EQ(document.design(dvd), second);
    EXPECT_EQ(document.designPictureCount(dvd), 2u);
    EXPECT_EQ(document.text(dvd).title.text, "Night");
    EXPECT_EQ(undo->text(), undoCaption);
    // OK without a change adds no step either.
    editLayout([](CoverTextWindow&) {}, true);
    EXPECT_EQ(document.design(dvd), second);

    // One Undo brings back the whole first design: its layer, picture, background and the old title.
    undo->trigger();
    EXPECT_EQ(document.design(dvd), first);
    ASSERT_EQ(document.designPictureCount(dvd), 1u);
    EXPECT_EQ(document.designPixels(dvd, 0).pixelColor(5, 5), QColor(Qt::red));
    EXPECT_EQ(document.text(dvd).title.text, "");
}

namespace {

// Silence as a WAV file: 8000 samples a second, mono, 16 bits.
QByteArray silence(int seconds) {
    const auto le = [](quint32 v, int bytes) {
        QByteArray b;
        for (int i = 0; i < bytes; ++i) b += char(v >> (8 * i) & 0xFF);
        return b;
    };
    const quint32 data = quint32(seconds) * 16000;
    return "RIFF" + le(36 + data, 4) + "WAVEfmt " + le(16, 4) + le(1, 2) + le(1, 2) + le(8000, 4) + le(16000, 4) +
        le(2, 2) + le(16, 2) + "data" + le(data, 4) + QByteArray(int(data), '\0');
}

std::vector<Track> tracksOf(int count, const std::string& name) {
    std::vector<Track> tracks;
    for (int i = 1; i <= count; ++i) tracks.push_back({i, name + " " + std::to_string(i), "The Players", 180.0 + i});
    return tracks;
}

} // namespace

TEST_F(LayoutWindow, ATrackListImportedFromAFolderAndTypedNamesEveryProblemInOneNotice) {
    const QString folder = dir.file(QStringLiteral("album"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const auto write = [&](const QString& name, const QByteArray& bytes) {
        QFile file(folder + QLatin1Char('/') + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    };
    write(QStringLiteral("01 Morning.wav"), silence(2));
    write(QStringLiteral("02 Broken.flac"), QByteArray("not audio at all"));
    write(QStringLiteral("03 Evening.wav"), silence(3));
    // The folder chosen by one of its files, with the folder filter.
    services.saveDialog.answers.push_back({true, folder + QStringLiteral("/01 Morning.wav"), 2});
    TrackListDialog dialog({}, services.saveDialog);
    dialog.show();
    dialog.cmdImport->click();
    std::vector<Track> tracks = dialog.tracks();
    ASSERT_EQ(tracks.size(), 2u);
    EXPECT_EQ(tracks[0].title, "01 Morning");
    EXPECT_EQ(tracks[1].number, 2) << "numbered in the folder's order, the unreadable file left out";
    EXPECT_EQ(tracks[1].seconds, std::optional<double>(3));
    EXPECT_TRUE(dialog.lblProblems->isVisible());
    EXPECT_TRUE(dialog.lblProblems->text().contains(QStringLiteral("02 Broken.flac")));

    // A typed line with no title joins the file in the same notice; the good typed line is kept.
    dialog.txtTracks->appendPlainText(QStringLiteral("4:05\nNoon - Guest 2:30"));
    const QString notice = dialog.lblProblems->text();
    EXPECT_TRUE(notice.contains(QStringLiteral("02 Broken.flac"))) << notice.toStdString();
    EXPECT_TRUE(notice.contains(QStringLiteral("line 3"))) << notice.toStdString();
    tracks = dialog.tracks();
    ASSERT_EQ(tracks.size(), 3u);
    EXPECT_EQ(tracks[2].title, "Noon");
    EXPECT_EQ(tracks[2].artist, "Guest");
    EXPECT_EQ(tracks[2].number, 3);
}

TEST_F(LayoutWindow, AFortyLineListThatCannotFitSaysSoAndTheSafeMarginIsMarkedOnTheCdBack) {
    // A list of 40 tracks in a small box in the CD Back's corner, reaching into the safe margin.
    CoverLayer list;
    list.type = LayerType::TrackList;
    list.tracks = tracksOf(40, "Song");
    list.style.sizePoints = 8;
    list.box = {Length::fromMillimetres(1), Length::fromMillimetres(10), Length::fromMillimetres(40),
                Length::fromMillimetres(20)};
    LayoutCover cover{kCdBack, filled(40, 30, Qt::white), FitMode::Stretch, emptyCoverText(kCdBack), {}, {}};
    cover.design.layers = {list};
    CoverTextWindow window(cover, services.saveDialog);
    window.show();
    const std::string expected = trackListFitNotice(fitTrackListLayer(list));
    ASSERT_FALSE(expected.empty());
    EXPECT_TRUE(window.lblTrackListFit->isVisible());
    EXPECT_EQ(window.lblTrackListFit->text().toStdString(), expected);
    // 1 mm from the left edge: 2 mm past the 3 mm margin, and 5.5 mm of it left of the end strip's fold.
    EXPECT_EQ(window.lblSafeMargin->text(),
              QStringLiteral("The track list crosses the safe margin by 2.0 mm.\n"
                             "The track list crosses the fold by 5.5 mm."));
    EXPECT_TRUE(window.lblOverhang->isHidden()) << "no text runs past the edge";
    EXPECT_FALSE(window.txtEndStrips->isHidden()) << "the CD Back has end strips";

    // Dragged into the middle and made large by its corner: it fits, inside the safe margin.
    CoverTextCanvas* canvas = window.picCoverText;
    window.fraLayers->lstLayers->setCurrentRow(LayerPanel::kFirstLayerRow);
    const LengthSize size = coverKind(kCdBack).printSize;
    const QPointF from = canvas->positionOf({Length::fromMillimetres(20), Length::fromMillimetres(20)});
    drag(canvas, from, canvas->positionOf({Length::fromMillimetres(40), Length::fromMillimetres(30)}));
    const LengthRect moved = window.design().layers[0].box;
    drag(canvas, corner(canvas, moved, true, true),
         canvas->positionOf({size.width - Length::fromMillimetres(12), size.height - Length::fromMillimetres(6)}),
         Qt::ShiftModifier);
    EXPECT_TRUE(window.lblTrackListFit->isHidden()) << window.lblTrackListFit->text().toStdString();
    EXPECT_TRUE(window.lblSafeMargin->isHidden()) << window.lblSafeMargin->text().toStdString();

    // Its end strips take a text; a title across the fold of a DVD is marked apart from its overhang.
    window.txtEndStrips->setText(QStringLiteral("Songs of the Night"));
    emit window.txtEndStrips->textEdited(QStringLiteral("Songs of the Night"));
    EXPECT_EQ(window.design().endStrips.text, "Songs of the Night");
    CoverText text = emptyCoverText(kDvd);
    text.title.text = "Wide";
    text.title.anchor.x = coverKind(kDvd).printSize.width / 2 + spineWidthOf(kDvd) / 2; // on the fold
    CoverTextWindow dvd(kDvd, filled(40, 30, Qt::white), FitMode::Stretch, text);
    dvd.show();
    EXPECT_TRUE(dvd.lblSafeMargin->text().startsWith(QStringLiteral("The title crosses the fold by ")))
        << dvd.lblSafeMargin->text().toStdString();
    EXPECT_TRUE(dvd.txtEndStrips->isHidden());
}
