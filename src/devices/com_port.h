#pragma once

#include <QString>

class SettingsBackend;

// The device path behind a port name "COMn": the environment variable ZOLT_COMn, else the
// user setting "SerialPorts/COMn", else /dev/ttyS<n-1>. A name that is not of the form
// "COMn" (n >= 1) is taken as a path as it stands. Without `settings` the program's
// user settings ("Trelwin"/"Zolt") are read.
QString ResolveComPort(const QString& portName, SettingsBackend* settings = nullptr);
