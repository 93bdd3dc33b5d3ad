#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace sim {

/// One file of the sample working folder.
struct DataFile {
    QString name;
    QByteArray bytes;
};

/// The files of the sample working folder that must agree with the simulated
/// board, made from the same code the bench uses, so their sums cannot drift
/// from the board's: "versions.txt" (Windows-1251), the controller program of
/// every listed version, "230607091405.cpu" (the cash register's controller
/// software that DD5 starts with, saved under its identity) and the stand-in
/// test program "testcpu.052". tools/simdata writes them into data/; a test
/// compares the committed files with this list. Pure, any thread.
QList<DataFile> sampleDataFiles();

} // namespace sim
