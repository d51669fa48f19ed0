#pragma once
#include "data/row.h"
#include "production/productionteams.h"
#include "production/productpackaging.h"
#include "ui/functionwindow.h"

class QComboBox;
class QDateEdit;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace fm {

class Grid;

// The fields of one packaging material: code, name, size, price, count,
// amount (size only where the material has one).
struct PackagingFields {
    QWidget *code = nullptr; // a QLineEdit or a QComboBox
    QLineEdit *name = nullptr;
    QLineEdit *spec = nullptr;
    QLineEdit *price = nullptr;
    QLineEdit *count = nullptr;
    QLineEdit *amount = nullptr;
    QString codeText() const;
    void clear();
};

// "产品包装" (the packaging window): one production line of the selection
// at a time receives its bags, outer packaging, labels and anti-counterfeit
// labels.
class Tcpbz : public FunctionWindow {
    Q_OBJECT
public:
    Tcpbz(AppContext &ctx, QWidget *parent);
    // The selection: a team's lines of a production date.
    void setSelection(const TeamForms &team, const QDate &date);
    void activate() override;

    Grid *lineGrid() const { return m_grid; }
    QLineEdit *productName() const { return m_product; }
    QComboBox *kindList() const { return m_kind; }
    QGroupBox *bagGroup() const { return m_bagBox; }
    QGroupBox *outerChoice() const { return m_outerChoice; }
    QGroupBox *outerGroup() const { return m_outerBox; }
    QGroupBox *labelGroup() const { return m_labelBox; }
    QGroupBox *antiGroup() const { return m_antiBox; }
    const PackagingFields &bags() const { return m_bags; }
    const PackagingFields &outer() const { return m_outer; }
    const PackagingFields &labels() const { return m_labels; }
    const PackagingFields &anti() const { return m_anti; }
    QRadioButton *withOuter() const { return m_withOuter; }
    QRadioButton *withoutOuter() const { return m_withoutOuter; }
    QRadioButton *withAnti() const { return m_withAnti; }
    QRadioButton *withoutAnti() const { return m_withoutAnti; }
    // The line clicked, 0 before one is.
    qint64 chosenLine() const { return m_lineId; }
    void chooseLine(qint64 id);

private:
    ProductPackaging packaging() const { return ProductPackaging(session()); }
    PackagingKind kind() const;
    void kindChosen();
    void bagCodeEntered();
    void bagCountEntered();
    void outerWanted(bool yes);
    void outerChosen();
    void outerCountEntered();
    void outerAmountEntered();
    void labelCodeEntered();
    void labelCountEntered();
    void antiWanted(bool yes);
    void antiChosen();
    void antiCountEntered();
    void antiAmountEntered();
    static std::optional<PackagingPart> part(const PackagingFields &f);
    void pack(const QString &question);
    void showLines();
    void resetInputs();

    Grid *m_grid;
    QLineEdit *m_product;
    QLineEdit *m_spec;
    QLineEdit *m_team;
    QComboBox *m_kind;
    QGroupBox *m_bagBox;
    QGroupBox *m_outerChoice;
    QGroupBox *m_outerBox;
    QGroupBox *m_labelBox;
    QGroupBox *m_antiBox;
    PackagingFields m_bags, m_outer, m_labels, m_anti;
    QRadioButton *m_withOuter;
    QRadioButton *m_withoutOuter;
    QRadioButton *m_withAnti;
    QRadioButton *m_withoutAnti;
    TeamForms m_selTeam;
    QDate m_selDate;
    Rows m_rows;
    qint64 m_lineId = 0;
    double m_kilograms = 0;
    QString m_lineSpec;
};

// "产品包装" (the selection): a team's production lines of a date, packed
// one by one in the packaging window.
class Tbzw_sr : public FunctionWindow {
    Q_OBJECT
public:
    Tbzw_sr(AppContext &ctx, QWidget *parent);
    void activate() override;

    QLineEdit *teamCode() const { return m_teamCode; }
    QLineEdit *teamName() const { return m_teamName; }
    QDateEdit *dateField() const { return m_date; }
    Grid *lineGrid() const { return m_grid; }
    QPushButton *packButton() const { return m_pack; }
    Tcpbz *packagingWindow() const { return m_window; }
    // What "包装" does, apart from showing the window modally.
    void preparePackaging();

private:
    Go teamEntered();
    Go dateEntered();

    QLineEdit *m_teamCode;
    QLineEdit *m_teamName;
    QDateEdit *m_date;
    Grid *m_grid;
    QPushButton *m_pack;
    Tcpbz *m_window;
    TeamForms m_team;
};

} // namespace fm
