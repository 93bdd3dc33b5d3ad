// kia-makeart: draws the board pictures, icons and program pictures of res/
// and writes the points file data/kia_nelta2.dot. The pictures and the
// points come from the same board tables, so every control point sits on a
// drawn pin. The output is byte-for-byte the same on every run.

#include "artkit.h"
#include "boardtables.h"
#include "layoutpainter.h"
#include "markericons.h"
#include "pointsfile.h"
#include "scenepictures.h"
#include "schematicpainter.h"
#include "toolbarart.h"

#include <QCommandLineParser>
#include <QDir>
#include <QGuiApplication>
#include <QTextStream>

namespace {

using namespace kia::art;

QTextStream& err() {
    static QTextStream stream(stderr);
    return stream;
}

bool fail(const QString& message) {
    err() << "kia-makeart: " << message << Qt::endl;
    return false;
}

bool makeBoards(const QDir& root) {
    QString error;
    const std::vector<BoardTables> boards = allBoards();
    std::vector<PinSpots> schematic(boards.size());
    std::vector<PinSpots> layout(boards.size());
    for (size_t b = 0; b < boards.size(); ++b) {
        const BoardTables& board = boards[b];
        QImage sch;
        QImage lay;
        if (!paintSchematic(board, &sch, &schematic[b], &error) ||
            !paintLayout(board, &lay, &layout[b], &error))
            return fail(error);
        const QString dir = root.filePath(QStringLiteral("res/bitmaps/"));
        if (!savePng(sch, dir + QStringLiteral("%1.png").arg(board.schematicBitmap), &error) ||
            !savePng(lay, dir + QStringLiteral("%1.png").arg(board.layoutBitmap), &error))
            return fail(error);
    }
    std::vector<ControlPointRecord> records;
    QByteArray bytes;
    if (!collectPoints(boards, schematic, layout, &records, &error) ||
        !encodePointsFile(records, &bytes, &error) ||
        !saveBytes(bytes, root.filePath(QStringLiteral("data/kia_nelta2.dot")), &error))
        return fail(error);
    err() << "kia-makeart: " << records.size() << " control points" << Qt::endl;
    return true;
}

bool makeIcons(const QDir& root) {
    QString error;
    const QString icons = root.filePath(QStringLiteral("res/icons/"));
    const QString bitmaps = root.filePath(QStringLiteral("res/bitmaps/"));
    bool ok = savePng(highlightIcon(), icons + QStringLiteral("highlight.png"), &error) &&
              savePng(applicationIcon(), icons + QStringLiteral("128.png"), &error);
    for (int q = 0; ok && q < 4; ++q)
        ok =
            savePng(markerIcon(false, q), icons + QStringLiteral("check_q%1.png").arg(q), &error) &&
            savePng(markerIcon(true, q), icons + QStringLiteral("driver_q%1.png").arg(q), &error);
    for (int id : keyIconIds())
        ok = ok && savePng(keyIcon(id), icons + QStringLiteral("%1.png").arg(id), &error);
    ok = ok && savePng(toolbarStrip(), bitmaps + QStringLiteral("128.png"), &error);
    for (int bitmap : menuIconBitmaps())
        ok =
            ok && savePng(menuIcon(bitmap), bitmaps + QStringLiteral("%1.png").arg(bitmap), &error);
    ok = ok && savePng(programPicture(), bitmaps + QStringLiteral("261.png"), &error) &&
         savePng(connectionPicture(), bitmaps + QStringLiteral("300.png"), &error) &&
         savePng(oscilloscopeScreen(), bitmaps + QStringLiteral("197.png"), &error) &&
         savePng(testSchemePicture(true), bitmaps + QStringLiteral("301.png"), &error) &&
         savePng(testSchemePicture(false), bitmaps + QStringLiteral("302.png"), &error);
    return ok || fail(error);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Рисует картинки и значки res/ и файл точек data/kia_nelta2.dot."));
    parser.addHelpOption();
    const QCommandLineOption rootOption(
        QStringLiteral("root"), QStringLiteral("Корень исходников (по умолчанию текущая папка)."),
        QStringLiteral("dir"), QDir::currentPath());
    const QCommandLineOption fontOption(
        QStringLiteral("font-dir"), QStringLiteral("Папка шрифтов DejaVu."), QStringLiteral("dir"),
        QStringLiteral("/usr/share/fonts/truetype/dejavu"));
    parser.addOption(rootOption);
    parser.addOption(fontOption);
    parser.process(app);

    const QDir root(parser.value(rootOption));
    QString error;
    if (!loadFonts(root.filePath(QStringLiteral("res/fonts/kia-mono.ttf")),
                   parser.value(fontOption), &error)) {
        fail(error);
        return 1;
    }
    if (!makeBoards(root) || !makeIcons(root))
        return 1;
    return 0;
}
