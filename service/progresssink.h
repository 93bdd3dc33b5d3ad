#pragma once

#include <QString>

namespace kia {

/// Where a service worker reports how far it is: the progress dialog's bar and
/// caption, a bar on the terminal, or a test's recorder. Called from the
/// worker's thread only; an implementation that shows something on another
/// thread queues the calls there.
class ProgressSink {
public:
    virtual ~ProgressSink() = default;

    /// Advances the bar by one unit of work (a page, a bank, a block).
    virtual void step() = 0;
    virtual void setPosition(int position) = 0;
    /// The bar now runs 0..maximum.
    virtual void setRange(int maximum) = 0;
    virtual void setCaption(const QString& caption) = 0;
};

/// A sink that shows nothing.
class NullProgressSink final : public ProgressSink {
public:
    void step() override {}
    void setPosition(int) override {}
    void setRange(int) override {}
    void setCaption(const QString&) override {}
};

} // namespace kia
