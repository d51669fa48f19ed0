#pragma once
// Production wages: the team wage of a period ("累计该月工资") and the wage
// sheet of a team ("生产工人工资").

#include "production/productionwages.h"
#include "ui/functionwindow.h"

#include <optional>

class QComboBox;
class QDateEdit;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace fm {

class EditTable;

class Tsumgz : public FunctionWindow {
    Q_OBJECT
public:
    Tsumgz(AppContext &ctx, QWidget *parent);
    // Opens for a team from a start date; the wage when it was computed.
    std::optional<double> accumulate(const QString &team, const QDate &start);
    void activate() override;

    QComboBox *teamList() const { return m_team; }
    QDateEdit *startField() const { return m_start; }
    QDateEdit *endField() const { return m_end; }
    QLineEdit *wageField() const { return m_wage; }

private:
    Go compute();

    QComboBox *m_team;
    QDateEdit *m_start;
    QDateEdit *m_end;
    QLineEdit *m_wage;
    QProgressBar *m_progress;
    QString m_presetTeam;
    QDate m_presetStart;
    std::optional<double> m_result;
};

class Tscrygz : public FunctionWindow {
    Q_OBJECT
public:
    Tscrygz(AppContext &ctx, QWidget *parent);
    void activate() override;

    QLineEdit *teamField() const { return m_team; }
    QLineEdit *teamNameField() const { return m_teamName; }
    QDateEdit *startField() const { return m_start; }
    QDateEdit *endField() const { return m_end; }
    EditTable *sheet() const { return m_sheet; }

private:
    ProductionWages wages() const { return ProductionWages(session(), *ctx().clock); }
    Go distribute();
    Row post(qint64 id, const QString &field, const QString &text);
    void saveAll();
    void clearWages();
    void print(bool summary);
    void reload();

    QLineEdit *m_team;
    QLineEdit *m_teamName;
    QDateEdit *m_start;
    QDateEdit *m_end;
    EditTable *m_sheet;
    QProgressBar *m_progress;
    QString m_loadedTeam;
};

} // namespace fm
