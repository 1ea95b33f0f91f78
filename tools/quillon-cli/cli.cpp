#include "tools/quillon-cli/cli.h"

#include "model/minutefile.h"
#include "tools/quillon-cli/minutejson.h"

#include <QFile>
#include <QIODevice>

namespace {

const char kUsage[] =
    "usage: quillon-cli dump FILE.min\n"
    "       quillon-cli create FILE.json -o OUT.min\n"
    "\n"
    "dump    print the minute as JSON on standard output\n"
    "create  write a minute from JSON of the same shape\n";

void say(QIODevice& err, const QString& text)
{
    err.write(text.toUtf8() + '\n');
}

int dump(const QString& path, QIODevice& out, QIODevice& err)
{
    MinuteReader reader;
    NodeList list;
    MinuteFileResult result = reader.Open(path, path);
    if (result.ok())
        result = reader.ReadInto(list);
    if (!result.ok()) {
        say(err, result.message());
        return CliFileFailed;
    }
    if (!WriteMinuteJson(list, out)) {
        say(err, QStringLiteral("could not write to standard output"));
        return CliFileFailed;
    }
    return CliOk;
}

int create(const QString& jsonPath, const QString& outPath, QIODevice& err)
{
    QFile input(jsonPath);
    if (!input.open(QIODevice::ReadOnly)) {
        say(err, QStringLiteral("%1: %2").arg(jsonPath, input.errorString()));
        return CliFileFailed;
    }
    NodeList list;
    QString error;
    if (!ReadMinuteJson(input.readAll(), list, &error)) {
        say(err, QStringLiteral("%1: %2").arg(jsonPath, error));
        return CliBadInput;
    }
    const MinuteFileResult result = WriteMinuteFile(outPath, outPath, list);
    if (!result.ok()) {
        say(err, result.message());
        return CliFileFailed;
    }
    return CliOk;
}

int usage(QIODevice& err, const QString& problem)
{
    if (!problem.isEmpty())
        say(err, QStringLiteral("quillon-cli: ") + problem);
    err.write(kUsage);
    return CliBadInput;
}

} // namespace

int RunCli(const QStringList& arguments, QIODevice& out, QIODevice& err)
{
    if (arguments.isEmpty())
        return usage(err, QString());
    const QString command = arguments.first();
    if (command == QLatin1String("--help") || command == QLatin1String("-h") || command == QLatin1String("help")) {
        out.write(kUsage);
        return CliOk;
    }
    if (command == QLatin1String("dump")) {
        if (arguments.size() != 2)
            return usage(err, QStringLiteral("dump takes one file"));
        return dump(arguments.at(1), out, err);
    }
    if (command == QLatin1String("create")) {
        QString input;
        QString output;
        for (qsizetype i = 1; i < arguments.size(); ++i) {
            const QString& argument = arguments.at(i);
            if (argument == QLatin1String("-o") && i + 1 < arguments.size() && output.isEmpty())
                output = arguments.at(++i);
            else if (input.isEmpty() && argument != QLatin1String("-o"))
                input = argument;
            else
                return usage(err, QStringLiteral("unexpected argument '%1'").arg(argument));
        }
        if (input.isEmpty() || output.isEmpty())
            return usage(err, QStringLiteral("create needs a JSON file and -o OUT.min"));
        return create(input, output, err);
    }
    return usage(err, QStringLiteral("unknown command '%1'").arg(command));
}
