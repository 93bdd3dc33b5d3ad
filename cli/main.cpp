#include "benchcli.h"

#include "core/qttranslations.h"

#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
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
