// SPDX-License-Identifier: GPL-3.0-or-later
// Not a test: a second Kavi process for the recovery-copy tests. It takes a recovery copy of its
// own in the folder it is given, writes one cover into it, prints the copy's path on a line of its
// own, and holds the copy until its standard input closes (or it is killed, as a crash would end it).
#include "app/recovery_copy.h"

#include <QCoreApplication>
#include <QImage>

#include <cstdio>
#include <unistd.h>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) return 2;
    kavi::RecoveryCopy copy(QString::fromLocal8Bit(argv[1]));
    if (copy.claim() != 0) return 1;
    kavi::CoverSet covers = kavi::CoverSet::empty();
    QImage picture(7, 5, QImage::Format_RGB32);
    picture.fill(qRgb(200, 40, 90));
    covers.cover(3).picture = picture;
    if (copy.writeNow(covers) != 0) return 1;
    std::printf("%s\n", copy.path().toLocal8Bit().constData());
    std::fflush(stdout);
    char byte;
    while (read(0, &byte, 1) > 0) {}
    return 0;
}
