#include "tools/quillon-cli/cli.h"

#include <QCoreApplication>
#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
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
