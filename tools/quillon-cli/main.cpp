#include "tools/quillon-cli/cli.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

int main(int argc, char** argv)
{
    const QStringList given = [&] {
        QStringList list;
        for (int i = 1; i < argc; ++i)
            list.append(QString::fromLocal8Bit(argv[i]));
        return list;
    }();
    // Fonts without a display: the converter never shows a window.
    std::unique_ptr<QCoreApplication> app;
    if (CliNeedsFonts(given)) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QFile out;
    QFile err;
    out.open(stdout, QIODevice::WriteOnly);
    err.open(stderr, QIODevice::WriteOnly);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    int status = RunCli(arguments, out, err);
    // What is still buffered is written here: a full disk or a closed pipe
    // must not pass for success.
    errno = 0;
    if (!out.flush() || out.error() != QFileDevice::NoError) {
        const int error = errno;
        err.write(QByteArray("quillon-cli: cannot write the output: ")
                  + (error ? std::strerror(error) : "write failed") + '\n');
        if (status == 0)
            status = 1;
    }
    err.flush();
    return status;
}
