#pragma once

#include <QByteArray>
#include <QList>
#include <QPointF>
#include <QString>
#include <QVariant>

namespace Arvel {

// What a live controller reports about itself; each Light answers its
// commands from one of these.
struct ControllerState
{
    QString deviceName = QStringLiteral("Arvel2");
    QString serialNumber;
    QString firmware = QStringLiteral("3.17.4");
    QString description;
    QPointF position; // x longitude, y latitude, decimal degrees
    QList<int> phases;
    QList<int> programs;
};

// The position as a controller writes it: latitude then longitude, each as
// degrees*100 + minutes with three decimals and a hemisphere letter, the
// longitude with five integer digits ("5545.500N 03730.000E").
QString controllerPositionText(const QPointF &position);

// Presence map of parameter numbers: two 4-bit entries per byte, high nibble
// first, entry j of byte k standing for number 2k + j; 0xF marks an absent
// number. Negative numbers are left out.
QByteArray presenceMap(const QList<int> &numbers);

// The answer fields to one command (by protocol code) with its argument;
// *error tells a refused command. Commands without their own layout answer
// with the command code and an "ok" text.
QVariantList controllerAnswer(const ControllerState &state, int code, const QVariant &argument,
                              bool *error);

} // namespace Arvel
