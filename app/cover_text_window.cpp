// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/cover_text_window.h"

#include "app/background_editor.h"
#include "app/cover_text_canvas.h"
#include "app/layer_panel.h"
#include "coverset/cover_design_rules.h"
#include "platform/desktop/save_dialog.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFontComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kavi {

namespace {

QString colourName(std::uint32_t rgb) { return QStringLiteral("#%1").arg(rgb & 0xFFFFFF, 6, 16, QLatin1Char('0')); }

std::optional<std::uint32_t> colourOfName(const QString& name) {
    const QColor colour = QColor::fromString(name.trimmed());
    if (!colour.isValid()) return std::nullopt;
    return std::uint32_t(colour.rgb() & 0xFFFFFF);
}

// Writes what the user types into a text, cut to the longest a text may be.
void setText(TextBox& box, const QString& text) {
    std::string utf8 = text.toStdString();
    if (utf8.size() > kLongestText) utf8.resize(kLongestText);
    box.text = std::move(utf8);
}

} // namespace

namespace {

QtSaveDialog& desktopFileDialog() {
    static QtSaveDialog dialog;
    return dialog;
}

} // namespace

CoverTextWindow::CoverTextWindow(int kind, QImage picture, FitMode fit, CoverText text, QWidget* parent)
    : CoverTextWindow(LayoutCover{kind, std::move(picture), fit, std::move(text), {}, {}}, desktopFileDialog(),
                      parent) {}

CoverTextWindow::CoverTextWindow(LayoutCover cover, SaveDialog& files, QWidget* parent)
    : QDialog(parent), cover_(std::move(cover)), files_(files) {
    setObjectName(QStringLiteral("CoverTextWindow"));
    setWindowTitle(QStringLiteral("Cover Text"));
    setModal(true);
    // Texts without a layer of their own lie over every layer: the list shows them there, so they
    // can be sent back like any other element.
    std::vector<CoverLayer>& layers = cover_.design.layers;
    if (std::none_of(layers.begin(), layers.end(), [](const CoverLayer& l) { return l.type == LayerType::Texts; })) {
        CoverLayer texts;
        texts.type = LayerType::Texts;
        layers.push_back(texts);
        textsLayerAdded_ = true;
    }

    picCoverText = new CoverTextCanvas(cover_, this);
    connect(picCoverText, &CoverTextCanvas::picked, this, [this](int ref) { selectText(ref); });
    connect(picCoverText, &CoverTextCanvas::moved, this, [this] { showOverhangs(); });
    connect(picCoverText, &CoverTextCanvas::layerChanged, this, [this] { showNotices(); });
    lblOverhang = new QLabel(this);
    lblOverhang->setObjectName(QStringLiteral("lblOverhang"));
    lblOverhang->setStyleSheet(QStringLiteral("color: #c01818;"));
    lblOverhang->setWordWrap(true);
    lblSafeMargin = new QLabel(this);
    lblSafeMargin->setObjectName(QStringLiteral("lblSafeMargin"));
    lblSafeMargin->setStyleSheet(QStringLiteral("color: #c01818;"));
    lblSafeMargin->setWordWrap(true);
    lblTrackListFit = new QLabel(this);
    lblTrackListFit->setObjectName(QStringLiteral("lblTrackListFit"));
    lblTrackListFit->setStyleSheet(QStringLiteral("color: #c01818;"));
    lblTrackListFit->setWordWrap(true);

    auto* form = new QFormLayout;
    const auto line = [this, form](QLineEdit*& edit, const char* name, const QString& label, int ref) {
        edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setText(QString::fromStdString(textBoxOf(cover_.text, ref).text));
        form->addRow(label, edit);
        connect(edit, &QLineEdit::textEdited, this, [this, ref](const QString& t) {
            setText(textBoxOf(cover_.text, ref), t);
            selectText(ref);
            changed();
        });
    };
    line(txtTitle, "txtTitle", QStringLiteral("&Title:"), kTitleRef);
    line(txtSubtitle, "txtSubtitle", QStringLiteral("S&ubtitle:"), kSubtitleRef);
    line(txtSpine, "txtSpine", QStringLiteral("S&pine:"), kSpineRef);
    if (!hasSpine(cover_.kind)) {
        txtSpine->setEnabled(false);
        txtSpine->setToolTip(QStringLiteral("This cover has no spine."));
    }

    txtBox = new QPlainTextEdit(this);
    txtBox->setObjectName(QStringLiteral("txtBox"));
    txtBox->setFixedHeight(56);
    txtBox->setEnabled(false);
    connect(txtBox, &QPlainTextEdit::textChanged, this, [this] {
        if (showing_ || editedText() < kFirstBoxRef) return;
        setText(textBoxOf(cover_.text, editedText()), txtBox->toPlainText());
        refreshTextList();
        changed();
    });
    cmdAddBox = new QPushButton(QStringLiteral("&Add Box"), this);
    cmdAddBox->setObjectName(QStringLiteral("cmdAddBox"));
    cmdRemoveBox = new QPushButton(QStringLiteral("&Remove Box"), this);
    cmdRemoveBox->setObjectName(QStringLiteral("cmdRemoveBox"));
    connect(cmdAddBox, &QPushButton::clicked, this, [this] { cmdAddBox_Click(); });
    connect(cmdRemoveBox, &QPushButton::clicked, this, [this] { cmdRemoveBox_Click(); });
    auto* boxButtons = new QHBoxLayout;
    boxButtons->addWidget(cmdAddBox);
    boxButtons->addWidget(cmdRemoveBox);
    form->addRow(QStringLiteral("Text &box:"), txtBox);
    form->addRow(QString(), boxButtons);

    txtEndStrips = new QLineEdit(this);
    txtEndStrips->setObjectName(QStringLiteral("txtEndStrips"));
    txtEndStrips->setText(QString::fromStdString(cover_.design.endStrips.text));
    if (hasEndStrips(cover_.kind)) {
        form->addRow(QStringLiteral("E&nd strips:"), txtEndStrips);
        connect(txtEndStrips, &QLineEdit::textEdited, this, [this](const QString& t) {
            setText(cover_.design.endStrips, t);
            changed();
        });
    } else {
        txtEndStrips->hide();
    }

    auto* style = new QGroupBox(QStringLiteral("Style"), this);
    auto* styleForm = new QFormLayout(style);
    buildStyleFields(styleForm);

    fraLayers = new LayerPanel(cover_, *picCoverText, files_, this);
    connect(fraLayers, &LayerPanel::changed, this, [this] { changed(); });
    connect(fraLayers, &LayerPanel::textsSelected, this, [this] { selectText(editedText()); });
    connect(picCoverText, &CoverTextCanvas::layerPicked, this,
            [this](std::size_t layer) { fraLayers->selectLayer(layer); });
    fraBackground = new BackgroundEditor(cover_.design.background, this);
    connect(fraBackground, &BackgroundEditor::changed, this, [this] { changed(); });

    auto* hint = new QLabel(QStringLiteral("Drag a text on the picture to move it."), this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("buttons"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* fields = new QVBoxLayout;
    fields->addLayout(form);
    fields->addWidget(style);
    fields->addWidget(fraLayers);
    fields->addWidget(fraBackground);
    fields->addStretch();
    auto* shown = new QVBoxLayout;
    shown->addWidget(picCoverText, 1);
    shown->addWidget(lblOverhang);
    shown->addWidget(lblSafeMargin);
    shown->addWidget(lblTrackListFit);
    auto* top = new QHBoxLayout;
    top->addLayout(shown, 1);
    top->addLayout(fields);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(hint);
    layout->addWidget(buttons);

    refreshTextList();
    selectText(kTitleRef);
    showOverhangs();
    resize(1100, 720);
}

CoverDesign CoverTextWindow::design() const {
    CoverDesign design = cover_.design;
    if (textsLayerAdded_ && !design.layers.empty() && design.layers.back().type == LayerType::Texts)
        design.layers.pop_back(); // over everything, as without a layer
    return design;
}

void CoverTextWindow::buildStyleFields(QFormLayout* form) {
    cboText = new QComboBox(this);
    cboText->setObjectName(QStringLiteral("cboText"));
    form->addRow(QStringLiteral("Te&xt:"), cboText);
    connect(cboText, &QComboBox::activated, this, [this](int index) { selectText(index); });
    cboFont = new QFontComboBox(this);
    cboFont->setObjectName(QStringLiteral("cboFont"));
    form->addRow(QStringLiteral("&Font:"), cboFont);
    spnSize = new QDoubleSpinBox(this);
    spnSize->setObjectName(QStringLiteral("spnSize"));
    spnSize->setRange(kSmallestTextPoints, kLargestTextPoints);
    spnSize->setDecimals(1);
    spnSize->setSuffix(QStringLiteral(" pt"));
    form->addRow(QStringLiteral("Si&ze:"), spnSize);
    const auto colourRow = [this, form](QLineEdit*& edit, const char* name, const QString& label, QPushButton** pick) {
        edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setMaxLength(9);
        auto* row = new QHBoxLayout;
        row->addWidget(edit);
        auto* button = new QPushButton(QStringLiteral("..."), this);
        button->setFixedWidth(32);
        row->addWidget(button);
        if (pick) *pick = button;
        connect(button, &QPushButton::clicked, this, [this, edit] {
            const QColor chosen = QColorDialog::getColor(QColor::fromString(edit->text()), this);
            if (!chosen.isValid()) return;
            edit->setText(chosen.name());
            takeStyle();
        });
        connect(edit, &QLineEdit::textEdited, this, [this] { takeStyle(); });
        form->addRow(label, row);
    };
    colourRow(txtColour, "txtColour", QStringLiteral("Colour:"), &cmdColour);
    chkBold = new QCheckBox(QStringLiteral("B&old"), this);
    chkBold->setObjectName(QStringLiteral("chkBold"));
    chkItalic = new QCheckBox(QStringLiteral("&Italic"), this);
    chkItalic->setObjectName(QStringLiteral("chkItalic"));
    auto* faces = new QHBoxLayout;
    faces->addWidget(chkBold);
    faces->addWidget(chkItalic);
    form->addRow(QString(), faces);
    cboAlign = new QComboBox(this);
    cboAlign->setObjectName(QStringLiteral("cboAlign"));
    cboAlign->addItems({QStringLiteral("Left"), QStringLiteral("Centre"), QStringLiteral("Right")});
    form->addRow(QStringLiteral("A&lignment:"), cboAlign);
    cboEffect = new QComboBox(this);
    cboEffect->setObjectName(QStringLiteral("cboEffect"));
    cboEffect->addItems({QStringLiteral("None"), QStringLiteral("Outline"), QStringLiteral("Shadow")});
    form->addRow(QStringLiteral("&Effect:"), cboEffect);
    colourRow(txtEffectColour, "txtEffectColour", QStringLiteral("Effect colour:"), nullptr);

    connect(cboFont, &QFontComboBox::currentFontChanged, this, [this] { takeStyle(); });
    connect(spnSize, &QDoubleSpinBox::valueChanged, this, [this] { takeStyle(); });
    connect(chkBold, &QCheckBox::toggled, this, [this] { takeStyle(); });
    connect(chkItalic, &QCheckBox::toggled, this, [this] { takeStyle(); });
    connect(cboAlign, &QComboBox::currentIndexChanged, this, [this] { takeStyle(); });
    connect(cboEffect, &QComboBox::currentIndexChanged, this, [this] { takeStyle(); });
}

int CoverTextWindow::editedText() const { return cboText->currentIndex() < 0 ? kTitleRef : cboText->currentIndex(); }

void CoverTextWindow::refreshTextList() {
    const int current = cboText->currentIndex();
    const bool wasShowing = showing_;
    showing_ = true;
    QStringList names{QStringLiteral("Title"), QStringLiteral("Subtitle"), QStringLiteral("Spine")};
    for (std::size_t i = 0; i < cover_.text.boxes.size(); ++i) {
        QString first = QString::fromStdString(cover_.text.boxes[i].text).section(QLatin1Char('\n'), 0, 0).left(20);
        names << (first.isEmpty() ? QStringLiteral("Box %1").arg(i + 1)
                                  : QStringLiteral("Box %1: %2").arg(i + 1).arg(first));
    }
    for (int i = 0; i < names.size(); ++i) {
        if (i < cboText->count()) cboText->setItemText(i, names[i]);
        else cboText->addItem(names[i]);
    }
    while (cboText->count() > names.size()) cboText->removeItem(cboText->count() - 1);
    cboText->setCurrentIndex(std::min(std::max(current, 0), int(cboText->count()) - 1));
    showing_ = wasShowing;
}

void CoverTextWindow::selectText(int ref) {
    if (ref < 0 || ref >= cboText->count()) return;
    cboText->setCurrentIndex(ref);
    picCoverText->setSelected(ref);
    const std::vector<CoverLayer>& layers = cover_.design.layers;
    const auto texts =
        std::find_if(layers.begin(), layers.end(), [](const CoverLayer& l) { return l.type == LayerType::Texts; });
    if (fraLayers) fraLayers->selectLayer(std::size_t(texts - layers.begin()));
    showStyle();
}

void CoverTextWindow::showStyle() {
    showing_ = true;
    const int ref = editedText();
    const TextBox& box = textBoxOf(cover_.text, ref);
    const TextStyle& s = box.style;
    cboFont->setCurrentFont(QFont(QString::fromStdString(s.family)));
    spnSize->setValue(s.sizePoints);
    txtColour->setText(colourName(s.colour));
    chkBold->setChecked(s.bold);
    chkItalic->setChecked(s.italic);
    cboAlign->setCurrentIndex(int(s.align));
    cboEffect->setCurrentIndex(int(s.effect));
    txtEffectColour->setText(colourName(s.effectColour));
    const bool onBox = ref >= kFirstBoxRef;
    txtBox->setEnabled(onBox);
    txtBox->setPlainText(onBox ? QString::fromStdString(box.text) : QString());
    cmdRemoveBox->setEnabled(onBox);
    showing_ = false;
}

void CoverTextWindow::takeStyle() {
    if (showing_) return;
    TextStyle& s = textBoxOf(cover_.text, editedText()).style;
    s.family = cboFont->currentFont().family().toStdString();
    s.sizePoints = spnSize->value();
    if (const auto c = colourOfName(txtColour->text())) s.colour = *c;
    s.bold = chkBold->isChecked();
    s.italic = chkItalic->isChecked();
    s.align = TextAlign(std::clamp(cboAlign->currentIndex(), 0, 2));
    s.effect = TextEffect(std::clamp(cboEffect->currentIndex(), 0, 2));
    if (const auto c = colourOfName(txtEffectColour->text())) s.effectColour = *c;
    changed();
}

void CoverTextWindow::cmdAddBox_Click() {
    if (int(cover_.text.boxes.size()) >= kMostTextBoxes) return;
    TextBox box;
    box.anchor = newBoxAnchor(cover_.kind);
    box.text = "Text";
    cover_.text.boxes.push_back(box);
    refreshTextList();
    selectText(kFirstBoxRef + int(cover_.text.boxes.size()) - 1);
    changed();
}

void CoverTextWindow::cmdRemoveBox_Click() {
    const int ref = editedText();
    if (ref < kFirstBoxRef) return;
    cover_.text.boxes.erase(cover_.text.boxes.begin() + (ref - kFirstBoxRef));
    refreshTextList();
    const int last = kFirstBoxRef + int(cover_.text.boxes.size()) - 1;
    selectText(last >= kFirstBoxRef ? std::min(ref, last) : kTitleRef);
    changed();
}

void CoverTextWindow::changed() {
    picCoverText->textChanged();
    showOverhangs();
}

void CoverTextWindow::showOverhangs() {
    QStringList lines;
    for (const TextOverhang& o : picCoverText->overhangs()) {
        const QString name = o.ref == kTitleRef ? QStringLiteral("The title")
            : o.ref == kSubtitleRef             ? QStringLiteral("The subtitle")
            : o.ref == kSpineRef                ? QStringLiteral("The spine text")
                                                : QStringLiteral("Box %1").arg(o.ref - kFirstBoxRef + 1);
        lines << QStringLiteral("%1 runs %2 mm past the cover's edge.")
                     .arg(name, QString::number(o.by.millimetres(), 'f', 1));
    }
    lblOverhang->setText(lines.join(QLatin1Char('\n')));
    lblOverhang->setVisible(!lines.isEmpty());
    showNotices();
}

namespace {

QString textName(int ref) {
    return ref == kTitleRef   ? QStringLiteral("The title")
        : ref == kSubtitleRef ? QStringLiteral("The subtitle")
        : ref == kSpineRef    ? QStringLiteral("The spine text")
                              : QStringLiteral("Box %1").arg(ref - kFirstBoxRef + 1);
}

} // namespace

void CoverTextWindow::showNotices() {
    QStringList safe;
    for (const SafeAreaMark& m : picCoverText->safeAreaMarks()) {
        const QString name = m.ref ? textName(*m.ref) : QStringLiteral("The track list");
        for (const std::string& line : safeAreaLines(name.toStdString(), m.crossing))
            safe << QString::fromStdString(line);
    }
    lblSafeMargin->setText(safe.join(QLatin1Char('\n')));
    lblSafeMargin->setVisible(!safe.isEmpty());
    QStringList fits;
    for (const CoverLayer& layer : cover_.design.layers) {
        if (layer.type != LayerType::TrackList || layer.tracks.empty()) continue;
        const std::string notice = trackListFitNotice(fitTrackListLayer(layer));
        if (!notice.empty()) fits << QString::fromStdString(notice);
    }
    lblTrackListFit->setText(fits.join(QLatin1Char('\n')));
    lblTrackListFit->setVisible(!fits.isEmpty());
}

} // namespace kavi
