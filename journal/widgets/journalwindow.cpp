#include "journalwindow.h"

#include "boardtimeline.h"

#include "core/userprompts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QJsonArray>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QScrollArea>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace kia {

namespace {
const QString kAllBoards = QStringLiteral("Все платы");
const QString kNoNumber = QStringLiteral("Без номера");
constexpr int kAnyRole = Qt::UserRole + 1;
} // namespace

QString journalDetailsText(const QJsonObject& details) {
    auto names = [&](const char* key) {
        QStringList list;
        for (const QJsonValue& v : details.value(QLatin1String(key)).toArray())
            list << QDir::toNativeSeparators(v.toString());
        return list.join(QStringLiteral(", "));
    };
    QStringList lines;
    if (const QString files = names("files"); !files.isEmpty())
        lines << QStringLiteral("Файлы: ") + files;
    if (const QString backups = names("backups"); !backups.isEmpty())
        lines << QStringLiteral("Резервные копии: ") + backups;
    if (const QString id = details.value(QStringLiteral("identity")).toString(); !id.isEmpty())
        lines << QStringLiteral("DD5: ") + id;
    if (const QString kw = details.value(QStringLiteral("keyword")).toString(); !kw.isEmpty())
        lines << QStringLiteral("Ключевое слово: ") + kw;
    return lines.join(QLatin1Char('\n'));
}

JournalWindow::JournalWindow(const QString& journalPath, UserPrompts& prompts, QWidget* parent)
    : QDialog(parent), m_path(journalPath), m_prompts(prompts) {
    setObjectName(QStringLiteral("journalWindow"));
    setWindowTitle(QStringLiteral("Журнал ремонта"));
    resize(820, 520);

    m_board = new QComboBox(this);
    m_board->setObjectName(QStringLiteral("boardFilter"));
    m_board->setMinimumContentsLength(16);
    m_useDays = new QCheckBox(QStringLiteral("За дни с"), this);
    m_useDays->setObjectName(QStringLiteral("dayFilter"));
    m_from = new QDateEdit(QDate::currentDate().addDays(-30), this);
    m_from->setObjectName(QStringLiteral("fromDay"));
    m_to = new QDateEdit(QDate::currentDate(), this);
    m_to->setObjectName(QStringLiteral("toDay"));
    for (QDateEdit* e : {m_from, m_to}) {
        e->setCalendarPopup(true);
        e->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
        e->setEnabled(false);
    }
    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(new QLabel(QStringLiteral("Плата:"), this));
    filterRow->addWidget(m_board, 1);
    filterRow->addSpacing(12);
    filterRow->addWidget(m_useDays);
    filterRow->addWidget(m_from);
    filterRow->addWidget(new QLabel(QStringLiteral("по"), this));
    filterRow->addWidget(m_to);

    m_table = new QTableWidget(0, 6, this);
    m_table->setObjectName(QStringLiteral("journalTable"));
    m_table->setHorizontalHeaderLabels({QStringLiteral("Время"), QStringLiteral("Тип платы"),
                                        QStringLiteral("Плата"), QStringLiteral("Вид"),
                                        QStringLiteral("Что"), QStringLiteral("Итог")});
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);

    m_timeline = new BoardTimeline;
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("timelineScroll"));
    scroll->setWidget(m_timeline);
    scroll->setWidgetResizable(true);

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("journalTabs"));
    m_tabs->addTab(m_table, QStringLiteral("События"));
    m_tabs->addTab(scroll, QStringLiteral("История платы"));

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("journalStatus"));

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* exportButton =
        buttons->addButton(QStringLiteral("Экспорт CSV..."), QDialogButtonBox::ActionRole);
    exportButton->setObjectName(QStringLiteral("exportCsv"));
    QPushButton* refreshButton =
        buttons->addButton(QStringLiteral("Обновить"), QDialogButtonBox::ActionRole);
    refreshButton->setObjectName(QStringLiteral("refresh"));
    QPushButton* close = buttons->addButton(QStringLiteral("Закрыть"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("close"));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filterRow);
    layout->addWidget(m_tabs, 1);
    layout->addWidget(m_status);
    layout->addWidget(buttons);

    connect(exportButton, &QPushButton::clicked, this, &JournalWindow::exportCsv);
    connect(refreshButton, &QPushButton::clicked, this, &JournalWindow::refresh);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_board, &QComboBox::activated, this, &JournalWindow::boardChosen);
    connect(m_useDays, &QCheckBox::toggled, this, [this](bool on) {
        m_from->setEnabled(on);
        m_to->setEnabled(on);
        refresh();
    });
    connect(m_from, &QDateEdit::dateChanged, this, &JournalWindow::refresh);
    connect(m_to, &QDateEdit::dateChanged, this, &JournalWindow::refresh);

    m_poll = new QTimer(this);
    m_poll->setInterval(kRefreshMs);
    connect(m_poll, &QTimer::timeout, this, &JournalWindow::refresh);
    m_poll->start();

    reloadBoards();
    refresh();
}

JournalFilter JournalWindow::filter() const {
    JournalFilter f;
    const int i = m_board->currentIndex();
    f.anyBoard = i < 0 || m_board->itemData(i, kAnyRole).toBool();
    if (!f.anyBoard)
        f.boardId = m_board->itemData(i).toString();
    if (m_useDays->isChecked()) {
        f.from = m_from->date();
        f.to = m_to->date();
    }
    return f;
}

void JournalWindow::reloadBoards() {
    const QString current = m_board->currentIndex() > 0 ? m_board->currentData().toString() : QString();
    const bool any = m_board->currentIndex() <= 0;
    m_board->clear();
    m_board->addItem(kAllBoards);
    m_board->setItemData(0, true, kAnyRole);
    const QStringList boards = m_reader.isOpen() ? m_reader.boards() : QStringList();
    for (const QString& id : boards) {
        m_board->addItem(id.isEmpty() ? kNoNumber : id, id);
        m_board->setItemData(m_board->count() - 1, false, kAnyRole);
    }
    int keep = 0;
    if (!any)
        for (int i = 1; i < m_board->count(); ++i)
            if (m_board->itemData(i).toString() == current)
                keep = i;
    m_board->setCurrentIndex(keep);
}

void JournalWindow::boardChosen() {
    refresh();
    if (!filter().anyBoard)
        m_tabs->setCurrentIndex(1);
}

void JournalWindow::refresh() {
    QString error;
    if (!m_reader.isOpen()) {
        if (!m_reader.open(m_path, &error)) {
            m_rows.clear();
            showRows();
            m_status->setText(QStringLiteral("Журнал недоступен: %1").arg(error.left(200)));
            return;
        }
        reloadBoards();
    }
    const int boardsBefore = m_board->count();
    if (m_reader.boards().size() + 1 != boardsBefore)
        reloadBoards();
    QList<JournalRow> rows;
    if (!m_reader.events(filter(), &rows, &error)) {
        // Keep what is shown; a writer holding the lock lets go soon.
        m_status->setText(QStringLiteral("Журнал занят: %1").arg(error.left(200)));
        return;
    }
    const bool changed = rows.size() != m_rows.size() ||
                         (!rows.isEmpty() && rows.last().id != m_rows.last().id) ||
                         (!rows.isEmpty() && rows.first().id != m_rows.first().id);
    m_rows = rows;
    if (changed)
        showRows();
    m_status->setText(QStringLiteral("Событий: %1   (%2)")
                          .arg(m_rows.size())
                          .arg(QDir::toNativeSeparators(m_path)));
}

void JournalWindow::showRows() {
    m_table->setRowCount(int(m_rows.size()));
    for (int r = 0; r < m_rows.size(); ++r) {
        const JournalRow& row = m_rows[r];
        const QStringList cells{
            row.at.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss")),
            QString::number(row.boardType),
            row.boardId.isEmpty() ? kNoNumber : row.boardId,
            journalKindLabel(row.kind),
            row.name,
            row.verdict.simplified(),
        };
        const QString details = journalDetailsText(row.details);
        for (int c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (!details.isEmpty())
                item->setToolTip(details);
            if (c == 5 && row.outcome != JournalEvent::Outcome::None)
                item->setForeground(BoardTimeline::markColour(row.outcome));
            m_table->setItem(r, c, item);
        }
    }
    m_table->resizeColumnsToContents();
    if (!m_rows.isEmpty())
        m_table->scrollToBottom();
    m_timeline->setRows(m_rows);
}

bool JournalWindow::exportCsv() {
    const QString suggested = QStringLiteral("journal-%1.csv")
                                  .arg(QDate::currentDate().toString(QStringLiteral("yyyyMMdd")));
    const QString path = m_prompts.saveFile(
        QStringLiteral("Экспорт журнала"), {{QStringLiteral("Таблица CSV (*.csv)"), QStringLiteral("*.csv")}},
        QFileInfo(m_path).absolutePath(), suggested);
    if (path.isEmpty())
        return false;
    QSaveFile file(path);
    const QByteArray csv = journalCsv(m_rows);
    if (!file.open(QIODevice::WriteOnly) || file.write(csv) != csv.size() || !file.commit()) {
        m_prompts.message(PromptIcon::Error, QStringLiteral("Журнал ремонта"),
                          QStringLiteral("Ошибка записи файла %1 !  ").arg(QDir::toNativeSeparators(path)));
        return false;
    }
    m_status->setText(QStringLiteral("Записано событий: %1 в %2")
                          .arg(m_rows.size())
                          .arg(QDir::toNativeSeparators(path)));
    return true;
}

} // namespace kia
