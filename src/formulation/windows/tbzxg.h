#pragma once
#include "formulation/windows/formulationfields.h"
#include "ui/functionwindow.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace fm {

// "营养因素标准修改": the nutrient standards, edited by name (edit mode) or
// added with a code of their own (add mode).
class Tbzxg : public FunctionWindow {
    Q_OBJECT
public:
    Tbzxg(AppContext &ctx, QWidget *parent);
    void activate() override;

    QComboBox *standards() const { return m_list; }
    QLineEdit *newName() const { return m_newName; }
    QLineEdit *newCode() const { return m_newCode; }
    QLineEdit *factor(int n) const { return m_inputs[size_t(n)]; }
    QPushButton *confirm() const { return m_confirm; }
    QPushButton *cancel() const { return m_cancel; }
    QPushButton *addMode() const { return m_add; }
    QPushButton *deleteOrShow() const { return m_delete; }
    bool adding() const { return m_adding; }

private:
    void reloadList(const QString &shown = QString());
    bool chooseStandard();
    void store();
    void startAdding();
    void showEditMode();
    void deleteStandard();
    void updateDelete();

    QComboBox *m_list;
    QLabel *m_listCaption;
    QLineEdit *m_newName;
    QLineEdit *m_newCode;
    QLabel *m_newNameCaption;
    QLabel *m_newCodeCaption;
    FactorInputs m_inputs{};
    QPushButton *m_confirm;
    QPushButton *m_cancel;
    QPushButton *m_add;
    QPushButton *m_delete;
    bool m_adding = false;
    qint64 m_id = 0;      // the standard being edited
    QString m_code;       // the code of the standard being added
};

} // namespace fm
