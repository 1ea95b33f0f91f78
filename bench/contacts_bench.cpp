// The editor with a large address book in the device's Contacts folder
// (QUILLON_BENCH_CONTACTS generated contacts, 20,000 by default), offscreen:
// how long start-up takes until the window answers input, how long the
// contact picker takes to fill in, and how much memory the contacts hold.
// Each figure is printed beside its target.

#include "app/quillonapp.h"
#include "contacts/contactsconnection.h"
#include "editor/mainframe.h"
#include "framework/commandids.h"
#include "framework/scripteduiservice.h"
#include "platform/contactsstore.h"
#include "platform/inputpanel.h"
#include "widgetbenchmain.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <benchmark/benchmark.h>

#include <map>
#include <memory>

namespace {

int BookSize()
{
    return qEnvironmentVariableIsSet("QUILLON_BENCH_CONTACTS") ? qEnvironmentVariableIntValue("QUILLON_BENCH_CONTACTS")
                                                               : 20000;
}

// One card as desktops write them: a 3.0 card with names, a company, three
// e-mail addresses, five numbers, a web page, an address and a note; every
// fourth a 2.1 card with quoted-printable text and bare types.
QByteArray MakeCard(int i)
{
    static const char* const kFirst[] = {"Ada", "Bea", "Cal", "Dora", "Emil", "Finn", "Greta", "Hugo", "Ines", "Jonas"};
    static const char* const kLast[] = {"Lark", "Moss", "Reyes", "Okafor", "Brook", "Vance", "Zeller", "Nakamura"};
    const QByteArray first = kFirst[i % 10];
    const QByteArray last = QByteArray(kLast[i % 8]) + QByteArray::number(i);
    const QByteArray n = QByteArray::number(i);
    if (i % 4 == 3) {
        return "BEGIN:VCARD\r\nVERSION:2.1\r\nN:" + last + ";" + first + ";;;\r\nFN:" + first + " " + last
            + "\r\nORG:Slate & Sons;Accounts\r\nEMAIL;INTERNET;PREF:" + first + "." + n + "@example.com\r\n"
            + "TEL;WORK;VOICE:+44 20 7946 " + n + "\r\nTEL;CELL:+44 7700 900" + n + "\r\nTEL;HOME:+44 161 496 " + n
            + "\r\nADR;WORK;ENCODING=QUOTED-PRINTABLE;CHARSET=UTF-8:;;12 M=C3=BChlenweg;Leeds;;LS1 " + n
            + ";United Kingdom\r\nNOTE;ENCODING=QUOTED-PRINTABLE:Met at the spring fair=0D=0Aprefers mornings\r\n"
            + "END:VCARD\r\n";
    }
    return "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:urn:uuid:7f3c1e2a-" + n + "\r\nN:" + last + ";" + first
        + ";Maria;Dr.;PhD\r\nFN:Dr. " + first + " Maria " + last + " PhD\r\nORG:Cinder Vale Mining;Exploration;Block "
        + n + "\r\nTITLE:Field Engineer\r\nEMAIL;TYPE=INTERNET,WORK;PREF=1:" + first + "." + last
        + "@cindervale.example.com\r\nEMAIL;TYPE=INTERNET,HOME:" + first + n + "@mail.example.org\r\n"
        + "EMAIL;TYPE=INTERNET:" + last + "@example.net\r\nTEL;TYPE=WORK,VOICE:+1-555-01" + n
        + "\r\nTEL;TYPE=WORK,FAX:+1-555-02" + n + "\r\nTEL;TYPE=CELL:+1-555-03" + n + "\r\nTEL;TYPE=HOME:+1-555-04" + n
        + "\r\nitem1.TEL:+1-555-05" + n + "\r\nitem1.X-ABLABEL:_$!<Pager>!$_\r\nURL;TYPE=WORK:https://cindervale.example.com/~"
        + n + "\r\nADR;TYPE=WORK:;Suite 4;1 Slate Road;Greyhollow;Cumbria;GH9 " + n
        + ";United Kingdom\r\nNOTE:Site visits only\\, with a hard hat\\nCall ahead.\r\nEND:VCARD\r\n";
}

// A device folder whose address book holds this many contacts; made once.
QString DeviceWithBook(int contacts)
{
    static std::map<int, std::unique_ptr<QTemporaryDir>> devices;
    std::unique_ptr<QTemporaryDir>& dir = devices[contacts];
    if (!dir) {
        dir = std::make_unique<QTemporaryDir>();
        QDir(dir->path()).mkpath(QStringLiteral("Contacts"));
        QFile book(dir->filePath(QStringLiteral("Contacts/Address Book.vcf")));
        if (book.open(QIODevice::WriteOnly)) {
            for (int i = 0; i < contacts; ++i)
                book.write(MakeCard(i));
        }
    }
    return dir->path();
}

struct Editor {
    ScriptedUiService ui;
    TestInputPanel panel;
    std::unique_ptr<CQuillonApp> app;
    int listed = -1; // contacts the last picker listed

    explicit Editor(const QString& device)
    {
        app = std::make_unique<CQuillonApp>(device, &ui, &panel);
        app->InitInstance({QStringLiteral("quillon")});
        ui.modalHandler = [this](QDialog& dialog) {
            auto* list = dialog.findChild<QTreeWidget*>(QStringLiteral("1008"));
            listed = list ? list->topLevelItemCount() : -1;
            return IDCANCEL;
        };
    }
    // Opens the picker from the menu, as the user does, and closes it once filled.
    void OpenPicker()
    {
        listed = -1;
        app->MainFrame()->SendCommand(cmd::ContactsShow);
    }
    // Waits for the read to end and takes its contacts in.
    void Settle() const
    {
        if (g_pOutlookApp)
            g_pOutlookApp->Refresh();
    }
};

// Until the event loop handles an event posted now: the window answers input.
void WaitForEventLoop(QObject* context)
{
    bool answered = false;
    QMetaObject::invokeMethod(context, [&answered] { answered = true; }, Qt::QueuedConnection);
    while (!answered)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

// Resident memory now, and at its peak since the last ResetPeakMemory, in MB.
double ResidentMb(const char* field = "VmRSS:")
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field))).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return 0;
}

void ResetPeakMemory()
{
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
}

// Memory after the address book has been read, less the same with an empty
// one; the peak is the highest it went while reading, less the same base.
void BM_ContactsMemory(benchmark::State& state)
{
    double held = 0;
    double peak = 0;
    for (auto _ : state) {
        double base = 0;
        {
            Editor empty(DeviceWithBook(0));
            empty.Settle();
            WaitForEventLoop(empty.app->MainFrame());
            base = ResidentMb();
        }
        ResetPeakMemory();
        Editor full(DeviceWithBook(BookSize()));
        full.Settle();
        WaitForEventLoop(full.app->MainFrame());
        held = ResidentMb() - base;
        peak = ResidentMb("VmHWM:") - base;
    }
    state.counters["held_MB"] = held;
    state.counters["held_target_MB"] = 60;
    state.counters["peak_MB"] = peak;
    state.counters["contacts"] = BookSize();
}

// From making the application to the shown window's event loop handling an
// event posted behind start-up.
void BM_StartUntilAnswering(benchmark::State& state)
{
    const QString device = DeviceWithBook(int(state.range(0)));
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        Editor editor(device);
        WaitForEventLoop(editor.app->MainFrame());
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
        if (!editor.app->MainFrame()->isVisible())
            state.SkipWithError("the window is not shown");
    }
    state.counters["target_ms"] = 100;
}

// The picker opened once the address book has been read: from the command to
// the filled list.
void BM_PickerFills(benchmark::State& state)
{
    Editor editor(DeviceWithBook(BookSize()));
    editor.Settle();
    for (auto _ : state) {
        editor.OpenPicker();
        if (editor.listed != BookSize())
            state.SkipWithError("the picker did not list every contact");
    }
    state.counters["target_ms"] = 400;
}

// The picker opened straight after start-up: it waits for the rest of the read.
void BM_PickerRightAfterStart(benchmark::State& state)
{
    const QString device = DeviceWithBook(BookSize());
    for (auto _ : state) {
        state.PauseTiming();
        {
            Editor editor(device);
            WaitForEventLoop(editor.app->MainFrame());
            state.ResumeTiming();
            editor.OpenPicker();
            state.PauseTiming();
            if (editor.listed != BookSize())
                state.SkipWithError("the picker did not list every contact");
        }
        state.ResumeTiming();
    }
}

// Memory first, before the other runs have grown the heap.
BENCHMARK(BM_ContactsMemory)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_StartUntilAnswering)->ArgName("contacts")->Arg(0)->Arg(BookSize())->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);
BENCHMARK(BM_PickerFills)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_PickerRightAfterStart)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    return RunWidgetBenchmarks(argc, argv);
}
