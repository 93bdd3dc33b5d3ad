#include "journalcommand.h"

#include "journal/journalreader.h"
#include "journal/repairjournal.h"

#include <QDir>

namespace kia {

namespace {

struct Options {
    JournalFilter filter;
    bool csv = false;
    QString file;
};

bool parse(const QStringList& args, Options* o, QString* error) {
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QStringLiteral("--csv")) {
            o->csv = true;
        } else if (a == QStringLiteral("--board-id") || a == QStringLiteral("--file")) {
            if (i + 1 >= args.size()) {
                *error = QStringLiteral("journal: после %1 нужно значение").arg(a);
                return false;
            }
            if (a == QStringLiteral("--file")) {
                o->file = args[++i];
            } else {
                o->filter.anyBoard = false;
                o->filter.boardId = args[++i];
            }
        } else {
            *error = QStringLiteral("journal: неизвестный аргумент %1").arg(a);
            return false;
        }
    }
    return true;
}

} // namespace

QString JournalCommand::helpText() {
    return QStringLiteral(
        "  journal [--board-id ID] [--csv] [--file FILE]\n"
        "                               журнал ремонта рабочей папки (или FILE):\n"
        "                               события по порядку, одной платы или все;\n"
        "                               --board-id \"\" - платы без номера\n");
}

bool JournalCommand::validate(const QStringList& args, QString* error) {
    Options o;
    return parse(args, &o, error);
}

int JournalCommand::run(const QStringList& args, QTextStream& out, QTextStream& err) {
    Options o;
    QString error;
    if (!parse(args, &o, &error)) {
        err << "kia-bench: " << error << "\n";
        err.flush();
        return 64;
    }
    const QString path = o.file.isEmpty() ? RepairJournal::defaultPath(QString()) : o.file;
    JournalReader reader;
    QList<JournalRow> rows;
    if (!reader.open(path, &error) || !reader.events(o.filter, &rows, &error)) {
        err << "Журнал ремонта недоступен: " << error.left(200) << "\n";
        err.flush();
        return 1;
    }
    if (o.csv) {
        // Bytes as they are, BOM included: the same file the window exports.
        out.flush();
        const QByteArray csv = journalCsv(rows);
        if (out.device())
            out.device()->write(csv);
        else if (out.string())
            *out.string() += QString::fromUtf8(csv);
        return 0;
    }
    for (const JournalRow& r : std::as_const(rows)) {
        out << r.at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) << "\tтип " << r.boardType << "\t"
            << (r.boardId.isEmpty() ? QStringLiteral("-") : r.boardId) << "\t"
            << journalKindLabel(r.kind) << "\t" << r.name << "\t"
            << (r.outcome == JournalEvent::Outcome::None ? QStringLiteral("-")
                                                         : journalOutcomeLabel(r.outcome))
            << "\t" << r.verdict.simplified() << "\n";
    }
    out << "Событий: " << rows.size() << "\n";
    out.flush();
    return 0;
}

} // namespace kia
