// Feeds arbitrary text to the registry file reader. Whatever it makes of the
// text must write out as a clean file that reads back to itself.

#include "platform/regfile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const RegTree tree = parseRegFile(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    const QByteArray clean = formatRegFile(tree);
    if (formatRegFile(parseRegFile(clean)) != clean)
        std::abort();
    return 0;
}
