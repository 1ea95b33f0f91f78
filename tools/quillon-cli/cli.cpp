#include "tools/quillon-cli/cli.h"

#include "export/exportfile.h"
#include "export/minuteexport.h"
#include "export/opmlimport.h"
#include "model/minutefile.h"
#include "platform/devicepaths.h"
#include "tools/quillon-cli/minutejson.h"

#include <QFile>
#include <QIODevice>

namespace {

const char kUsage[] =
    "usage: quillon-cli dump FILE.min\n"
    "       quillon-cli create FILE.json -o OUT.min\n"
    "       quillon-cli export --to text|note|rtf|html [--numbered] [--ascii|--utf8] FILE.min -o OUT\n"
    "       quillon-cli export --to markdown [--numbered] FILE.min -o OUT.md\n"
    "       quillon-cli export --to pdf [--numbered] FILE.min -o OUT.pdf\n"
    "       quillon-cli export --to opml FILE.min -o OUT.opml\n"
    "       quillon-cli export --to clipboard [--numbered] FILE.min\n"
    "       quillon-cli import FILE.opml -o OUT.min\n"
    "\n"
    "dump    print the minute as JSON on standard output\n"
    "create  write a minute from JSON of the same shape\n"
    "export  write the minute as the editor's export does; the clipboard\n"
    "        text goes to standard output as UTF-8; Markdown and OPML are\n"
    "        always UTF-8, and OPML is never numbered; a PDF is on the paper\n"
    "        of the locale (LC_PAPER), dated today\n"
    "import  write a minute from an OPML outline\n";

void say(QIODevice& err, const QString& text)
{
    err.write(text.toUtf8() + '\n');
}

bool readMinute(const QString& path, NodeList& list, QIODevice& err)
{
    MinuteReader reader;
    MinuteFileResult result = reader.Open(path, path);
    if (result.ok())
        result = reader.ReadInto(list);
    if (!result.ok())
        say(err, result.message());
    return result.ok();
}

int dump(const QString& path, QIODevice& out, QIODevice& err)
{
    NodeList list;
    if (!readMinute(path, list, err))
        return CliFileFailed;
    if (!WriteMinuteJson(list, out)) {
        say(err, QStringLiteral("could not write to standard output"));
        return CliFileFailed;
    }
    return CliOk;
}

int writeMinute(const QString& outPath, const NodeList& list, QIODevice& err)
{
    const MinuteFileResult result = WriteMinuteFile(outPath, outPath, list);
    if (!result.ok()) {
        say(err, result.message());
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
    return writeMinute(outPath, list, err);
}

int importOpml(const QString& opmlPath, const QString& outPath, QIODevice& err)
{
    NodeList list;
    const OpmlImport::Result read = OpmlImport::ReadFile(opmlPath, opmlPath, list);
    if (!read.ok()) {
        say(err, read.message);
        return read.status == OpmlImport::Result::NotOpml ? CliBadInput : CliFileFailed;
    }
    return writeMinute(outPath, list, err);
}

// The one input file and "-o OUT" of create and import, in either order; the
// problem when there is something else.
QString inputAndOutput(const QStringList& arguments, QString* input, QString* output)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (argument == QLatin1String("-o") && i + 1 < arguments.size() && output->isEmpty())
            *output = arguments.at(++i);
        else if (input->isEmpty() && argument != QLatin1String("-o"))
            *input = argument;
        else
            return QStringLiteral("unexpected argument '%1'").arg(argument);
    }
    return {};
}

int exportMinute(const QStringList& arguments, QIODevice& out, QIODevice& err);

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
    if (command == QLatin1String("create") || command == QLatin1String("import")) {
        QString input;
        QString output;
        if (const QString problem = inputAndOutput(arguments, &input, &output); !problem.isEmpty())
            return usage(err, problem);
        const bool json = command == QLatin1String("create");
        if (input.isEmpty() || output.isEmpty())
            return usage(err, json ? QStringLiteral("create needs a JSON file and -o OUT.min")
                                   : QStringLiteral("import needs an OPML file and -o OUT.min"));
        return json ? create(input, output, err) : importOpml(input, output, err);
    }
    if (command == QLatin1String("export"))
        return exportMinute(arguments.mid(1), out, err);
    return usage(err, QStringLiteral("unknown command '%1'").arg(command));
}

namespace {

// The kinds by name: the index is the export kind; the minute itself is no export.
const QStringList kKinds = {QStringLiteral("clipboard"), QStringLiteral("text"), QStringLiteral("note"),
                            QStringLiteral("rtf"),       QStringLiteral("html"), QString(),
                            QStringLiteral("markdown"),  QStringLiteral("pdf"),  QStringLiteral("opml")};

int kindNamed(const QString& name)
{
    return name.isEmpty() ? -1 : int(kKinds.indexOf(name));
}

int exportMinute(const QStringList& arguments, QIODevice& out, QIODevice& err)
{
    int kind = -1;
    bool numbered = false;
    TextEncoding encoding = TextEncoding::Utf16;
    QString input;
    QString output;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (argument == QLatin1String("--to") && i + 1 < arguments.size() && kind < 0) {
            const QString& name = arguments.at(++i);
            kind = kindNamed(name);
            if (kind < 0)
                return usage(err, QStringLiteral("unknown export kind '%1'").arg(arguments.at(i)));
        } else if (argument == QLatin1String("--numbered")) {
            numbered = true;
        } else if (argument == QLatin1String("--ascii") || argument == QLatin1String("--utf8")) {
            const TextEncoding chosen = argument == QLatin1String("--ascii") ? TextEncoding::Ascii : TextEncoding::Utf8;
            if (encoding != TextEncoding::Utf16 && encoding != chosen)
                return usage(err, QStringLiteral("--ascii and --utf8 exclude each other"));
            encoding = chosen;
        } else if (argument == QLatin1String("-o") && i + 1 < arguments.size() && output.isEmpty()) {
            output = arguments.at(++i);
        } else if (input.isEmpty() && !argument.startsWith(QLatin1Char('-'))) {
            input = argument;
        } else {
            return usage(err, QStringLiteral("unexpected argument '%1'").arg(argument));
        }
    }
    if (kind < 0 || input.isEmpty())
        return usage(err, QStringLiteral("export needs --to KIND and a minute file"));
    if ((kind == ExportClipboard) != output.isEmpty())
        return usage(err, kind == ExportClipboard ? QStringLiteral("the clipboard text goes to standard output, not to -o")
                                                  : QStringLiteral("export needs -o OUT"));
    // Numbers would come back as part of every title.
    if (kind == ExportOpml && numbered)
        return usage(err, QStringLiteral("an OPML outline is never numbered"));

    NodeList list;
    if (!readMinute(input, list, err))
        return CliFileFailed;
    if (kind == ExportClipboard) {
        const QByteArray text = CMinuteExport(list, nullptr).RenderText(numbered).toUtf8();
        return out.write(text) == text.size() ? CliOk : CliFileFailed;
    }
    ExportSettings settings = ExportSettings::ForMinute(input);
    settings.numbered = numbered;
    settings.encoding = encoding;
    const QString path = normaliseFilePath(output);
    if (const std::optional<FileError> error = WriteExportFile(list, kind, path, path, settings)) {
        say(err, error->message());
        return CliFileFailed;
    }
    return CliOk;
}

} // namespace

bool CliNeedsFonts(const QStringList& arguments)
{
    if (arguments.value(0) != QLatin1String("export"))
        return false;
    const qsizetype to = arguments.indexOf(QStringLiteral("--to"));
    return to >= 0 && kindNamed(arguments.value(to + 1)) == ExportPdf;
}
