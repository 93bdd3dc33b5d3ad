#pragma once

// Answers the dialogs of a WindowTestSession as an engineer would: each dialog,
// by its objectName, takes the next action queued for it once its modal loop
// runs; the test dialog's action waits until the test has done its steps. A
// dialog without an action takes its default or is left (Esc), so a forgotten
// answer fails the test instead of hanging it.

#include "boardtests/testengine.h"
#include "boardtests/widgets/testdialog.h"
#include "boardtests/widgets/windowtestsession.h"

#include <QAbstractButton>
#include <QDialog>
#include <QHash>
#include <QPointer>
#include <QQueue>
#include <QStringList>
#include <QTimer>
#include <functional>

namespace testgui {

class DialogScript : public QObject {
public:
    using Action = std::function<void(QDialog*)>;

    explicit DialogScript(kia::WindowTestSession& session) {
        connect(&session, &kia::WindowTestSession::dialogOpened, this, &DialogScript::onOpened);
    }

    /// Queues `action` for the next dialog named `name`.
    void on(const QString& name, Action action) { m_actions[name].enqueue(std::move(action)); }
    /// What a dialog named `name` gets when nothing is queued for it (else Esc).
    void byDefault(const QString& name, Action action) { m_defaults[name] = std::move(action); }
    /// Queues a click on the button `button` of the next dialog named `name`.
    void click(const QString& name, const QString& button) {
        on(name, [button](QDialog* d) { clickButton(d, button); });
    }

    static void clickButton(QDialog* d, const QString& button) {
        auto* b = d->findChild<QAbstractButton*>(button);
        if (b && b->isEnabled())
            b->click();
        else
            d->reject(); // what a test expected is not there: leave
    }

    /// objectNames of the dialogs in the order they opened.
    QStringList opened;

private:
    void onOpened(QDialog* d) {
        opened << d->objectName();
        QQueue<Action>& queue = m_actions[d->objectName()];
        Action action = !queue.isEmpty() ? queue.dequeue()
                        : m_defaults.contains(d->objectName())
                            ? m_defaults.value(d->objectName())
                            : Action([](QDialog* x) { x->reject(); });
        QPointer<QDialog> guard(d);
        // Whatever the action did (a failed check returns early), the dialog
        // must not stay open: the test would hang in its modal loop.
        auto run = [guard, action] {
            if (guard && guard->isVisible())
                action(guard);
            if (guard && guard->isVisible())
                guard->reject();
        };
        if (auto* test = qobject_cast<kia::CTestDialog*>(d)) {
            connect(&test->engine(), &kia::TestEngine::completed, d,
                    [d, run] { QTimer::singleShot(0, d, run); });
        } else {
            QTimer::singleShot(0, d, run);
        }
    }

    QHash<QString, QQueue<Action>> m_actions;
    QHash<QString, Action> m_defaults;
};

} // namespace testgui
