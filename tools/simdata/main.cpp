// kia-simdata [--check] [FOLDER]
//
// Writes the sample working folder's files that come from the simulated board
// into FOLDER (default: data). With --check it writes nothing and tells which
// files differ from what it would write (exit code 1), for a check before a commit.

#include "sim/sampledata.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStringList>
#include <QTextStream>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QTextStream err(stderr);
    const bool check = args.removeAll(QStringLiteral("--check")) > 0;
    if (args.size() > 1 || (!args.isEmpty() && args.first().startsWith(QLatin1Char('-')))) {
        err << "использование: kia-simdata [--check] [ПАПКА]\n";
        return 64;
    }
    const QDir folder(args.isEmpty() ? QStringLiteral("data") : args.first());
    if (!folder.exists()) {
        err << "нет папки " << folder.path() << "\n";
        return 2;
    }

    int differing = 0;
    for (const sim::DataFile& f : sim::sampleDataFiles()) {
        const QString path = folder.filePath(f.name);
        if (check) {
            QFile in(path);
            if (!in.open(QIODevice::ReadOnly) || in.readAll() != f.bytes) {
                err << "отличается: " << path << "\n";
                ++differing;
            }
            continue;
        }
        QSaveFile out(path);
        if (!out.open(QIODevice::WriteOnly) || out.write(f.bytes) != f.bytes.size() ||
            !out.commit()) {
            err << "не удается записать " << path << ": " << out.errorString() << "\n";
            return 2;
        }
        err << path << " (" << f.bytes.size() << " байт)\n";
    }
    return differing ? 1 : 0;
}
