// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Disc label stocks read from the label-template XML files that label makers share (Debian's glabels-data
// puts them in libglabels-3.0/templates under its data folder). Only templates of round disc labels
// (a Label-cd element) are taken, with those that name one of them as their equivalent. A file that cannot
// be read, or that holds a disc template with impossible values, is left out whole and named.
#include "covers/disc_label_stock.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace kavi::labels {

// A length as the template files write it: a number with pt (or no unit), in, mm, cm or pc.
std::optional<Length> parseLength(QStringView text);

struct FileReading {
    std::vector<DiscLabelStock> stocks;
    QString error; // empty when the file was read; then the stocks are all its disc templates
};

// Reads the text of one template file. Paper names are looked up among the paper sizes of the file itself
// and the ones given (a paper-sizes file read earlier); US-Letter, US-Legal and A4 are always known.
struct PaperSize {
    QString id;
    LengthSize size;
};
std::vector<PaperSize> parsePaperSizes(const QByteArray& xml);
FileReading parseTemplateFile(const QByteArray& xml, const std::vector<PaperSize>& papers = {});

// The folders searched, in order: the ones given, $XDG_DATA_HOME/kavi/templates (~/.local/share by
// default), then libglabels-3.0/templates under each folder of $XDG_DATA_DIRS (/usr/local/share:/usr/share
// by default).
QStringList templateFolders(const QStringList& givenFolders);

struct StockList {
    std::vector<DiscLabelStock> stocks; // sorted by name; a name found twice is taken from the first folder
    QStringList skippedFiles; // "FILE: reason", once per file
};

// Every disc stock in the .xml files of the folders; a missing folder holds nothing.
StockList readDiscStocks(const QStringList& folders);

} // namespace kavi::labels
