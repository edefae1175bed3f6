// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The track list of a cover, typed or pasted one track a line ("number, title, artist, length" as
// the typed-list reader takes them), or imported from a cue sheet, a playlist or a folder of audio
// files. The tracks are numbered in the order of their source; whatever could not be read (a bad
// line, a missing or unreadable file) is named in one notice and left out.
#include "covers/track_list.h"

#include <QDialog>

#include <string>
#include <vector>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace kavi {

class SaveDialog;

class TrackListDialog final : public QDialog {
    Q_OBJECT
public:
    TrackListDialog(const std::vector<Track>& tracks, SaveDialog& files, QWidget* parent = nullptr);

    // The tracks of the lines as they stand, numbered 1, 2, ...
    std::vector<Track> tracks() const;
    void cmdImport_Click();

    QPlainTextEdit* txtTracks = nullptr;
    QPushButton* cmdImport = nullptr;
    QLabel* lblProblems = nullptr; // everything left out, the import's and the typed lines'

private:
    void showProblems();

    SaveDialog& files_;
    std::vector<std::string> importProblems_;
};

// The tracks as lines the typed-list reader reads back the same: number, title, artist and length
// separated by tabs.
QString typedTrackLines(const std::vector<Track>& tracks);

} // namespace kavi
