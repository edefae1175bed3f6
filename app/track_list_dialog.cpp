// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/track_list_dialog.h"

#include "covers/typed_track_list.h"
#include "platform/audio/audio_tags.h"
#include "platform/audio/track_list_files.h"
#include "platform/desktop/save_dialog.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kavi {

namespace {

const QStringList kImportFilters{QStringLiteral("Cue sheets (*.cue)"), QStringLiteral("Playlists (*.m3u *.m3u8)"),
                                 QStringLiteral("A folder of audio files (*.flac *.mp3 *.ogg *.opus *.m4a *.wav)")};
constexpr int kFolderFilter = 2;

} // namespace

QString typedTrackLines(const std::vector<Track>& tracks) {
    QStringList lines;
    for (const Track& track : tracks) {
        QStringList fields{QString::number(track.number), QString::fromStdString(track.title),
                           QString::fromStdString(track.artist)};
        if (track.seconds) fields << QString::fromStdString(formatLength(*track.seconds));
        lines << fields.join(QLatin1Char('\t'));
    }
    return lines.join(QLatin1Char('\n'));
}

TrackListDialog::TrackListDialog(const std::vector<Track>& tracks, SaveDialog& files, QWidget* parent)
    : QDialog(parent), files_(files) {
    setObjectName(QStringLiteral("TrackListDialog"));
    setWindowTitle(QStringLiteral("Track List"));
    setModal(true);
    auto* hint = new QLabel(QStringLiteral("One track a line: title - artist 3:45, or title, artist and length "
                                           "separated by tabs. The list numbers the tracks itself."),
                            this);
    hint->setWordWrap(true);
    txtTracks = new QPlainTextEdit(this);
    txtTracks->setObjectName(QStringLiteral("txtTracks"));
    txtTracks->setPlainText(typedTrackLines(tracks));
    txtTracks->setLineWrapMode(QPlainTextEdit::NoWrap);
    connect(txtTracks, &QPlainTextEdit::textChanged, this, [this] { showProblems(); });
    cmdImport = new QPushButton(QStringLiteral("&Import..."), this);
    cmdImport->setObjectName(QStringLiteral("cmdImport"));
    cmdImport->setToolTip(QStringLiteral("Read the list from a cue sheet, a playlist or a folder of audio files."));
    connect(cmdImport, &QPushButton::clicked, this, [this] { cmdImport_Click(); });
    lblProblems = new QLabel(this);
    lblProblems->setObjectName(QStringLiteral("lblProblems"));
    lblProblems->setStyleSheet(QStringLiteral("color: #c01818;"));
    lblProblems->setWordWrap(true);
    lblProblems->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("buttons"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(hint);
    layout->addWidget(txtTracks, 1);
    layout->addWidget(cmdImport, 0, Qt::AlignLeft);
    layout->addWidget(lblProblems);
    layout->addWidget(buttons);
    showProblems();
    resize(560, 420);
}

std::vector<Track> TrackListDialog::tracks() const {
    TrackListReading reading = readTypedTrackList(txtTracks->toPlainText().toStdString());
    if (reading.tracks.size() > kMostTracks) reading.tracks.resize(kMostTracks);
    numberInOrder(reading.tracks);
    return reading.tracks;
}

void TrackListDialog::cmdImport_Click() {
    SaveDialogRequest request;
    request.title = QStringLiteral("Import Track List");
    request.filters = kImportFilters;
    request.opensFile = true;
    request.confirmOverwrite = false;
    const SaveDialogResult chosen = files_.ask(request);
    if (!chosen.accepted || chosen.fileName.isEmpty()) return;
    // A folder is chosen by one of its audio files: the whole folder is read.
    const QFileInfo file(chosen.fileName);
    const bool folder =
        file.isDir() || chosen.filterIndex == kFolderFilter || hasAudioExtension(file.fileName().toStdString());
    const std::string path = (folder && !file.isDir() ? file.absolutePath() : file.absoluteFilePath()).toStdString();
    TrackListReading reading = folder ? readAudioFolder(path) : readTrackListSource(path);
    numberInOrder(reading.tracks);
    importProblems_ = std::move(reading.problems);
    txtTracks->setPlainText(typedTrackLines(reading.tracks)); // tells showProblems
}

void TrackListDialog::showProblems() {
    QStringList lines;
    for (const std::string& problem : importProblems_) lines << QString::fromStdString(problem);
    const TrackListReading typed = readTypedTrackList(txtTracks->toPlainText().toStdString());
    for (const std::string& problem : typed.problems) lines << QString::fromStdString(problem);
    lblProblems->setText(lines.isEmpty() ? QString() : QStringLiteral("Left out:\n") + lines.join(QLatin1Char('\n')));
    lblProblems->setVisible(!lines.isEmpty());
}

} // namespace kavi
