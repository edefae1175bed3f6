// SPDX-License-Identifier: GPL-3.0-or-later
// The cover tabs: each cover in its real proportions with its fit control and "Text..." button,
// what printing reads of the fit modes, pictures with transparent parts, text that runs past the
// cover's edge (cut off in the tab, marked in the cover text window, which shows the cover as the
// tab does), and saving a cover's picture through the Scan tab's save flow.
#include "app/cover_text_canvas.h"
#include "app/cover_text_window.h"
#include "app/main_window.h"
#include "app/picture_slot.h"
#include "app/tab_strip.h"
#include "covers/cover_kinds.h"
#include "coverset/cover_set_file.h"
#include "output/scan/scan_tab.h"
#include "platform/imaging/picture_loader.h"
#include "render/cover_text_layout.h"
#include "tests/support/test_platform.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace kavi;

namespace {

class CoverTabs : public ::testing::Test {
protected:
    CoverTabs() {
        window.settingsFile = settings.filePath("kavi4.ini");
        window.Form_Load();
    }
    ~CoverTabs() override { window.Form_Unload(); }
    // A control beside the slot on its tab page, in the slot's own coordinates.
    QRect inSlot(QWidget* w, int n) { return w->geometry().translated(-window.Image(n)->pos()); }
    // The user picks a fit mode in the cover's control.
    void choose(int n, int index) {
        window.cboFit(n)->setCurrentIndex(index);
        emit window.cboFit(n)->activated(index);
    }

    QTemporaryDir settings;
    kavi::testing::TestPlatform services;
    MainWindow window{services.platform};
};

QImage filled(int w, int h, QColor colour, const char* slotText = "") {
    QImage picture(w, h, QImage::Format_RGB32);
    picture.fill(colour);
    picture.setText("slot", slotText);
    return picture;
}

} // namespace

TEST_F(CoverTabs, EachCoverShowsInItsRealProportionsAboveItsFitControl) {
    window.show();
    for (const CoverKind& kind : kCoverKinds) {
        const int n = kind.number;
        window.SSTab1->setCurrentIndex(kind.tabIndex);
        PictureSlot* slot = window.Image(n);
        const QRectF cover = slot->coverRect();
        const double real = kind.printSize.width / kind.printSize.height;
        EXPECT_NEAR(cover.width() / cover.height(), real, real * 0.005) << kind.tabCaption;
        EXPECT_NEAR(cover.center().x(), slot->width() / 2.0, 0.5) << kind.tabCaption << " centred across";
        const QRect control = inSlot(window.cboFit(n), n);
        EXPECT_TRUE(slot->rect().contains(control)) << kind.tabCaption << " inside the frame";
        EXPECT_FALSE(cover.intersects(QRectF(control))) << kind.tabCaption << " never over the cover";
        EXPECT_EQ(window.fitMode(n), FitMode::Stretch) << "Stretch stays the default";
    }
    // A click in the frame beside the square Front cover still selects it.
    window.SSTab1->setCurrentIndex(0);
    ASSERT_GT(window.Image(1)->coverRect().left(), 20);
    QTest::mouseClick(window.Image(1), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(window.SelectedImage, "Image1");
}

TEST_F(CoverTabs, TheTabShowsThePictureAsItsFitModePlacesIt) {
    window.show();
    PictureSlot* front = window.Image(1);
    QImage wide(400, 100, QImage::Format_RGB32); // four times wider than the square cover
    wide.fill(Qt::blue);
    front->setPicture(wide);
    choose(1, 2); // Fit: a band across the middle of the cover, the rest paper
    const QRectF cover = front->coverRect();
    EXPECT_NEAR(front->currentLayout().target.height(), cover.height() / 4, 1e-6);
    const QImage shown = front->grab().toImage();
    EXPECT_EQ(shown.pixelColor(cover.center().toPoint()), QColor(Qt::blue));
    EXPECT_EQ(shown.pixelColor(QPoint(int(cover.center().x()), int(cover.top() + 5))), QColor(Qt::white));
    choose(1, 1); // Fill: the middle quarter of the picture over the whole cover
    EXPECT_EQ(front->currentLayout().target, cover);
    EXPECT_NEAR(front->currentLayout().source.left(), 150, 1e-6);
}

TEST_F(CoverTabs, TheUsersFitChoiceReachesPrintingAndIsAnnouncedSettingItIsNot) {
    QSignalSpy changed(&window, &MainWindow::fitModeChanged);
    choose(4, 1); // DVD: Fill
    EXPECT_EQ(window.fitMode(4), FitMode::Fill);
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.at(0).at(0).toInt(), 4);

    window.setFitMode(7, FitMode::Fit);
    EXPECT_EQ(window.cboFit(7)->currentText(), "Fit");
    EXPECT_EQ(changed.count(), 1) << "a set fit mode is not the user's change";

    EXPECT_EQ(window.printSelection().fitModes[6], FitMode::Fit);
    // Printed, the filled DVD picture is drawn larger than its cover and cut off at the cover.
    window.Image(4)->setPicture(filled(400, 100, Qt::blue, "dvd"));
    window.Check(4)->click();
    window.cmdPrint_Click();
    const std::vector<QString> expected = {"follow 1",      "paper 5",
                                           "orientation 2", "draw dvd -12825,0 41040x10260 clip 0,0 15390x10260",
                                           "end document",  "paper 1"};
    EXPECT_EQ(services.printer.ops, expected);
}

TEST_F(CoverTabs, SaveCoverPictureAsWritesTheShowingCoverOrSaysWhyNot) {
    QAction* save = window.File->findChild<QAction*>("SaveCoverPictureAs");
    ASSERT_NE(save, nullptr);
    const auto menuOpens = [&] { emit window.File->aboutToShow(); };

    window.SSTab1->setCurrentIndex(3);
    menuOpens();
    EXPECT_FALSE(save->isEnabled()) << "no picture in the DVD cover";
    window.SaveCoverPictureAs_Click();
    ASSERT_EQ(services.messages.shown.size(), 1u);
    EXPECT_EQ(services.messages.shown[0].text, "The DVD cover has no picture to save yet.");

    QImage edited = filled(24, 16, QColor(10, 200, 30));
    edited.setPixel(3, 2, qRgb(250, 0, 0));
    window.Image(4)->setPicture(edited);
    menuOpens();
    EXPECT_TRUE(save->isEnabled());
    QTemporaryDir out;
    const QString file = out.filePath("dvd-cover.BMP");
    services.saveDialog.answers.push_back({true, file, 0});
    save->trigger();
    ASSERT_EQ(services.messages.shown.size(), 2u);
    EXPECT_EQ(services.messages.shown[1].text, "File Saved");
    EXPECT_EQ(QImage(file).convertToFormat(QImage::Format_RGB32), edited.convertToFormat(QImage::Format_RGB32));

    window.SSTab1->setCurrentIndex(kScanTabIndex);
    menuOpens();
    EXPECT_FALSE(save->isEnabled()) << "the Scan tab saves with its own button";
    window.SaveCoverPictureAs_Click();
    EXPECT_NE(services.messages.shown.at(2).text.indexOf("Save button of the Scan tab"), -1);
    EXPECT_EQ(services.saveDialog.asked.size(), 1u) << "no dialog for it";
}

namespace {

constexpr int kDvd = 4;

// Red, then blue, then green, in bands of 100, 100 and 200 columns: four times wider than high.
QImage threeBands() {
    QImage picture(400, 100, QImage::Format_RGB32);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 400; ++x)
            picture.setPixel(x, y, x < 100 ? qRgb(200, 0, 0) : x < 200 ? qRgb(0, 0, 200) : qRgb(0, 160, 0));
    return picture;
}

// The colour at a point of a cover given in fractions of its width and height.
QColor colourAt(const QImage& shown, const QRectF& cover, double fx, double fy) {
    return shown.pixelColor(int(cover.left() + fx * cover.width()), int(cover.top() + fy * cover.height()));
}

// A logo of three bands: opaque red, blue at half coverage, and black that no one may see.
QImage logo() {
    QImage picture(600, 200, QImage::Format_ARGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y,
                             x < 200       ? qRgba(200, 0, 0, 255)
                                 : x < 400 ? qRgba(0, 0, 255, 128)
                                           : qRgba(0, 0, 0, 0));
    return picture;
}

// Full blocks, which join without gaps: the ink runs unbroken to wherever it is cut.
std::string blocks(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += "\xE2\x96\x88";
    return text;
}

} // namespace

TEST_F(CoverTabs, TheTextButtonNeverLiesOverTheCoverOrTheFitControlOnAnyKind) {
    window.show();
    for (const CoverKind& kind : kCoverKinds) {
        const int n = kind.number;
        window.SSTab1->setCurrentIndex(kind.tabIndex);
        window.Image_Click(n); // selected: the frame around the cover is drawn too
        PictureSlot* slot = window.Image(n);
        const QRect button = inSlot(window.cmdText(n), n);
        const QRectF framed = slot->coverRect().adjusted(-3, -3, 3, 3);
        EXPECT_FALSE(framed.intersects(QRectF(button))) << kind.tabCaption << " never over the cover or its frame";
        EXPECT_TRUE(slot->rect().contains(button)) << kind.tabCaption << " inside the slot's frame";
        EXPECT_FALSE(button.intersects(inSlot(window.cboFit(n), n))) << kind.tabCaption;
        const auto* label = window.findChild<QLabel*>(QStringLiteral("lblFit%1").arg(n));
        ASSERT_NE(label, nullptr);
        EXPECT_FALSE(button.intersects(inSlot(const_cast<QLabel*>(label), n))) << kind.tabCaption;
        EXPECT_TRUE(window.cmdText(n)->isVisible()) << kind.tabCaption;
        EXPECT_GE(button.width(), window.cmdText(n)->sizeHint().width()) << kind.tabCaption << " its caption shows";
    }
}

TEST_F(CoverTabs, TheTextWindowShowsThePictureWhereTheTabsFitModePutsIt) {
    window.show();
    window.SSTab1->setCurrentIndex(kDvd - 1);
    window.Image(kDvd)->setPicture(threeBands());
    struct Point {
        double fx, fy;
    };
    // Fit: the whole picture in a band across the middle, paper above it. Fill: the middle 150
    // columns over the whole cover, blue then green, no red (Stretch would show red on the left).
    for (const FitMode fit : {FitMode::Fit, FitMode::Fill}) {
        window.setFitMode(kDvd, fit);
        CoverTextWindow text(kDvd, window.Image(kDvd)->picture(), window.fitMode(kDvd), emptyCoverText(kDvd));
        text.show();
        const QImage shownInWindow = text.picCoverText->grab().toImage();
        const QImage shownInTab = window.Image(kDvd)->grab().toImage();
        const QRectF inWindow = text.picCoverText->coverArea(), inTab = window.Image(kDvd)->coverRect();
        // (Away from the bands' edges, where the smoothing of the two scales differs.)
        for (const Point p : {Point{0.6, 0.1}, Point{0.1, 0.5}, Point{0.4, 0.5}, Point{0.9, 0.5}, Point{0.6, 0.9}})
            EXPECT_EQ(colourAt(shownInWindow, inWindow, p.fx, p.fy), colourAt(shownInTab, inTab, p.fx, p.fy))
                << "fit " << int(fit) << " at " << p.fx << ", " << p.fy;
        if (fit == FitMode::Fit) {
            EXPECT_EQ(colourAt(shownInWindow, inWindow, 0.6, 0.1), QColor(Qt::white)) << "paper above the picture";
            EXPECT_EQ(colourAt(shownInWindow, inWindow, 0.1, 0.5), QColor(200, 0, 0));
        } else {
            EXPECT_EQ(colourAt(shownInWindow, inWindow, 0.1, 0.1), QColor(0, 0, 200)) << "no red: filled";
            EXPECT_EQ(colourAt(shownInWindow, inWindow, 0.9, 0.5), QColor(0, 160, 0));
        }
    }
}

TEST_F(CoverTabs, APictureKeepsItsTransparencyAndShowsOnWhitePaperInTheTabAndTheTextWindow) {
    QTemporaryDir dir;
    const QString file = dir.filePath("logo.png");
    ASSERT_TRUE(logo().save(file));
    PictureLoad loaded = loadPictureFile(file);
    ASSERT_EQ(loaded.status, PictureStatus::Loaded);
    window.show();
    window.SSTab1->setCurrentIndex(kDvd - 1);
    window.Image(kDvd)->setPickedPicture(loaded.picture, loaded.originalJpeg);
    window.setFitMode(kDvd, FitMode::Fill); // the middle half of the logo shows
    const QImage& kept = window.Image(kDvd)->picture();
    EXPECT_TRUE(kept.hasAlphaChannel()) << "the cover's picture keeps its transparency";
    EXPECT_EQ(kept.pixel(500, 100), qRgba(0, 0, 0, 0));
    EXPECT_EQ(window.printSelection().pictures[kDvd - 1].pixel(300, 100), qRgba(0, 0, 255, 128))
        << "printing gets the picture itself, and lays it on paper when drawing";
    const QString setFile = dir.filePath("logo.kavi");
    ASSERT_EQ(saveCoverSetFile(setFile, window.currentCoverSet()), 0);
    const CoverSetReading reopened = loadCoverSetFile(setFile);
    ASSERT_TRUE(reopened.set);
    EXPECT_EQ(reopened.set->cover(kDvd).picture.image().pixel(300, 100), qRgba(0, 0, 255, 128))
        << "a cover set keeps it";

    CoverTextWindow text(kDvd, kept, window.fitMode(kDvd), emptyCoverText(kDvd));
    text.show();
    const QImage inTab = window.Image(kDvd)->grab().toImage();
    const QImage inWindow = text.picCoverText->grab().toImage();
    for (const auto& [shown, cover, where] : {std::tuple{inTab, window.Image(kDvd)->coverRect(), "tab"},
                                              std::tuple{inWindow, text.picCoverText->coverArea(), "text window"}}) {
        EXPECT_EQ(colourAt(shown, cover, 0.9, 0.5), QColor(Qt::white)) << where << ": no black box";
        const QColor half = colourAt(shown, cover, 0.5, 0.5);
        EXPECT_NEAR(half.red(), 127, 3) << where << ": half blue over white";
        EXPECT_NEAR(half.green(), 127, 3) << where;
        EXPECT_EQ(half.blue(), 255) << where;
        EXPECT_EQ(colourAt(shown, cover, 0.05, 0.5), QColor(200, 0, 0)) << where;
    }
}

TEST_F(CoverTabs, TheTabCutsTextOffAtTheCoversEdge) {
    window.show();
    window.SSTab1->setCurrentIndex(kDvd - 1);
    QImage white(30, 20, QImage::Format_RGB32);
    white.fill(Qt::white);
    window.Image(kDvd)->setPicture(white);
    CoverText text = emptyCoverText(kDvd);
    text.title.text = blocks(20); // wider than the front at 32 points
    text.title.style.sizePoints = 32;
    window.setCoverText(kDvd, text);
    const QImage shown = window.Image(kDvd)->grab().toImage();
    const QRectF cover = window.Image(kDvd)->coverRect();
    int lastDark = -1;
    for (int y = int(cover.top() + 0.05 * cover.height()); y < int(cover.top() + 0.25 * cover.height()); ++y)
        for (int x = int(cover.center().x()); x < shown.width(); ++x)
            if (qGray(shown.pixel(x, y)) < 100) lastDark = std::max(lastDark, x);
    EXPECT_LE(lastDark, int(std::ceil(cover.right()))) << "nothing of the title past the cover";
    EXPECT_GE(lastDark, int(cover.right()) - 2) << "the title reaches the edge";
}

TEST_F(CoverTabs, TheTextWindowMarksTextThatRunsPastTheEdgeAndSaysHowFar) {
    CoverText text = emptyCoverText(kDvd);
    text.title.text = "The Long Summer Holidays"; // wider than the front at 32 points
    text.title.style.sizePoints = 32;
    text.spine.text = "Spine"; // on the cover: not marked
    CoverTextWindow window(kDvd, threeBands(), FitMode::Fit, text);
    window.show();
    std::vector<TextOverhang> overhangs = window.picCoverText->overhangs();
    ASSERT_EQ(overhangs.size(), 1u);
    EXPECT_EQ(overhangs[0].ref, kTitleRef);

    // How far, measured apart: the title moved 40 mm onto the cover and drawn at 600 dpi, its last
    // inked column found; moved back, that column lies this far past the cover's right edge.
    const Length moved = Length::fromMillimetres(40);
    CoverText inside;
    inside.title = text.title;
    inside.title.anchor.x = text.title.anchor.x - moved;
    const std::vector<TextOverlay> drawn = renderTextOverlays(kDvd, inside, 600);
    ASSERT_EQ(drawn.size(), 1u);
    const QImage& letters = drawn[0].image;
    int lastColumn = -1;
    for (int y = 0; y < letters.height(); ++y)
        for (int x = 0; x < letters.width(); ++x)
            if (qAlpha(letters.pixel(x, y)) > 0) lastColumn = std::max(lastColumn, x);
    ASSERT_LT(lastColumn, letters.width() - 1) << "the moved title lies wholly on the cover";
    const Length inkRight = drawn[0].rect.left + drawn[0].rect.width * (double(lastColumn + 1) / letters.width());
    const Length expected = inkRight + moved - coverKind(kDvd).printSize.width;
    ASSERT_GT(expected.millimetres(), 3);
    EXPECT_NEAR(overhangs[0].by.millimetres(), expected.millimetres(), 0.1);

    // The line under the cover says it, to a tenth of a millimetre.
    ASSERT_FALSE(window.lblOverhang->isHidden());
    const QRegularExpressionMatch said = QRegularExpression(R"(^The title runs (\d+\.\d) mm past the cover's edge\.$)")
                                             .match(window.lblOverhang->text());
    ASSERT_TRUE(said.hasMatch()) << window.lblOverhang->text().toStdString();
    EXPECT_NEAR(said.captured(1).toDouble(), expected.millimetres(), 0.1);

    // The red outline runs around the title's ink, out past the cover's edge; the canvas takes it
    // in whole.
    CoverTextCanvas* canvas = window.picCoverText;
    const QImage shown = canvas->grab().toImage();
    const LengthRect& ink = overhangs[0].ink;
    const QPointF inkTopRight = canvas->positionOf({ink.right(), ink.top});
    const int pastCover = int(canvas->coverArea().right()) + 3;
    ASSERT_GT(int(inkTopRight.x()), pastCover);
    EXPECT_LT(inkTopRight.x() + 4, shown.width()) << "the whole outline shows";
    int red = 0;
    for (int x = pastCover; x < std::min(int(inkTopRight.x()), shown.width()); ++x)
        for (int y = int(inkTopRight.y()) - 5; y <= int(inkTopRight.y()); ++y)
            red += shown.pixelColor(x, y) == QColor(220, 30, 30);
    EXPECT_GT(red, 0) << "the outline's top edge beside the cover";

    // The spine text dragged down to the cover's bottom runs past it: a turned text, its own line
    // after the title's.
    const QPointF from = canvas->positionOf(text.spine.anchor);
    const QPointF to(from.x(), canvas->coverArea().bottom() + 40);
    const auto mouse = [canvas](QEvent::Type type, QPointF at, Qt::MouseButtons held) {
        QMouseEvent event(type, at, canvas->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
        QApplication::sendEvent(canvas, &event);
    };
    mouse(QEvent::MouseButtonPress, from, Qt::LeftButton);
    mouse(QEvent::MouseMove, to, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, to, Qt::NoButton);
    EXPECT_EQ(window.text().spine.anchor.y, coverKind(kDvd).printSize.height) << "held to the cover";
    overhangs = canvas->overhangs();
    ASSERT_EQ(overhangs.size(), 2u);
    EXPECT_EQ(overhangs[1].ref, kSpineRef);
    EXPECT_NEAR(overhangs[1].by.millimetres(),
                (overhangs[1].ink.bottom() - coverKind(kDvd).printSize.height).millimetres(), 1e-9)
        << "past the bottom, the turned text's farthest side";
    EXPECT_GT(overhangs[1].by.millimetres(), 4);
    EXPECT_TRUE(window.lblOverhang->text().contains("\nThe spine text runs "))
        << window.lblOverhang->text().toStdString();

    // Short titles fit: the title's line and outline go.
    window.txtTitle->setText("Summer");
    emit window.txtTitle->textEdited("Summer");
    overhangs = window.picCoverText->overhangs();
    ASSERT_EQ(overhangs.size(), 1u);
    EXPECT_EQ(overhangs[0].ref, kSpineRef);
    EXPECT_TRUE(window.lblOverhang->text().startsWith("The spine text runs "));
}

// A tab whose cover has a design paints it whole: the background shows through the transparent half
// of the cover's picture, the selection frame still goes round the cover, and a plain design gives
// the paper back. The slot follows the document's design of its cover, and of no other cover.
TEST(CoverTabDesign, SlotShowsItsBackgroundThroughTheSelectedPictureUntilTheDesignIsPlainAgain) {
    CoverDocument document;
    PictureSlot slot(QStringLiteral("Image3"), coverKind(3), document);
    slot.resize(420, 340);
    QImage picture(80, 40, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    for (int y = 0; y < 40; ++y)
        for (int x = 40; x < 80; ++x) picture.setPixel(x, y, qRgb(0, 0, 0));
    slot.setPickedPicture(picture, {});
    slot.setSelected(true);
    document.setBackground(Kind(3), {BackgroundFill::Colour, 0x3060C0, 0, 0});
    document.setBackground(Kind(4), {BackgroundFill::Colour, 0xC00000, 0, 0});

    const QRectF cover = slot.coverRect();
    const QPoint clearHalf(int(cover.left() + cover.width() / 4), int(cover.center().y()));
    const QPoint darkHalf(int(cover.left() + cover.width() * 3 / 4), int(cover.center().y()));
    QImage shown = slot.grab().toImage();
    EXPECT_EQ(shown.pixelColor(clearHalf), QColor(0x30, 0x60, 0xC0));
    EXPECT_EQ(shown.pixelColor(darkHalf), QColor(0, 0, 0));
    const QColor frame = shown.pixelColor(int(cover.left()) - 2, int(cover.center().y()));
    EXPECT_EQ(frame, slot.palette().color(QPalette::Highlight)) << "the selection frame is drawn round the cover";

    document.setBackground(Kind(3), CoverBackground{});
    shown = slot.grab().toImage();
    EXPECT_EQ(shown.pixelColor(clearHalf), QColor(Qt::white)) << "paper under the transparent half, as before";
    EXPECT_EQ(shown.pixelColor(darkHalf), QColor(0, 0, 0));
}

// A designed cover's tab shows the safe margin as a dashed line inset by the document's margin, and
// follows a changed margin; the tab of a plain cover stays as it was, without the line.
TEST(CoverTabDesign, TheSafeLineShowsOnlyOnADesignedCoverAtTheDocumentsMargin) {
    CoverDocument document;
    PictureSlot slot(QStringLiteral("Image3"), coverKind(3), document);
    slot.resize(420, 340);
    const QColor blue(0x30, 0x60, 0xC0);
    const LengthSize size = coverKind(3).printSize;
    // Whether a row of the tab, `margin` below the cover's top, holds anything other than `ground`
    // across the middle half of the cover (the line is dashed).
    const auto lineAt = [&](Length margin, QColor ground) {
        const QRectF cover = slot.coverRect();
        const QImage shown = slot.grab().toImage();
        const double y = cover.top() + margin.points() * cover.height() / size.height.points();
        for (int row = int(y) - 1; row <= int(y) + 1; ++row)
            for (int x = int(cover.left() + cover.width() / 4); x < int(cover.right() - cover.width() / 4); ++x)
                if (shown.pixelColor(x, row) != ground) return true;
        return false;
    };
    const Length three = Length::fromMillimetres(3), ten = Length::fromMillimetres(10);
    EXPECT_FALSE(lineAt(three, Qt::white)) << "a plain cover's tab has no line";

    document.setBackground(Kind(3), {BackgroundFill::Colour, 0x3060C0, 0, 0});
    EXPECT_TRUE(lineAt(three, blue)) << "the line lies at the default 3 mm";
    EXPECT_FALSE(lineAt(ten, blue));

    document.setSafeMargin(ten);
    slot.update();
    EXPECT_TRUE(lineAt(ten, blue)) << "the line follows the document's margin";
    EXPECT_FALSE(lineAt(three, blue));
}
