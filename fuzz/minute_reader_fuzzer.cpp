// Feeds arbitrary bytes to the minute reader. Whatever it accepts must write
// back and read again to the same nodes.

#include "model/minutefile.h"

#include <cstdint>
#include <cstdlib>

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
    if (!ReadMinute(again, reread).ok() || !SameNodes(list, reread))
        std::abort();
    return 0;
}
