// Feeds arbitrary bytes to the reader of the user's categories string, both
// as UTF-8 text and as the registry value the string is normally read from.

#include "catalogue/categorystore.h"
#include "platform/registry.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    CategoryStore::ParseUserString(QString::fromUtf8(bytes));
    CategoryStore::ParseUserString(RegistryValue{RegSz, bytes}.toString());
    return 0;
}
