// quillon-cli: minutes to JSON and back.

#include "testsupport.h"
#include "tools/quillon-cli/cli.h"

#include <QBuffer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/stat.h>

#include <gtest/gtest.h>

namespace {

struct CliRun {
    int status;
    QByteArray out;
    QByteArray err;
};

CliRun run(const QStringList& arguments)
{
    QBuffer out;
    QBuffer err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    const int status = RunCli(arguments, out, err);
    return {status, out.data(), err.data()};
}

const QString kWorkedExample = testsupport::dataPath(QStringLiteral("worked_example.min"));

} // namespace

TEST(QuillonCli, DumpPrintsEveryNodeInListOrder)
{
    const CliRun result = run({QStringLiteral("dump"), kWorkedExample});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out.toStdString(),
              "{\"nodes\":[\n"
              "{\"title\":\"A\",\"text\":\"\",\"level\":1,\"kind\":0,\"reserved\":0},\n"
              "{\"title\":\"B\",\"text\":\"x\",\"level\":2,\"kind\":1,\"reserved\":0}\n"
              "]}\n");
    EXPECT_TRUE(result.err.isEmpty());
}

TEST(QuillonCli, CreateFromADumpGivesTheSameBytes)
{
    QTemporaryDir dir;
    const QString json = dir.filePath(QStringLiteral("m.json"));
    const QString made = dir.filePath(QStringLiteral("made.min"));

    // Characters that need escaping or that UTF-8 cannot carry, and a reserved word.
    ASSERT_TRUE(testsupport::writeFile(json,
        "{\"nodes\":[{\"title\":\"Q\\\"uote\\\\ \\u0001 \\ud800 \xf0\x9f\x98\x80 \xc3\xa9\",\"text\":\"a\\r\\nb\\tc\","
        "\"level\":1,\"kind\":0,\"reserved\":4294967295},{\"title\":\"Deep\",\"text\":\"\",\"level\":-3,\"kind\":1}]}"));
    ASSERT_EQ(run({QStringLiteral("create"), json, QStringLiteral("-o"), made}).status, 0);
    const QByteArray first = testsupport::readFile(made);

    const CliRun dumped = run({QStringLiteral("dump"), made});
    ASSERT_EQ(dumped.status, 0);
    EXPECT_TRUE(dumped.out.contains("\\ud800"));
    EXPECT_TRUE(dumped.out.contains("\"reserved\":4294967295"));
    ASSERT_TRUE(testsupport::writeFile(json, dumped.out));
    ASSERT_EQ(run({QStringLiteral("create"), QStringLiteral("-o"), made, json}).status, 0);
    EXPECT_EQ(testsupport::readFile(made), first);

    // And the golden example survives dump then create unchanged.
    ASSERT_TRUE(testsupport::writeFile(json, run({QStringLiteral("dump"), kWorkedExample}).out));
    ASSERT_EQ(run({QStringLiteral("create"), json, QStringLiteral("-o"), made}).status, 0);
    EXPECT_EQ(testsupport::readFile(made), testsupport::readFile(kWorkedExample));
}

TEST(QuillonCli, UnreadableMinutesGiveTheEditorsMessage)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("missing.min"));
    CliRun result = run({QStringLiteral("dump"), missing});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, (missing + QStringLiteral(" was not found.\n")).toUtf8());
    EXPECT_TRUE(result.out.isEmpty());

    const QString damaged = dir.filePath(QStringLiteral("damaged.min"));
    ASSERT_TRUE(testsupport::writeFile(damaged, testsupport::fromHex("01 00 FF FF 01 00")));
    result = run({QStringLiteral("dump"), damaged});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, QByteArray("Unexpected file format.\n"));

    const QString empty = dir.filePath(QStringLiteral("empty.min"));
    ASSERT_TRUE(testsupport::writeFile(empty, QByteArray()));
    EXPECT_EQ(run({QStringLiteral("dump"), empty}).out, QByteArray("{\"nodes\":[]}\n"));
}

TEST(QuillonCli, BadJsonIsNamedAndWritesNothing)
{
    QTemporaryDir dir;
    const QString json = dir.filePath(QStringLiteral("bad.json"));
    const QString made = dir.filePath(QStringLiteral("made.min"));
    const struct {
        const char* json;
        const char* error;
    } cases[] = {
        {"{\"nodes\":[", "not valid JSON at offset"},
        {"[]", "expected an object with a \"nodes\" array"},
        {"{}", "missing \"nodes\""},
        {"{\"nodes\":{}}", "\"nodes\" must be an array"},
        {"{\"nodes\":[1]}", "nodes[0]: expected an object"},
        {"{\"nodes\":[{\"text\":\"\",\"level\":1,\"kind\":1}]}", "nodes[0]: missing \"title\""},
        {"{\"nodes\":[{\"title\":\"A\",\"text\":\"\",\"level\":1,\"kind\":1},{\"title\":\"B\",\"text\":\"\",\"kind\":1}]}",
         "nodes[1]: missing \"level\""},
        {"{\"nodes\":[{\"title\":5,\"text\":\"\",\"level\":1,\"kind\":1}]}", "nodes[0].title: expected a string"},
        {"{\"nodes\":[{\"title\":\"A\",\"text\":\"\",\"level\":1.5,\"kind\":1}]}", "nodes[0].level: expected an integer"},
        {"{\"nodes\":[{\"title\":\"A\",\"text\":\"\",\"level\":1,\"kind\":\"1\"}]}", "nodes[0].kind: expected an integer"},
        {"{\"nodes\":[{\"title\":\"A\",\"text\":\"\",\"level\":2147483648,\"kind\":1}]}", "nodes[0].level: expected an integer from -2147483648 to 2147483647"},
        {"{\"nodes\":[{\"title\":\"A\",\"text\":\"\",\"level\":1,\"kind\":1,\"reserved\":-1}]}", "nodes[0].reserved: expected an integer from 0 to 4294967295"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.json);
        ASSERT_TRUE(testsupport::writeFile(json, c.json));
        const CliRun result = run({QStringLiteral("create"), json, QStringLiteral("-o"), made});
        EXPECT_EQ(result.status, 2);
        EXPECT_TRUE(result.err.startsWith((json + QStringLiteral(": ")).toUtf8() + c.error)) << result.err.toStdString();
        EXPECT_FALSE(QFile::exists(made));
    }
}

TEST(QuillonCli, WrongArgumentsShowTheUsage)
{
    for (const QStringList& arguments : {QStringList{}, QStringList{QStringLiteral("dump")},
                                         QStringList{QStringLiteral("create"), QStringLiteral("a.json")},
                                         QStringList{QStringLiteral("frobnicate")}}) {
        const CliRun result = run(arguments);
        EXPECT_EQ(result.status, 2);
        EXPECT_TRUE(result.err.contains("usage: quillon-cli dump FILE.min"));
    }
}

TEST(QuillonCli, TheProgramRunsTheCommands)
{
    QProcess process;
    process.start(QStringLiteral(QUILLON_CLI_PATH), {QStringLiteral("dump"), kWorkedExample});
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_TRUE(process.readAllStandardOutput().startsWith("{\"nodes\":[\n{\"title\":\"A\""));

    process.start(QStringLiteral(QUILLON_CLI_PATH), {QStringLiteral("dump"), QStringLiteral("/nonexistent/x.min")});
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 1);
    EXPECT_EQ(process.readAllStandardError(), QByteArray("/nonexistent/x.min was not found.\n"));

    // A PDF needs fonts, and gets them without a display.
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("out.pdf"));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        environment.remove(QString::fromLatin1(name));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(QUILLON_CLI_PATH), {QStringLiteral("export"), QStringLiteral("--to"), QStringLiteral("pdf"),
                                                     QStringLiteral("--numbered"), kWorkedExample, QStringLiteral("-o"), pdf});
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    const testsupport::ToolRun text = testsupport::runTool(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), pdf, QStringLiteral("-")});
    EXPECT_EQ(text.error, QString());
    EXPECT_TRUE(text.output.startsWith("worked_example\n")) << text.output.toStdString();
    EXPECT_TRUE(text.output.contains("\n1. A\n")) << text.output.toStdString();
}

// Output that cannot be written, and a target that is no regular file, are
// failures: nothing is reported as done, and the target is left as it was.
TEST(QuillonCli, WritesThatCannotBeMadeFail)
{
    QProcess process;
    process.setStandardOutputFile(QStringLiteral("/dev/full"));
    process.start(QStringLiteral(QUILLON_CLI_PATH), {QStringLiteral("dump"), kWorkedExample});
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 1);
    EXPECT_TRUE(process.readAllStandardError().startsWith("quillon-cli: cannot write the output: "));

    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("pipe.min"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString json = dir.filePath(QStringLiteral("a.json"));
    ASSERT_TRUE(testsupport::writeFile(json, "{\"nodes\":[]}"));
    process.setStandardOutputFile(QString());
    process.start(QStringLiteral(QUILLON_CLI_PATH), {QStringLiteral("create"), json, QStringLiteral("-o"), fifo});
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 1);
    EXPECT_EQ(process.readAllStandardError(), QStringLiteral("Access to %1 was denied.\n").arg(fifo).toUtf8());
    EXPECT_FALSE(QFileInfo(fifo).isFile()); // still the FIFO
}

TEST(QuillonCli, ExportWritesWhatTheEditorWould)
{
    QTemporaryDir dir;
    const QString json = dir.filePath(QStringLiteral("m.json"));
    const QString minute = dir.filePath(QStringLiteral("Board.min")); // the Markdown title
    ASSERT_TRUE(testsupport::writeFile(json,
        "{\"nodes\":[{\"title\":\"Attendees\",\"text\":\"Ann\\r\\nBob\",\"level\":1,\"kind\":0},"
        "{\"title\":\"Apologies\",\"text\":\"\",\"level\":2,\"kind\":1},"
        "{\"title\":\"Actions\",\"text\":\"Call\",\"level\":1,\"kind\":1}]}"));
    ASSERT_EQ(run({QStringLiteral("create"), json, QStringLiteral("-o"), minute}).status, 0);

    const struct {
        const char* kind;
        bool numbered;
        const char* golden;
    } cases[] = {
        {"text", true, "worked_example_numbered.txt"},
        {"note", true, "worked_example_numbered.txt"},
        {"html", false, "worked_example.htm"},
        {"rtf", true, "worked_example_numbered.rtf"},
        {"markdown", true, "worked_example_numbered.md"},
        {"opml", false, "worked_example.opml"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        const QString out = dir.filePath(QStringLiteral("out"));
        QStringList arguments{QStringLiteral("export"), QStringLiteral("--to"), QString::fromLatin1(c.kind), minute,
                              QStringLiteral("-o"), out};
        if (c.numbered)
            arguments.append(QStringLiteral("--numbered"));
        ASSERT_EQ(run(arguments).status, 0);
        EXPECT_EQ(testsupport::readFile(out), testsupport::readFile(testsupport::dataPath(QString::fromLatin1(c.golden))));
    }

    const QString ascii = dir.filePath(QStringLiteral("ascii.txt"));
    ASSERT_EQ(run({QStringLiteral("export"), QStringLiteral("--ascii"), QStringLiteral("--to"), QStringLiteral("text"),
                   minute, QStringLiteral("-o"), ascii}).status, 0);
    EXPECT_EQ(testsupport::readFile(ascii), QByteArray("Attendees\r\nAnn\r\nBob\r\n\r\nApologies\r\n\r\n\r\nActions\r\nCall\r\n\r\n"));

    const CliRun clipboard = run({QStringLiteral("export"), QStringLiteral("--to"), QStringLiteral("clipboard"),
                                  QStringLiteral("--numbered"), minute});
    EXPECT_EQ(clipboard.status, 0);
    EXPECT_EQ(clipboard.out, QByteArray("1.\tAttendees\r\nAnn\r\nBob\r\n\r\n1.1.\tApologies\r\n\r\n\r\n2.\tActions\r\nCall\r\n\r\n"));
}

TEST(QuillonCli, ExportWritesUtf8OnRequest)
{
    QTemporaryDir dir;
    const QString json = dir.filePath(QStringLiteral("m.json"));
    const QString minute = dir.filePath(QStringLiteral("m.min"));
    ASSERT_TRUE(testsupport::writeFile(json, "{\"nodes\":[{\"title\":\"Caf\xc3\xa9\",\"text\":\"\xe2\x82\xac\\r\\n\xf0\x9f\x98\x80\","
                                             "\"level\":1,\"kind\":1}]}"));
    ASSERT_EQ(run({QStringLiteral("create"), json, QStringLiteral("-o"), minute}).status, 0);
    const QString out = dir.filePath(QStringLiteral("out.pwi"));
    ASSERT_EQ(run({QStringLiteral("export"), QStringLiteral("--to"), QStringLiteral("note"), QStringLiteral("--utf8"),
                   QStringLiteral("--numbered"), minute, QStringLiteral("-o"), out}).status, 0);
    EXPECT_EQ(testsupport::readFile(out), QByteArray("1.\tCaf\xc3\xa9\r\n\xe2\x82\xac\r\n\xf0\x9f\x98\x80\r\n\r\n"));
    EXPECT_EQ(run({QStringLiteral("export"), QStringLiteral("--ascii"), QStringLiteral("--utf8"), QStringLiteral("--to"),
                   QStringLiteral("text"), minute, QStringLiteral("-o"), out}).status, 2);
}

TEST(QuillonCli, MarkdownFailuresAreReportedAsTheOtherKinds)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("no/such/out.md"));
    const CliRun failed = run({QStringLiteral("export"), QStringLiteral("--to"), QStringLiteral("markdown"), kWorkedExample,
                               QStringLiteral("-o"), missing});
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.err, (missing + QStringLiteral(" was not found.\n")).toUtf8());
    EXPECT_EQ(run({QStringLiteral("export"), QStringLiteral("--to"), QStringLiteral("markdown"), kWorkedExample}).status, 2);
    EXPECT_TRUE(run({QStringLiteral("--help")}).out.contains("--to markdown"));
}

TEST(QuillonCli, ExportErrorsAreTheEditorsOrNameTheArgument)
{
    QTemporaryDir dir;
    CliRun result = run({QStringLiteral("export"), QStringLiteral("--to"), QStringLiteral("html"), kWorkedExample,
                         QStringLiteral("-o"), dir.filePath(QStringLiteral("no/such/out.htm"))});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, (dir.filePath(QStringLiteral("no/such/out.htm")) + QStringLiteral(" was not found.\n")).toUtf8());

    result = run({QStringLiteral("export"), QStringLiteral("--to"), QStringLiteral("text"), dir.filePath(QStringLiteral("x.min")),
                  QStringLiteral("-o"), dir.filePath(QStringLiteral("x.txt"))});
    EXPECT_EQ(result.status, 1);
    EXPECT_TRUE(result.err.endsWith(" was not found.\n"));

    for (const QStringList& arguments :
         {QStringList{QStringLiteral("export"), QStringLiteral("--to"), QStringLiteral("docx"), kWorkedExample, QStringLiteral("-o"), QStringLiteral("x")},
          QStringList{QStringLiteral("export"), kWorkedExample, QStringLiteral("-o"), QStringLiteral("x")},
          QStringList{QStringLiteral("export"), QStringLiteral("--to"), QStringLiteral("text"), kWorkedExample},
          QStringList{QStringLiteral("export"), QStringLiteral("--to"), QStringLiteral("clipboard"), kWorkedExample, QStringLiteral("-o"), QStringLiteral("x")}}) {
        result = run(arguments);
        EXPECT_EQ(result.status, 2) << arguments.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(result.err.contains("usage:"));
    }
}

TEST(QuillonCli, OpmlExportAndImportGiveTheMinuteBack)
{
    QTemporaryDir dir;
    const QString json = dir.filePath(QStringLiteral("m.json"));
    const QString minute = dir.filePath(QStringLiteral("Board.min"));
    ASSERT_TRUE(testsupport::writeFile(json,
        "{\"nodes\":[{\"title\":\"Attendees & <guests>\",\"text\":\"Ann\\r\\nBob\\tCaf\xc3\xa9\",\"level\":1,\"kind\":0},"
        "{\"title\":\"\",\"text\":\"\",\"level\":2,\"kind\":1},"
        "{\"title\":\"Actions\",\"text\":\"\\\"Call\\\"\",\"level\":1,\"kind\":1}]}"));
    ASSERT_EQ(run({QStringLiteral("create"), json, QStringLiteral("-o"), minute}).status, 0);
    const QString opml = dir.filePath(QStringLiteral("out.opml"));
    ASSERT_EQ(run({QStringLiteral("export"), QStringLiteral("--to"), QStringLiteral("opml"), minute, QStringLiteral("-o"), opml}).status, 0);
    EXPECT_TRUE(testsupport::readFile(opml).contains("<title>Board</title>"));
    const QString back = dir.filePath(QStringLiteral("back.min"));
    ASSERT_EQ(run({QStringLiteral("import"), opml, QStringLiteral("-o"), back}).status, 0);
    EXPECT_EQ(run({QStringLiteral("dump"), back}).out, run({QStringLiteral("dump"), minute}).out);

    const QString none = dir.filePath(QStringLiteral("none.min"));
    CliRun result = run({QStringLiteral("import"), json, QStringLiteral("-o"), none});
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.err, (json + QStringLiteral(" is not an OPML file: line 1: Start tag expected.\n")).toUtf8());
    result = run({QStringLiteral("import"), none, QStringLiteral("-o"), none});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, (none + QStringLiteral(" was not found.\n")).toUtf8());
    EXPECT_FALSE(QFile::exists(none));

    // Numbers would come back as part of the titles.
    EXPECT_EQ(run({QStringLiteral("export"), QStringLiteral("--to"), QStringLiteral("opml"), QStringLiteral("--numbered"),
                   minute, QStringLiteral("-o"), opml}).status, 2);
    EXPECT_EQ(run({QStringLiteral("import"), opml}).status, 2);
    const QByteArray help = run({QStringLiteral("--help")}).out;
    EXPECT_TRUE(help.contains("--to opml") && help.contains("import FILE.opml"));
}
