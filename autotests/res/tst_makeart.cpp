// The committed pictures, icons and points file are exactly what the
// generator makes now, and the generator reports what it cannot do.

#include "picturematch.h"
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
        // Pictures are compared as pictures (see picturematch.h: antialiased
        // edges may round one level apart on another processor); everything
        // else byte for byte.
        QStringList stale;
        for (const QString& file : made) {
            const QString fresh = QDir(dir.path()).filePath(file);
            const bool same = file.endsWith(QStringLiteral(".png"))
                                  ? kia::art::picturesMatch(QImage(sourceFile(file)), QImage(fresh))
                                  : readAll(fresh) == readAll(sourceFile(file));
            if (!same)
                stale << file;
        }
        QVERIFY2(stale.isEmpty(),
                 qPrintable(QStringLiteral("run tools/make-art.sh; out of date: ") +
                            stale.join(QLatin1Char(' '))));
    }

    // The allowance for rounding must not let a real change of a drawing pass.
    void pictureComparison_data() {
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("matches");
        const QString icon = QStringLiteral("res/bitmaps/263.png");
        const QString board = QStringLiteral("res/bitmaps/240.png");
        const QString marker = QStringLiteral("res/icons/highlight.png");
        QTest::newRow("icon unchanged") << icon << "none" << true;
        QTest::newRow("icon, two edge pixels one level off") << icon << "round2" << true;
        QTest::newRow("icon, four edge pixels four levels off") << icon << "round4x4" << true;
        QTest::newRow("icon, five pixels one level off") << icon << "round5" << false;
        QTest::newRow("icon, one pixel five levels off") << icon << "step5" << false;
        QTest::newRow("icon, one pixel repainted") << icon << "repaint" << false;
        QTest::newRow("marker, two pixels one level off") << marker << "round2" << true;
        QTest::newRow("marker, one pixel repainted") << marker << "repaint" << false;
        QTest::newRow("board unchanged") << board << "none" << true;
        QTest::newRow("board, one line moved by a pixel") << board << "moveline" << false;
        QTest::newRow("board, one pixel of ink added") << board << "repaint" << false;
        QTest::newRow("board, cropped by one column") << board << "crop" << false;
    }

    void pictureComparison() {
        QFETCH(QString, picture);
        QFETCH(QString, change);
        QFETCH(bool, matches);
        const QImage original(sourceFile(picture));
        QVERIFY(!original.isNull());
        QImage changed = original.convertToFormat(QImage::Format_ARGB32);
        const auto nudge = [&](int count, int step) {
            for (int i = 0; i < count; ++i) {
                const int x = (3 + 5 * i) % changed.width(), y = (7 + 3 * i) % changed.height();
                const QRgb c = changed.pixel(x, y);
                const int r = qRed(c) >= 128 ? qRed(c) - step : qRed(c) + step;
                changed.setPixel(x, y, qRgba(r, qGreen(c), qBlue(c), qAlpha(c)));
            }
        };
        if (change == QLatin1String("round2"))
            nudge(2, 1);
        else if (change == QLatin1String("round4x4"))
            nudge(4, 4);
        else if (change == QLatin1String("round5"))
            nudge(5, 1);
        else if (change == QLatin1String("step5"))
            nudge(1, 5);
        else if (change == QLatin1String("repaint")) {
            const QRgb c = changed.pixel(1, 1);
            changed.setPixel(1, 1, qGray(c) < 128 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
        } else if (change == QLatin1String("moveline")) {
            // The longest horizontal run of ink with paper below it moves one row down.
            int bestY = -1, bestX = 0, bestLen = 0;
            for (int y = 0; y + 1 < changed.height(); ++y)
                for (int x = 0; x < changed.width();) {
                    int len = 0;
                    while (x + len < changed.width() && qAlpha(changed.pixel(x + len, y)) > 128 &&
                           qGray(changed.pixel(x + len, y)) < 128)
                        ++len;
                    bool paperBelow = len > 0;
                    for (int i = 0; paperBelow && i < len; ++i)
                        paperBelow = qGray(changed.pixel(x + i, y + 1)) >= 128 ||
                                     qAlpha(changed.pixel(x + i, y + 1)) <= 128;
                    if (paperBelow && len > bestLen) {
                        bestLen = len;
                        bestX = x;
                        bestY = y;
                    }
                    x += len + 1;
                }
            QVERIFY(bestLen >= 3);
            for (int x = bestX; x < bestX + bestLen; ++x) {
                const QRgb above = changed.pixel(x, bestY);
                changed.setPixel(x, bestY, changed.pixel(x, bestY + 1));
                changed.setPixel(x, bestY + 1, above);
            }
        } else if (change == QLatin1String("crop"))
            changed = changed.copy(0, 0, changed.width() - 1, changed.height());
        QCOMPARE(kia::art::picturesMatch(original, changed), matches);
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
