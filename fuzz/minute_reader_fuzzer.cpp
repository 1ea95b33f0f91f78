// Feeds arbitrary bytes to the minute reader. Whatever it accepts must write
// back and read again to the same nodes.

#include "model/minutefile.h"

#include <cstdint>
#include <cstdlib>

namespace {

bool sameNodes(const NodeList& a, const NodeList& b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        const CTreeNode& x = *a.at(i);
        const CTreeNode& y = *b.at(i);
        if (x.GetTitle() != y.GetTitle() || x.GetText() != y.GetText() || x.GetLevel() != y.GetLevel()
            || x.GetKind() != y.GetKind() || x.GetReserved() != y.GetReserved())
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    MemorySource source(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)));
    NodeList list;
    const MinuteFileResult result = ReadMinute(source, list);
    if (!result.ok()) {
        if (!list.isEmpty())
            std::abort(); // a failed read must not leave nodes behind
        return 0;
    }
    MemorySink sink;
    WriteMinute(sink, list);
    MemorySource again(sink.data());
    NodeList reread;
    if (!ReadMinute(again, reread).ok() || !sameNodes(list, reread))
        std::abort();
    return 0;
}
