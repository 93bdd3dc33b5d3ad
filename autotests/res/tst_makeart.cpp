// The committed pictures, icons and points file are exactly what the
// generator makes now, and the generator reports what it cannot do.

#include "sourcefiles.h"

#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList filesUnder(const QString& root, const QStringList& folders) {
    QStringList out;
    for (const QString& folder : folders) {
        QDirIterator it(QDir(root).filePath(folder), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            out << QDir(root).relativeFilePath(it.next());
    }
    out.sort();
    return out;
}

struct Run {
    int exitCode = -1;
    QString errors;
};

Run runGenerator(const QString& root, const QStringList& extra = {}) {
    QProcess process;
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start(QStringLiteral(KIA_MAKEART_PATH),
                  QStringList{QStringLiteral("--root"), root} + extra);
    Run run;
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = process.exitCode();
    run.errors = QString::fromUtf8(process.readAllStandardError());
    return run;
}

bool prepareRoot(const QTemporaryDir& dir) {
    return QDir(dir.path()).mkpath(QStringLiteral("res/fonts")) &&
           QFile::copy(sourceFile(QStringLiteral("res/fonts/kia-mono.ttf")),
                       QDir(dir.path()).filePath(QStringLiteral("res/fonts/kia-mono.ttf")));
}

} // namespace

class TestMakeArt : public QObject {
    Q_OBJECT

private slots:
    void committedFilesAreUpToDate() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QVERIFY(prepareRoot(dir));
        const Run run = runGenerator(dir.path());
        QVERIFY2(run.exitCode == 0, qPrintable(run.errors));

        const QStringList folders{QStringLiteral("res/bitmaps"), QStringLiteral("res/icons")};
        const QStringList made = filesUnder(dir.path(), folders)
                                 << QStringLiteral("data/kia_nelta2.dot");
        QCOMPARE(filesUnder(sourceFile(QString()), folders)
                     << QStringLiteral("data/kia_nelta2.dot"),
                 made);
        QStringList stale;
        for (const QString& file : made)
            if (readAll(QDir(dir.path()).filePath(file)) != readAll(sourceFile(file)))
                stale << file;
        QVERIFY2(stale.isEmpty(),
                 qPrintable(QStringLiteral("run tools/make-art.sh; out of date: ") +
                            stale.join(QLatin1Char(' '))));
    }

    void missingFontsAreReported_data() {
        QTest::addColumn<bool>("bundledFont");
        QTest::addColumn<QString>("fontDir");
        QTest::newRow("no DejaVu folder") << true << QStringLiteral("/nonexistent/fonts");
        QTest::newRow("no bundled font")
            << false << QStringLiteral("/usr/share/fonts/truetype/dejavu");
    }

    void missingFontsAreReported() {
        QFETCH(bool, bundledFont);
        QFETCH(QString, fontDir);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        if (bundledFont)
            QVERIFY(prepareRoot(dir));
        const Run run = runGenerator(dir.path(), {QStringLiteral("--font-dir"), fontDir});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.errors.contains(QStringLiteral("шрифта")), qPrintable(run.errors));
        // Nothing half-made is left behind.
        QVERIFY(!QFile::exists(QDir(dir.path()).filePath(QStringLiteral("data/kia_nelta2.dot"))));
        QVERIFY(filesUnder(dir.path(), {QStringLiteral("res/bitmaps")}).isEmpty());
    }
};

QTEST_MAIN(TestMakeArt)
#include "tst_makeart.moc"
