#include "oscstepdialog.h"

#include "stepplacement.h"
#include "probestepdialog.h"

#include "core/benchcontext.h"
#include "probe/stimulus.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kia {

namespace {

bool isProgrammerRow(int row) { return row == 18 || row == 24; }

} // namespace

QImage DrawOscillogram(const QImage& screen, const Oscillogram& o) {
    QImage img = screen.isNull() ? QImage(Oscillogram::Width, Oscillogram::Height, QImage::Format_RGB32)
                                 : screen.convertToFormat(QImage::Format_RGB32);
    if (screen.isNull())
        img.fill(Qt::black);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setCompositionMode(QPainter::CompositionMode_Difference);
    for (const Oscillogram::BandRect& b : o.bands) {
        const int top = qRound(std::min(b.top, b.bottom));
        const int bottom = qRound(std::max(b.top, b.bottom));
        p.fillRect(QRect(0, top, img.width(), bottom - top + 1), QColor(64, 64, 64));
    }
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.setPen(QPen(QColor(0, 255, 255), 1));
    p.drawLine(0, o.zeroY, img.width() - 1, o.zeroY);

    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSize(8);
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(QRect(2, img.height() - 13, img.width() - 4, 13), Qt::AlignLeft | Qt::AlignVCenter, o.label);

    const QColor green(0, 255, 0);
    p.setPen(QPen(green, 1));
    for (const QLineF& l : o.edges)
        p.drawLine(l);
    for (const QLineF& l : o.zigzags)
        p.drawLine(l);
    p.setPen(QPen(green, 3, Qt::SolidLine, Qt::FlatCap));
    for (const QLineF& l : o.levelSegments)
        p.drawLine(l);
    return img;
}

COscStepDialog::COscStepDialog(BenchContext& ctx, const StepRequest& request, QWidget* parent,
                               const QString& pictures, bool runTimer)
    : QDialog(parent), m_ctx(ctx), m_request(request), m_stimulus(std::make_unique<StimulusRoutines>(ctx)) {
    setObjectName(QStringLiteral("oscStepDialog"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowTitle(QStringLiteral("Диагностика"));

    const bool withPoint = !request.point.isEmpty();
    const ProbePointName name = parseProbePointName(request.point);
    QString text = !request.text.isEmpty()
                       ? request.text
                       : QStringLiteral("Щуп осциллографа на ") + name.shown + QStringLiteral(".\n")
                             + QStringLiteral("Сигнал соответствует образцу ?");

    if (withPoint) {
        StepFile file;
        file.load(StepFile::defaultPath(ctx.workingFolder));
        QString line;
        if (file.commandLine(request.point, ctx.boardType, line) != StepFile::Ok
            || !parseOscCommand(line, m_command)) {
            m_pending = CodeStepFileError;
            m_command = OscCommand();
        }
        if (!m_command.connectTo.isEmpty())
            text += QStringLiteral("\n(выход формирователя лог. уровней\nдолжен быть подключен к ")
                    + m_command.connectTo + QLatin1Char(')');
        if (m_command.picture >= 0) {
            m_picture = QImage(pictures + QStringLiteral("%1.png").arg(m_command.picture));
            // A stored picture that is missing or not a screen: the drawing instead.
            if (m_picture.size() != QSize(Oscillogram::Width, Oscillogram::Height))
                m_picture = QImage();
        }
        if (m_picture.isNull()) {
            const Oscillogram o =
                buildOscillogram(m_command, StimulusRoutines::drawingStep(m_command.row, ctx.boardType),
                                 StimulusRoutines::timeText(m_command.row, ctx.boardType));
            m_picture = DrawOscillogram(QImage(pictures + QStringLiteral("197.png")), o);
            m_drawn = true;
        }
    }

    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    auto* textLabel = new QLabel(text, this);
    textLabel->setObjectName(QStringLiteral("stepText"));
    textLabel->setWordWrap(true);
    textLabel->setMinimumWidth(withPoint ? 200 : 300);
    if (withPoint) {
        auto* pictureLabel = new QLabel(this);
        pictureLabel->setObjectName(QStringLiteral("oscPicture"));
        pictureLabel->setPixmap(QPixmap::fromImage(m_picture));
        pictureLabel->setFixedSize(m_picture.size());
        top->addWidget(pictureLabel);
    } else {
        auto* icon = new QLabel(this);
        icon->setObjectName(QStringLiteral("oscIcon"));
        icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(32, 32));
        icon->setAlignment(Qt::AlignTop);
        top->addWidget(icon);
    }
    top->addWidget(textLabel, 1);
    layout->addLayout(top);

    m_history = new QTreeWidget(this);
    m_history->setObjectName(QStringLiteral("stepHistory"));
    FillStepHistory(m_history, request.history, name.shown);
    layout->addWidget(m_history);

    auto* buttons = new QHBoxLayout;
    auto add = [this, buttons](const QString& label, const char* objectName, bool shown) {
        auto* b = new QPushButton(label, this);
        b->setObjectName(QString::fromLatin1(objectName));
        b->setVisible(shown);
        buttons->addWidget(b);
        return b;
    };
    const int mode = request.mode;
    QPushButton* next = add(QStringLiteral("Далее..."), "nextButton", mode == 1);
    QPushButton* yes = add(QStringLiteral("Да"), "yesButton", mode == 2);
    QPushButton* no = add(QStringLiteral("Нет"), "noButton", mode == 2);
    QPushButton* end = add(QStringLiteral("Завершить"), "endButton", true);
    m_back = add(QStringLiteral("Назад на выбран. шаг"), "backButton", true);
    m_back->setEnabled(mode != 4);
    layout->addLayout(buttons);
    connect(next, &QPushButton::clicked, this, [this] { OnAnswer(CodePass, 0); });
    connect(yes, &QPushButton::clicked, this, [this] { OnAnswer(CodePass, 0); });
    connect(no, &QPushButton::clicked, this, [this] { OnAnswer(CodeFail, 0); });
    connect(end, &QPushButton::clicked, this, [this] { OnAnswer(CodeStop, 0); });
    connect(m_back, &QPushButton::clicked, this, &COscStepDialog::OnBack);

    if (m_pending < 0 && m_command.row >= 0 && !m_stimulus->start(m_command.row))
        m_pending = CodeLinkFailure;
    m_timer = new QTimer(this);
    connect(m_timer, &QTimer::timeout, this, &COscStepDialog::OnTimer);
    if (runTimer && (withPoint || m_pending >= 0))
        m_timer->start(FirstTickMs);
}

COscStepDialog::~COscStepDialog() = default;

int COscStepDialog::timerPeriodMs() const { return m_command.timeMs; }

void COscStepDialog::placeAway(const QRect& client, const QRect& avoid) {
    adjustSize();
    move(cornerAwayFrom(client, frameGeometry().size(), avoid));
}

void COscStepDialog::OnTimer() {
    if (m_done)
        return;
    if (m_timer->isActive() && m_timer->interval() != m_command.timeMs)
        m_timer->setInterval(m_command.timeMs);
    if (m_pending >= 0) {
        finish(m_pending, m_pending == CodeLinkFailure ? 1 : 0);
        return;
    }
    if (m_command.row < 0)
        return;
    if (m_command.inputs.isEmpty()) {
        if (!m_stimulus->setInput(m_command.row))
            finish(CodeLinkFailure, 1);
        return;
    }
    for (int value : m_command.inputs) {
        m_ctx.inputValue = static_cast<quint8>(value);
        if (!m_stimulus->setInput(m_command.row)) {
            finish(CodeLinkFailure, 1);
            return;
        }
    }
}

void COscStepDialog::OnAnswer(int code, int argument) { finish(code, argument); }

void COscStepDialog::OnBack() {
    if (m_request.mode == 4)
        return;
    const int row = ChosenHistoryRow(m_history);
    if (row >= 0)
        finish(CodeBackToStep, row);
}

void COscStepDialog::finish(int code, int argument) { finishAnd(code, argument, true); }

void COscStepDialog::finishAnd(int code, int argument, bool closeNow) {
    if (m_done)
        return;
    m_done = true;
    m_timer->stop();
    // The board is put back unless the link already failed (or never started).
    if (m_command.row >= 0 && code != CodeLinkFailure && m_pending != CodeStepFileError
        && !m_stimulus->finish(m_command.row)) {
        code = CodeLinkFailure;
        argument = 1;
    }
    if (code == CodeLinkFailure && isProgrammerRow(m_command.row))
        code = CodeNoProgrammer;
    emit outcome(code, argument);
    if (closeNow)
        close();
}

void COscStepDialog::reject() { finish(CodeStop, 0); }

void COscStepDialog::closeEvent(QCloseEvent* event) {
    if (!m_done)
        finishAnd(CodeStop, 0, false); // closing the window ends the run
    event->accept();
}

} // namespace kia
