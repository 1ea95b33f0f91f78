// Feeds arbitrary bytes to quillon-cli's JSON reader, the one `create` uses.
// A failed read must say why and keep no nodes; whatever it accepts must
// write back as JSON that reads again to the same nodes.

#include "tools/quillon-cli/minutejson.h"

#include <QBuffer>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    NodeList list;
    QString error;
    if (!ReadMinuteJson(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)), list, &error)) {
        if (!list.isEmpty() || error.isEmpty())
            std::abort();
        return 0;
    }
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    if (!WriteMinuteJson(list, out))
        std::abort();
    NodeList reread;
    if (!ReadMinuteJson(out.data(), reread, &error) || !SameNodes(list, reread))
        std::abort();
    return 0;
}
