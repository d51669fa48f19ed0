#pragma once
// The turnover-number counter (fphm): the number of the last slip and the
// serial number of the last sales or return line. Every draw is atomic, so
// two workstations never get the same value.

#include <QString>

namespace fm {

class Session;

class TurnoverNumbers {
public:
    explicit TurnoverNumbers(Session &s) : m_s(s) {}

    // False while fphm holds no row: the system offers only initialisation.
    bool isInitialised();
    // The number issued last, "0" before initialisation.
    QString current();

    // Stores the typed initial number (1 to 8 digits, kept as typed) and
    // restarts the serial number at 0.
    void initialise(const QString &typed);

    // The next slip's number: the stored number plus one, without leading zeros.
    QString drawNext();
    // The next line's serial number.
    int drawSerial();
    // When the sales window opens: a serial number past 300 starts again at 0.
    void restartSerialPast300();

    static constexpr int kMaxDigits = 8;

private:
    Session &m_s;
};

} // namespace fm
