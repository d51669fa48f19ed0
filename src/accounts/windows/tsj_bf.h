#pragma once
#include "ui/functionwindow.h"

class QLineEdit;
class QProgressBar;
class QPushButton;

namespace fm {

class Grid;

// "数据归档": moves the sales lines and fund rows of closed periods to the
// History catalog in one verified transaction, after offering a backup; the
// window is disabled while the run shows its progress. Also the clean-up of
// rows without any quantity or amount.
class Tsj_bf : public FunctionWindow {
    Q_OBJECT
public:
    Tsj_bf(AppContext &ctx, QWidget *parent);
    void activate() override;

    QLineEdit *startInput() const { return m_start; }
    QLineEdit *endInput() const { return m_end; }
    QPushButton *startButton() const { return m_begin; }
    QPushButton *cleanUpButton() const { return m_cleanUp; }
    QProgressBar *progressBar() const { return m_bar; }
    Grid *grid() const { return m_grid; }
    QWidget *form() const { return m_form; }
    // Where the backup offered before a run is written.
    QString backupFolder() const;

protected:
    void reject() override;

private:
    Go run();
    // Offers a backup; false when the run should not go on.
    bool offerBackup();
    void setBusy(bool busy);
    void caption(const QString &text, bool append);
    void cleanUp();

    QWidget *m_form;
    QLineEdit *m_start;
    QLineEdit *m_end;
    QPushButton *m_begin;
    QPushButton *m_cleanUp;
    QPushButton *m_quit;
    QProgressBar *m_bar;
    Grid *m_grid;
    bool m_busy = false;
};

} // namespace fm
