#include "benchcli.h"

#include "core/qttranslations.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTextStream>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {
// A PDF report needs Qt's fonts and painter: the full check runs under a
// QGuiApplication, on the offscreen platform when no other is asked for, so
// it needs no display. Every other command stays a plain console program.
bool needsGui(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "check") == 0)
            return true;
    return false;
}
} // namespace

int main(int argc, char* argv[])
{
    std::unique_ptr<QCoreApplication> application;
    if (needsGui(argc, argv)) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        application = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        application = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication& app = *application;
    QTextStream out(stdout);
    QTextStream err(stderr);
    out.setEncoding(QStringConverter::Utf8);
    err.setEncoding(QStringConverter::Utf8);
    QString translationWarning;
    if (!kia::InstallQtTranslations(app, kia::QtTranslationsFolder(), &translationWarning))
        err << "kia-bench: " << translationWarning << Qt::endl;
    kia::BenchCli cli(out, err);
    return cli.run(QCoreApplication::arguments().mid(1));
}
