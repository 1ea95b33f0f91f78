// Feeds arbitrary bytes to the OPML importer. A refused file must say why and
// leave the minute as it was; an accepted one must have the levels and kinds
// the editor would have made, and must export and read again to the same nodes.

#include "export/opmlexport.h"
#include "export/opmlimport.h"
#include "platform/bytestream.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = QStringLiteral("in.opml");
    NodeList list;
    list.append(std::make_unique<CTreeNode>(QStringLiteral("before"), QString(), 1, CTreeNode::kLeaf));
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const OpmlImport::Result result = OpmlImport::Read(bytes, path, list);
    if (!result.ok()) {
        if (result.status != OpmlImport::Result::NotOpml || list.size() != 1 || list.at(0)->GetTitle() != QLatin1String("before")
            || !result.message.startsWith(path + QStringLiteral(" is not an OPML file: ")))
            std::abort();
        return 0;
    }
    for (qsizetype i = 0; i < list.size(); ++i) {
        const qint32 level = list.at(i)->GetLevel();
        const bool parent = i + 1 < list.size() && list.at(i + 1)->GetLevel() > level;
        if (level < 1 || level > (i == 0 ? 1 : list.at(i - 1)->GetLevel() + 1)
            || list.at(i)->GetKind() != (parent ? CTreeNode::kHasSubItems : CTreeNode::kLeaf))
            std::abort();
    }
    MemorySink sink;
    OpmlExport(list).RenderTo(sink, QStringLiteral("Fuzz"));
    NodeList reread;
    if (!OpmlImport::Read(sink.data(), path, reread).ok() || !SameNodes(list, reread))
        std::abort();
    return 0;
}
