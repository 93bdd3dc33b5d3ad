#pragma once

#include "diagn/oscillogram.h"
#include "diagn/stepdialoghost.h"
#include "diagn/stepfile.h"

#include <QDialog>
#include <QImage>
#include <memory>

class QLabel;
class QPushButton;
class QTimer;
class QTreeWidget;

namespace kia {

class BenchContext;
class StimulusRoutines;

/// Draws a reference oscillogram onto a copy of the empty screen: tolerance
/// bands inverted with dark grey, the cyan zero line, the label at the
/// bottom and the green waveform. No anti-aliasing.
QImage DrawOscillogram(const QImage& screen, const Oscillogram& oscillogram);

/// The oscilloscope step ("Диагностика"): the question or conclusion, the
/// reference picture of the expected signal (a stored one for "OSC-", else
/// the drawn oscillogram on the empty screen 197) and the answer buttons of
/// the mode (0 none, 1 "Далее...", 2 "Да"/"Нет", 3 none, 4 a single-point
/// look). While it is open the step file's stimulus row drives the board on
/// a timer. Reports one outcome and closes itself. Modeless; UI thread.
class COscStepDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int FirstTickMs = 10;

    /// `pictures`: folder (trailing "/") of the numbered bitmaps. With
    /// `runTimer` false nothing ticks by itself (tests call OnTimer()).
    COscStepDialog(BenchContext& ctx, const StepRequest& request, QWidget* parent = nullptr,
                   const QString& pictures = QStringLiteral(":/bitmaps/"), bool runTimer = true);
    ~COscStepDialog() override;

    void placeAway(const QRect& client, const QRect& avoid);

    /// One tick of the stimulus timer.
    void OnTimer();
    void OnAnswer(int code, int argument);
    void OnBack();

    const OscCommand& command() const { return m_command; }
    /// The picture shown (null without a point).
    const QImage& picture() const { return m_picture; }
    bool drawsOscillogram() const { return m_drawn; }
    int timerPeriodMs() const;

signals:
    void outcome(int code, int argument);

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void finish(int code, int argument);
    void finishAnd(int code, int argument, bool closeNow);

    BenchContext& m_ctx;
    StepRequest m_request;
    OscCommand m_command;
    std::unique_ptr<StimulusRoutines> m_stimulus;
    int m_pending = -1; // code reported on the first tick
    bool m_done = false;
    bool m_drawn = false;
    QImage m_picture;
    QTimer* m_timer = nullptr;
    QTreeWidget* m_history = nullptr;
    QPushButton* m_back = nullptr;
};

} // namespace kia
