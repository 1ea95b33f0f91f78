#pragma once

#include "model/nodelist.h"

#include <QByteArray>
#include <QString>

class QIODevice;

// A minute as JSON: {"nodes":[{"title":..,"text":..,"level":..,"kind":..,"reserved":..}, ...]}
// in list order, one node to a line. Characters that UTF-8 cannot carry (lone
// surrogates) are written as \u escapes, so every minute survives the trip.
bool WriteMinuteJson(const NodeList& list, QIODevice& out);

// Reads the same shape ("reserved" may be left out). On failure *error says
// what is wrong and where, and list is left empty.
bool ReadMinuteJson(const QByteArray& json, NodeList& list, QString* error);
