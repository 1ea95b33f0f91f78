#pragma once

#include "model/minutefile.h"
#include "model/nodelist.h"

#include <QDateTime>
#include <QList>
#include <QString>

// A copy of a minute with unsaved changes, kept so that a crash or a power
// loss cannot take the typing with it.
struct RecoveryCopy {
    QString id;
    // The minute's own device path; empty for a minute that was never saved.
    QString minutePath;
    QDateTime time;
};

// The folder of recovery copies: each copy is a whole minute in the minute
// format ("<id>.min", replaced atomically) and the path of the minute it
// stands for ("<id>.path", UTF-8). A copy never touches the minute's own file.
class RecoveryStore {
public:
    // The copies' device folder.
    static const QString kDeviceFolder;

    explicit RecoveryStore(const QString& hostFolder);

    // Safe to call from a worker thread: it touches nothing but the copy's files.
    MinuteFileResult Write(const QString& id, const QString& minutePath, const NodeList& nodes) const;
    void Remove(const QString& id) const;
    // Newest first.
    QList<RecoveryCopy> Copies() const;
    // The copy's file, to be read as a minute.
    QString MinuteFile(const QString& id) const;

private:
    QString PathFile(const QString& id) const;

    QString m_folder;
};
