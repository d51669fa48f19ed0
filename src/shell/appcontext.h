#pragma once
// What every window of a run shares: the session, the clock, the enterprise
// name and the logged-in operator.

#include <QString>

namespace fm {

class Session;
class Clock;
class Prompter;

struct AppContext {
    Session *session = nullptr; // null before the catalogs are reached
    Clock *clock = nullptr;
    Prompter *prompter = nullptr;
    QString qymc;          // enterprise name
    QString operatorCode;  // authid of the logged-in operator
    QString operatorName;
    QString workingDir;    // where config.ini lives
};

} // namespace fm
