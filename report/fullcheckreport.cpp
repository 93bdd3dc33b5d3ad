#include "fullcheckreport.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextDocument>

namespace kia {

namespace {

QString seconds(qint64 ms) {
    return QString::number(double(ms) / 1000.0, 'f', 1) + QStringLiteral(" с");
}

QString verdictColour(CheckVerdict v) {
    switch (v) {
    case CheckVerdict::Passed:
        return QStringLiteral("#009f00");
    case CheckVerdict::Failed:
    case CheckVerdict::LinkFailure:
        return QStringLiteral("#9f0000");
    default:
        break;
    }
    return QStringLiteral("#606060");
}

QString boardLine(const FullCheckReport& r) {
    QString s = QStringLiteral("Плата: %1 (тип %2)").arg(r.boardDesignation).arg(r.boardType);
    if (!r.boardId.isEmpty())
        s += QStringLiteral(", номер %1").arg(r.boardId);
    if (!r.controllerIdentity.isEmpty())
        s += QStringLiteral(", номер DD5 %1").arg(r.controllerIdentity);
    return s;
}

QString totalsLine(const FullCheckReport& r) {
    QString s = r.passed() ? QStringLiteral("Итог: плата исправна")
                           : QStringLiteral("Итог: обнаружены неисправности");
    if (r.interrupted)
        s = QStringLiteral("Итог: ") + r.interruption;
    return s + QStringLiteral(" (норма: %1, неисправность: %2, ошибка связи: %3, пропущено: %4, "
                              "не выполнено: %5)")
                   .arg(r.count(CheckVerdict::Passed))
                   .arg(r.count(CheckVerdict::Failed))
                   .arg(r.count(CheckVerdict::LinkFailure))
                   .arg(r.count(CheckVerdict::Skipped))
                   .arg(r.count(CheckVerdict::NotRun));
}

QString linkLine(const FullCheckReport& r) {
    return QStringLiteral("Связь: кадров %1, повторов %2, сбоев %3")
        .arg(r.link.frames)
        .arg(r.link.retries)
        .arg(r.link.failures);
}

} // namespace

QJsonObject fullCheckJson(const FullCheckReport& r) {
    QJsonArray tests;
    for (const FullCheckEntry& e : r.entries) {
        QJsonObject t;
        t[QStringLiteral("name")] = e.item.name;
        t[QStringLiteral("command")] = e.item.commandId;
        t[QStringLiteral("interactive")] = e.item.interactive;
        t[QStringLiteral("verdict")] = checkVerdictKey(e.verdict);
        t[QStringLiteral("verdictText")] = checkVerdictText(e.verdict);
        t[QStringLiteral("result")] = e.result;
        t[QStringLiteral("note")] = e.note;
        t[QStringLiteral("places")] = QJsonArray::fromStringList(e.places);
        t[QStringLiteral("keyword")] = e.keyword;
        t[QStringLiteral("conclusion")] = e.conclusion;
        t[QStringLiteral("elapsedMs")] = e.elapsedMs;
        tests.append(t);
    }
    QJsonObject link;
    link[QStringLiteral("frames")] = qint64(r.link.frames);
    link[QStringLiteral("retries")] = qint64(r.link.retries);
    link[QStringLiteral("failures")] = qint64(r.link.failures);
    QJsonObject o;
    o[QStringLiteral("boardType")] = r.boardType;
    o[QStringLiteral("board")] = r.boardDesignation;
    o[QStringLiteral("boardId")] = r.boardId;
    o[QStringLiteral("controllerIdentity")] = r.controllerIdentity;
    o[QStringLiteral("started")] = r.started.toString(Qt::ISODate);
    o[QStringLiteral("elapsedMs")] = r.elapsedMs;
    o[QStringLiteral("workstation")] = QStringLiteral("kia_nelta2 ") + r.workstationVersion;
    o[QStringLiteral("passed")] = r.passed();
    o[QStringLiteral("interrupted")] = r.interrupted;
    o[QStringLiteral("interruption")] = r.interruption;
    o[QStringLiteral("tests")] = tests;
    o[QStringLiteral("link")] = link;
    return o;
}

QStringList fullCheckSummary(const FullCheckReport& r) {
    QStringList lines;
    lines << boardLine(r);
    for (const FullCheckEntry& e : r.entries) {
        QString line = e.item.name.leftJustified(44, QLatin1Char(' ')) + QLatin1Char(' ') +
                       checkVerdictText(e.verdict);
        if (e.verdict != CheckVerdict::Skipped && e.verdict != CheckVerdict::NotRun)
            line += QStringLiteral("  (%1)").arg(seconds(e.elapsedMs));
        if (!e.note.isEmpty() && e.verdict != CheckVerdict::Passed)
            line += QStringLiteral(": ") + e.note;
        lines << line;
        for (const QString& p : e.places)
            for (const QString& part : p.split(QLatin1Char('\n')))
                lines << QStringLiteral("    ") + part;
        if (!e.keyword.isEmpty())
            lines << QStringLiteral("    Диагностика: ") + e.keyword;
        if (!e.conclusion.isEmpty())
            lines << QStringLiteral("    Заключение: ") + e.conclusion.simplified();
    }
    lines << linkLine(r) << totalsLine(r);
    return lines;
}

QString fullCheckHtml(const FullCheckReport& r) {
    const auto esc = [](const QString& s) { return s.toHtmlEscaped(); };
    QString h;
    h += QStringLiteral("<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\">"
                        "<title>Полная проверка платы</title></head><body>\n");
    h += QStringLiteral("<h2>Полная проверка платы</h2>\n<p>%1<br>Дата: %2<br>Время проверки: %3<br>"
                        "Программа: kia_nelta2 %4</p>\n")
             .arg(esc(boardLine(r)),
                  esc(r.started.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"))),
                  esc(seconds(r.elapsedMs)), esc(r.workstationVersion));
    h += QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"4\" width=\"100%\">\n"
                        "<tr><th width=\"24%\">Тест</th><th width=\"13%\">Итог</th>"
                        "<th width=\"8%\">Время</th><th>Подробности</th></tr>\n");
    // The table keeps to short lines; whole memory dumps and reports follow
    // it, one section per test (long unbreakable lines in a cell would
    // squeeze the other columns to a letter).
    QString dumps;
    for (const FullCheckEntry& e : r.entries) {
        QString details;
        if (!e.note.isEmpty() && e.verdict != CheckVerdict::Passed)
            details += esc(e.note) + QStringLiteral("<br>");
        if (!e.places.isEmpty())
            details += esc(e.places.first().simplified()) + QStringLiteral("<br>");
        if (!e.keyword.isEmpty())
            details += QStringLiteral("Диагностика: <b>%1</b><br>").arg(esc(e.keyword));
        if (!e.conclusion.isEmpty())
            details += QStringLiteral("Заключение: %1").arg(esc(e.conclusion.simplified()));
        if (e.places.size() > 1) {
            QString pre;
            for (const QString& p : e.places)
                pre += esc(p) + QLatin1Char('\n');
            dumps += QStringLiteral("<h3>%1</h3>\n<pre>%2</pre>\n").arg(esc(e.item.name), pre);
        }
        const bool ran = e.verdict != CheckVerdict::Skipped && e.verdict != CheckVerdict::NotRun;
        h += QStringLiteral("<tr><td>%1</td><td><font color=\"%2\"><b>%3</b></font></td>"
                            "<td>%4</td><td>%5</td></tr>\n")
                 .arg(esc(e.item.name), verdictColour(e.verdict), esc(checkVerdictText(e.verdict)),
                      ran ? esc(seconds(e.elapsedMs)) : QString(), details);
    }
    h += QStringLiteral("</table>\n<p>%1</p>\n<p><b>%2</b></p>\n%3</body></html>\n")
             .arg(esc(linkLine(r)), esc(totalsLine(r)), dumps);
    return h;
}

bool writeFullCheckReport(const FullCheckReport& report, const QString& path, QString* error) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    QByteArray bytes;
    const bool pdf = suffix == QStringLiteral("pdf");
    if (suffix == QStringLiteral("json")) {
        bytes = QJsonDocument(fullCheckJson(report)).toJson(QJsonDocument::Indented);
    } else if (suffix == QStringLiteral("html") || suffix == QStringLiteral("htm")) {
        bytes = fullCheckHtml(report).toUtf8();
    } else if (!pdf) {
        *error = QStringLiteral("неизвестный вид отчета: %1 (нужен .pdf, .html или .json)").arg(path);
        return false;
    } else if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        *error = QStringLiteral("отчет PDF требует графической подсистемы");
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = QStringLiteral("не удается создать %1: %2").arg(path, file.errorString());
        return false;
    }
    if (pdf) {
        QPdfWriter writer(&file);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
        writer.setResolution(300);
        writer.setTitle(QStringLiteral("Полная проверка платы"));
        writer.setCreator(QStringLiteral("kia_nelta2"));
        QTextDocument doc;
        doc.setHtml(fullCheckHtml(report));
        doc.print(&writer);
    } else if (file.write(bytes) != bytes.size()) {
        *error = QStringLiteral("ошибка записи %1: %2").arg(path, file.errorString());
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        *error = QStringLiteral("ошибка записи %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace kia
