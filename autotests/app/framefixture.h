#pragma once

#include "app/mainframe.h"
#include "core/benchcontext.h"
#include "core/scriptedprompts.h"
#include "sim/virtualclock.h"
#include "view/controlpoint.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

/// A working folder with everything the main frame loads: points file, icons,
/// tool bar strip and small board pictures (1000 x 800 diagram, 700 x 450 layout).
class FrameFixture {
public:
    static constexpr QSize SchematicSize{1000, 800};
    static constexpr QSize LayoutSize{700, 450};

    FrameFixture() {
        m_oldCwd = QDir::currentPath();
        QDir::setCurrent(m_dir.path());
        QDir().mkpath(QStringLiteral("res/icons"));
        QDir().mkpath(QStringLiteral("res/bitmaps"));
        auto solid = [](const QSize& size, const QColor& c, const QString& path) {
            QImage img(size, QImage::Format_RGB32);
            img.fill(c);
            img.save(path);
        };
        solid(QSize(32, 32), Qt::blue, QStringLiteral("res/icons/highlight.png"));
        for (int q = 0; q < 4; ++q) {
            solid(QSize(32, 32), Qt::red, QStringLiteral("res/icons/check_q%1.png").arg(q));
            solid(QSize(32, 32), Qt::green, QStringLiteral("res/icons/driver_q%1.png").arg(q));
        }
        solid(QSize(29 * 32, 32), Qt::yellow, QStringLiteral("res/bitmaps/128.png"));
        // Each menu bitmap its own colour, so that a swapped id shows; the
        // top-left pixel is the see-through grey.
        for (int id = 260; id <= 285; ++id) {
            QImage img(16, 16, QImage::Format_RGB32);
            img.fill(menuBitmapColour(id));
            img.setPixelColor(0, 0, QColor(192, 192, 192));
            img.save(QStringLiteral("res/bitmaps/%1.png").arg(id));
        }
        for (int id : {131, 133, 240, 244, 281})
            solid(SchematicSize, Qt::white, QStringLiteral("res/bitmaps/%1.png").arg(id));
        for (int id : {132, 134, 241, 245, 282})
            solid(LayoutSize, Qt::white, QStringLiteral("res/bitmaps/%1.png").arg(id));

        kia::ControlPoint p;
        p.setName("DD3/15");
        p.xSchematic = 500;
        p.ySchematic = 400;
        p.xLayout = 300;
        p.yLayout = 200;
        p.boardMask = 0x1F;
        QByteArray record(kia::ControlPoint::RecordSize, '\0');
        p.toRecord(reinterpret_cast<uchar*>(record.data()));
        QFile dot(QStringLiteral("kia_nelta2.dot"));
        dot.open(QIODevice::WriteOnly);
        dot.write(record);

        paths.iconFolder = m_dir.filePath(QStringLiteral("res/icons/"));
        paths.bitmapFolder = m_dir.filePath(QStringLiteral("res/bitmaps/"));
    }
    ~FrameFixture() { QDir::setCurrent(m_oldCwd); }

    /// The solid colour of menu bitmap `id` (260..285): distinct per id, never grey.
    static QColor menuBitmapColour(int id) {
        const int n = id - 260;
        return QColor(20 + 9 * n, 240 - 7 * n, (n % 2) ? 40 : 90);
    }

    QString folder() const { return m_dir.path(); }
    QString settingsPath() const { return m_dir.filePath(QStringLiteral("kia_nelta2.cfg")); }

    /// A fresh context and prompts; removes the settings file unless `keepSettings`.
    void reset(bool keepSettings = false) {
        frame.reset();
        ctx.reset();
        prompts.clear();
        if (!keepSettings)
            QFile::remove(settingsPath());
        ctx = std::make_unique<kia::BenchContext>(clock, prompts);
    }

    /// Makes and creates the frame for a board type.
    bool makeFrame(int boardType) {
        frame.reset();
        ctx->boardType = boardType;
        frame = std::make_unique<kia::CMainFrame>(*ctx);
        return frame->Create(paths);
    }

    void writeSettings(const QByteArray& bytes) {
        QFile f(settingsPath());
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(bytes);
    }

    sim::VirtualClock clock;
    kia::ScriptedPrompts prompts;
    std::unique_ptr<kia::BenchContext> ctx;
    std::unique_ptr<kia::CMainFrame> frame;
    kia::CMainFrame::Paths paths;

private:
    QTemporaryDir m_dir;
    QString m_oldCwd;
};
