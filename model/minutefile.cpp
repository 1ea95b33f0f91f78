#include "model/minutefile.h"

#include "model/archive.h"
#include "platform/fileops.h"

#include <new>

QString MinuteFileResult::message() const
{
    switch (status) {
    case Ok:
        return {};
    case FileFailed:
        return fileError.message();
    case BadFormat:
        return QStringLiteral("Unexpected file format.");
    case OpenFailed:
        return QStringLiteral("Failed to open document.");
    case SaveFailed:
        return QStringLiteral("Failed to save document.");
    }
    return {};
}

MinuteFileResult MinuteReader::Open(const QString& hostPath, const QString& displayPath, SymLinks links)
{
    m_displayPath = displayPath;
    MinuteFileResult result;
    if (!m_file.open(hostPath, displayPath, &result.fileError, links))
        result.status = MinuteFileResult::FileFailed;
    return result;
}

MinuteFileResult MinuteReader::ReadInto(NodeList& list)
{
    MinuteFileResult result;
    if (m_file.size() > 0) // an empty file is an empty minute, not a damaged one
        result = ReadMinute(m_file, list, m_displayPath);
    m_file.close();
    return result;
}

MinuteFileResult ReadMinute(ByteSource& source, NodeList& list, const QString& displayPath)
{
    MinuteFileResult result;
    try {
        Archive ar(source);
        const quint32 count = ar.ReadCount();
        // A node takes at least 16 bytes, which bounds what a lying count can reserve.
        list.reserve(list.size() + qsizetype(std::min<qint64>(count, ar.BytesLeft() / 16)));
        for (quint32 i = 0; i < count; ++i) {
            std::unique_ptr<CObject> object = ar.ReadObject(CTreeNode::classCTreeNode);
            list.append(std::unique_ptr<CTreeNode>(static_cast<CTreeNode*>(object.release())));
        }
        return result;
    } catch (const ArchiveException& e) {
        switch (e.cause()) {
        case ArchiveException::EndOfFile:
        case ArchiveException::BadIndex:
        case ArchiveException::BadClass:
        case ArchiveException::BadSchema:
            result.status = MinuteFileResult::BadFormat;
            break;
        default:
            result.status = MinuteFileResult::OpenFailed;
            break;
        }
    } catch (const FileException& e) {
        result.status = MinuteFileResult::FileFailed;
        result.fileError = e.error();
        result.fileError.path = displayPath;
    } catch (const std::bad_alloc&) {
        result.status = MinuteFileResult::OpenFailed;
    }
    list.clear();
    return result;
}

void WriteMinute(ByteSink& sink, const NodeList& list)
{
    Archive ar(sink);
    ar.WriteCount(quint32(list.size()));
    for (const auto& node : list)
        ar.WriteObject(*node);
    ar.Flush();
}

namespace {

MinuteFileResult WriteMinuteInPlace(const QString& hostPath, const QString& displayPath, const NodeList& list, SymLinks links)
{
    MinuteFileResult result;
    MemorySink contents;
    try {
        WriteMinute(contents, list);
    } catch (const ArchiveException&) {
        result.status = MinuteFileResult::SaveFailed;
        return result;
    } catch (const std::bad_alloc&) {
        result.status = MinuteFileResult::SaveFailed;
        return result;
    }
    if (const std::optional<FileError> error = WriteFileInPlace(hostPath, displayPath, contents.data(), links)) {
        result.status = MinuteFileResult::FileFailed;
        result.fileError = *error;
    }
    return result;
}

} // namespace

MinuteFileResult WriteMinuteFile(const QString& hostPath, const QString& displayPath, const NodeList& list, SymLinks links)
{
    MinuteFileResult result;
    SafeFileSink sink;
    if (!sink.open(hostPath, displayPath, &result.fileError, links)) {
        // A writable minute in a folder that takes no new files (a shared
        // folder, say) is rewritten in place, once its new contents are whole.
        if (CanOnlyWriteInPlace(hostPath))
            return WriteMinuteInPlace(hostPath, displayPath, list, links);
        result.status = MinuteFileResult::FileFailed;
        return result;
    }
    try {
        WriteMinute(sink, list);
        sink.commit();
    } catch (const FileException& e) {
        result.status = MinuteFileResult::FileFailed;
        result.fileError = e.error();
    } catch (const ArchiveException&) {
        result.status = MinuteFileResult::SaveFailed;
    } catch (const std::bad_alloc&) {
        result.status = MinuteFileResult::SaveFailed;
    }
    return result;
}
