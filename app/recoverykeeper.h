#pragma once

#include "model/nodelist.h"
#include "model/recoverystore.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <thread>

class CQuillonDoc;
class DevicePaths;
class UiService;

// Keeps a recovery copy of the minute while it has unsaved changes: written
// at most every interval after a change and whenever the application loses
// the focus, on a worker thread from a snapshot so that typing never waits;
// removed when the changes are saved or discarded and when the session ends
// normally. At start-up it offers the copies a crashed session left behind.
class RecoveryKeeper : public QObject {
    Q_OBJECT
public:
    using Snapshot = std::function<NodeList()>;

    static constexpr int kIntervalMs = 30000;

    RecoveryKeeper(CQuillonDoc& doc, const DevicePaths& device, UiService& ui, Snapshot snapshot, QObject* parent = nullptr);
    ~RecoveryKeeper() override;

    void SetInterval(int ms) { m_timer.setInterval(ms); }

    // Asks about each copy left behind, newest first: Yes opens it as the
    // modified minute it was, No deletes it. True when a copy was opened.
    bool OfferRecovery();
    // Writes a copy now when the minute has changes no copy holds yet.
    void WriteCopy();
    // The session ends normally: no copy is kept and none is written any more.
    void EndSession();
    // Waits for a copy being written, and what follows it, to be done.
    void WaitForWrite();

    bool IsWriting() const { return m_bWriting; }

private:
    void OnModifiedSet(bool modified);
    void OnWritten(const MinuteFileResult& result);
    void RemoveCopy();

    CQuillonDoc& m_doc;
    UiService& m_ui;
    RecoveryStore m_store;
    Snapshot m_snapshot;
    QString m_id;
    int m_nListener = 0;
    QTimer m_timer;
    // Changes since the last copy was taken.
    bool m_bDirty = false;
    bool m_bEnded = false;
    bool m_bFailureReported = false;
    // While a copy is being written: what to do once it is.
    std::thread m_worker;
    bool m_bWriting = false;
    bool m_bWriteAgain = false;
    bool m_bRemoveWhenDone = false;
};
