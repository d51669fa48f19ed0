#pragma once
// What every window of a run shares: the session, the clock, the enterprise
// name and the logged-in operator.

#include <QString>
#include <functional>

class QWidget;

namespace fm {

class Session;
class Clock;
class Prompter;
class ReportDocument;
class WindowRegistry;

using DocumentSink = std::function<void(QWidget *parent, const ReportDocument &document)>;

struct AppContext {
    Session *session = nullptr; // null before the catalogs are reached
    Clock *clock = nullptr;
    Prompter *prompter = nullptr;
    QString qymc;          // enterprise name
    QString operatorCode;  // authid of the logged-in operator
    QString operatorName;
    QString workingDir;    // where config.ini lives
    QString workstation;   // workstationIdentity() of the config, set by the shell at login
    WindowRegistry *windows = nullptr; // opens other functions' windows (set by the main window)
    // Where documents go; empty means the preview window and the printer.
    // Tests capture the documents here instead.
    DocumentSink preview;
    DocumentSink printDirect;
};

} // namespace fm
