#include "app/recoverykeeper.h"

#include "app/appglobals.h"
#include "framework/uiservice.h"
#include "model/quillondoc.h"
#include "platform/devicepaths.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLocale>
#include <QUuid>

#include <memory>
#include <utility>

#include <sys/resource.h>
#include <unistd.h>

RecoveryKeeper::RecoveryKeeper(CQuillonDoc& doc, const DevicePaths& device, UiService& ui, Snapshot snapshot, QObject* parent)
    : QObject(parent)
    , m_doc(doc)
    , m_ui(ui)
    , m_store(device.toHost(RecoveryStore::kDeviceFolder))
    , m_snapshot(std::move(snapshot))
    , m_id(QUuid::createUuid().toString(QUuid::Id128))
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(kIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &RecoveryKeeper::WriteCopy);
    // Switching to another program is when a power loss or a kill is most
    // likely to find the typing unsaved.
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state != Qt::ApplicationActive)
            WriteCopy();
    });
    m_nListener = m_doc.AddModifiedListener([this](bool modified) { OnModifiedSet(modified); });
}

RecoveryKeeper::~RecoveryKeeper()
{
    m_doc.RemoveModifiedListener(m_nListener);
    if (m_worker.joinable())
        m_worker.join();
}

bool RecoveryKeeper::OfferRecovery()
{
    for (const RecoveryCopy& copy : m_store.Copies()) {
        const QString name = copy.minutePath.isEmpty() ? CQuillonDoc::kUntitled : copy.minutePath;
        const QString question = QStringLiteral("Quillon did not close normally. A recovery copy of %1 from %2 was kept.\n\n"
                                                "Recover it? No deletes the copy.")
                                     .arg(name, QLocale().toString(copy.time, QLocale::ShortFormat));
        if (m_ui.MessageBox(question, kAppCaption, MB_YESNO | MB_ICONQUESTION) == IDYES
            && m_doc.OnRecoverMinute(m_store.MinuteFile(copy.id), copy.minutePath)) {
            // Writing on into the same copy: it stays until the changes are saved or dropped.
            m_id = copy.id;
            return true;
        }
        // Declined, or a copy that cannot be read (the reader said why).
        m_store.Remove(copy.id);
    }
    return false;
}

void RecoveryKeeper::OnModifiedSet(bool modified)
{
    if (m_bEnded)
        return;
    if (modified) {
        m_bDirty = true;
        if (!m_timer.isActive())
            m_timer.start();
        return;
    }
    // Saved, or replaced by another minute: no copy is needed any more.
    m_bDirty = false;
    m_timer.stop();
    RemoveCopy();
}

void RecoveryKeeper::WriteCopy()
{
    if (m_bEnded || !m_bDirty || !m_doc.IsModified())
        return;
    if (m_bWriting) {
        m_bWriteAgain = true;
        return;
    }
    m_bDirty = false;
    m_bWriting = true;
    const QString path = m_doc.GetPath();
    const QString minutePath = path == CQuillonDoc::kUntitled ? QString() : path;
    auto nodes = std::make_shared<NodeList>(m_snapshot());
    m_worker = std::thread([this, nodes, minutePath, store = m_store, id = m_id] {
        // Yields to the UI thread when the cores are busy: typing comes first.
        ::setpriority(PRIO_PROCESS, ::gettid(), 10);
        const MinuteFileResult result = store.Write(id, minutePath, *nodes);
        QMetaObject::invokeMethod(this, [this, result] { OnWritten(result); }, Qt::QueuedConnection);
    });
}

void RecoveryKeeper::OnWritten(const MinuteFileResult& result)
{
    if (m_bEnded)
        return;
    if (m_worker.joinable())
        m_worker.join();
    m_bWriting = false;
    if (std::exchange(m_bRemoveWhenDone, false)) {
        m_store.Remove(m_id);
    } else if (!result.ok() && !std::exchange(m_bFailureReported, true)) {
        m_ui.MessageBox(QStringLiteral("Quillon cannot keep a recovery copy of this minute: %1").arg(result.message()), kAppCaption,
                        MB_OK | MB_ICONEXCLAMATION);
    }
    if (std::exchange(m_bWriteAgain, false))
        WriteCopy();
}

void RecoveryKeeper::RemoveCopy()
{
    if (m_bWriting)
        m_bRemoveWhenDone = true;
    else
        m_store.Remove(m_id);
}

void RecoveryKeeper::WaitForWrite()
{
    while (m_bWriting)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
}

void RecoveryKeeper::EndSession()
{
    if (m_bEnded)
        return;
    m_bEnded = true;
    m_timer.stop();
    m_doc.RemoveModifiedListener(m_nListener);
    if (m_worker.joinable())
        m_worker.join();
    m_bWriting = false;
    m_store.Remove(m_id);
}
