#pragma once

#include "records/placing.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <array>

// The flags and work fields by which the main window, its deferred steps and the
// dialogs coordinate. Never stored; the values are the window's at creation.
struct MainState {
    QString data = QStringLiteral("data"); // "vytvorena" while today's row is still to be found
    QString stavnacteni = QStringLiteral("ne"); // "ano" when data.zrk was found at start
    QString stavnastaveni = QStringLiteral("stavnastaveni"); // "načtené" or "výchozí"
    QString nastaveni = QStringLiteral("nastavení"); // "ok" once start-up has finished
    QString okno = QStringLiteral("normal"); // "normal" or "max", as the columns were last laid out
    QString stavtimeru7 = QStringLiteral("ON"); // "OFF" suspends the column layout
    QString zmena = QStringLiteral("zmena");
    QString d1 = QStringLiteral("-");
    QString d2 = QStringLiteral("-");
    QString d4 = QStringLiteral("-");
    QString minrok = QStringLiteral("-");
    QString maxrok = QStringLiteral("-");
    QDate DateEdit1; // today once the window is up
    QStringList pocet;
    QStringList ListBox1;
    int SpinEdit1 = 0;
    QString u1;
    QString u2;
    QStringList ListBox4;
    std::array<QString, 40> ze; // ze1..ze40: the record dialogs' pending items

    EntryFields entryFields() { return { pocet, ListBox1, u1, u2, ze }; }
};
