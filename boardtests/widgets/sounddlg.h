#pragma once

#include "dialogtimers.h"

#include <QDialog>

class QPushButton;

namespace kia {

class SoundTest;

/// "Тест звука...": the hint "Проконтролируйте наличие звукового сигнала !",
/// the buttons "Выход" (default) and "Диагностика", and the tone timer over a
/// SoundTest (300 ms first, then the wait each tone asks for). Ends with the
/// engine's result (2, 123, 124); the close box is "Выход". UI thread only.
class CSoundDlg : public QDialog {
    Q_OBJECT
public:
    CSoundDlg(SoundTest& engine, DialogTimers::Pacing pacing, QWidget* parent = nullptr);

    void start();
    int run();

    SoundTest& engine() const { return m_engine; }
    DialogTimers& timers() { return m_timers; }

    void reject() override;

signals:
    void toned();

private:
    void finishIfEnded();

    SoundTest& m_engine;
    DialogTimers m_timers;
    int m_toneTimer = -1;
};

} // namespace kia
