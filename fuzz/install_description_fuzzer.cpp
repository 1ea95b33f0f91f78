// Feeds arbitrary text to the installation description reader. A failed read
// must say why; a description it accepts may only name sources that the
// installer, resolving them as it does, finds inside the description's folder.

#include "setup/ceappmgr/installdescription.h"

#include <QDir>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const QString folder = QStringLiteral("/medium");

    InstallDescription description;
    QString error;
    if (!InstallDescription::Parse(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)), &description, &error)) {
        if (error.isEmpty())
            std::abort();
        return 0;
    }
    if (description.appName.isEmpty() || !description.installDir.startsWith(QLatin1Char('\\')))
        std::abort();
    for (const InstallDescription::FileSet& set : description.files) {
        // Resolved as the installer resolves it; the name may be a pattern.
        const QString path = QDir::cleanPath(QDir(folder).filePath(set.source));
        if ((path != folder && !path.startsWith(folder + QLatin1Char('/'))) || !set.destination.startsWith(QLatin1Char('\\')))
            std::abort();
    }
    return 0;
}
