#include "circuitdialog.h"

#include "boardtests/circuitdialogmodel.h"
#include "diagn/widgets/stepplacement.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace kia {

namespace {
constexpr int kAutoStartMs = 20;

QPushButton* button(const QString& text, const char* name, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}
} // namespace

CCircuitDialog::CCircuitDialog(CircuitDialogModel& model, QWidget* parent)
    : QDialog(parent), m_model(model) {
    setObjectName(QStringLiteral("circuitDialog"));
    setWindowTitle(QStringLiteral("Тест периферии"));
    auto* layout = new QVBoxLayout(this);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("circuitProgress"));
    m_progress->setRange(0, model.progressMaximum());
    m_progress->setValue(0);
    m_progress->setTextVisible(false);
    layout->addWidget(m_progress);
    m_text = new QLabel(model.text(), this);
    m_text->setObjectName(QStringLiteral("circuitText"));
    m_text->setMinimumWidth(360);
    layout->addWidget(m_text);
    auto* buttons = new QHBoxLayout;
    m_start = button(QStringLiteral("Пуск"), "circuitStart", this);
    m_other = button(QStringLiteral("Выбрать другую цепь"), "circuitOther", this);
    m_exit = button(QStringLiteral("Выход"), "circuitExit", this);
    m_start->setDefault(true);
    m_other->setEnabled(model.otherCircuitEnabled());
    buttons->addWidget(m_start);
    buttons->addWidget(m_other);
    buttons->addWidget(m_exit);
    layout->addLayout(buttons);

    model.onProgress = [this](int p) { m_progress->setValue(p); };
    connect(m_start, &QPushButton::clicked, this, &CCircuitDialog::start);
    connect(m_other, &QPushButton::clicked, this, &CCircuitDialog::chooseOther);
    connect(m_exit, &QPushButton::clicked, this, [this] { done(CircuitDialogExit); });
    if (model.autoStart())
        QTimer::singleShot(kAutoStartMs, this, &CCircuitDialog::start);
}

void CCircuitDialog::placeAway(const QRect& client, const QRect& markRect) {
    adjustSize();
    move(cornerAwayFrom(client, frameGeometry().size(), markRect));
}

void CCircuitDialog::start() {
    m_start->setEnabled(false);
    m_other->setEnabled(false);
    m_exit->setEnabled(false);
    const int end = m_model.run();
    if (end != 0) {
        done(end);
        return;
    }
    // The last row: the verdict stays until "Выход".
    m_text->setText(m_model.text());
    m_exit->setEnabled(true);
    m_exit->setDefault(true);
}

void CCircuitDialog::reject() {
    if (m_exit->isEnabled())
        done(CircuitDialogExit);
}

void CCircuitDialog::chooseOther() {
    CCircuitChoiceDialog choice(m_model, this);
    const int end = choice.exec();
    if (end > 0)
        done(end);
}

CCircuitChoiceDialog::CCircuitChoiceDialog(const CircuitDialogModel& model, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("circuitChoiceDialog"));
    setWindowTitle(QStringLiteral("Выберите цепь..."));
    auto* layout = new QVBoxLayout(this);
    auto* list = new QListWidget(this);
    list->setObjectName(QStringLiteral("circuitList"));
    const QList<int> rows = model.selectableRows();
    list->addItems(model.selectableNames());
    list->setCurrentRow(0);
    layout->addWidget(list);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    box->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    layout->addWidget(box);
    auto accept = [this, list, rows] {
        const int i = list->currentRow();
        if (i >= 0 && i < rows.size())
            done(CircuitDialogModel::choiceEndCode(rows.at(i)));
    };
    connect(box, &QDialogButtonBox::accepted, this, accept);
    connect(list, &QListWidget::itemDoubleClicked, this, accept);
    connect(box, &QDialogButtonBox::rejected, this, [this] { done(0); });
}

CCircuitErrorDialog::CCircuitErrorDialog(const CircuitErrorReport& e, bool diagnosticsEnabled,
                                         QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("circuitErrorDialog"));
    setWindowTitle(QStringLiteral("Ошибка теста периферии"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    auto field = [this, form](const QString& label, const QString& value, const char* name) {
        auto* v = new QLabel(value, this);
        v->setObjectName(QLatin1String(name));
        form->addRow(label, v);
    };
    field(QStringLiteral("Цепь :"), e.circuit, "errorCircuit");
    field(QStringLiteral("Вход(ы) :"), e.inputs.join(QStringLiteral(", ")), "errorInputs");
    field(QStringLiteral("Значение входов :"), e.inputValues.join(QStringLiteral("\n")),
          "errorInputValues");
    field(QStringLiteral("Выход :"), e.output, "errorOutput");
    field(QStringLiteral("Считанное значение выхода :"), e.measured, "errorMeasured");
    field(QStringLiteral("Ожидаемое значение выхода :"), e.expected, "errorExpected");
    layout->addLayout(form);
    auto* bottom = new QLabel(e.bottomLine, this);
    bottom->setObjectName(QStringLiteral("errorBottomLine"));
    bottom->setWordWrap(true);
    bottom->setVisible(!e.bottomLine.isEmpty());
    layout->addWidget(bottom);
    auto* buttons = new QHBoxLayout;
    const struct {
        const char* text;
        const char* name;
        CircuitErrorAnswer answer;
    } keys[] = {{"Повтор", "errorRepeat", CircuitErrorAnswer::Repeat},
                {"Продолжить", "errorContinue", CircuitErrorAnswer::Continue},
                {"Диагностика", "errorDiagnostics", CircuitErrorAnswer::Diagnostics},
                {"Выход", "errorExit", CircuitErrorAnswer::Exit}};
    for (const auto& k : keys) {
        QPushButton* b = button(QString::fromUtf8(k.text), k.name, this);
        const int answer = static_cast<int>(k.answer);
        connect(b, &QPushButton::clicked, this, [this, answer] { done(answer); });
        if (k.answer == CircuitErrorAnswer::Diagnostics)
            b->setEnabled(diagnosticsEnabled);
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);
}

} // namespace kia
