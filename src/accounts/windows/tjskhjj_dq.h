#pragma once
#include "accounts/settlement.h"
#include "ui/functionwindow.h"

#include <QHash>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace fm {

// "按地区批处理": settles the chosen customers of a region for one period,
// each customer in its own transaction, with a progress bar. The window
// repaints and "停止" is heard between customers; a failure names the
// customer and stops the run, the customers before it staying settled.
class Tjskhjj_dq : public FunctionWindow {
    Q_OBJECT
public:
    Tjskhjj_dq(AppContext &ctx, QWidget *parent);
    void activate() override;

    QLineEdit *startInput() const { return m_start; }
    QLineEdit *endInput() const { return m_end; }
    QComboBox *regionBox() const { return m_region; }
    QLabel *candidatesCaption() const { return m_caption; }
    QListWidget *candidateList() const { return m_candidates; }
    QListWidget *chosenList() const { return m_chosen; }
    QPushButton *moveOneButton() const { return m_moveOne; }
    QPushButton *backOneButton() const { return m_backOne; }
    QPushButton *moveAllButton() const { return m_moveAll; }
    QPushButton *backAllButton() const { return m_backAll; }
    QPushButton *startButton() const { return m_run; }
    QPushButton *stopButton() const { return m_stop; }
    QProgressBar *progressBar() const { return m_progress; }
    QLabel *statusLabel() const { return m_status; }
    bool isRunning() const { return m_running; }

signals:
    // Before each customer of a run (tests stop or fail the run here).
    void customerStarting(int index, const QString &code);

protected:
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

private:
    Go dateEntered(QLineEdit *date);
    void regionChosen();
    void move(QListWidget *from, QListWidget *to, bool all);
    void updateArrows();
    void runBatch();
    void setRunning(bool on);

    QLineEdit *m_start;
    QLineEdit *m_end;
    QComboBox *m_region;
    QLabel *m_caption;
    QListWidget *m_candidates;
    QListWidget *m_chosen;
    QPushButton *m_moveOne;
    QPushButton *m_backOne;
    QPushButton *m_moveAll;
    QPushButton *m_backAll;
    QPushButton *m_run;
    QPushButton *m_stop;
    QPushButton *m_quit;
    QProgressBar *m_progress;
    QLabel *m_status;

    Period m_period;
    QHash<QString, Customer> m_customers; // by code, the customers listed
    bool m_running = false;
    bool m_stopAsked = false;
};

} // namespace fm
