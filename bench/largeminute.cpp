#include "largeminute.h"

#include <QtGlobal>

int LargeMinuteNodeCount()
{
    return qEnvironmentVariableIsSet("QUILLON_BENCH_NODES") ? qEnvironmentVariableIntValue("QUILLON_BENCH_NODES") : 100000;
}

NodeList MakeLargeMinute()
{
    const int nodes = LargeMinuteNodeCount();
    NodeList list;
    list.reserve(nodes);
    QString plain;
    for (int i = 0; i < 1000; ++i)
        plain += QChar(u'a' + i % 26);
    for (int i = 0; i < nodes; ++i) {
        // Mostly ASCII, one accented letter and one line break each, as typed minutes are.
        QString text = plain;
        text[i % 1000] = QChar(u'\u00e9');
        text[(i + 500) % 1000] = QChar(u'\r');
        text[(i + 501) % 1000] = QChar(u'\n');
        // Agenda-like levels: 1, 2, 3, 4, 1, 2, ...
        list.append(std::make_unique<CTreeNode>(QStringLiteral("Item %1").arg(i), text, 1 + i % 4, 1));
    }
    return list;
}
