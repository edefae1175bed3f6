// SPDX-License-Identifier: GPL-3.0-or-later
#include "about/about_credits.h"

namespace kavi {

// Every name and site below is made up for this program.
QStringList aboutCreditLines() {
    return {
        "Kavi 4",
        "Harbor Release",
        "Version 4.0.0",
        "Copyright 2026 Kavi Covers",
        "kavi-covers.example",
        "",
        "Programming",
        QString(11, '-'),
        "Mira Tanaquil",
        "",
        "Beta Testers",
        QString(12, '-'),
        "Osric Pellow",
        "Juna Wrenfield",
        "Tamsin Okoye-Varr",
        "",
        "Documentation",
        QString(13, '-'),
        "Hale Brightwater",
        "Ilse Marrowby",
        "",
        "Design",
        QString(13, '-'),
        "Corvin Ashdale",
        "Priya Lanterne",
        "Yusuf Quillon",
        "",
        "Special Thanks To",
        QString(17, '-'),
        "Edda Thornquist",
        "Nils Harrowgate",
        "Amaia Velloso-Brun",
        "Teodor Fenwick-Sai",
        "Lio Marchetti-Onn",
        "Rosalind Quarry",
        "Bastian Wol",
        "Ketaki Dunmore",
        "www.disc-sleeve-club.example",
        "www.pixel-darkroom.example",
        "www.case-insert-gallery.example",
        "www.printshop-notes.example",
        "www.cover-makers-forum.example",
        "Greta Sollow",
        "Ambrose Kettleby",
    };
}

} // namespace kavi
