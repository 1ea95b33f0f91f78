#include "model/recoverystore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

const QString RecoveryStore::kDeviceFolder = QStringLiteral("\\Program Files\\Quillon\\Recovery");

RecoveryStore::RecoveryStore(const QString& hostFolder)
    : m_folder(hostFolder)
{
}

QString RecoveryStore::MinuteFile(const QString& id) const
{
    return m_folder + u'/' + id + QStringLiteral(".min");
}

QString RecoveryStore::PathFile(const QString& id) const
{
    return m_folder + u'/' + id + QStringLiteral(".path");
}

MinuteFileResult RecoveryStore::Write(const QString& id, const QString& minutePath, const NodeList& nodes) const
{
    MinuteFileResult result;
    if (!QDir().mkpath(m_folder)) {
        result.status = MinuteFileResult::FileFailed;
        result.fileError = FileError{FileErrorCause::AccessDenied, m_folder};
        return result;
    }
    // The path first: a copy is only listed once its minute is whole.
    QSaveFile pathFile(PathFile(id));
    const QByteArray path = minutePath.toUtf8();
    if (!pathFile.open(QIODevice::WriteOnly) || pathFile.write(path) != path.size() || !pathFile.commit()) {
        result.status = MinuteFileResult::FileFailed;
        result.fileError = FileError{FileErrorCause::AccessDenied, PathFile(id)};
        return result;
    }
    return WriteMinuteFile(MinuteFile(id), MinuteFile(id), nodes);
}

void RecoveryStore::Remove(const QString& id) const
{
    QFile::remove(MinuteFile(id));
    QFile::remove(PathFile(id));
}

QList<RecoveryCopy> RecoveryStore::Copies() const
{
    QList<RecoveryCopy> copies;
    const QFileInfoList files = QDir(m_folder).entryInfoList({QStringLiteral("*.min")}, QDir::Files);
    for (const QFileInfo& file : files) {
        RecoveryCopy copy;
        copy.id = file.completeBaseName();
        copy.time = file.lastModified();
        QFile path(PathFile(copy.id));
        if (path.open(QIODevice::ReadOnly))
            copy.minutePath = QString::fromUtf8(path.read(64 * 1024));
        copies.append(copy);
    }
    std::sort(copies.begin(), copies.end(), [](const RecoveryCopy& a, const RecoveryCopy& b) { return a.time > b.time; });
    return copies;
}
